#include "Application.h"

#include "ClassRegistry.h"
#include "ControlSet.h"
#include "ErrorReport.h"
#include "Services.h"
#include "T_KUBRIN.h"

#include <QIcon>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
        return false;
    }
}

void StartUp()
{
    RegisterControlSet();
    RegisterClass<TKUBRIN>();
    QApplication::setApplicationName(QStringLiteral("MVKubrin"));
    QApplication::setApplicationDisplayName(ApplicationTitle);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/MVKubrin.svg")));
}
