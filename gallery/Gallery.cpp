#include "ControlSet.h"
#include "GalleryWindow.h"
#include "QtServices.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MVKubrinGalerie"));
    TQtServices services;
    InstallServices(&services);
    RegisterControlSet();
    int result = 0;
    {
        TGalleryWindow window;
        window.show();
        result = QApplication::exec();
    }
    InstallServices(nullptr);
    return result;
}
