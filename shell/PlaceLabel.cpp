#include "PlaceLabel.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>

QStringList FittedLines(const QString& text, const QFont& font, QSize box)
{
    const QFontMetrics metrics(font);
    const int room = std::max(1, box.height() / metrics.lineSpacing());
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid() && lines.size() < room; line = layout.createLine()) {
        line.setLineWidth(box.width());
        const bool last = lines.size() + 1 == room;
        const qsizetype length = last ? text.size() - line.textStart() : line.textLength();
        lines.append(metrics.elidedText(text.mid(line.textStart(), length).trimmed(), Qt::ElideRight, box.width()));
    }
    layout.endLayout();
    return lines;
}

void TPlaceLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const QRect box = contentsRect();
    const QStringList lines = FittedLines(text(), font(), box.size());
    painter.drawText(box, int(alignment()), lines.join(QLatin1Char('\n')));
}
