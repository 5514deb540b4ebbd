#pragma once

#include "Canvas.h"
#include "TColor.h"

#include <QImage>

#include <functional>

class QPaintEvent;
class QRect;
class QWidget;

// A widget's retained picture: what the widget shows, kept in an image of the
// widget's size at its device pixel ratio, so that a component can draw parts
// of it at once, outside Qt's paint cycle, and a widget that is only
// uncovered is copied again instead of being painted anew.
//
// Drawing goes through Canvas(), in the widget's own coordinates; Show() asks
// Qt to bring a changed part to the screen. Invalidate() asks for a full
// repaint: the next paint event runs the owner's repaint over the whole
// picture before it copies it. A picture made anew (at first use, after a
// resize, on a screen of another pixel ratio) starts in the blank colour and
// asks for a full repaint as well.
class TSurface {
public:
    TSurface(QWidget& widget, TColor blank);
    TSurface(const TSurface&) = delete;
    TSurface& operator=(const TSurface&) = delete;

    // The canvas on the picture, with pen, brush and font as a new one has them.
    TCanvas& Canvas();
    // The canvas for painting the whole picture: the full repaint that was
    // due is done with it.
    TCanvas& RepaintCanvas();
    // The picture fits the widget and no full repaint is due.
    bool IsCurrent() const;
    void Invalidate();
    // Brings the changed part, in widget coordinates, to the screen.
    void Show(const QRect& changed);
    void Show();
    // Fills the picture with the blank colour and shows it.
    void Blank();
    // The picture, for tests and screenshots.
    const QImage& Image();

    // The widget's paint event: the full repaint when one is due, then the
    // exposed part copied onto the widget.
    void PaintEvent(const QPaintEvent& event, const std::function<void()>& repaint);

private:
    QSize WidgetSize() const;
    bool FitsSize() const;
    bool Fits() const;
    // A new picture in the blank colour, due for a full repaint.
    void Remake();

    QWidget& FWidget;
    TColor FBlank;
    QSize FSize;
    QImage FImage;
    TCanvas FCanvas;
    bool FRepaintDue = true;
};
