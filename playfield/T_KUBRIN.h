#pragma once

#include "Surface.h"
#include "Well.h"

#include <QWidget>

class TPreviewForm;

// The playfield component: it holds the well's rules and is their painter,
// cell by cell through a canvas onto the component's own retained surface,
// with a small tool window that previews the next piece.
//
// Operations that must show at once draw into the surface and show the
// changed rectangle; a request for a full repaint (an appearance switch, a
// resize) makes the next paint event run Paint first. An uncovered playfield
// is only copied again, so a falling piece does not vanish when a message
// box over it closes.
class TKUBRIN : public QWidget, private TWellPainter {
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

    // The rules it paints. A game plays on them directly.
    TWell& Well() { return FWell; }
    const TWell& Well() const { return FWell; }

    // The rules' operations under the component's own names.
    bool CanMove(TWell::TDirection direction, int col, int row) const { return FWell.CanMove(direction, col, row); }
    bool MoveLeft() { return FWell.MoveLeft(); }
    bool MoveRight() { return FWell.MoveRight(); }
    void RotateCounterClockwise() { FWell.RotateCounterClockwise(); }
    void RotateClockwise() { FWell.RotateClockwise(); }
    int DropPiece() { return FWell.DropPiece(); }
    int Step() { return int(FWell.Step()); }
    void NewGame() { FWell.NewGame(); }
    int CountFreeLines(bool highlight) { return FWell.CountFreeLines(highlight); }
    void DropBlock(int col, int startRow, TColor color) { FWell.DropBlock(col, startRow, color); }
    void PushLine(int gapCol, TColor color) { FWell.PushLine(gapCol, color); }
    void LoadPiece(int kind) { FWell.LoadPiece(kind); }

    // Painting of the well.
    void Paint() override;
    void PaintCell(int col, int row) override;
    void DrawPiece(int col, int row, bool visible) override;
    // Draws the piece matrix into the preview window.
    void PaintPreview() override;
    // Places the preview window's top-left corner on the screen.
    void SetPreviewPosition(int x, int y);

    int NumberOfPieces() const { return FWell.NumberOfPieces(); }
    int NextPiece() const { return FWell.NextPiece(); }
    int LastDeletedLine() const { return FWell.LastDeletedLine(); }
    TColor BackGroundColor() const { return FWell.BackGroundColor(); }
    int ScreenNumber() const { return FWell.ScreenNumber(); }
    bool ShowNextpiece() const { return FWell.ShowNextpiece(); }
    int NumberOfType() const { return FWell.NumberOfType(); }
    void SetNumberOfPieces(int value) { FWell.SetNumberOfPieces(value); }
    void SetNextPiece(int value) { FWell.SetNextPiece(value); }
    void SetLastDeletedLine(int value) { FWell.SetLastDeletedLine(value); }
    void SetBackGroundColor(TColor value) { FWell.SetBackGroundColor(value); }
    void SetScreenNumber(int value) { FWell.SetScreenNumber(value); }
    void SetShowNextpiece(bool value) { FWell.SetShowNextpiece(value); }
    void SetNumberOfType(int value) { FWell.SetNumberOfType(value); }

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
    void paintEvent(QPaintEvent* event) override;

private:
    void ClearField() override;
    void OutlineFreeRow(int row) override;
    void ShowPreviewWindow(bool visible) override;
    void ReportMessage(const std::string& text) override;

    // Stores both switches; a change asks for a Paint at the next paint event.
    void SetShowColors(bool border, bool fill);
    // The one rule for a cell's colours: its colour goes into the outline and
    // the inside as the two switches say; the rest is background.
    void ApplyCellColors(TCanvas& canvas, TColor color) const;
    // Draws the rectangle of the well's cell at the column and row.
    void DrawCell(TCanvas& canvas, int col, int row) const;

    // First, so that the surface can start in the well's background colour.
    TWell FWell;
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
