#pragma once

#include <QLabel>

// The lines of text that fit into a box of the given size: broken at word
// boundaries, whole lines only. A line wider than the box, and the last line
// when text is left over, end in an ellipsis.
QStringList FittedLines(const QString& text, const QFont& font, QSize box);

// A name on the podium. It keeps the name as its text and shows as much of
// it as fits, so that a long name is never cut off at both ends.
class TPlaceLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};
