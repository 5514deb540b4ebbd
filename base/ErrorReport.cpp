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

void ShowException(const std::exception& error)
{
    Services().ShowMessage(QString::fromUtf8(error.what()) + QLatin1Char('.'), TMessageIcon::Error);
}
