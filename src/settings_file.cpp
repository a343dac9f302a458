#include "settings_file.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#endif

namespace {

// ---- What each system calls its files: a handle, and the calls on it ----
// Each returns the bytes moved, 0 at the end of a file, -1 on an error.

#if defined(_WIN32)

using Handle = HANDLE;
const Handle kNoFile = INVALID_HANDLE_VALUE;

// MAX_PATH is long past for a Unicode path; the simulator's buffer is 512 bytes, ours a little
// more, and every UTF-8 byte is at most one UTF-16 unit. The narrow calls would take the path in
// the code page, not UTF-8.
constexpr int kWidePath = 1200;

bool Wide(const char* path, wchar_t (&wide)[kWidePath]) {
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide, kWidePath) > 0;
}

Handle Open(const char* path, bool writing, bool& missing) {
    wchar_t wide[kWidePath];
    missing = false;
    if (!Wide(path, wide))
        return kNoFile;
    const Handle file = writing ? CreateFileW(wide, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr)
                                : CreateFileW(wide, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    missing = file == kNoFile && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND);
    return file;
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

// rename() will not replace an existing file on Windows; MoveFileExW will.
bool Rename(const char* from, const char* to) {
    wchar_t wideFrom[kWidePath];
    wchar_t wideTo[kWidePath];
    return Wide(from, wideFrom) && Wide(to, wideTo) &&
           MoveFileExW(wideFrom, wideTo, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

void Remove(const char* path) {
    wchar_t wide[kWidePath];
    if (Wide(path, wide))
        DeleteFileW(wide);
}

#else

using Handle = int;
const Handle kNoFile = -1;

Handle Open(const char* path, bool writing, bool& missing) {
    const Handle fd = writing ? open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)
                              : open(path, O_RDONLY | O_CLOEXEC);
    // No such file, or no such folder: nothing was ever saved there.
    missing = fd < 0 && (errno == ENOENT || errno == ENOTDIR);
    return fd;
}

long Read(Handle fd, char* into, size_t size) {
    ssize_t got;
    do
        got = read(fd, into, size);
    while (got < 0 && errno == EINTR);
    return static_cast<long>(got);  // -1 for a directory, among others
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
    return close(fd) == 0 && flushed;
}

bool Rename(const char* from, const char* to) {
    return rename(from, to) == 0;
}

void Remove(const char* path) {
    unlink(path);
}

#endif

}  // namespace

ReadResult ReadSettingsFile(const char* path, char* buffer, size_t size, size_t& length) {
    length = 0;
    bool missing = false;
    const Handle file = Open(path, false, missing);
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

bool ReplaceSettingsFile(const char* path, const char* temporary, const char* aside,
                         const char* data, size_t length) {
    bool missing = false;
    const Handle file = Open(temporary, true, missing);
    if (file == kNoFile)
        return false;
    bool ok = true;
    for (size_t done = 0; ok && done < length;) {
        const long wrote = Write(file, data + done, length - done);
        ok = wrote > 0;
        done += ok ? static_cast<size_t>(wrote) : 0;
    }
    // On the disk before the rename, so that a crash leaves the old file or the whole new one.
    ok = Close(file, true) && ok;
    if (ok && aside != nullptr)
        Rename(path, aside);
    ok = ok && Rename(temporary, path);
    if (!ok)
        Remove(temporary);
    return ok;
}
