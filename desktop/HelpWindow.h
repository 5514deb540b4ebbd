#pragma once

#include <QMainWindow>

class QTextBrowser;

// The help window: a main window of its own around the help text, so that
// it reads as a window, and Esc closes it like the other windows.
class THelpWindow : public QMainWindow {
    Q_OBJECT

public:
    THelpWindow();

    // Shows the help text at the anchor of a topic.
    void ShowTopic(const QString& html, const QString& topic);

private:
    QTextBrowser* FBrowser;
};
