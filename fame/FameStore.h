#pragma once

#include "HallList.h"

#include <QString>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <functional>
#include <future>

// The hall of fame's file.
inline const QString FameFileName = QStringLiteral("Fame.sav");

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

// The hall of fame: the list and its file. The file is the only data a
// player owns, and other copies of the game may use it at the same time, so:
// - a save takes a lock beside the file, reads the file again when another
//   copy changed it, adds this run's new entries to what it holds and
//   replaces it in one step, after every byte has been written; a failed
//   save leaves the file as it was and keeps the entries for the next save;
// - a file that was not read whole is kept as a backup before anything is
//   written over it;
// - only a regular file of a sane size is ever read, never through a link,
//   and a link is never replaced or written through;
// - the list is read when it is first needed, or in the background.
class TFameStore {
public:
    // Far above any real list, which grows by one line a game.
    static constexpr qint64 MaxSize = 64 * 1024 * 1024;
    // How long a save waits for another copy's save before it gives up; it
    // tries again from the event loop, so the windows go on meanwhile.
    static constexpr int LockWait = 2000;

    // The file at path; while it does not exist, the hall of fame starts
    // from the shared file, if one is given and there.
    explicit TFameStore(QString path, QString shared = {}, int lockWait = LockWait);
    ~TFameStore();
    TFameStore(const TFameStore&) = delete;
    TFameStore& operator=(const TFameStore&) = delete;

    // Where a player's hall of fame lives: beside the executable when the
    // player may write there and it is not under /usr; otherwise (a
    // system-wide install, for root too) in the
    // player's own data folder, starting from the shared file beside the
    // executable until the player's first save.
    static std::pair<QString, QString> PlayersPaths(const QString& programDirectory, bool programDirectoryWritable,
                                                    const QString& dataDirectory);

    const QString& Path() const { return FPath; }
    QString BackupPath() const { return FPath + QStringLiteral(".bak"); }
    QString LockPath() const { return FPath + QStringLiteral(".lock"); }
    // The file that reading takes the hall of fame from now.
    QString Source() const;

    // What reading would find, told at once without reading the entries.
    TFameRead Probe() const;
    // Starts reading the file on another thread.
    void LoadInBackground();
    // Reads the file unless that was done; what reading found.
    TFameRead Load();
    // Reads the file again when another copy changed it since.
    void Refresh();
    // The list as far as it was read: the file as last read or saved, with
    // this run's entries.
    const THallList& List() const { return FList; }

    // Adds the entry to the list and saves it with every other entry of this
    // run that is not in the file yet; the list then shows the file as saved.
    // Returns what the save did so far: Waiting while another copy holds the
    // lock. The report hears the outcome: at once, or from the event loop
    // once the lock was free or the wait ran out. A save asked for while
    // another waits joins it, and only the later report hears the outcome.
    TFameSaved Add(const QString& entry, TFameReport report = {});
    // Empties list and file, and reports as Add does.
    TFameSaved Clear(TFameReport report = {});

    // Called before and after every change of the list, so that a view over
    // it can follow.
    void SetObserver(std::function<void()> changing, std::function<void()> changed);

    // A file as it was seen: a change means another copy wrote it.
    struct TSeen {
        qint64 Device = -1, Inode = -1, Size = -1, Modified = -1;
        bool operator==(const TSeen&) const = default;
    };
    struct TLoaded {
        THallList List;
        TFameRead Read = TFameRead::Missing;
        TSeen Seen;
    };

private:
    TFameSaved Save(TFameReport report);
    TFameSaved TrySave();
    void Retry();
    TFameFailure TakeLock(class QLockFile& lock);
    void Adopt(TLoaded loaded);
    void Changing() const;
    void Changed() const;

    QString FPath;
    QString FShared;
    int FLockWait;
    THallList FList;
    bool FLoaded = false;
    TSeen FSeen;
    std::future<TLoaded> FLoading;
    // Entries of this run that no save has written yet.
    QStringList FUnsaved;
    // A deletion that no save has written yet: the file is emptied before
    // the unsaved entries go in.
    bool FClearing = false;
    // Tries a save again while another copy holds the lock, until FGiveUp.
    QTimer FRetry;
    std::chrono::steady_clock::time_point FGiveUp;
    TFameReport FReport;
    std::function<void()> FChanging;
    std::function<void()> FChanged;
};
