#pragma once

#include "HallList.h"

#include <QStringList>

// What this run changed in the hall of fame and no save has written yet.
struct TFameChanges {
    // The player deleted the list: what the file held before goes.
    bool Cleared = false;
    // Entries of this run, all after the deletion if there was one.
    QStringList Added = {};

    bool Empty() const { return !Cleared && Added.isEmpty(); }
};

// The hall of fame as the file holds it, which another running copy may
// have changed, with this run's changes on top: nothing another copy saved
// is lost unless this run deleted the list after it, and an entry both hold
// is kept once.
THallList Merged(THallList file, const TFameChanges& changes);
