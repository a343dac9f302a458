#include "settings_file.h"

#include <stdio.h>
#include <string.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#if defined(__linux__)
#include <sys/syscall.h>
#endif

namespace {

// ---- What each system calls its files: a handle, and the calls on it ----
// Each returns the bytes moved, 0 at the end of a file, -1 on an error. `Reason` puts the
// system's words for the last call's failure into `out`; it must come before any other call.

#if defined(_WIN32)

using Handle = HANDLE;
const Handle kNoFile = INVALID_HANDLE_VALUE;

// MAX_PATH is long past for a Unicode path; every UTF-8 byte is at most one UTF-16 unit. The
// narrow calls would take the path in the code page, not UTF-8.
using WidePath = wchar_t[kLongestPath];

bool Wide(const char* path, WidePath& wide) {
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide,
                               static_cast<int>(kLongestPath)) > 0;
}

bool NoSuchFile(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

void Reason(char* out, size_t size) {
    const DWORD error = GetLastError();
    wchar_t text[300];
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             error, 0, text, sizeof text / sizeof text[0], nullptr);
    // Its words end with a line break, which the log line has at its own end.
    while (n > 0 && (text[n - 1] == L'\n' || text[n - 1] == L'\r' || text[n - 1] == L' '))
        --n;
    const int bytes = n == 0 ? 0
                             : WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(n), out,
                                                   static_cast<int>(size) - 1, nullptr, nullptr);
    if (bytes <= 0)
        snprintf(out, size, "error %lu", static_cast<unsigned long>(error));
    else
        out[bytes] = '\0';
}

// A disk file only: a console, a pipe or a device is no settings file.
Handle OpenToRead(const char* path, bool& missing) {
    WidePath wide;
    missing = false;
    if (!Wide(path, wide))
        return kNoFile;
    const Handle file = CreateFileW(wide, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    missing = file == kNoFile && NoSuchFile(GetLastError());
    if (file != kNoFile && GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return kNoFile;
    }
    return file;
}

Handle Create(const char* path) {
    WidePath wide;
    if (!Wide(path, wide)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return kNoFile;
    }
    return CreateFileW(wide, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

long Read(Handle file, char* into, size_t size) {
    DWORD got = 0;
    return ReadFile(file, into, static_cast<DWORD>(size), &got, nullptr) ? static_cast<long>(got)
                                                                         : -1;
}

long Write(Handle file, const char* from, size_t size) {
    DWORD wrote = 0;
    return WriteFile(file, from, static_cast<DWORD>(size), &wrote, nullptr)
               ? static_cast<long>(wrote)
               : -1;
}

bool Close(Handle file, bool flush) {
    const bool flushed = !flush || FlushFileBuffers(file);
    return CloseHandle(file) && flushed;
}

// rename() will not replace an existing file on Windows; MoveFileExW will, where asked to.
bool Move(const char* from, const char* to, bool replace, bool& missing) {
    WidePath wideFrom;
    WidePath wideTo;
    const bool moved =
        Wide(from, wideFrom) && Wide(to, wideTo) &&
        MoveFileExW(wideFrom, wideTo,
                    MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0));
    missing = !moved && NoSuchFile(GetLastError());
    return moved;
}

bool Free(const char* path) {
    WidePath wide;
    return Wide(path, wide) && GetFileAttributesW(wide) == INVALID_FILE_ATTRIBUTES &&
           NoSuchFile(GetLastError());
}

void Remove(const char* path) {
    WidePath wide;
    if (Wide(path, wide))
        DeleteFileW(wide);
}

// Links are left to the system: the file is replaced where the path names it.
bool Target(const char* path, char (&target)[kLongestPath]) {
    return snprintf(target, sizeof target, "%s", path) < static_cast<int>(sizeof target);
}

#else

using Handle = int;
const Handle kNoFile = -1;

void Reason(char* out, size_t size) {
    snprintf(out, size, "%s", strerror(errno));
}

// The system calls themselves on Linux: glibc's fstat and stat symbols are newer (2.33) than the
// oldest glibc the plug-in loads on. Its struct stat is the kernel's on x86_64 and arm64.
bool RegularFile(Handle fd) {
    struct stat info;
#if defined(__linux__)
    return syscall(SYS_fstat, fd, &info) == 0 && S_ISREG(info.st_mode);
#else
    return fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
#endif
}

bool RegularFile(const char* path) {
    struct stat info;
#if defined(__linux__)
    return syscall(SYS_newfstatat, AT_FDCWD, path, &info, 0) == 0 && S_ISREG(info.st_mode);
#else
    return stat(path, &info) == 0 && S_ISREG(info.st_mode);
#endif
}

// Without waiting: a FIFO's open would wait for a writer, and so would the simulator's start.
Handle OpenToRead(const char* path, bool& missing) {
    const Handle fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    // No such file, or no such folder: nothing was ever saved there.
    missing = fd < 0 && (errno == ENOENT || errno == ENOTDIR);
    if (fd >= 0 && !RegularFile(fd)) {
        close(fd);
        return kNoFile;
    }
    return fd;
}

// Always a new file: whatever was left under our temporary name (a FIFO, whose open would wait
// for a reader; a link, which would be written through) goes first.
Handle Create(const char* path) {
    unlink(path);
    return open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
}

long Read(Handle fd, char* into, size_t size) {
    ssize_t got;
    do
        got = read(fd, into, size);
    while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
}

long Write(Handle fd, const char* from, size_t size) {
    ssize_t wrote;
    do
        wrote = write(fd, from, size);
    while (wrote < 0 && errno == EINTR);
    return static_cast<long>(wrote);
}

bool Close(Handle fd, bool flush) {
    const bool flushed = !flush || fsync(fd) == 0;
    const int error = errno;
    const bool closed = close(fd) == 0;
    if (closed && !flushed)
        errno = error;
    return closed && flushed;
}

// `to` is known free when `replace` is false: the check and the move are not one step, but
// nothing else writes Trovik's files.
bool Move(const char* from, const char* to, bool, bool& missing) {
    const bool moved = rename(from, to) == 0;
    missing = !moved && errno == ENOENT;
    return moved;
}

// Nothing there, not even a dangling link. (lstat, like fstat, is too new a symbol.)
bool Free(const char* path) {
    char link[8];
    return access(path, F_OK) != 0 && errno == ENOENT && readlink(path, link, sizeof link) < 0;
}

void Remove(const char* path) {
    unlink(path);
}

// The file a link at `path` leads to, through a chain of links, when that is a regular file;
// otherwise `path` itself. A link to a device, a FIFO, a folder or nothing is no settings file of
// the user's: it is the link that is moved aside or replaced, never what it points to (moved
// aside, /dev/zero would be gone).
bool Target(const char* path, char (&target)[kLongestPath]) {
    if (snprintf(target, sizeof target, "%s", path) >= static_cast<int>(sizeof target)) {
        errno = ENAMETOOLONG;
        return false;
    }
    if (!RegularFile(path))
        return true;
    for (int links = 0; links < 40; ++links) {
        char link[kLongestPath];
        const ssize_t n = readlink(target, link, sizeof link - 1);
        if (n < 0)
            return errno == EINVAL || errno == ENOENT;
        link[n] = '\0';
        // A relative link counts from the folder the link is in.
        char* slash = strrchr(target, '/');
        const size_t folder =
            link[0] == '/' || slash == nullptr ? 0 : static_cast<size_t>(slash - target) + 1;
        if (folder + static_cast<size_t>(n) >= sizeof target) {
            errno = ENAMETOOLONG;
            return false;
        }
        memcpy(target + folder, link, static_cast<size_t>(n) + 1);
    }
    errno = ELOOP;
    return false;
}

#endif

// The first of path.bad, path.bad2 ... path.bad9 that names nothing.
bool FreeAsideName(const char* path, char (&aside)[kLongestPath]) {
    for (int n = 1; n <= 9; ++n) {
        const int length = n == 1 ? snprintf(aside, sizeof aside, "%s.bad", path)
                                  : snprintf(aside, sizeof aside, "%s.bad%d", path, n);
        if (length < static_cast<int>(sizeof aside) && Free(aside))
            return true;
    }
    return false;
}

bool WriteWhole(Handle file, const char* data, size_t length) {
    for (size_t done = 0; done < length;) {
        const long wrote = Write(file, data + done, length - done);
        if (wrote <= 0)
            return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

}  // namespace

ReadResult ReadSettingsFile(const char* path, char* buffer, size_t size, size_t& length) {
    length = 0;
    bool missing = false;
    const Handle file = OpenToRead(path, missing);
    if (file == kNoFile)
        return missing ? ReadResult::kMissing : ReadResult::kFailed;
    ReadResult result = ReadResult::kRead;
    // One byte more than fits tells a file that is too large.
    for (;;) {
        char extra = 0;
        const long got =
            length < size ? Read(file, buffer + length, size - length) : Read(file, &extra, 1);
        if (got <= 0) {
            result = got < 0 ? ReadResult::kFailed : result;
            break;
        }
        if (length >= size) {
            result = ReadResult::kTooLarge;
            break;
        }
        length += static_cast<size_t>(got);
    }
    Close(file, false);
    return result;
}

bool ReplaceSettingsFile(const char* path, bool moveAside, const char* data, size_t length,
                         Replaced& result) {
    result.movedTo[0] = '\0';
    result.reason[0] = '\0';
    char target[kLongestPath];
    char temporary[kLongestPath];
    char aside[kLongestPath];
    if (!Target(path, target)) {
        Reason(result.reason, sizeof result.reason);
        return false;
    }
    if (moveAside && !FreeAsideName(target, aside)) {
        snprintf(result.reason, sizeof result.reason,
                 "the old file must be kept, and .bad to .bad9 beside it are all taken");
        return false;
    }
    if (snprintf(temporary, sizeof temporary, "%s.tmp", target) >=
        static_cast<int>(sizeof temporary)) {
        snprintf(result.reason, sizeof result.reason, "the path is too long");
        return false;
    }
    const Handle file = Create(temporary);
    if (file == kNoFile) {
        Reason(result.reason, sizeof result.reason);
        return false;
    }
    // On the disk before the rename, so that a crash leaves the old file or the whole new one.
    bool ok = WriteWhole(file, data, length);
    if (!ok)
        Reason(result.reason, sizeof result.reason);
    if (!Close(file, true) && ok) {
        Reason(result.reason, sizeof result.reason);
        ok = false;
    }
    bool missing = false;
    if (ok && moveAside) {
        // Gone meanwhile: nothing left to keep.
        if (Move(target, aside, false, missing))
            snprintf(result.movedTo, sizeof result.movedTo, "%s", aside);
        else if (!missing)
            ok = false;
        if (!ok)
            Reason(result.reason, sizeof result.reason);
    }
    if (ok && !Move(temporary, target, true, missing)) {
        Reason(result.reason, sizeof result.reason);
        ok = false;
    }
    if (!ok)
        Remove(temporary);
    return ok;
}
