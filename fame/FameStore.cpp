#include "FameStore.h"

#include "FameLock.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <thread>
#include <utility>

namespace {

using TLoaded = TFameStore::TLoaded;

std::string FileName(const QString& path) { return QFile::encodeName(path).toStdString(); }

TFameRead ReadResult(TWholeFile::TResult result)
{
    switch (result) {
    case TWholeFile::TResult::Complete: return TFameRead::Complete;
    case TWholeFile::TResult::Missing: return TFameRead::Missing;
    case TWholeFile::TResult::NotAFile: return TFameRead::NotAFile;
    case TWholeFile::TResult::TooLarge: return TFameRead::TooLarge;
    case TWholeFile::TResult::Unreadable: break;
    }
    return TFameRead::Unreadable;
}

// Reads the hall of fame at path, never through a link.
TLoaded ReadFameFile(const QString& path)
{
    const TWholeFile file = ReadWholeFile(FileName(path).c_str(), TFameStore::MaxSize, TLinks::Refuse);
    TLoaded loaded;
    loaded.Read = ReadResult(file.Result);
    if (loaded.Read != TFameRead::Complete)
        return loaded;
    loaded.Seen = SeenOf(file.Status);
    if (!loaded.List.AddText(QByteArrayView(file.Bytes.data(), qsizetype(file.Bytes.size()))))
        loaded.Read = TFameRead::CutShort;
    return loaded;
}

TFameSaved Failed(TFameFailure failure)
{
    TFameSaved saved;
    saved.Failure = failure;
    return saved;
}

// What a failed change on the disk means to the player.
TFameFailure Failure(const TFileChange& change)
{
    switch (change.Result) {
    case TFileChange::TResult::Done: return TFameFailure::None;
    case TFileChange::TResult::NotAFile: return TFameFailure::NotAFile;
    case TFileChange::TResult::Unreadable: return TFameFailure::Unreadable;
    case TFileChange::TResult::Failed: break;
    }
    return change.Error == EACCES || change.Error == EPERM ? TFameFailure::FolderNotWritable : TFameFailure::Disk;
}

// For the one line on standard error when the game ends with changes unsaved.
const char* Reason(TFameFailure failure)
{
    switch (failure) {
    case TFameFailure::None:
    case TFameFailure::Waiting: break;
    case TFameFailure::Busy: return "ein anderes laufendes Spiel speichert gerade";
    case TFameFailure::NotAFile: return "die Datei ist keine gewöhnliche Datei";
    case TFameFailure::LockNotAFile: return "die Sperrdatei ist keine gewöhnliche Datei";
    case TFameFailure::FolderNotWritable: return "der Ordner ist nicht beschreibbar";
    case TFameFailure::Disk: return "kein Speicher frei oder Laufwerk schreibgeschützt";
    case TFameFailure::Unreadable: return "die bisherige Datei ist nicht lesbar";
    }
    return "";
}

} // namespace

TFameStore::TFameStore(QString path, QString shared, int lockWait)
    : FPath(std::move(path)), FShared(std::move(shared)), FLockWait(lockWait)
{
    FRetry.setInterval(25);
    QObject::connect(&FRetry, &QTimer::timeout, &FRetry, [this] { Retry(); });
}

TFameStore::~TFameStore()
{
    FRetry.stop();
    if (!FUnsaved.Empty()) {
        // Nothing else runs any more: the wait for the lock may block.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(FLockWait);
        TFameSaved saved = TrySave();
        while (saved.Failure == TFameFailure::Busy && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
            saved = TrySave();
        }
        if (!saved.Saved())
            std::fprintf(stderr, "MVKubrin: Bestenliste nicht gespeichert (%s), %s geht verloren: %s\n",
                         Reason(saved.Failure),
                         FUnsaved.Added.isEmpty() ? "das Löschen" : FUnsaved.Added.size() == 1 ? "ein Eintrag"
                                                                                               : "neue Einträge",
                         FPath.toLocal8Bit().constData());
    }
    if (FLoading.valid())
        FLoading.wait();
}

QString TFameStore::Source() const
{
    return FShared.isEmpty() || QFileInfo::exists(FPath) || !QFileInfo::exists(FShared) ? FPath : FShared;
}

TFameRead TFameStore::Probe() const { return ReadResult(LookBeforeReading(FileName(Source()).c_str(), MaxSize)); }

void TFameStore::SetObserver(std::function<void()> changing, std::function<void()> changed)
{
    FChanging = std::move(changing);
    FChanged = std::move(changed);
}

void TFameStore::Changing() const
{
    if (FChanging)
        FChanging();
}

void TFameStore::Changed() const
{
    if (FChanged)
        FChanged();
}

void TFameStore::LoadInBackground()
{
    if (!FLoaded && !FLoading.valid())
        FLoading = std::async(std::launch::async, ReadFameFile, Source());
}

void TFameStore::Adopt(TLoaded loaded)
{
    FLoaded = true;
    // Nothing was read: what the list holds stays.
    if (loaded.Read == TFameRead::Unreadable || loaded.Read == TFameRead::NotAFile
        || loaded.Read == TFameRead::TooLarge)
        return;
    Changing();
    FList = Merged(std::move(loaded.List), FUnsaved);
    // A file not read whole is read again by the save, which keeps it.
    FSeen = loaded.Read == TFameRead::CutShort ? TFileSeen() : loaded.Seen;
    Changed();
}

TFameRead TFameStore::Load()
{
    if (FLoaded && !FLoading.valid())
        return TFameRead::Complete;
    TLoaded loaded = FLoading.valid() ? FLoading.get() : ReadFameFile(Source());
    const TFameRead read = loaded.Read;
    Adopt(std::move(loaded));
    return read;
}

void TFameStore::Refresh()
{
    if (Load() != TFameRead::Complete)
        return;
    struct stat info {};
    const TFileKind now = LookAt(FileName(Source()).c_str(), info);
    if (now == TFileKind::Regular ? SeenOf(info) == FSeen : now == TFileKind::Missing && FSeen == TFileSeen())
        return;
    Adopt(ReadFameFile(Source()));
}

TFameSaved TFameStore::Add(const QString& entry, TFameReport report)
{
    // In the list at once, so that a failed save still shows it for the
    // rest of the run; in the file with the next save that works.
    Changing();
    FList.Add(entry);
    Changed();
    FUnsaved.Added.append(entry);
    return Save(std::move(report));
}

TFameSaved TFameStore::Clear(TFameReport report)
{
    Changing();
    FList.Clear();
    Changed();
    FUnsaved = {.Cleared = true, .Added = {}};
    return Save(std::move(report));
}

TFameSaved TFameStore::SaveUnsaved(TFameReport report) { return Save(std::move(report)); }

void TFameStore::DropUnsaved()
{
    FRetry.stop();
    FReport = {};
    FUnsaved = {};
}

TFameSaved TFameStore::Save(TFameReport report)
{
    // A save asked for while another waits joins it: the waiting save
    // writes this one's entries too.
    if (!FRetry.isActive()) {
        TFameSaved saved = TrySave();
        if (saved.Failure != TFameFailure::Busy || FLockWait <= 0) {
            if (report)
                report(saved);
            return saved;
        }
        // The other copy's save takes a moment: tried again from the event
        // loop, so that nothing else runs inside this call.
        FRetry.start();
    }
    FGiveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(FLockWait);
    FReport = std::move(report);
    return Failed(TFameFailure::Waiting);
}

void TFameStore::Retry()
{
    const TFameSaved saved = TrySave();
    if (saved.Failure == TFameFailure::Busy && std::chrono::steady_clock::now() < FGiveUp)
        return;
    FRetry.stop();
    if (const TFameReport report = std::exchange(FReport, {}))
        report(saved);
}

TFameSaved TFameStore::TrySave()
{
    if (FLoading.valid())
        Adopt(FLoading.get());

    // The player's data folder may not be there before the first save.
    QDir().mkpath(QFileInfo(FPath).absolutePath());
    TFameLock lock(LockPath());
    if (const TFameFailure locked = lock.Take(); locked != TFameFailure::None)
        return Failed(locked);

    TFameSaved result;
    const std::string path = FileName(FPath);
    struct stat info {};
    // Unchanged since this copy read or wrote it: the list is the file.
    const bool current = FLoaded && LookAt(path.c_str(), info) == TFileKind::Regular && SeenOf(info) == FSeen;
    TLoaded onDisk;
    if (!current) {
        onDisk = ReadFameFile(FPath);
        switch (onDisk.Read) {
        case TFameRead::Complete:
            break;
        case TFameRead::Missing:
            // The first save of a player who started from the shared file.
            if (!FShared.isEmpty())
                onDisk = ReadFameFile(FShared);
            break;
        case TFameRead::NotAFile:
            return Failed(TFameFailure::NotAFile);
        case TFameRead::CutShort:
        case TFameRead::Unreadable:
        case TFameRead::TooLarge:
            // Never write over what was not read.
            if (const TFileChange kept = KeepBackup(path, FileName(BackupPath())); !kept.Done())
                return Failed(Failure(kept));
            result.Backup = BackupPath();
            break;
        }
        onDisk.List = Merged(std::move(onDisk.List), FUnsaved);
    }

    const QByteArray text = (current ? FList : onDisk.List).Text();
    TFileSeen written;
    if (const TFileChange change = ReplaceFile(path, std::string_view(text.constData(), std::size_t(text.size())),
                                               written);
        !change.Done())
        return Failed(Failure(change));
    FUnsaved = {};
    if (!current) {
        Changing();
        FList = std::move(onDisk.List);
        Changed();
    }
    FSeen = written;
    FLoaded = true;
    return result;
}
