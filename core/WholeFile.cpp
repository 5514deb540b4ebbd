#include "WholeFile.h"

#include "FileHandle.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

TWholeFile Failed(TWholeFile::TResult result, int error = 0)
{
    TWholeFile file;
    file.Result = result;
    file.Error = error;
    return file;
}

} // namespace

TWholeFile ReadWholeFile(const char* path, std::size_t maxSize, TLinks links)
{
    using TResult = TWholeFile::TResult;
    // Not blocking: a pipe in the file's place would otherwise wait for a
    // writer that never comes.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (links == TLinks::Refuse ? O_NOFOLLOW : 0);
    const TFileHandle handle(::open(path, flags));
    if (!handle.IsOpen()) {
        const int error = errno;
        if (error == ENOENT)
            return Failed(TResult::Missing);
        if (error == ELOOP && links == TLinks::Refuse)
            return Failed(TResult::NotAFile);
        return Failed(TResult::Unreadable, error);
    }
    TWholeFile file;
    if (::fstat(handle.Get(), &file.Status) != 0)
        return Failed(TResult::Unreadable, errno);
    if (!S_ISREG(file.Status.st_mode))
        return Failed(TResult::NotAFile);
    if (std::size_t(file.Status.st_size) > maxSize)
        return Failed(TResult::TooLarge);
    file.Bytes.reserve(std::size_t(file.Status.st_size));
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t count = ::read(handle.Get(), chunk, sizeof chunk);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return Failed(TResult::Unreadable, errno);
        if (count == 0)
            break;
        file.Bytes.append(chunk, std::size_t(count));
        // The file may be growing while it is read.
        if (file.Bytes.size() > maxSize)
            return Failed(TResult::TooLarge);
    }
    file.Result = TResult::Complete;
    return file;
}
