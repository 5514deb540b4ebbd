#pragma once

#include "TColor.h"

#include <array>
#include <cstdint>
#include <string>

// What the rules paint and report, at the exact points the game needs them.
// The playfield component paints through it, tests record it. Every hook
// does nothing unless a painter overrides it.
class TWellPainter {
public:
    virtual void Paint() {}
    virtual void PaintCell(int /*col*/, int /*row*/) {}
    virtual void DrawPiece(int /*col*/, int /*row*/, bool /*visible*/) {}
    virtual void PaintPreview() {}
    virtual void ShowPreviewWindow(bool /*visible*/) {} // every write of ShowNextpiece, changed or not
    virtual void ClearField() {}                    // the whole area in the background colour
    virtual void OutlineFreeRow(int /*row*/) {}     // white outline, background fill
    virtual void ReportMessage(const std::string& /*text*/) {}

protected:
    ~TWellPainter() = default;
};

// The rules of the well, without a screen: board, falling piece, catalogue,
// fit test, moves, turns, drop, gravity step, landing, row removal, start
// screens, free-row count, dropped blocks and rising rows.
//
// A value: a player that tries a move copies the well, and the copy paints
// nothing. The rules allocate nothing during play.
class TWell {
public:
    static constexpr int Columns = 10;
    static constexpr int Rows = 21;
    static constexpr int MatrixSize = 4;
    static constexpr int KindCount = 15;
    // Where a new piece's matrix enters, above the well.
    static constexpr int StartCol = 4;
    static constexpr int StartRow = -2;

    using TBoard = std::array<TColor, Columns * Rows>;         // element c * 21 + r
    using TMatrix = std::array<TColor, MatrixSize * MatrixSize>; // element i * 4 + j

    static constexpr std::array<TColor, 14> SpecialColors = {
        clMaroon, clGreen, clOlive, clNavy,   clPurple, clTeal, clGray,
        clSilver, clRed,   clLime,  clYellow, clBlue,   clFuchsia, clAqua,
    };

    // Fit-test directions; InPlace tests the position itself.
    enum class TDirection { Down = 0, Right = 1, Left = 2, InPlace = 3 };
    enum class TTurn { CounterClockwise = 1, Clockwise = 2 };
    enum class TStepResult { Moved = 0, Landed = 1, GameOver = 2 };

    static constexpr TColor RowOutlineColor = clWhite;

    TWell();

    // The painter is not part of the value: a copy has none.
    void SetPainter(TWellPainter* painter) { FPainter.Painter = painter; }

    // Steering.
    bool CanMove(TDirection direction, int col, int row) const;
    bool MoveLeft();
    bool MoveRight();
    void RotateCounterClockwise();
    void RotateClockwise();
    int DropPiece();

    // Gravity and games.
    TStepResult Step();
    void NewGame();

    // Start screens, free rows, disturbances.
    int CountFreeLines(bool highlight);
    void DropBlock(int col, int startRow, TColor color);
    void PushLine(int gapCol, TColor color);

    void LoadPiece(int kind);

    // Read side of the published state.
    int NumberOfPieces() const { return FNumberOfPieces; }
    int NextPiece() const { return FNextPiece; }
    int LastDeletedLine() const { return FLastDeletedLine; }
    TColor BackGroundColor() const { return FBackGroundColor; }
    int ScreenNumber() const { return FScreenNumber; }
    bool ShowNextpiece() const { return FShowNextpiece; }
    int NumberOfType() const { return FNumberOfType; }

    // Rule side of the published write rules. A refused value is reported
    // through the painter's ReportMessage and changes nothing.
    void SetNumberOfPieces(int value);
    void SetNextPiece(int value);
    void SetLastDeletedLine(int value);
    void SetBackGroundColor(TColor value);
    void SetScreenNumber(int value);
    void SetShowNextpiece(bool value);
    void SetNumberOfType(int value);

    // Read access for the component, the shell's tests and the soak player.
    int CurrentPiece() const { return FCurrentPiece; }
    int PieceCol() const { return FPieceCol; }
    int PieceRow() const { return FPieceRow; }
    const TBoard& Board() const { return FBoard; }
    const TMatrix& Piece() const { return FPiece; }
    TColor BoardCell(int col, int row) const { return FBoard[std::size_t(col * Rows + row)]; }
    TColor PieceCell(int i, int j) const { return FPiece[i * MatrixSize + j]; }
    bool IsEmpty(TColor color) const { return color == FBackGroundColor; }

    // Kind pattern of the catalogue: bit (i * 4 + j) set for a cell. Kinds
    // outside 1..14 give kind 15's pattern, as LoadPiece builds them.
    static std::uint16_t KindPattern(int kind);
    static TColor KindColor(int kind); // fixed colour of kinds 1..7, else clBlack

    static void TurnMatrix(const TMatrix& source, TMatrix& target);
    void RotatePiece(TTurn turn, int col, int row, TMatrix& piece) const;

    // Tests of the windows built on the rules set up a falling piece through it.
    friend struct TWellTestAccess;

protected:
    // Direct access for tests that set up a board or a piece.
    TBoard& MutableBoard() { return FBoard; }
    TMatrix& MutablePiece() { return FPiece; }
    void SetPiecePosition(int col, int row) { FPieceCol = col; FPieceRow = row; }
    void SetCurrentPiece(int kind) { FCurrentPiece = kind; }

    void FixPiece(int col, int row);
    int RemoveFullLines(int row);
    bool LineFull(int row) const;
    void DeleteLine(int row);
    void BuildScreen();
    void SetCell(int col, int row, TColor color);
    int RandomKind() const;

private:
    // Holds the painter but copies as none.
    struct TPainterSlot {
        TWellPainter* Painter = nullptr;
        TPainterSlot() = default;
        TPainterSlot(const TPainterSlot&) {}
        TPainterSlot& operator=(const TPainterSlot&) { return *this; }
    };

    TWellPainter& Painter() const;
    TColor& Cell(int col, int row) { return FBoard[std::size_t(col * Rows + row)]; }
    void PlaceAtStart();
    // Positions are widened so that a shift at the edge of int cannot overflow.
    bool Fits(const TMatrix& matrix, long long col, long long row) const;
    bool HasCell(const TMatrix& matrix) const;
    // The preview build (when shown) and then the falling piece's build.
    void ShowNextAndLoadCurrent();

    // Game state, in the order the component declares it.
    int FCurrentPiece = 1;
    int FNextPiece = 1;
    int FNumberOfType = 8;
    bool FShowNextpiece = false;
    int FNumberOfPieces = 0;
    int FScreenNumber = 0;
    int FLastDeletedLine = 0;
    int FPieceCol = 0;
    int FPieceRow = 0;
    TBoard FBoard{};
    TMatrix FPiece{};
    TColor FBackGroundColor = clBlack;
    TPainterSlot FPainter;
};
