#pragma once

#include "FameResults.h"

#include <QLockFile>
#include <QString>

// The lock beside the hall of fame's file: one running copy saves at a time.
// A copy that died holding it leaves it to be taken over.
class TFameLock {
public:
    explicit TFameLock(const QString& lockPath);

    // Takes the lock without waiting: None, or why not. Held until the lock
    // goes out of scope.
    TFameFailure Take();

private:
    QString FPath;
    QLockFile FLock;
};
