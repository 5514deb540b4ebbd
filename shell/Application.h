#pragma once

#include <QApplication>

// What a desktop session tells a program about its window system.
struct TSession {
    QByteArray Platform {}; // QT_QPA_PLATFORM: the player's own choice
    QByteArray Type {}; // XDG_SESSION_TYPE
    QByteArray WaylandDisplay {}; // WAYLAND_DISPLAY
    QByteArray Display {}; // DISPLAY: the X server, Xwayland in a Wayland session
};

// The Qt platform the game asks for in that session, or empty to leave the
// choice to Qt. In a Wayland session with an X server it runs through
// Xwayland, where its windows stand where it puts them, and natively without
// one; the player's own setting always wins.
QByteArray SessionPlatform(const TSession& session);

// Reads the session from the environment and sets the platform there, before
// the application object exists; programs the game starts inherit it.
void ChoosePlatform();

// Everything the program sets up before its main window exists, once the
// QApplication is made. No failure travels through Qt's event dispatch
// (ErrorReport.h says how failures travel).
void StartUp();
