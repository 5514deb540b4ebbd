#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <string>

// A small file read in one go, for the data files beside the game (the hall
// of fame, the clicks). It never waits on a pipe put in the file's place,
// never reads more than the caller allows, and says why it failed.
struct TWholeFile {
    enum class TResult {
        Complete,
        Missing,
        // A folder, a pipe, a device, or a link where links are refused.
        NotAFile,
        // Larger than allowed, or grew past it while being read.
        TooLarge,
        Unreadable,
    };

    TResult Result = TResult::Unreadable;
    // The errno of the call that failed, for an unreadable file.
    int Error = 0;
    // The file as it was read; only set when complete.
    struct stat Status {};
    std::string Bytes;
};

enum class TLinks { Follow, Refuse };

TWholeFile ReadWholeFile(const char* path, std::size_t maxSize, TLinks links);
