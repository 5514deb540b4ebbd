#pragma once

#include "Canvas.h"
#include "TColor.h"

#include <QLabel>

// The standard label of the set, a QLabel that paints through the canvas:
// the caption in the font colour (grey when disabled) over the label's
// Color, or over the parent when Transparent; "&" underlines the next
// character unless ShowAccelChar is off; AutoSize fits the label to its
// caption whenever the caption, the font or ShowAccelChar changes. Classes
// of the set that extend the label override Paint.
class TLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE SetShowAccelChar)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    // QLabel's own text, redeclared so that a label written by Qt's tools
    // sizes itself as well.
    Q_PROPERTY(QString text READ Caption WRITE SetCaption)

public:
    explicit TLabel(QWidget* parent = nullptr);

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    QString Caption() const { return text(); }
    void SetCaption(const QString& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

    // Paints the whole label on a canvas over its client area.
    virtual void Paint(TCanvas& canvas);

protected:
    // The horizontal alignment as a text format, with tab expansion and the
    // prefix rule of ShowAccelChar.
    unsigned CaptionFormat() const;
    // The font's colour: the palette's window text.
    TColor FontColor() const;
    // Fits the label to its caption when AutoSize is on; a right-aligned
    // label keeps its right edge.
    void AdjustBounds();

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool FAutoSize = true;
    TColor FColor = clBtnFace;
    bool FShowAccelChar = true;
    bool FTransparent = false;
};
