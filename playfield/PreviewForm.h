#pragma once

#include "Surface.h"

#include <QWidget>

// The small tool window that shows the next piece. It keeps what was last
// drawn into it; shown anew it starts from its own colour, so that it never
// shows a stale piece.
class TPreviewForm : public QWidget {
    Q_OBJECT

public:
    TPreviewForm(QWidget* owner, TColor windowColor);

    // Sets the client area, square, and starts a blank surface of that size.
    void SetClientSize(int size);
    // The canvas to draw the piece on; call Present when done.
    TCanvas& Canvas();
    void Present();
    const QImage& Surface() { return FSurface.Image(); }
    TColor WindowColor() const { return FWindowColor; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Passes every key on to its owner's window, so that showing the preview
    // never takes the game out of the player's hands.
    void keyPressEvent(QKeyEvent* event) override;

private:
    TColor FWindowColor;
    TSurface FSurface;
};
