#pragma once

#include "Surface.h"
#include "Well.h"

#include <QWidget>

class TPreviewForm;

// The playfield component: the well's rules, painted cell by cell through a
// canvas onto the component's own retained surface, with a small tool window
// that previews the next piece.
//
// Operations that must show at once draw into the surface and show the
// changed rectangle; a request for a full repaint (an appearance switch, a
// resize) makes the next paint event run Paint first. An uncovered playfield
// is only copied again, so a falling piece does not vanish when a message
// box over it closes.
class TKUBRIN : public QWidget, public TWell {
    Q_OBJECT
    Q_PROPERTY(QString Name READ objectName WRITE setObjectName)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ x WRITE SetLeft)
    Q_PROPERTY(int Top READ y WRITE SetTop)
    Q_PROPERTY(int Width READ width WRITE SetWidth)
    Q_PROPERTY(int Height READ height WRITE SetHeight)
    Q_PROPERTY(int Cursor READ Cursor WRITE SetCursor)
    Q_PROPERTY(QString Hint READ toolTip WRITE setToolTip)
    Q_PROPERTY(int NumberOfPieces READ NumberOfPieces WRITE SetNumberOfPieces)
    Q_PROPERTY(int NextPiece READ NextPiece WRITE SetNextPiece)
    Q_PROPERTY(int LastDeletedLine READ LastDeletedLine WRITE SetLastDeletedLine)
    Q_PROPERTY(TColor BackGroundColor READ BackGroundColor WRITE SetBackGroundColor)
    Q_PROPERTY(int ScreenNumber READ ScreenNumber WRITE SetScreenNumber)
    Q_PROPERTY(bool ShowBorderColor READ ShowBorderColor WRITE SetShowBorderColor)
    Q_PROPERTY(bool ShowFillColor READ ShowFillColor WRITE SetShowFillColor)
    Q_PROPERTY(bool ShowNextpiece READ ShowNextpiece WRITE SetShowNextpiece)
    Q_PROPERTY(int NumberOfType READ NumberOfType WRITE SetNumberOfType)
    Q_PROPERTY(int PreviewSize READ PreviewSize WRITE SetPreviewSize)
    Q_PROPERTY(QString PreviewCaption READ PreviewCaption WRITE SetPreviewCaption)

public:
    explicit TKUBRIN(QWidget* owner = nullptr);

    // Painting of the well.
    void Paint() override;
    void PaintCell(int col, int row) override;
    void DrawPiece(int col, int row, bool visible) override;
    // Draws the piece matrix into the preview window.
    void PaintPreview() override;
    // Places the preview window's top-left corner on the screen.
    void SetPreviewPosition(int x, int y);

    bool ShowBorderColor() const { return FShowBorderColor; }
    bool ShowFillColor() const { return FShowFillColor; }
    int PreviewSize() const { return FPreviewSize; }
    QString PreviewCaption() const { return FPreviewCaption; }
    int CellWidth() const { return FCellWidth; }
    int CellHeight() const { return FCellHeight; }

    void SetShowBorderColor(bool value);
    void SetShowFillColor(bool value);
    void SetPreviewSize(int value);
    void SetPreviewCaption(const QString& value);

    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }
    int Cursor() const { return FCursor; }
    void SetCursor(int value) { FCursor = value; }
    void SetLeft(int value) { move(value, y()); }
    void SetTop(int value) { move(x(), value); }
    void SetWidth(int value) { resize(value, height()); }
    void SetHeight(int value) { resize(width(), value); }

    // What the playfield and its preview show, for tests and screenshots.
    const QImage& Surface();
    const QImage& PreviewSurface() const;
    TPreviewForm* PreviewForm() const { return FPreviewForm; }

protected:
    void ClearField() override;
    void OutlineFreeRow(int row) override;
    void ShowPreviewWindow(bool visible) override;
    void ReportMessage(const std::string& text) override;

    void paintEvent(QPaintEvent* event) override;

private:
    // Stores both switches; a change asks for a Paint at the next paint event.
    void SetShowColors(bool border, bool fill);
    void ApplyCellColors(TCanvas& canvas, TColor color) const;

    QString FPreviewCaption;
    TPreviewForm* FPreviewForm = nullptr;
    int FPreviewSize = 0;
    bool FShowBorderColor = false;
    bool FShowFillColor = false;
    int FCellWidth = 0;
    int FCellHeight = 0;

    int FTag = 0;
    int FCursor = 0;
    TSurface FSurface;
};
