#include "Application.h"
#include "QtServices.h"
#include "SessionBus.h"
#include "main.h"

int main(int argc, char** argv)
{
    ChoosePlatform();
    TSessionBusProbe sessionBus;
    QApplication application(argc, argv);
    TQtServices services;
    InstallServices(&services);
    StartUp();
    sessionBus.Settle();
    int result = 0;
    {
        TMainForm mainForm;
        // The help window and the preview must not keep the program alive.
        QObject::connect(&mainForm, &TMainForm::Closed, &application, &QApplication::quit);
        mainForm.show();
        result = QApplication::exec();
    }
    InstallServices(nullptr);
    return result;
}
