#include "Application.h"

#include "ClassRegistry.h"
#include "ControlSet.h"
#include "Look.h"
#include "Services.h"
#include "T_KUBRIN.h"

#include <QIcon>

void StartUp()
{
    RegisterControlSet();
    RegisterClass<TKUBRIN>();
    QApplication::setApplicationName(QStringLiteral("MVKubrin"));
    QApplication::setApplicationDisplayName(ApplicationTitle);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/MVKubrin.svg")));
    // Every window and box of the game speaks in the same classic face.
    QApplication::setFont(ClassicFont());
}
