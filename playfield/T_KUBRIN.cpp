#include "T_KUBRIN.h"

#include "Appearance.h"
#include "Colors.h"
#include "PreviewForm.h"
#include "Services.h"

#include <QPaintEvent>

#include <tuple>

namespace {

constexpr int ConstructedPreviewSize = 40;

} // namespace

TKUBRIN::TKUBRIN(QWidget* owner) : QWidget(owner), FSurface(*this, BackGroundColor())
{
    FWell.SetPainter(this);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(200, 400);
    FPreviewForm = new TPreviewForm(this, BackGroundColor());
    FPreviewForm->hide();
    SetPreviewSize(ConstructedPreviewSize);
    FPreviewForm->setWindowTitle(QStringLiteral("Next"));
}

void TKUBRIN::Paint()
{
    FCellWidth = width() / TWell::Columns;
    FCellHeight = height() / TWell::Rows;
    TCanvas& canvas = FSurface.RepaintCanvas();
    canvas.Pen.Color = BackGroundColor();
    canvas.Brush.Color = BackGroundColor();
    canvas.Rectangle(0, 0, width(), height());
    for (int col = 0; col < TWell::Columns; ++col)
        for (int row = 0; row < TWell::Rows; ++row)
            PaintCell(col, row);
    FSurface.Show();
}

void TKUBRIN::ApplyCellColors(TCanvas& canvas, TColor color) const
{
    canvas.Pen.Color = FShowBorderColor ? color : BackGroundColor();
    canvas.Brush.Color = FShowFillColor ? color : BackGroundColor();
}

void TKUBRIN::DrawCell(TCanvas& canvas, int col, int row) const
{
    const int left = col * FCellWidth;
    const int top = row * FCellHeight;
    canvas.Rectangle(left, top, left + FCellWidth, top + FCellHeight);
}

void TKUBRIN::PaintCell(int col, int row)
{
    TCanvas& canvas = FSurface.Canvas();
    ApplyCellColors(canvas, FWell.BoardCell(col, row));
    DrawCell(canvas, col, row);
    FSurface.Show(QRect(col * FCellWidth, row * FCellHeight, FCellWidth, FCellHeight));
}

// Only the piece's own cells are drawn or erased; the board beneath is left alone.
void TKUBRIN::DrawPiece(int col, int row, bool visible)
{
    constexpr int Size = TWell::MatrixSize;
    TCanvas& canvas = FSurface.Canvas();
    for (int i = 0; i < Size; ++i)
        for (int j = 0; j < Size; ++j) {
            const TColor cell = FWell.PieceCell(i, j);
            if (FWell.IsEmpty(cell))
                continue;
            ApplyCellColors(canvas, visible ? cell : BackGroundColor());
            DrawCell(canvas, col + i, row + j);
        }
    FSurface.Show(QRect(col * FCellWidth, row * FCellHeight, Size * FCellWidth, Size * FCellHeight));
}

void TKUBRIN::ClearField()
{
    TCanvas& canvas = FSurface.Canvas();
    canvas.Pen.Color = BackGroundColor();
    canvas.Brush.Color = BackGroundColor();
    canvas.Rectangle(0, 0, width(), height());
    FSurface.Show();
}

void TKUBRIN::OutlineFreeRow(int row)
{
    TCanvas& canvas = FSurface.Canvas();
    canvas.Pen.Color = TWell::RowOutlineColor;
    canvas.Brush.Color = BackGroundColor();
    const int top = row * FCellHeight;
    canvas.Rectangle(0, top, TWell::Columns * FCellWidth, top + FCellHeight);
    FSurface.Show(QRect(0, top, TWell::Columns * FCellWidth, FCellHeight));
}

void TKUBRIN::ReportMessage(const std::string& text) { Services().ShowMessage(QString::fromStdString(text)); }

void TKUBRIN::PaintPreview()
{
    constexpr int Cells = TWell::MatrixSize;
    const int size = FPreviewSize;
    TCanvas& canvas = FPreviewForm->Canvas();
    canvas.Pen.Color = BackGroundColor();
    canvas.Brush.Color = BackGroundColor();
    canvas.Rectangle(0, 0, Cells * size, Cells * size);
    for (int i = 0; i < Cells; ++i)
        for (int j = 0; j < Cells; ++j) {
            const TColor cell = FWell.PieceCell(i, j);
            if (FWell.IsEmpty(cell))
                continue;
            ApplyCellColors(canvas, cell);
            canvas.Rectangle(i * size, j * size, i * size + size, j * size + size);
        }
    FPreviewForm->Present();
}

void TKUBRIN::SetPreviewPosition(int x, int y)
{
    FPreviewForm->move(FPreviewForm->x(), y);
    FPreviewForm->move(x, FPreviewForm->y());
}

// Turning one switch off turns the other on, so that cells never vanish.
void TKUBRIN::SetShowBorderColor(bool value) { SetShowColors(value, value ? FShowFillColor : true); }

void TKUBRIN::SetShowFillColor(bool value) { SetShowColors(value ? FShowBorderColor : true, value); }

void TKUBRIN::SetShowColors(bool border, bool fill)
{
    ChangeAppearance(std::tie(FShowBorderColor, FShowFillColor), std::tuple(border, fill),
                     [this] { FSurface.Invalidate(); });
}

// Shown again, it comes to the front; hidden, it is only closed, not destroyed.
void TKUBRIN::ShowPreviewWindow(bool visible) { FPreviewForm->SetShown(visible); }

void TKUBRIN::SetPreviewSize(int value)
{
    // Four cells must make a window Qt can have.
    if (value < 3 || value > QWIDGETSIZE_MAX / TWell::MatrixSize || value == FPreviewSize)
        return;
    FPreviewSize = value;
    FPreviewForm->SetClientSize(TWell::MatrixSize * value);
}

void TKUBRIN::SetPreviewCaption(const QString& value)
{
    FPreviewCaption = value;
    FPreviewForm->setWindowTitle(value);
}

const QImage& TKUBRIN::Surface() { return FSurface.Image(); }

const QImage& TKUBRIN::PreviewSurface() const { return FPreviewForm->Surface(); }

void TKUBRIN::paintEvent(QPaintEvent* event)
{
    FSurface.PaintEvent(*event, [this] { Paint(); });
}
