#pragma once

#include "WholeFile.h"

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>

// The hall of fame's file on the disk: looked at without following links,
// replaced in one step, kept as a backup. Plain POSIX calls, every result
// checked; what a failure means to the player is the caller's to say.

// A file as it was seen: a change means another copy wrote it.
struct TFileSeen {
    std::int64_t Device = -1, Inode = -1, Size = -1, Modified = -1;
    bool operator==(const TFileSeen&) const = default;
};

TFileSeen SeenOf(const struct stat& info);

// What stands at a path, looked at itself and never through a link.
enum class TFileKind { Regular, Missing, NotAFile, Unknown };
TFileKind LookAt(const char* path, struct stat& info);

// What a change on the disk did: done, or which call failed and why.
struct TFileChange {
    enum class TResult {
        Done,
        // The path holds a link, a folder, a pipe or a device.
        NotAFile,
        // The file to be kept could not be read.
        Unreadable,
        // Writing in the folder failed.
        Failed,
    };
    TResult Result = TResult::Done;
    // The errno of the call that failed.
    int Error = 0;

    bool Done() const { return Result == TResult::Done; }
};

// Replaces the regular file at path with bytes in one step, once every byte
// is on the disk. A new file takes the old one's place by its name, so a
// link put there is replaced and never written through, and nothing but a
// regular file is replaced. The new file keeps the old one's mode; a first
// file gets the mode the folder gives new files. On success, written tells
// how the new file looks.
TFileChange ReplaceFile(const std::string& path, std::string_view bytes, TFileSeen& written);

// Keeps the file at path as backup, replacing an older backup in one step.
// A second name for the very file needs no right to read it; where the file
// system has no such names, a copy is made.
TFileChange KeepBackup(const std::string& path, const std::string& backup);

// What ReadWholeFile would find at path, told without reading: for a
// message at start-up while the file is read in the background.
TWholeFile::TResult LookBeforeReading(const char* path, std::size_t maxSize);
