#include "QtServices.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(ApplicationTitle);
    TQtServices services;
    InstallServices(&services);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("MVKubrin"));
    window.resize(386, 434);
    window.show();
    const int result = QApplication::exec();
    InstallServices(nullptr);
    return result;
}
