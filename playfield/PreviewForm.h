#pragma once

#include "Surface.h"

#include <QWidget>

// How the preview can stand beside the game on a windowing platform.
enum class TPreviewPlacement {
    // A tool window with its caption, where the window manager lets a
    // program place its windows (X11).
    Managed,
    // Under Xwayland the compositor centres every managed window over its
    // parent and focuses it; a window it does not manage stands where the
    // program puts it and never takes the keyboard.
    Unmanaged,
    // Native Wayland lets no program place a window of its own; a popup of
    // the main window is placed relative to it and leaves it the keyboard.
    Popup,
};

// The placement for the Qt platform plugin, in a session with or without a
// Wayland compositor.
TPreviewPlacement PreviewPlacementFor(const QString& platform, bool waylandSession);
// The placement for the platform this program runs on.
TPreviewPlacement CurrentPreviewPlacement();

// The small tool window that shows the next piece. It keeps what was last
// drawn into it; shown anew it starts from its own colour, so that it never
// shows a stale piece.
class TPreviewForm : public QWidget {
    Q_OBJECT

public:
    TPreviewForm(QWidget* owner, TColor windowColor,
                 TPreviewPlacement placement = CurrentPreviewPlacement());

    // Shows it and brings it to the front, or closes it, which hides it.
    void SetShown(bool shown);
    // Sets the client area, square, and starts a blank surface of that size.
    void SetClientSize(int size);
    // The canvas to draw the piece on; call Present when done.
    TCanvas& Canvas();
    void Present();
    const QImage& Surface() { return FSurface.Image(); }
    TColor WindowColor() const { return FWindowColor; }
    TPreviewPlacement Placement() const { return FPlacement; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Where a window manager gives the preview the keyboard anyway, it hands
    // it back at once, so that the game's keys and menu stay with the game.
    void changeEvent(QEvent* event) override;
    // sway takes the popups of a window off the screen when it loses the
    // focus to a dialog; the preview shows itself again when the game's
    // windows come back, as long as the game still shows it.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Passes every key on to its owner's window, so that showing the preview
    // never takes the game out of the player's hands.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Shows it again, with the piece it showed, where it was taken away
    // while the game still shows it.
    void Reappear();

    TPreviewPlacement FPlacement;
    TColor FWindowColor;
    TSurface FSurface;
    bool FShown = false;
    // Shown again by itself, it keeps the piece it shows.
    bool FReappearing = false;
};
