#pragma once

#include <unistd.h>

// A file handle that closes itself when it goes out of scope.
class TFileHandle {
public:
    explicit TFileHandle(int handle) : FHandle(handle) {}
    ~TFileHandle()
    {
        if (FHandle >= 0)
            ::close(FHandle);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;

    int Get() const { return FHandle; }
    bool IsOpen() const { return FHandle >= 0; }

private:
    int FHandle;
};
