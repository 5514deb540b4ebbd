#include "FameStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTimer>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace {

using TSeen = TFameStore::TSeen;

// Closes a file handle when it goes out of scope.
class THandle {
public:
    explicit THandle(int handle) : FHandle(handle) {}
    ~THandle()
    {
        if (FHandle >= 0)
            ::close(FHandle);
    }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;

    int Get() const { return FHandle; }

private:
    int FHandle;
};

TSeen Seen(const struct stat& info)
{
    return {.Device = qint64(info.st_dev),
            .Inode = qint64(info.st_ino),
            .Size = qint64(info.st_size),
            .Modified = qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

// Looks at the path itself, never at what a link points to.
TFameRead Look(const QByteArray& path, struct stat& info)
{
    if (::lstat(path.constData(), &info) != 0)
        return errno == ENOENT ? TFameRead::Missing : TFameRead::Unreadable;
    if (!S_ISREG(info.st_mode))
        return TFameRead::NotAFile;
    if (info.st_size > TFameStore::MaxSize)
        return TFameRead::TooLarge;
    return TFameRead::Complete;
}

// Opens the regular file at path for reading: never through a link, never
// waiting for a writer in case a pipe took the file's place.
int OpenToRead(const QByteArray& path, TFameRead& read)
{
    const int handle = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0)
        read = errno == ELOOP ? TFameRead::NotAFile : errno == ENOENT ? TFameRead::Missing : TFameRead::Unreadable;
    return handle;
}

// Reads the hall of fame at path into loaded.
TFameRead ReadFameFile(const QString& fileName, TFameStore::TLoaded& loaded)
{
    const QByteArray path = QFile::encodeName(fileName);
    struct stat info {};
    TFameRead read = Look(path, info);
    if (read != TFameRead::Complete)
        return read;
    const THandle handle(OpenToRead(path, read));
    if (handle.Get() < 0)
        return read;
    if (::fstat(handle.Get(), &info) != 0)
        return TFameRead::Unreadable;
    if (!S_ISREG(info.st_mode))
        return TFameRead::NotAFile;
    QByteArray bytes;
    bytes.reserve(qsizetype(info.st_size));
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t count = ::read(handle.Get(), chunk, sizeof chunk);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return TFameRead::Unreadable;
        if (count == 0)
            break;
        bytes.append(chunk, qsizetype(count));
        // The file may be growing while it is read.
        if (bytes.size() > TFameStore::MaxSize)
            return TFameRead::TooLarge;
    }
    loaded.Seen = Seen(info);
    return loaded.List.AddText(bytes) ? TFameRead::Complete : TFameRead::CutShort;
}

TFameStore::TLoaded LoadFameFile(const QString& fileName)
{
    TFameStore::TLoaded loaded;
    loaded.Read = ReadFameFile(fileName, loaded);
    return loaded;
}

TFameSaved Failed(TFameFailure failure)
{
    TFameSaved saved;
    saved.Failure = failure;
    return saved;
}

// Why writing in the folder failed, from the error of the call that failed.
TFameFailure WriteFailure(int error)
{
    return error == EACCES || error == EPERM ? TFameFailure::FolderNotWritable : TFameFailure::Disk;
}

bool WriteAll(int handle, const QByteArray& bytes)
{
    const char* next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t count = ::write(handle, next, std::size_t(left));
        if (count < 0 && errno == EINTR)
            continue;
        // A full disk may take only part of the bytes without calling it an
        // error: the next write says why.
        if (count <= 0)
            return false;
        next += count;
        left -= count;
    }
    return true;
}

// Replaces the file at path with bytes in one step, only once every byte
// has been written. A new file takes the old one's place by its name, so a
// link put there is replaced and never written through. On success, how the
// new file looks.
TFameFailure WriteWholeFile(const QString& fileName, const QByteArray& bytes, TSeen& written)
{
    const QByteArray path = QFile::encodeName(fileName);
    QByteArray fresh = path + ".XXXXXX";
    const THandle handle(::mkostemp(fresh.data(), O_CLOEXEC));
    if (handle.Get() < 0)
        return WriteFailure(errno);
    struct stat old {};
    mode_t mode = 0;
    if (::lstat(path.constData(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int error = 0;
    struct stat info {};
    if (::fchmod(handle.Get(), mode) != 0 || !WriteAll(handle.Get(), bytes) || ::fsync(handle.Get()) != 0
        || ::fstat(handle.Get(), &info) != 0)
        error = errno;
    else if (Look(path, old) == TFameRead::NotAFile)
        error = ELOOP;
    else if (::rename(fresh.constData(), path.constData()) != 0)
        error = errno;
    if (error == 0) {
        written = Seen(info);
        return TFameFailure::None;
    }
    ::unlink(fresh.constData());
    return error == ELOOP ? TFameFailure::NotAFile : WriteFailure(error);
}

// Keeps the file at path as its backup, replacing an older backup in one
// step. A second name for the very file needs no right to read it; where
// the file system has no such names, a copy does.
TFameFailure KeepBackup(const QString& path, const QString& backup)
{
    const QString fresh = backup + QStringLiteral(".new");
    QFile::remove(fresh);
    int error = 0;
    if (::linkat(AT_FDCWD, QFile::encodeName(path).constData(), AT_FDCWD, QFile::encodeName(fresh).constData(), 0)
            != 0
        && !QFile::copy(path, fresh))
        error = errno ? errno : EIO;
    else if (::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(backup).constData()) != 0)
        error = errno;
    if (error == 0)
        return TFameFailure::None;
    QFile::remove(fresh);
    return WriteFailure(error);
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
    // A save that still waits for the lock when the game ends has one last try.
    if (FRetry.isActive())
        TrySave();
    if (FLoading.valid())
        FLoading.wait();
}

std::pair<QString, QString> TFameStore::PlayersPaths(const QString& programDirectory, bool programDirectoryWritable,
                                                     const QString& dataDirectory)
{
    const QString beside = programDirectory + FameFileName;
    // Nothing under /usr is written at run time, not even by root: a program
    // there belongs to the system and its packages, and would leave the file
    // behind when it is removed.
    const bool systemFolder = programDirectory.startsWith(QStringLiteral("/usr/"));
    if (programDirectoryWritable && !systemFolder)
        return {beside, QString()};
    return {dataDirectory + FameFileName, beside};
}

QString TFameStore::Source() const
{
    return FShared.isEmpty() || QFileInfo::exists(FPath) || !QFileInfo::exists(FShared) ? FPath : FShared;
}

TFameRead TFameStore::Probe() const
{
    const QByteArray path = QFile::encodeName(Source());
    struct stat info {};
    TFameRead read = Look(path, info);
    if (read == TFameRead::Complete)
        const THandle probe(OpenToRead(path, read));
    return read;
}

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
        FLoading = std::async(std::launch::async, LoadFameFile, Source());
}

void TFameStore::Adopt(TLoaded loaded)
{
    if (loaded.Read == TFameRead::Unreadable || loaded.Read == TFameRead::NotAFile
        || loaded.Read == TFameRead::TooLarge) {
        // Nothing was read: what the list holds stays.
        FLoaded = true;
        return;
    }
    Changing();
    for (const QString& entry : FUnsaved)
        loaded.List.Add(entry);
    FList = std::move(loaded.List);
    // A file not read whole is read again by the save, which keeps it.
    FSeen = loaded.Read == TFameRead::CutShort ? TSeen() : loaded.Seen;
    FLoaded = true;
    Changed();
}

TFameRead TFameStore::Load()
{
    if (FLoaded && !FLoading.valid())
        return TFameRead::Complete;
    TLoaded loaded = FLoading.valid() ? FLoading.get() : LoadFameFile(Source());
    const TFameRead read = loaded.Read;
    Adopt(std::move(loaded));
    return read;
}

void TFameStore::Refresh()
{
    if (Load() != TFameRead::Complete)
        return;
    struct stat info {};
    const TFameRead now = Look(QFile::encodeName(Source()), info);
    if (now == TFameRead::Complete ? Seen(info) == FSeen : now == TFameRead::Missing && FSeen == TSeen())
        return;
    Adopt(LoadFameFile(Source()));
}

TFameSaved TFameStore::Add(const QString& entry, TFameReport report)
{
    // In the list at once, so that a failed save still shows it for the
    // rest of the run; in the file with the next save that works.
    Changing();
    FList.Add(entry);
    Changed();
    FUnsaved.append(entry);
    return Save(std::move(report));
}

TFameSaved TFameStore::Clear(TFameReport report)
{
    Changing();
    FList.Clear();
    Changed();
    FUnsaved.clear();
    FClearing = true;
    return Save(std::move(report));
}

TFameFailure TFameStore::TakeLock(QLockFile& lock)
{
    const QByteArray lockPath = QFile::encodeName(LockPath());
    struct stat info {};
    // Something that is no lock file is never waited on: no copy of the
    // game will ever remove it.
    if (::lstat(lockPath.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return TFameFailure::LockNotAFile;
    if (lock.tryLock(0))
        return TFameFailure::None;
    if (lock.error() == QLockFile::LockFailedError)
        return TFameFailure::Busy;
    // The lock cannot even be made: the folder tells why.
    const QByteArray folder = QFile::encodeName(QFileInfo(FPath).absolutePath());
    return ::access(folder.constData(), W_OK) != 0 && errno != EROFS ? TFameFailure::FolderNotWritable
                                                                      : TFameFailure::Disk;
}

TFameSaved TFameStore::Save(TFameReport report)
{
    // The save that waits writes this one's entries too.
    if (FRetry.isActive()) {
        FReport = std::move(report);
        return Failed(TFameFailure::Waiting);
    }
    TFameSaved saved = TrySave();
    if (saved.Failure == TFameFailure::Busy && FLockWait > 0) {
        // The other copy's save takes a moment: tried again from the event
        // loop, so that nothing else runs inside this call.
        FGiveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(FLockWait);
        FReport = std::move(report);
        FRetry.start();
        return Failed(TFameFailure::Waiting);
    }
    if (report)
        report(saved);
    return saved;
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
    QLockFile lock(LockPath());
    if (const TFameFailure locked = TakeLock(lock); locked != TFameFailure::None)
        return Failed(locked);

    TFameSaved result;
    TLoaded onDisk;
    struct stat info {};
    const TFameRead now = Look(QFile::encodeName(FPath), info);
    // Unchanged since this copy read or wrote it: the list is the file.
    const bool current = FLoaded && now == TFameRead::Complete && Seen(info) == FSeen;
    if (!current) {
        switch (ReadFameFile(FPath, onDisk)) {
        case TFameRead::Complete:
            break;
        case TFameRead::Missing:
            // The first save of a player who started from the shared file.
            if (!FShared.isEmpty())
                ReadFameFile(FShared, onDisk);
            break;
        case TFameRead::NotAFile:
            return Failed(TFameFailure::NotAFile);
        case TFameRead::CutShort:
        case TFameRead::Unreadable:
        case TFameRead::TooLarge:
            // Never write over what was not read.
            if (const TFameFailure kept = KeepBackup(FPath, BackupPath()); kept != TFameFailure::None)
                return Failed(kept);
            result.Backup = BackupPath();
            break;
        }
        if (FClearing)
            onDisk.List.Clear();
        for (const QString& entry : FUnsaved)
            onDisk.List.Add(entry);
    }

    const THallList& saved = current ? FList : onDisk.List;
    TSeen written;
    result.Failure = WriteWholeFile(FPath, saved.Text(), written);
    if (!result.Saved()) {
        result.Backup.clear();
        return result;
    }
    FUnsaved.clear();
    FClearing = false;
    if (&saved != &FList) {
        Changing();
        FList = std::move(onDisk.List);
        Changed();
    }
    FSeen = written;
    FLoaded = true;
    return result;
}
