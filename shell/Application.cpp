#include "Application.h"

#include "ClassRegistry.h"
#include "ControlSet.h"
#include "Look.h"
#include "T_KUBRIN.h"

#include <QIcon>

QByteArray SessionPlatform(const TSession& session)
{
    const bool wayland = session.Type == "wayland" || !session.WaylandDisplay.isEmpty();
    if (!session.Platform.isEmpty() || !wayland)
        return {};
    // Without an X server only Wayland itself can show the game, also where
    // the session does not call itself a Wayland one (sway from a console).
    return session.Display.isEmpty() ? "wayland" : "xcb";
}

void ChoosePlatform()
{
    const QByteArray platform = SessionPlatform({.Platform = qgetenv("QT_QPA_PLATFORM"),
                                                 .Type = qgetenv("XDG_SESSION_TYPE"),
                                                 .WaylandDisplay = qgetenv("WAYLAND_DISPLAY"),
                                                 .Display = qgetenv("DISPLAY")});
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

void StartUp()
{
    RegisterControlSet();
    RegisterClass<TKUBRIN>();
    QApplication::setApplicationName(QStringLiteral("MVKubrin"));
    // No display name: Qt would append it to every caption on the title bars.
    // The message boxes carry the application title as their own caption.
    QApplication::setDesktopFileName(QStringLiteral(MVK_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/MVKubrin.svg")));
    // Every window and box of the game speaks in the same classic face.
    QApplication::setFont(ClassicFont());
}
