#pragma once

#include <QApplication>

// The program's application object: Qt's own. No failure travels through
// its event dispatch (ErrorReport.h says how failures travel).
using TApplication = QApplication;

// Everything the program sets up before its main window exists.
void StartUp();
