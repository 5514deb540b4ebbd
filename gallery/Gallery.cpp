#include "ControlSet.h"
#include "GalleryWindow.h"
#include "Look.h"
#include "QtServices.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MVKubrinGalerie"));
    // The controls are shown in the face the game's windows use.
    QApplication::setFont(ClassicFont());
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
