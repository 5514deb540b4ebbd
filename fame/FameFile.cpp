#include "FameFile.h"

#include "FileHandle.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <unistd.h>

namespace {

using TResult = TFileChange::TResult;

TFileChange Failed(int error) { return {.Result = TResult::Failed, .Error = error}; }

// Writes every byte; 0, or the errno of the write that failed.
int WriteAll(int handle, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t count = ::write(handle, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return errno;
        // A full disk may take only part of the bytes without calling it an
        // error: the next write says why. Nothing at all is a full disk too.
        if (count == 0)
            return ENOSPC;
        bytes.remove_prefix(std::size_t(count));
    }
    return 0;
}

// A name for a new file beside path that no other file has yet.
std::string FreshName(const std::string& path)
{
    static std::atomic<unsigned> made{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    return path + '.' + std::to_string(::getpid()) + '.' + std::to_string(now % 1'000'000'007) + '.'
           + std::to_string(made++);
}

// Creates a new file beside path. The kernel gives it the mode the folder
// gives every new file (the umask, or the folder's default rights), without
// the umask being read or changed while other threads run.
int CreateBeside(const std::string& path, std::string& fresh)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        fresh = FreshName(path);
        const int handle = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (handle >= 0 || errno != EEXIST)
            return handle;
    }
    errno = EEXIST;
    return -1;
}

// Copies the regular file at from to a new file at to, with its mode.
TFileChange CopyFile(const std::string& from, const std::string& to)
{
    const TFileHandle source(::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!source.IsOpen())
        return {.Result = errno == ELOOP ? TResult::NotAFile : TResult::Unreadable, .Error = errno};
    if (::fstat(source.Get(), &info) != 0)
        return {.Result = TResult::Unreadable, .Error = errno};
    if (!S_ISREG(info.st_mode))
        return {.Result = TResult::NotAFile};
    const TFileHandle target(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!target.IsOpen() || ::fchmod(target.Get(), info.st_mode & 07777) != 0)
        return Failed(errno);
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t count = ::read(source.Get(), chunk, sizeof chunk);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return {.Result = TResult::Unreadable, .Error = errno};
        if (count == 0)
            break;
        if (const int error = WriteAll(target.Get(), std::string_view(chunk, std::size_t(count))); error != 0)
            return Failed(error);
    }
    if (::fsync(target.Get()) != 0)
        return Failed(errno);
    return {};
}

} // namespace

TFileSeen SeenOf(const struct stat& info)
{
    return {.Device = std::int64_t(info.st_dev),
            .Inode = std::int64_t(info.st_ino),
            .Size = std::int64_t(info.st_size),
            .Modified = std::int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

TFileKind LookAt(const char* path, struct stat& info)
{
    if (::lstat(path, &info) != 0)
        return errno == ENOENT ? TFileKind::Missing : TFileKind::Unknown;
    return S_ISREG(info.st_mode) ? TFileKind::Regular : TFileKind::NotAFile;
}

TFileChange ReplaceFile(const std::string& path, std::string_view bytes, TFileSeen& written)
{
    struct stat old {};
    const TFileKind before = LookAt(path.c_str(), old);
    if (before == TFileKind::NotAFile)
        return {.Result = TResult::NotAFile};
    std::string fresh;
    const TFileHandle handle(CreateBeside(path, fresh));
    if (!handle.IsOpen())
        return Failed(errno);
    TFileChange change;
    struct stat info {};
    if (before == TFileKind::Regular && ::fchmod(handle.Get(), old.st_mode & 07777) != 0)
        change = Failed(errno);
    else if (const int error = WriteAll(handle.Get(), bytes); error != 0)
        change = Failed(error);
    else if (::fsync(handle.Get()) != 0 || ::fstat(handle.Get(), &info) != 0)
        change = Failed(errno);
    // Something else may have taken the file's place meanwhile.
    else if (LookAt(path.c_str(), old) == TFileKind::NotAFile)
        change = {.Result = TResult::NotAFile};
    else if (::rename(fresh.c_str(), path.c_str()) != 0)
        change = Failed(errno);
    if (change.Done())
        written = SeenOf(info);
    else
        ::unlink(fresh.c_str());
    return change;
}

TFileChange KeepBackup(const std::string& path, const std::string& backup)
{
    const std::string fresh = backup + ".new";
    if (::unlink(fresh.c_str()) != 0 && errno != ENOENT)
        return Failed(errno);
    TFileChange change;
    if (::linkat(AT_FDCWD, path.c_str(), AT_FDCWD, fresh.c_str(), 0) != 0)
        change = CopyFile(path, fresh);
    if (change.Done() && ::rename(fresh.c_str(), backup.c_str()) != 0)
        change = Failed(errno);
    if (!change.Done())
        ::unlink(fresh.c_str());
    return change;
}

TWholeFile::TResult LookBeforeReading(const char* path, std::size_t maxSize)
{
    struct stat info {};
    switch (LookAt(path, info)) {
    case TFileKind::Missing: return TWholeFile::TResult::Missing;
    case TFileKind::NotAFile: return TWholeFile::TResult::NotAFile;
    case TFileKind::Unknown: return TWholeFile::TResult::Unreadable;
    case TFileKind::Regular: break;
    }
    if (std::size_t(info.st_size) > maxSize)
        return TWholeFile::TResult::TooLarge;
    const TFileHandle probe(::open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (probe.IsOpen())
        return TWholeFile::TResult::Complete;
    return errno == ENOENT ? TWholeFile::TResult::Missing
           : errno == ELOOP ? TWholeFile::TResult::NotAFile
                            : TWholeFile::TResult::Unreadable;
}
