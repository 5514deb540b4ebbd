#include "Application.h"

#include "ClassRegistry.h"
#include "ControlSet.h"
#include "Look.h"
#include "T_KUBRIN.h"

#include <QIcon>

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
