#pragma once

#include <QWidget>

class QTextBrowser;

// The help window: a window of its own around the help text, which Esc
// closes like the other windows of the game.
class THelpWindow : public QWidget {
    Q_OBJECT

public:
    THelpWindow();

    // Shows the help text at the anchor of a topic.
    void ShowTopic(const QString& html, const QString& topic);

private:
    QTextBrowser* FBrowser;
};
