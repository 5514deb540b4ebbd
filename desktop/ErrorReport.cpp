#include "ErrorReport.h"

#include "Services.h"

EFileError EFileError::CannotCreate(const QString& path)
{
    return EFileError(QStringLiteral("Kann Datei %1 nicht erstellen").arg(path).toStdString());
}

EFileError EFileError::CannotOpen(const QString& path)
{
    return EFileError(QStringLiteral("Kann Datei %1 nicht öffnen").arg(path).toStdString());
}

EFileError EFileError::NotAFile(const QString& path)
{
    return EFileError(
        QStringLiteral("Kann Datei %1 nicht öffnen: sie ist keine gewöhnliche Datei").arg(path).toStdString());
}

EFileError EFileError::TooLarge(const QString& path, qint64 limit)
{
    return EFileError(
        QStringLiteral("Kann Datei %1 nicht öffnen: sie ist größer als %2 MB").arg(path).arg(limit / (1024 * 1024))
            .toStdString());
}

void ShowException(const std::exception& error)
{
    Services().ShowMessage(QString::fromUtf8(error.what()) + QLatin1Char('.'), TMessageIcon::Error);
}
