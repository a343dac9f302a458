// The settings file on disk: read whole into a fixed buffer, replaced whole so that a crash or a
// full disk never leaves half a file. Paths are the simulator's native ones, UTF-8 (on Windows
// converted to UTF-16 for the wide calls, since the narrow ones take the code page).
#ifndef TROVIK_SETTINGS_FILE_H
#define TROVIK_SETTINGS_FILE_H

#include <stddef.h>

enum class ReadResult { kRead, kMissing, kTooLarge, kFailed };

// Up to `size` bytes into `buffer`; kTooLarge if the file holds more.
ReadResult ReadSettingsFile(const char* path, char* buffer, size_t size, size_t& length);

// Writes `data` into `temporary`, flushes and closes it, and only then, after moving `path` to
// `aside` if `aside` is not null, renames it over `path`. On any failure the temporary file is
// removed and `path` is left as it was.
bool ReplaceSettingsFile(const char* path, const char* temporary, const char* aside,
                         const char* data, size_t length);

#endif  // TROVIK_SETTINGS_FILE_H
