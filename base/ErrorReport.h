#pragma once

#include <QString>

#include <stdexcept>

// A file that cannot be opened or created. Its text is the message the
// player sees, without the closing full stop.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    static EFileError CannotCreate(const QString& path);
    static EFileError CannotOpen(const QString& path);
    // A file too large to be what it should be, left unread.
    static EFileError TooLarge(const QString& path, qint64 limit);
};

// The general error report: the error's text followed by ".", under the
// application title, with an error icon. The program then goes on.
void ShowException(const std::exception& error);

// Runs an event's handling; an error that escapes it is reported, and the
// fallback stands for the handling's result.
template <class THandling, class TResult>
TResult ReportingErrors(THandling&& handling, TResult fallback)
{
    try {
        return handling();
    } catch (const std::exception& error) {
        ShowException(error);
        return fallback;
    }
}
