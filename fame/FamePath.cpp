#include "FamePath.h"

std::pair<QString, QString> PlayersFamePaths(const QString& programDirectory, bool programDirectoryWritable,
                                             const QString& dataDirectory)
{
    const QString beside = programDirectory + FameFileName;
    // Nothing under /usr is written at run time, not even by root: a program
    // there belongs to the system and its packages, and would leave the file
    // behind when it is removed.
    const bool systemFolder = programDirectory.startsWith(QStringLiteral("/usr/"));
    if (programDirectoryWritable && !systemFolder)
        return {beside, QString()};
    return {dataDirectory + FameFileName, beside};
}
