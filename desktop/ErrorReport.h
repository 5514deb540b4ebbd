#pragma once

#include <QString>

#include <stdexcept>

// How failures travel: nothing in the program throws, and no error is passed
// up to a caller. The failures a player is told of all concern the hall of
// fame's file: the code that reads or saves Fame.sav learns of a failure from
// a result where it happens and reports it there and then, a file that
// cannot be opened, created or read whole through ShowException with an
// EFileError, a save after a game that failed with a message of its own. The
// program goes on, the list in memory as the failure left it. Values refused
// by a write rule are reported by the rule itself in a message box and
// change nothing.

// A file that cannot be opened or created: an error to be shown, not thrown.
// Its text is the message the player sees, without the closing full stop.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    static EFileError CannotCreate(const QString& path);
    static EFileError CannotOpen(const QString& path);
    // Not a regular file (a link, a folder, a pipe), left unread.
    static EFileError NotAFile(const QString& path);
    // A file too large to be what it should be, left unread.
    static EFileError TooLarge(const QString& path, qint64 limit);
};

// The general error report: the error's text followed by ".", under the
// application title, with an error icon.
void ShowException(const std::exception& error);
