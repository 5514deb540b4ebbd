#pragma once

#include "Canvas.h"
#include "TColor.h"

#include <QWidget>

// The standard paint box: a control with no picture of its own that paints
// on its parent's surface and lets an OnPaint handler draw on Canvas().
// Pixels nobody paints show the parent through.
class TPaintBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)

public:
    explicit TPaintBox(QWidget* parent = nullptr);

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // The canvas of the paint in progress; null outside painting.
    TCanvas* Canvas() const { return FCanvas; }

    // Paints the box on a canvas over its client area.
    virtual void Paint(TCanvas& canvas);

signals:
    void OnPaint(QObject* Sender);

protected:
    // The paint box's own painting: the font and colour go to the canvas, a
    // dashed outline marks the box for a designer, then OnPaint.
    void PaintBoxPaint(TCanvas& canvas, bool designing);

    void paintEvent(QPaintEvent* event) override;

private:
    TColor FColor = clBtnFace;
    TCanvas* FCanvas = nullptr;
};
