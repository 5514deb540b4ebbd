#include "Label.h"

#include "Appearance.h"
#include "Colors.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

TLabel::TLabel(QWidget* parent) : QLabel(parent) { resize(65, 17); }

void TLabel::SetAutoSize(bool value)
{
    ChangeAppearance(FAutoSize, value, [this] { AdjustBounds(); });
}

void TLabel::SetCaption(const QString& value)
{
    if (text() == value)
        return;
    setText(value);
    AdjustBounds();
    update();
}

void TLabel::SetColor(TColor value) { ChangeAppearance(*this, FColor, value); }

void TLabel::SetShowAccelChar(bool value)
{
    ChangeAppearance(FShowAccelChar, value, [this] {
        AdjustBounds();
        update();
    });
}

void TLabel::SetTransparent(bool value) { ChangeAppearance(*this, FTransparent, value); }

unsigned TLabel::CaptionFormat() const
{
    unsigned format = TextFormat::ExpandTabs;
    if (alignment() & Qt::AlignRight)
        format |= TextFormat::Right;
    else if (alignment() & Qt::AlignHCenter)
        format |= TextFormat::Center;
    if (!FShowAccelChar)
        format |= TextFormat::NoPrefix;
    return format;
}

TColor TLabel::FontColor() const { return FromQColor(palette().color(QPalette::WindowText)); }

void TLabel::AdjustBounds()
{
    if (!FAutoSize)
        return;
    QString measured = text();
    // An empty caption still keeps the height of a line.
    if (measured.isEmpty() || (FShowAccelChar && measured == QStringLiteral("&")))
        measured += QLatin1Char(' ');
    int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs;
    if (FShowAccelChar)
        flags |= Qt::TextShowMnemonic;
    if (wordWrap())
        flags |= Qt::TextWordWrap;
    const QRect limit(0, 0, wordWrap() ? width() : QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const QSize fitted = QFontMetrics(font()).boundingRect(limit, flags, measured).size();
    int left = x();
    if (alignment() & Qt::AlignRight)
        left += width() - fitted.width();
    setGeometry(left, y(), fitted.width(), fitted.height());
}

void TLabel::Paint(TCanvas& canvas)
{
    const TRect client{0, 0, width(), height()};
    if (!FTransparent) {
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = FColor;
        canvas.FillRect(client);
    }
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font = font();
    canvas.FontColor = isEnabled() ? FontColor() : clGrayText;
    unsigned format = CaptionFormat();
    if (wordWrap())
        format |= TextFormat::WordBreak;
    canvas.DrawText(text(), client, format);
}

void TLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TCanvas canvas(painter);
    Paint(canvas);
}

void TLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        AdjustBounds();
}
