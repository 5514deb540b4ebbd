#pragma once

#include <cstddef>

#include <sys/types.h>

// Reads a small file below a folder (or at a path, below AT_FDCWD) into the
// buffer, ended by a zero byte; the length read, or -1. It allocates
// nothing, so that it may be used during play.
ssize_t ReadAt(int folder, const char* path, char* buffer, size_t size);
