#pragma once

#include <QString>

#include <functional>

// What reading the hall of fame's file found.
enum class TFameRead {
    Complete,   // every line was read; an empty file too
    Missing,    // no file: the hall of fame is empty
    CutShort,   // a byte 0 ended the text before its end
    Unreadable, // the file is there but cannot be read
    NotAFile,   // a link, a folder, a pipe or a device: never read, never replaced
    TooLarge,   // larger than any real list could be: not read
};

// Why a save did not write the file.
enum class TFameFailure {
    None,
    Waiting,           // another running copy holds the lock: the save tries again and reports later
    Busy,              // another running copy held the lock all the time
    NotAFile,          // Fame.sav is a link or not a regular file
    LockNotAFile,      // the lock's place holds something that is no lock file
    FolderNotWritable, // the player may not write the folder
    Disk,              // the disk is full or read-only, or refused the bytes
    Unreadable,        // the file was not read whole, and cannot be read to keep a copy of it
};

// What a save did.
struct TFameSaved {
    TFameFailure Failure = TFameFailure::None;
    // Where the previous file was kept because it had not been read whole;
    // empty when nothing needed keeping.
    QString Backup;

    bool Saved() const { return Failure == TFameFailure::None; }
};

// Hears what a save did.
using TFameReport = std::function<void(const TFameSaved&)>;
