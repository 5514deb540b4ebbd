#pragma once

#include "HallList.h"

#include <QString>
#include <QStringList>

// What reading the hall of fame's file found.
enum class TFameRead {
    Complete,   // every line was read; an empty file too
    Missing,    // no file: the hall of fame is empty
    CutShort,   // a byte 0 ended the text before its end
    Unreadable, // the file is there but cannot be read
    NotAFile,   // a folder, a pipe or a device: never read, never replaced
    TooLarge,   // larger than any real list could be: not read
};

// What a save did.
struct TFameSaved {
    bool Saved = false;
    // Where the previous file was kept because it had not been read whole;
    // empty when nothing needed keeping.
    QString Backup;
};

// The hall of fame on disk. The file is the only data a player owns, and
// other copies of the game may use it at the same time, so:
// - a save takes a lock beside the file, reads the file again, adds this
//   run's new entries to what it holds and replaces it in one step, after
//   every byte has been written; a failed save leaves the file as it was;
// - a file that was not read whole is kept as a backup before anything is
//   written over it;
// - only a regular file of a sane size is ever read.
class TFameFile {
public:
    // Far above any real list, which grows by one line a game.
    static constexpr qint64 MaxSize = 64 * 1024 * 1024;

    // The file at path; while it does not exist, the hall of fame starts
    // from the shared file, if one is given and there.
    explicit TFameFile(QString path, QString shared = {});

    const QString& Path() const { return FPath; }
    QString BackupPath() const { return FPath + QStringLiteral(".bak"); }
    // The file that reading takes the hall of fame from now.
    QString Source() const;

    // Adds what the hall of fame's file holds to list.
    TFameRead Read(THallList& list) const;
    // Makes list what the file holds now, with this run's unsaved entries;
    // keeps list as it is when the file cannot be read at all.
    void Refresh(THallList& list) const;
    // Adds the entry to list and saves it with every other entry of this
    // run that is not in the file yet; list then shows the file as saved.
    TFameSaved Add(THallList& list, const QString& entry);
    // Empties list and file.
    TFameSaved Clear(THallList& list);

private:
    TFameSaved Save(THallList& list, bool keepSaved);
    bool KeepBackup() const;

    QString FPath;
    QString FShared;
    // Entries of this run that no save has written yet.
    QStringList FUnsaved;
};

// Where a player's hall of fame lives: beside the executable when the
// player may write there; otherwise (a system-wide install) in the player's
// own data folder, starting from the shared file beside the executable until
// the player's first save.
TFameFile PlayersFameFile(const QString& programDirectory, bool programDirectoryWritable,
                          const QString& dataDirectory);
