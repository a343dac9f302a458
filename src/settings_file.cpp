#include "settings_file.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#endif

#if defined(_WIN32)

namespace {

// MAX_PATH is long past for a Unicode path; the simulator's buffer is 512 bytes, ours a little
// more, and every UTF-8 byte is at most one UTF-16 unit.
constexpr int kWidePath = 1200;

bool Wide(const char* path, wchar_t (&wide)[kWidePath]) {
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide, kWidePath) > 0;
}

}  // namespace

ReadResult ReadSettingsFile(const char* path, char* buffer, size_t size, size_t& length) {
    length = 0;
    wchar_t wide[kWidePath];
    if (!Wide(path, wide))
        return ReadResult::kFailed;
    HANDLE file = CreateFileW(wide, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::kMissing
                                                                              : ReadResult::kFailed;
    }
    ReadResult result = ReadResult::kRead;
    // One byte more than fits tells a file that is too large.
    for (;;) {
        char extra = 0;
        char* into = length < size ? buffer + length : &extra;
        const DWORD want = length < size ? static_cast<DWORD>(size - length) : 1;
        DWORD got = 0;
        if (!ReadFile(file, into, want, &got, nullptr)) {
            result = ReadResult::kFailed;
            break;
        }
        if (got == 0)
            break;
        if (length >= size) {
            result = ReadResult::kTooLarge;
            break;
        }
        length += got;
    }
    CloseHandle(file);
    return result;
}

bool ReplaceSettingsFile(const char* path, const char* temporary, const char* aside,
                         const char* data, size_t length) {
    wchar_t widePath[kWidePath];
    wchar_t wideTemporary[kWidePath];
    wchar_t wideAside[kWidePath];
    if (!Wide(path, widePath) || !Wide(temporary, wideTemporary) ||
        (aside != nullptr && !Wide(aside, wideAside))) {
        return false;
    }
    HANDLE file = CreateFileW(wideTemporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    for (size_t done = 0; ok && done < length;) {
        DWORD wrote = 0;
        ok = WriteFile(file, data + done, static_cast<DWORD>(length - done), &wrote, nullptr) &&
             wrote > 0;
        done += wrote;
    }
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    // rename() will not replace an existing file on Windows; MoveFileExW will.
    const DWORD replace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (ok && aside != nullptr)
        MoveFileExW(widePath, wideAside, replace);
    ok = ok && MoveFileExW(wideTemporary, widePath, replace);
    if (!ok)
        DeleteFileW(wideTemporary);
    return ok;
}

#else

ReadResult ReadSettingsFile(const char* path, char* buffer, size_t size, size_t& length) {
    length = 0;
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        // No such file, or no such folder: nothing was ever saved there.
        return errno == ENOENT || errno == ENOTDIR ? ReadResult::kMissing : ReadResult::kFailed;
    ReadResult result = ReadResult::kRead;
    // One byte more than fits tells a file that is too large.
    for (;;) {
        char extra = 0;
        char* into = length < size ? buffer + length : &extra;
        const size_t want = length < size ? size - length : 1;
        const ssize_t got = read(fd, into, want);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            result = ReadResult::kFailed;  // a directory, for one
            break;
        }
        if (got == 0)
            break;
        if (length >= size) {
            result = ReadResult::kTooLarge;
            break;
        }
        length += static_cast<size_t>(got);
    }
    close(fd);
    return result;
}

bool ReplaceSettingsFile(const char* path, const char* temporary, const char* aside,
                         const char* data, size_t length) {
    const int fd = open(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool ok = true;
    for (size_t done = 0; ok && done < length;) {
        const ssize_t wrote = write(fd, data + done, length - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        ok = wrote > 0;
        if (ok)
            done += static_cast<size_t>(wrote);
    }
    // On the disk before the rename, so that a crash leaves the old file or the whole new one.
    ok = fsync(fd) == 0 && ok;
    ok = close(fd) == 0 && ok;
    if (ok && aside != nullptr)
        rename(path, aside);
    ok = ok && rename(temporary, path) == 0;
    if (!ok)
        unlink(temporary);
    return ok;
}

#endif
