#include "FameLock.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

TFameLock::TFameLock(const QString& lockPath) : FPath(lockPath), FLock(lockPath) {}

TFameFailure TFameLock::Take()
{
    struct stat info {};
    // Something that is no lock file is never waited on: no copy of the
    // game will ever remove it.
    if (::lstat(QFile::encodeName(FPath).constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return TFameFailure::LockNotAFile;
    if (FLock.tryLock(0))
        return TFameFailure::None;
    if (FLock.error() == QLockFile::LockFailedError)
        return TFameFailure::Busy;
    // The lock cannot even be made, and the lock file does not say why (it
    // calls a read-only disk a lack of rights): the folder tells.
    const QByteArray folder = QFile::encodeName(QFileInfo(FPath).absolutePath());
    return ::access(folder.constData(), W_OK) != 0 && errno != EROFS ? TFameFailure::FolderNotWritable
                                                                      : TFameFailure::Disk;
}
