#include "FameMerge.h"

THallList Merged(THallList file, const TFameChanges& changes)
{
    if (changes.Cleared)
        file.Clear();
    for (const QString& entry : changes.Added)
        file.Add(entry);
    return file;
}
