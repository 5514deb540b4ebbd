#pragma once

#include <QString>

#include <utility>

// The hall of fame's file.
inline const QString FameFileName = QStringLiteral("Fame.sav");

// Where a player's hall of fame lives: beside the executable when the player
// may write there and it is not under /usr; otherwise (a system-wide
// install, for root too) in the player's own data folder, starting from the
// shared file beside the executable until the player's first save. Returns
// the player's file and the shared one, which is empty when there is none.
std::pair<QString, QString> PlayersFamePaths(const QString& programDirectory, bool programDirectoryWritable,
                                             const QString& dataDirectory);
