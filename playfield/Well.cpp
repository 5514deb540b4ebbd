#include "Well.h"

#include "Random.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr const char* OutOfRangeMessage = "Value out of range...";
constexpr const char* ReadOnlyMessage = "This is a Read-Only Property...";
constexpr const char* KindRangeMessage = "There is only 15 [1..15] kind of pieces...";
constexpr const char* LineColorMessage = "The color line must be different than BackGroundColor...";

// A kind's picture, top row first, 'X' for a cell, as bits (i * 4 + j) so
// that bit and matrix element share one index.
constexpr std::uint16_t Pattern(std::string_view row0, std::string_view row1,
                                std::string_view row2, std::string_view row3)
{
    const std::string_view rows[TWell::MatrixSize] = {row0, row1, row2, row3};
    std::uint16_t bits = 0;
    for (int j = 0; j < TWell::MatrixSize; ++j)
        for (int i = 0; i < TWell::MatrixSize; ++i)
            if (rows[j][i] == 'X')
                bits |= std::uint16_t(1u << (i * TWell::MatrixSize + j));
    return bits;
}

constexpr std::array<std::uint16_t, TWell::KindCount> Catalogue = {
    Pattern("....", ".XX.", ".XX.", "...."), //  1 square
    Pattern(".X..", ".X..", ".XX.", "...."), //  2 bar of three, foot right
    Pattern("..X.", "..X.", ".XX.", "...."), //  3 bar of three, foot left
    Pattern(".X..", ".X..", ".X..", ".X.."), //  4 bar of four
    Pattern("....", "XX..", ".XX.", "...."), //  5 Z
    Pattern("....", ".XX.", "XX..", "...."), //  6 S
    Pattern("....", ".X..", "XXX.", "...."), //  7 T
    Pattern("....", "X.X.", "XXX.", "...."), //  8 cup
    Pattern("....", "X.X.", "XXX.", "X.X."), //  9 H
    Pattern("....", "X.X.", "XXX.", ".X.."), // 10 cup with stem
    Pattern("X.X.", "X.X.", "X.X.", "X.X."), // 11 two bars
    Pattern("XXXX", "X..X", "X..X", "XXXX"), // 12 hollow square
    Pattern("....", ".X..", "XXX.", ".X.."), // 13 plus
    Pattern("....", "X.X.", ".X..", "X.X."), // 14 diagonal cross
    Pattern("X.X.", "...X", "X...", ".X.X"), // 15 single cells
};

constexpr std::array<TColor, 7> FixedColors = {clBlue, clFuchsia, clAqua, clRed,
                                               clMaroon, clOlive, clLime};

constexpr int BottomRow = TWell::Rows - 1;

// What a well without a painter paints to: nothing.
class TNoPainter final : public TWellPainter {};
TNoPainter NoPainter;

TColor RandomSpecialColor()
{
    return TWell::SpecialColors[std::size_t(Random::Draw(int(TWell::SpecialColors.size())))];
}

} // namespace

TWell::TWell()
{
    FBoard.fill(FBackGroundColor);
}

TWellPainter& TWell::Painter() const { return FPainter.Painter ? *FPainter.Painter : NoPainter; }

void TWell::PlaceAtStart()
{
    FPieceCol = StartCol;
    FPieceRow = StartRow;
}

std::uint16_t TWell::KindPattern(int kind)
{
    return kind >= 1 && kind < KindCount ? Catalogue[kind - 1] : Catalogue[KindCount - 1];
}

TColor TWell::KindColor(int kind)
{
    return kind >= 1 && kind <= int(FixedColors.size()) ? FixedColors[std::size_t(kind - 1)] : clBlack;
}

void TWell::LoadPiece(int kind)
{
    // Every build uses up one number, so a game replays from its seed whatever kinds it sees.
    const TColor special = RandomSpecialColor();
    const TColor color = kind >= 1 && kind <= int(FixedColors.size()) ? KindColor(kind) : special;
    const std::uint16_t pattern = KindPattern(kind);
    for (int cell = 0; cell < MatrixSize * MatrixSize; ++cell)
        FPiece[cell] = (pattern >> cell) & 1u ? color : FBackGroundColor;
}

int TWell::RandomKind() const
{
    return 1 + Random::Draw(FNumberOfType - 1);
}

bool TWell::HasCell(const TMatrix& matrix) const
{
    return std::any_of(matrix.begin(), matrix.end(),
                       [this](TColor cell) { return cell != FBackGroundColor; });
}

bool TWell::Fits(const TMatrix& matrix, long long col, long long row) const
{
    for (int i = 0; i < MatrixSize; ++i) {
        for (int j = 0; j < MatrixSize; ++j) {
            if (matrix[i * MatrixSize + j] == FBackGroundColor)
                continue;
            const long long x = col + i;
            const long long y = row + j;
            if (x < 0 || x >= Columns || y > BottomRow)
                return false;
            // Above the well there is nothing to collide with.
            if (y >= 0 && BoardCell(int(x), int(y)) != FBackGroundColor)
                return false;
        }
    }
    return true;
}

bool TWell::CanMove(TDirection direction, int col, int row) const
{
    long long x = col;
    long long y = row;
    switch (direction) {
    case TDirection::Down: ++y; break;
    case TDirection::Right: ++x; break;
    case TDirection::Left: --x; break;
    case TDirection::InPlace: break;
    }
    return Fits(FPiece, x, y);
}

bool TWell::MoveLeft()
{
    if (!CanMove(TDirection::Left, FPieceCol, FPieceRow))
        return false;
    Painter().DrawPiece(FPieceCol, FPieceRow, false);
    --FPieceCol;
    Painter().DrawPiece(FPieceCol, FPieceRow, true);
    return true;
}

bool TWell::MoveRight()
{
    if (!CanMove(TDirection::Right, FPieceCol, FPieceRow))
        return false;
    Painter().DrawPiece(FPieceCol, FPieceRow, false);
    ++FPieceCol;
    Painter().DrawPiece(FPieceCol, FPieceRow, true);
    return true;
}

void TWell::TurnMatrix(const TMatrix& source, TMatrix& target)
{
    // Built apart first, so that a matrix may be turned onto itself.
    TMatrix turned;
    for (int i = 0; i < MatrixSize; ++i)
        for (int j = 0; j < MatrixSize; ++j)
            turned[i * MatrixSize + j] = source[(MatrixSize - 1 - j) * MatrixSize + i];
    target = turned;
}

void TWell::RotatePiece(TTurn turn, int col, int row, TMatrix& piece) const
{
    TMatrix turned;
    TurnMatrix(piece, turned);
    if (turn == TTurn::Clockwise) {
        TurnMatrix(turned, turned);
        TurnMatrix(turned, turned);
    }
    if (Fits(turned, col, row))
        piece = turned;
}

void TWell::RotateCounterClockwise()
{
    Painter().DrawPiece(FPieceCol, FPieceRow, false);
    RotatePiece(TTurn::CounterClockwise, FPieceCol, FPieceRow, FPiece);
    Painter().DrawPiece(FPieceCol, FPieceRow, true);
}

void TWell::RotateClockwise()
{
    Painter().DrawPiece(FPieceCol, FPieceRow, false);
    RotatePiece(TTurn::Clockwise, FPieceCol, FPieceRow, FPiece);
    Painter().DrawPiece(FPieceCol, FPieceRow, true);
}

int TWell::DropPiece()
{
    Painter().DrawPiece(FPieceCol, FPieceRow, false);
    int fallen = 0;
    // A matrix without a cell fits everywhere and would fall for ever; it stays put.
    if (HasCell(FPiece)) {
        while (CanMove(TDirection::Down, FPieceCol, FPieceRow)) {
            ++FPieceRow;
            ++fallen;
        }
    }
    Painter().DrawPiece(FPieceCol, FPieceRow, true);
    return fallen;
}

TWell::TStepResult TWell::Step()
{
    if (CanMove(TDirection::Down, FPieceCol, FPieceRow)) {
        Painter().DrawPiece(FPieceCol, FPieceRow, false);
        ++FPieceRow;
        Painter().DrawPiece(FPieceCol, FPieceRow, true);
        return TStepResult::Moved;
    }
    FixPiece(FPieceCol, FPieceRow);
    FLastDeletedLine = RemoveFullLines(FPieceRow);
    PlaceAtStart();
    FCurrentPiece = FNextPiece;
    FNextPiece = RandomKind();
    ShowNextAndLoadCurrent();
    ++FNumberOfPieces;
    return CanMove(TDirection::Down, FPieceCol, FPieceRow) ? TStepResult::Landed : TStepResult::GameOver;
}

void TWell::NewGame()
{
    PlaceAtStart();
    FCurrentPiece = RandomKind();
    FNextPiece = RandomKind();
    ShowNextAndLoadCurrent();
    FNumberOfPieces = 0;
    BuildScreen();
    Painter().Paint();
}

void TWell::ShowNextAndLoadCurrent()
{
    if (FShowNextpiece) {
        LoadPiece(FNextPiece);
        Painter().PaintPreview();
    }
    LoadPiece(FCurrentPiece);
}

void TWell::FixPiece(int col, int row)
{
    for (int i = 0; i < MatrixSize; ++i) {
        for (int j = 0; j < MatrixSize; ++j) {
            const TColor cell = FPiece[i * MatrixSize + j];
            const long long x = (long long)col + i;
            const long long y = (long long)row + j;
            if (cell != FBackGroundColor && x >= 0 && x < Columns && y >= 0 && y <= BottomRow)
                Cell(int(x), int(y)) = cell;
        }
    }
}

int TWell::RemoveFullLines(int row)
{
    int removed = 0;
    for (int k = 0; k < MatrixSize; ++k) {
        const long long y = (long long)row + k;
        if (y > BottomRow)
            break;
        if (y >= 0 && LineFull(int(y))) {
            DeleteLine(int(y));
            ++removed;
        }
    }
    if (removed > 0)
        Painter().Paint();
    return removed;
}

bool TWell::LineFull(int row) const
{
    if (row < 0 || row > BottomRow)
        return false;
    for (int col = 0; col < Columns; ++col)
        if (BoardCell(col, row) == FBackGroundColor)
            return false;
    return true;
}

void TWell::DeleteLine(int row)
{
    for (int col = 0; col < Columns; ++col) {
        TColor* column = &Cell(col, 0);
        for (int k = row; k >= 1; --k)
            column[k] = column[k - 1];
        column[0] = FBackGroundColor;
    }
}

void TWell::SetScreenNumber(int value)
{
    // The clock is read even for a refused value.
    Random::Reseed();
    if (value < 0 || value > 5) {
        Painter().ReportMessage(OutOfRangeMessage);
        return;
    }
    FScreenNumber = value;
    Painter().ClearField();
    FBoard.fill(FBackGroundColor);
    BuildScreen();
}

void TWell::BuildScreen()
{
    Random::Reseed();
    const auto lay = [this](int col, int row) {
        SetCell(col, row, RandomSpecialColor());
    };
    const auto layWalls = [&lay] {
        for (int row = 13; row <= BottomRow; ++row) {
            lay(0, row);
            lay(9, row);
        }
    };
    switch (FScreenNumber) {
    case 1:
        layWalls();
        break;
    case 2:
        layWalls();
        for (int row = 15; row <= BottomRow; ++row) {
            lay(3, row);
            lay(6, row);
        }
        break;
    case 3:
        // Column 9 is never drawn, and a cell drawn twice is simply written again.
        for (int n = 0; n < 21; ++n) {
            const TColor color = RandomSpecialColor();
            const int row = BottomRow - Random::Draw(5);
            const int col = Random::Draw(9);
            SetCell(col, row, color);
        }
        break;
    case 4:
        for (int row = 11; row <= BottomRow; ++row) {
            lay(row - 11, row);
            lay(20 - row, row);
        }
        break;
    case 5:
        for (int col = 0; col < Columns; ++col)
            for (int row = 15; row <= BottomRow; ++row)
                if ((col + row) % 2 == 0)
                    lay(col, row);
        break;
    default:
        break;
    }
    Painter().Paint();
}

void TWell::SetCell(int col, int row, TColor color)
{
    Cell(col, row) = color;
    Painter().PaintCell(col, row);
}

int TWell::CountFreeLines(bool highlight)
{
    int lastFree = -1;
    for (int row = 0; row <= BottomRow; ++row) {
        bool free = true;
        for (int col = 0; col < Columns && free; ++col)
            free = BoardCell(col, row) == FBackGroundColor;
        if (!free)
            continue;
        lastFree = row;
        if (highlight)
            Painter().OutlineFreeRow(row);
    }
    return lastFree + 1;
}

void TWell::DropBlock(int col, int startRow, TColor color)
{
    if (col < 0 || col >= Columns || startRow < -1 || startRow > BottomRow) {
        Painter().ReportMessage(OutOfRangeMessage);
        return;
    }
    int target = startRow;
    if (startRow == -1) {
        // Row 0 is never looked at: a block in row 1 makes row 0 the target whatever it holds.
        target = 0;
        while (target != BottomRow && BoardCell(col, target + 1) == FBackGroundColor)
            ++target;
    }
    SetCell(col, target, color);
    FLastDeletedLine = RemoveFullLines(target);
}

void TWell::PushLine(int gapCol, TColor color)
{
    if (gapCol < 0 || gapCol >= Columns) {
        Painter().ReportMessage(OutOfRangeMessage);
        return;
    }
    if (color == FBackGroundColor) {
        Painter().ReportMessage(LineColorMessage);
        return;
    }
    for (int col = 0; col < Columns; ++col) {
        TColor* column = &Cell(col, 0);
        for (int row = 1; row <= BottomRow; ++row)
            column[row - 1] = column[row];
        column[BottomRow] = col == gapCol ? FBackGroundColor : color;
    }
    Painter().Paint();
}

void TWell::SetNumberOfPieces(int value)
{
    if (value != FNumberOfPieces)
        Painter().ReportMessage(ReadOnlyMessage);
}

void TWell::SetLastDeletedLine(int value)
{
    if (value != FLastDeletedLine)
        Painter().ReportMessage(ReadOnlyMessage);
}

void TWell::SetNextPiece(int value)
{
    if (value < 1 || value > KindCount) {
        Painter().ReportMessage(KindRangeMessage + std::to_string(value));
        return;
    }
    if (value == FNextPiece)
        return;
    FNextPiece = value;
    ShowNextAndLoadCurrent();
}

void TWell::SetNumberOfType(int value)
{
    if (value < 8 || value > KindCount) {
        Painter().ReportMessage(OutOfRangeMessage);
        return;
    }
    FNumberOfType = value;
}

void TWell::SetBackGroundColor(TColor value)
{
    if (value == FBackGroundColor)
        return;
    // Empty cells follow the background, so a new background never creates blocks.
    std::replace(FBoard.begin(), FBoard.end(), FBackGroundColor, value);
    std::replace(FPiece.begin(), FPiece.end(), FBackGroundColor, value);
    FBackGroundColor = value;
    Painter().Paint();
}

void TWell::SetShowNextpiece(bool value)
{
    FShowNextpiece = value;
    Painter().ShowPreviewWindow(value);
}
