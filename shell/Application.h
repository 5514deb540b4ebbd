#pragma once

#include <QApplication>

// The application object: an error that escapes an event handler (a file
// that cannot be opened or created) is reported where the event was
// dispatched, and the program goes on.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// Everything the program sets up before its main window exists.
void StartUp();
