// The settings file on disk: read whole into a fixed buffer, replaced whole so that a crash or a
// full disk never leaves half a file. Paths are the simulator's native ones, UTF-8 (on Windows
// converted to UTF-16 for the wide calls, since the narrow ones take the code page).
#ifndef TROVIK_SETTINGS_FILE_H
#define TROVIK_SETTINGS_FILE_H

#include <stddef.h>

// The simulator's path takes 512 bytes at most; ours have room for a suffix and a link's target.
constexpr size_t kLongestPath = 1100;

enum class ReadResult { kRead, kMissing, kTooLarge, kFailed };

// Up to `size` bytes into `buffer`; kTooLarge if the file holds more. Only a regular file (on
// Windows, a disk file) is read, and it is opened without waiting: a FIFO or a device in its
// place is kFailed, never a wait for a writer or an endless read.
ReadResult ReadSettingsFile(const char* path, char* buffer, size_t size, size_t& length);

// What a replacement did: where the old file went, or why nothing was written.
struct Replaced {
    char movedTo[kLongestPath];  // empty when the old file stayed (or there was none)
    char reason[300];            // the system's words for the failure
};

// Writes `data` into a temporary file beside the file `path` names (the target of a link there
// when that is a regular file, so that the link stays and no rename crosses file systems),
// flushes and closes it, and only then renames it over that file. With `moveAside`, the old file is
// first renamed to the first free name of .bad, .bad2 ... .bad9 after its own; when none is free or
// the move fails, nothing is written. On any failure the temporary file is removed and the old file
// left as it was.
bool ReplaceSettingsFile(const char* path, bool moveAside, const char* data, size_t length,
                         Replaced& result);

#endif  // TROVIK_SETTINGS_FILE_H
