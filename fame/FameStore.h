#pragma once

#include "FameFile.h"
#include "FameMerge.h"
#include "FamePath.h"
#include "FameResults.h"
#include "HallList.h"

#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <future>

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
    // Changes still unsaved get a last try, waiting for the lock as a save
    // does; if that fails too, standard error says what was lost and why.
    ~TFameStore();
    TFameStore(const TFameStore&) = delete;
    TFameStore& operator=(const TFameStore&) = delete;

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
    // another waits joins it, waits its own full time, and only the later
    // report hears the outcome.
    TFameSaved Add(const QString& entry, TFameReport report = {});
    // Empties list and file, and reports as Add does.
    TFameSaved Clear(TFameReport report = {});

    // What this run changed and no save has written yet: a save waits for
    // the lock, or failed and left it for the next.
    const TFameChanges& Unsaved() const { return FUnsaved; }
    // Saves what is unsaved, and reports as Add does.
    TFameSaved SaveUnsaved(TFameReport report = {});
    // Gives up what is unsaved, and any waiting save with it; the list stays
    // as it is shown.
    void DropUnsaved();

    // Called before and after every change of the list, so that a view over
    // it can follow.
    void SetObserver(std::function<void()> changing, std::function<void()> changed);

    struct TLoaded {
        THallList List;
        TFameRead Read = TFameRead::Missing;
        TFileSeen Seen;
    };

private:
    TFameSaved Save(TFameReport report);
    TFameSaved TrySave();
    void Retry();
    void Adopt(TLoaded loaded);
    void Changing() const;
    void Changed() const;

    QString FPath;
    QString FShared;
    int FLockWait;
    THallList FList;
    bool FLoaded = false;
    TFileSeen FSeen;
    std::future<TLoaded> FLoading;
    TFameChanges FUnsaved;
    // Tries a save again while another copy holds the lock, until FGiveUp.
    QTimer FRetry;
    std::chrono::steady_clock::time_point FGiveUp;
    TFameReport FReport;
    std::function<void()> FChanging;
    std::function<void()> FChanged;
};
