#include "FameFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Long enough for another copy's save of the largest list.
constexpr int LockTimeout = 5000;

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

bool IsRegularFile(int handle)
{
    struct stat info {};
    return ::fstat(handle, &info) == 0 && S_ISREG(info.st_mode);
}

// Reads the hall of fame at path into list: only a regular file of a sane
// size, never waiting for a writer.
TFameRead ReadFameFile(const QString& fileName, THallList& list)
{
    const QByteArray path = QFile::encodeName(fileName);
    struct stat info {};
    if (::stat(path.constData(), &info) != 0)
        return errno == ENOENT ? TFameRead::Missing : TFameRead::Unreadable;
    if (!S_ISREG(info.st_mode))
        return TFameRead::NotAFile;
    if (info.st_size > TFameFile::MaxSize)
        return TFameRead::TooLarge;
    // Opened without waiting, in case a pipe took the file's place since.
    const THandle handle(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (handle.Get() < 0)
        return TFameRead::Unreadable;
    if (!IsRegularFile(handle.Get()))
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
        if (bytes.size() > TFameFile::MaxSize)
            return TFameRead::TooLarge;
    }
    return list.AddText(bytes) ? TFameRead::Complete : TFameRead::CutShort;
}

// Replaces the file at path with bytes, in one step, only once every byte
// has been written; false, with the file as it was, on any failure.
bool WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // A full disk may take only part of the bytes without calling it an
    // error: anything short of all of them cancels the save.
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

TFameFile PlayersFameFile(const QString& programDirectory, bool programDirectoryWritable,
                          const QString& dataDirectory)
{
    const QString beside = programDirectory + FameFileName;
    if (programDirectoryWritable)
        return TFameFile(beside);
    return TFameFile(dataDirectory + FameFileName, beside);
}

TFameFile::TFameFile(QString path, QString shared) : FPath(std::move(path)), FShared(std::move(shared)) {}

QString TFameFile::Source() const
{
    return FShared.isEmpty() || QFileInfo::exists(FPath) || !QFileInfo::exists(FShared) ? FPath : FShared;
}

TFameRead TFameFile::Read(THallList& list) const { return ReadFameFile(Source(), list); }

void TFameFile::Refresh(THallList& list) const
{
    THallList onDisk;
    const TFameRead read = Read(onDisk);
    if (read == TFameRead::Unreadable || read == TFameRead::NotAFile || read == TFameRead::TooLarge)
        return;
    for (const QString& entry : FUnsaved)
        onDisk.Add(entry);
    list = std::move(onDisk);
}

TFameSaved TFameFile::Add(THallList& list, const QString& entry)
{
    // In the list at once, so that a failed save still shows it for the
    // rest of the run; in the file with the next save that works.
    list.Add(entry);
    FUnsaved.append(entry);
    return Save(list, true);
}

TFameSaved TFameFile::Clear(THallList& list)
{
    list.Clear();
    FUnsaved.clear();
    return Save(list, false);
}

TFameSaved TFameFile::Save(THallList& list, bool keepSaved)
{
    // The player's data folder may not be there before the first save.
    QDir().mkpath(QFileInfo(FPath).absolutePath());
    QLockFile lock(FPath + QStringLiteral(".lock"));
    if (!lock.tryLock(LockTimeout))
        return {};
    THallList onDisk;
    TFameSaved result;
    switch (ReadFameFile(FPath, onDisk)) {
    case TFameRead::Complete:
        break;
    case TFameRead::Missing:
        // The first save of a player who started from the shared file.
        if (!FShared.isEmpty())
            ReadFameFile(FShared, onDisk);
        break;
    case TFameRead::NotAFile:
        return {};
    case TFameRead::CutShort:
    case TFameRead::Unreadable:
    case TFameRead::TooLarge:
        // Never write over what was not read.
        if (!KeepBackup())
            return {};
        result.Backup = BackupPath();
        break;
    }
    if (!keepSaved)
        onDisk.Clear();
    for (const QString& entry : FUnsaved)
        onDisk.Add(entry);
    if (!WriteWholeFile(FPath, onDisk.Text()))
        return {};
    FUnsaved.clear();
    list = std::move(onDisk);
    result.Saved = true;
    return result;
}

bool TFameFile::KeepBackup() const
{
    const QString backup = BackupPath();
    const QString fresh = backup + QStringLiteral(".new");
    QFile::remove(fresh);
    // A second name for the very file needs no right to read it; where the
    // file system has no such names, a copy does.
    const bool kept = ::linkat(AT_FDCWD, QFile::encodeName(FPath).constData(), AT_FDCWD,
                               QFile::encodeName(fresh).constData(), AT_SYMLINK_FOLLOW)
                          == 0
                      || QFile::copy(FPath, fresh);
    // The newest backup replaces an older one in one step.
    if (kept && ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(backup).constData()) == 0)
        return true;
    QFile::remove(fresh);
    return false;
}
