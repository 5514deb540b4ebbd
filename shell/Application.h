#pragma once

#include <QApplication>

// Everything the program sets up before its main window exists, once the
// QApplication is made. No failure travels through Qt's event dispatch
// (ErrorReport.h says how failures travel).
void StartUp();
