#include "SmallFile.h"

#include "FileHandle.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

ssize_t ReadAt(int folder, const char* path, char* buffer, size_t size)
{
    const TFileHandle file(openat(folder, path, O_RDONLY | O_CLOEXEC));
    if (!file.IsOpen())
        return -1;
    size_t length = 0;
    while (length + 1 < size) {
        const ssize_t got = read(file.Get(), buffer + length, size - 1 - length);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        length += size_t(got);
    }
    buffer[length] = 0;
    return ssize_t(length);
}
