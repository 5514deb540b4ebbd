#include "Well.h"

#include "Random.h"
#include "BoardText.h"
#include "TestRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using TestRows::PrintTo;

using TRows = std::vector<std::string>;

constexpr std::uint32_t ClockValue = 45296789u;
std::uint32_t FixedClock() { return ClockValue; }

// The generator pinned once for the seeds the tests start from: the seeds
// after each draw, and what the first draws give.
constexpr std::uint32_t From1234[] = {1234u, 0xB90C601Bu, 0xD7A3CC88u, 0x4FE91EA9u};
constexpr TColor First1234Special = 0x00FFFF; // a first draw of 14 from 1234 is 10: yellow
constexpr std::uint32_t From99[] = {99u, 0x1B4B0DF0u, 0x2B2705B1u, 0xAC3A6076u};
constexpr int First99Kind = 1; // a first draw of 7 from 99 is 0
constexpr int First77Kinds[] = {6, 13}; // draws of 14 from 77: 5, then 12

const TColor Special[14] = {0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
                            0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00};

// Board pictures: '.' empty (black), 'R' red, 'B' blue, '#' gray, letters other colours.
TColor ColorOf(char ch)
{
    switch (ch) {
    case '.': return 0x000000;
    case 'R': return 0x0000FF;
    case 'B': return 0xFF0000;
    case '#': return 0x808080;
    default: return 0x100000u + TColor(ch);
    }
}

char CharOf(TColor color)
{
    for (char ch : std::string_view(".RB#abcdefghijklmnopqrstuvwxyz"))
        if (ColorOf(ch) == color)
            return ch;
    return '?';
}

// The rules with a painter that writes down what they paint.
class TRecordingWell : public TWell, private TWellPainter {
public:
    TRecordingWell() { SetPainter(this); }

    TRows Log;
    TRows PreviewShape;

    using TWell::MutableBoard;
    using TWell::SetCurrentPiece;

    void Place(int kind, int col, int row)
    {
        SetCurrentPiece(kind);
        LoadPiece(kind);
        SetPiecePosition(col, row);
        Log.clear();
    }
    void Block(int col, int row, TColor color = 0x808080) { MutableBoard()[col * Rows + row] = color; }
    // Lays the given rows so that the last one is row 20.
    void SetBottom(const TRows& rows)
    {
        const int first = Rows - int(rows.size());
        for (int r = 0; r < int(rows.size()); ++r)
            for (int c = 0; c < Columns; ++c)
                Block(c, first + r, ColorOf(rows[r][c]));
    }
    TRows Bottom(int count) const { return BoardText(*this, CharOf, Rows - count); }
    TRows Shape() const
    {
        TRows rows(MatrixSize, std::string(MatrixSize, '.'));
        for (int i = 0; i < MatrixSize; ++i)
            for (int j = 0; j < MatrixSize; ++j)
                if (!IsEmpty(PieceCell(i, j)))
                    rows[j][i] = 'X';
        return rows;
    }

private:
    static std::string At(int col, int row) { return std::to_string(col) + "," + std::to_string(row); }
    void Paint() override { Log.push_back("Paint"); }
    void PaintCell(int col, int row) override { Log.push_back("Cell " + At(col, row)); }
    void DrawPiece(int col, int row, bool visible) override
    {
        Log.push_back((visible ? "Draw " : "Erase ") + At(col, row));
    }
    void PaintPreview() override
    {
        Log.push_back("Preview");
        PreviewShape = Shape();
    }
    void ClearField() override { Log.push_back("Clear"); }
    void OutlineFreeRow(int row) override { Log.push_back("Outline " + std::to_string(row)); }
    void ReportMessage(const std::string& text) override { Log.push_back("Message " + text); }
};

class Rules : public ::testing::Test {
protected:
    void SetUp() override
    {
        Random::SetClock(&FixedClock);
        Random::SetSeed(1234);
    }
    void TearDown() override { Random::SetClock(nullptr); }
    TRecordingWell Well;
};

template <class TParam>
class RulesWith : public Rules, public ::testing::WithParamInterface<TParam> {};


// --- Catalogue -------------------------------------------------------------

struct TKindCase {
    std::string Name;
    int kind;
    TRows shape;
    TColor fixedColor = 0; // 0: a colour drawn from the special table
};

const TRows Kind15 = {"X.X.", "...X", "X...", ".X.X"};

using LoadPieceBuilds = RulesWith<TKindCase>;
TEST_P(LoadPieceBuilds, ThePatternInOneColourWithOneDraw)
{
    const TKindCase& c = GetParam();
    Well.LoadPiece(c.kind);
    EXPECT_EQ(Well.Shape(), c.shape);
    const TColor expected = c.fixedColor ? c.fixedColor : First1234Special;
    for (TColor cell : Well.Piece()) {
        if (!Well.IsEmpty(cell)) {
            EXPECT_EQ(cell, expected);
        }
    }
    EXPECT_EQ(Random::Seed(), From1234[1]);
}
INSTANTIATE_TEST_SUITE_P(Catalogue, LoadPieceBuilds, ::testing::Values(
    TKindCase{.Name = "Square", .kind = 1, .shape = {"....", ".XX.", ".XX.", "...."}, .fixedColor = 0xFF0000},
    TKindCase{.Name = "FootRight", .kind = 2, .shape = {".X..", ".X..", ".XX.", "...."}, .fixedColor = 0xFF00FF},
    TKindCase{.Name = "FootLeft", .kind = 3, .shape = {"..X.", "..X.", ".XX.", "...."}, .fixedColor = 0xFFFF00},
    TKindCase{.Name = "BarOfFour", .kind = 4, .shape = {".X..", ".X..", ".X..", ".X.."}, .fixedColor = 0x0000FF},
    TKindCase{.Name = "Z", .kind = 5, .shape = {"....", "XX..", ".XX.", "...."}, .fixedColor = 0x000080},
    TKindCase{.Name = "S", .kind = 6, .shape = {"....", ".XX.", "XX..", "...."}, .fixedColor = 0x008080},
    TKindCase{.Name = "T", .kind = 7, .shape = {"....", ".X..", "XXX.", "...."}, .fixedColor = 0x00FF00},
    TKindCase{.Name = "Cup", .kind = 8, .shape = {"....", "X.X.", "XXX.", "...."}},
    TKindCase{.Name = "H", .kind = 9, .shape = {"....", "X.X.", "XXX.", "X.X."}},
    TKindCase{.Name = "CupWithStem", .kind = 10, .shape = {"....", "X.X.", "XXX.", ".X.."}},
    TKindCase{.Name = "TwoBars", .kind = 11, .shape = {"X.X.", "X.X.", "X.X.", "X.X."}},
    TKindCase{.Name = "HollowSquare", .kind = 12, .shape = {"XXXX", "X..X", "X..X", "XXXX"}},
    TKindCase{.Name = "Plus", .kind = 13, .shape = {"....", ".X..", "XXX.", ".X.."}},
    TKindCase{.Name = "DiagonalCross", .kind = 14, .shape = {"....", "X.X.", ".X..", "X.X."}},
    TKindCase{.Name = "SingleCells", .kind = 15, .shape = Kind15},
    TKindCase{.Name = "ZeroBuildsKind15", .kind = 0, .shape = Kind15},
    TKindCase{.Name = "SixteenBuildsKind15", .kind = 16, .shape = Kind15},
    TKindCase{.Name = "MinusOneBuildsKind15", .kind = -1, .shape = Kind15},
    TKindCase{.Name = "LowestIntBuildsKind15", .kind = INT_MIN, .shape = Kind15}), RowName);

// --- Fit rule --------------------------------------------------------------

using enum TWell::TDirection;

struct TFitCase {
    std::string Name;
    int kind, col, row;
    TWell::TDirection direction;
    int blockCol = -1, blockRow = -1; // -1: no block
    bool fits;
};

using CanMove = RulesWith<TFitCase>;
TEST_P(CanMove, FollowsTheFitRule)
{
    const TFitCase& c = GetParam();
    Well.Place(c.kind, 0, 0);
    if (c.blockCol >= 0)
        Well.Block(c.blockCol, c.blockRow);
    EXPECT_EQ(Well.CanMove(c.direction, c.col, c.row), c.fits);
    EXPECT_TRUE(Well.Log.empty());
}
INSTANTIATE_TEST_SUITE_P(Rules, CanMove, ::testing::Values(
    TFitCase{.Name = "BarAgainstLeftWall", .kind = 4, .col = -1, .row = 5, .direction = InPlace, .fits = true},
    TFitCase{.Name = "LeftFromLeftWall", .kind = 4, .col = -1, .row = 5, .direction = Left, .fits = false},
    TFitCase{.Name = "BarAgainstRightWall", .kind = 4, .col = 8, .row = 5, .direction = InPlace, .fits = true},
    TFitCase{.Name = "RightFromRightWall", .kind = 4, .col = 8, .row = 5, .direction = Right, .fits = false},
    TFitCase{.Name = "BarOnFloor", .kind = 4, .col = 3, .row = 17, .direction = InPlace, .fits = true},
    TFitCase{.Name = "DownFromFloor", .kind = 4, .col = 3, .row = 17, .direction = Down, .fits = false},
    TFitCase{.Name = "SquareWithEmptyRowBelowFloor", .kind = 1, .col = 3, .row = 18, .direction = InPlace,
             .fits = true},
    TFitCase{.Name = "SquareCellBelowFloor", .kind = 1, .col = 3, .row = 19, .direction = InPlace, .fits = false},
    TFitCase{.Name = "WhollyAboveTheWell", .kind = 4, .col = 4, .row = -10, .direction = InPlace, .fits = true},
    TFitCase{.Name = "AboveTheWellStillWithinWalls", .kind = 4, .col = 9, .row = -10, .direction = InPlace,
             .fits = false},
    TFitCase{.Name = "CellOnBlock", .kind = 4, .col = 4, .row = 0, .direction = InPlace, .blockCol = 5, .blockRow = 3,
             .fits = false},
    TFitCase{.Name = "EmptyMatrixCellOnBlock", .kind = 4, .col = 4, .row = 0, .direction = InPlace, .blockCol = 4,
             .blockRow = 3, .fits = true},
    TFitCase{.Name = "DownOntoBlock", .kind = 4, .col = 4, .row = 0, .direction = Down, .blockCol = 5, .blockRow = 4,
             .fits = false},
    TFitCase{.Name = "LeftOntoBlock", .kind = 4, .col = 4, .row = 0, .direction = Left, .blockCol = 4, .blockRow = 2,
             .fits = false}),
    RowName);

TEST_F(Rules, RefusedMovePaintsNothingAcceptedMoveErasesThenDraws)
{
    Well.Place(4, -1, 5);
    EXPECT_FALSE(Well.MoveLeft());
    EXPECT_TRUE(Well.Log.empty());
    Well.Block(2, 6);
    Well.Place(4, 0, 5);
    EXPECT_FALSE(Well.MoveRight());
    EXPECT_TRUE(Well.Log.empty());
    EXPECT_EQ(Well.PieceCol(), 0);
    EXPECT_TRUE(Well.MoveLeft());
    EXPECT_EQ(Well.Log, (TRows{"Erase 0,5", "Draw -1,5"}));
}

// A player tries its moves on a copy: the copy plays on without a painter
// and leaves the well it came from as it was.
TEST_F(Rules, ACopyPlaysApartAndPaintsNothing)
{
    Well.Place(4, 3, 5);
    TWell trial = Well;
    EXPECT_TRUE(trial.MoveLeft());
    EXPECT_EQ(trial.DropPiece(), 12);
    EXPECT_EQ(trial.Step(), TWell::TStepResult::Landed);
    EXPECT_TRUE(Well.Log.empty());
    EXPECT_EQ(Well.PieceCol(), 3);
    EXPECT_EQ(Well.Bottom(4), TRows(4, ".........."));
    EXPECT_EQ(BoardText(trial, CharOf, TWell::Rows - 4), TRows(4, "...R......"));
}

// --- Turns -----------------------------------------------------------------

struct TTurnCase {
    std::string Name;
    int kind, col, row;
    std::string turns; // 'L' counter-clockwise, 'R' clockwise
    int blockCol = -1, blockRow = -1; // -1: no block
    TRows shape;
};

using Turning = RulesWith<TTurnCase>;
TEST_P(Turning, GivesTheShapeAndKeepsThePosition)
{
    const TTurnCase& c = GetParam();
    if (c.blockCol >= 0)
        Well.Block(c.blockCol, c.blockRow);
    Well.Place(c.kind, c.col, c.row);
    TRows expectedLog;
    for (char turn : c.turns) {
        turn == 'L' ? Well.RotateCounterClockwise() : Well.RotateClockwise();
        const std::string at = std::to_string(c.col) + "," + std::to_string(c.row);
        expectedLog.insert(expectedLog.end(), {"Erase " + at, "Draw " + at});
    }
    EXPECT_EQ(Well.Shape(), c.shape);
    EXPECT_EQ(Well.Log, expectedLog);
    EXPECT_EQ(Well.PieceCol(), c.col);
    EXPECT_EQ(Well.PieceRow(), c.row);
}
INSTANTIATE_TEST_SUITE_P(Rules, Turning, ::testing::Values(
    TTurnCase{.Name = "BarCounterClockwise", .kind = 4, .col = 3, .row = 5, .turns = "L",
              .shape = {"....", "....", "XXXX", "...."}},
    TTurnCase{.Name = "BarClockwise", .kind = 4, .col = 3, .row = 5, .turns = "R",
              .shape = {"....", "XXXX", "....", "...."}},
    TTurnCase{.Name = "BarsAtStartAboveTheWell", .kind = 11, .col = 4, .row = -2, .turns = "L",
              .shape = {"....", "XXXX", "....", "XXXX"}},
    TTurnCase{.Name = "PlusCounterClockwise", .kind = 13, .col = 3, .row = 5, .turns = "L",
              .shape = {"....", "..X.", ".XXX", "..X."}},
    TTurnCase{.Name = "PlusClockwise", .kind = 13, .col = 3, .row = 5, .turns = "R",
              .shape = {".X..", "XXX.", ".X..", "...."}},
    TTurnCase{.Name = "SingleCellsTwiceLeft", .kind = 15, .col = 3, .row = 5, .turns = "LL", .shape = Kind15},
    TTurnCase{.Name = "SingleCellsTwiceRight", .kind = 15, .col = 3, .row = 5, .turns = "RR", .shape = Kind15},
    TTurnCase{.Name = "SquareStays", .kind = 1, .col = 3, .row = 5, .turns = "LR",
              .shape = {"....", ".XX.", ".XX.", "...."}},
    TTurnCase{.Name = "HollowSquareStays", .kind = 12, .col = 3, .row = 5, .turns = "L",
              .shape = {"XXXX", "X..X", "X..X", "XXXX"}},
    TTurnCase{.Name = "RefusedAtTheWall", .kind = 4, .col = -1, .row = 5, .turns = "L",
              .shape = {".X..", ".X..", ".X..", ".X.."}},
    TTurnCase{.Name = "RefusedBelowTheFloor", .kind = 4, .col = 3, .row = 18, .turns = "LL",
              .shape = {"....", "....", "XXXX", "...."}},
    TTurnCase{.Name = "RefusedOntoABlock", .kind = 4, .col = 3, .row = 5, .turns = "L", .blockCol = 5, .blockRow = 7,
              .shape = {".X..", ".X..", ".X..", ".X.."}}),
    RowName);

// --- Drop ------------------------------------------------------------------

TEST_F(Rules, DropBringsTheLowestCellToTheFloorAndDoesNotLand)
{
    Well.Place(4, 4, -2);
    EXPECT_EQ(Well.DropPiece(), 19);
    EXPECT_EQ(Well.PieceRow(), 17);
    EXPECT_EQ(Well.Log, (TRows{"Erase 4,-2", "Draw 4,17"}));
    EXPECT_EQ(Well.Bottom(1), TRows{".........."});
    Well.Log.clear();
    EXPECT_EQ(Well.DropPiece(), 0);
    EXPECT_EQ(Well.Log, (TRows{"Erase 4,17", "Draw 4,17"}));
}

TEST_F(Rules, DropOfAMatrixWithoutCellsStops)
{
    EXPECT_EQ(Well.DropPiece(), 0);
    EXPECT_EQ(Well.PieceRow(), 0);
    Well.Place(4, 4, 3);
    Well.SetBackGroundColor(0x0000FF); // the bar's own red
    EXPECT_EQ(Well.DropPiece(), 0);
    EXPECT_EQ(Well.PieceRow(), 3);
}

// --- Step and landing ------------------------------------------------------

TEST_F(Rules, StepWithRoomBelowMovesOneRow)
{
    Well.Place(1, 4, -2);
    EXPECT_EQ(Well.Step(), TWell::TStepResult::Moved);
    EXPECT_EQ(Well.PieceRow(), -1);
    EXPECT_EQ(Well.Log, (TRows{"Erase 4,-2", "Draw 4,-1"}));
    EXPECT_EQ(Well.NumberOfPieces(), 0);
}

struct TLandingCase {
    std::string Name;
    int kind, col, row;
    TRows before, after; // bottom rows of the board; all rows above are empty
    int removed;
    TWell::TStepResult result;
};

using Landing = RulesWith<TLandingCase>;
TEST_P(Landing, StoresThePieceAndRemovesFullRowsOfItsWindow)
{
    const TLandingCase& c = GetParam();
    Well.SetBottom(c.before);
    Well.Place(c.kind, c.col, c.row);
    TRows expected(21 - c.after.size(), "..........");
    expected.insert(expected.end(), c.after.begin(), c.after.end());
    EXPECT_EQ(Well.Step(), c.result);
    EXPECT_EQ(Well.Bottom(21), expected);
    EXPECT_EQ(Well.LastDeletedLine(), c.removed);
    EXPECT_EQ(Well.Log, c.removed > 0 ? TRows{"Paint"} : TRows{});
    EXPECT_EQ(Well.NumberOfPieces(), 1);
}
INSTANTIATE_TEST_SUITE_P(Rules, Landing, ::testing::Values(
    TLandingCase{.Name = "TwoFullRowsAroundAPartialOne", .kind = 4, .col = -1, .row = 17,
                 .before = {"....a.....", ".b........", "...c......", ".#########", ".####.####", ".#########"},
                 .after = {"..........", "..........", "....a.....", ".b........", "R..c......", "R####.####"},
                 .removed = 2, .result = TWell::TStepResult::Landed},
    TLandingCase{.Name = "BarClearsFourRows", .kind = 4, .col = -1, .row = 17,
                 .before = {"..x.......", ".#########", ".#########", ".#########", ".#########"},
                 .after = {"..........", "..........", "..........", "..........", "..x......."},
                 .removed = 4, .result = TWell::TStepResult::Landed},
    TLandingCase{.Name = "WindowAtRow18LeavesFullRow17", .kind = 1, .col = 4, .row = 18,
                 .before = {"##########", "#.........", "#####..###", "#####..###"},
                 .after = {"..........", "..........", "##########", "#........."},
                 .removed = 2, .result = TWell::TStepResult::Landed},
    TLandingCase{.Name = "NothingCompleted", .kind = 1, .col = 4, .row = 18,
                 .before = {"..........", ".........."}, .after = {".....BB...", ".....BB..."},
                 .removed = 0, .result = TWell::TStepResult::Landed},
    TLandingCase{.Name = "CellsAboveTheWellAreDropped", .kind = 4, .col = 4, .row = -2,
                 .before = [] { TRows r(21, ".........."); r[2] = ".....#...."; return r; }(),
                 .after = [] {
                     TRows r(21, "..........");
                     r[0] = r[1] = ".....R....";
                     r[2] = ".....#....";
                     return r;
                 }(),
                 .removed = 0, .result = TWell::TStepResult::GameOver}),
    RowName);

struct TStartBlockCase {
    std::string Name;
    int col, row;
    TWell::TStepResult result;
};

// The next kind is the square, whose first move down covers columns 5 and 6 of rows 0 and 1.
using NextPieceStart = RulesWith<TStartBlockCase>;
TEST_P(NextPieceStart, EndsTheGameExactlyWhenItsFirstFallIsBlocked)
{
    const TStartBlockCase& c = GetParam();
    Well.Block(c.col, c.row);
    Well.Place(4, -1, 17);
    ASSERT_EQ(Well.NextPiece(), 1);
    EXPECT_EQ(Well.Step(), c.result);
    EXPECT_EQ(Well.NumberOfPieces(), 1);
    EXPECT_EQ(Well.PieceCol(), 4);
    EXPECT_EQ(Well.PieceRow(), -2);
}
INSTANTIATE_TEST_SUITE_P(Rules, NextPieceStart, ::testing::Values(
    TStartBlockCase{.Name = "Column5Row0", .col = 5, .row = 0, .result = TWell::TStepResult::GameOver},
    TStartBlockCase{.Name = "Column6Row0", .col = 6, .row = 0, .result = TWell::TStepResult::GameOver},
    TStartBlockCase{.Name = "Column5Row1", .col = 5, .row = 1, .result = TWell::TStepResult::GameOver},
    TStartBlockCase{.Name = "Column6Row1", .col = 6, .row = 1, .result = TWell::TStepResult::GameOver},
    TStartBlockCase{.Name = "Column4Row1", .col = 4, .row = 1, .result = TWell::TStepResult::Landed},
    TStartBlockCase{.Name = "Column7Row0", .col = 7, .row = 0, .result = TWell::TStepResult::Landed},
    TStartBlockCase{.Name = "Column5Row2", .col = 5, .row = 2, .result = TWell::TStepResult::Landed}),
    RowName);

// --- The preview switch: draws and paints ----------------------------------

using PreviewSwitch = RulesWith<bool>;
TEST_P(PreviewSwitch, LandingDrawsTheNextKindThenBuildsBothPieces)
{
    const bool shown = GetParam();
    Well.SetShowNextpiece(shown);
    Well.SetNextPiece(2);
    Well.Place(4, -1, 17);
    Random::SetSeed(99);
    EXPECT_EQ(Well.Step(), TWell::TStepResult::Landed);
    // The next kind, the falling piece's build and, when shown, the preview's.
    EXPECT_EQ(Random::Seed(), From99[shown ? 3 : 2]);
    EXPECT_EQ(Well.CurrentPiece(), 2);
    EXPECT_EQ(Well.NextPiece(), First99Kind);
    EXPECT_EQ(Well.Shape(), (TRows{".X..", ".X..", ".XX.", "...."}));
    EXPECT_EQ(Well.Log, shown ? TRows{"Preview"} : TRows{});
    if (shown) {
        EXPECT_EQ(Well.PreviewShape, (TRows{"....", ".XX.", ".XX.", "...."}));
    }
}

TEST_P(PreviewSwitch, NextPieceWriteRebuildsTheFallingPieceInPlace)
{
    const bool shown = GetParam();
    Well.SetShowNextpiece(shown);
    Well.Place(4, 3, 5);
    Well.RotateCounterClockwise();
    Well.Log.clear();
    ASSERT_EQ(Random::Seed(), From1234[1]) << "the piece's build";
    Well.SetNextPiece(12);
    EXPECT_EQ(Well.Shape(), (TRows{".X..", ".X..", ".X..", ".X.."}));
    EXPECT_EQ(Well.CurrentPiece(), 4);
    EXPECT_EQ(Well.PieceCol(), 3);
    EXPECT_EQ(Well.PieceRow(), 5);
    EXPECT_EQ(Well.Log, shown ? TRows{"Preview"} : TRows{});
    if (shown) {
        EXPECT_EQ(Well.PreviewShape, (TRows{"XXXX", "X..X", "X..X", "XXXX"}));
    }
    EXPECT_EQ(Random::Seed(), From1234[shown ? 3 : 2]);
}

TEST_P(PreviewSwitch, NewGameKeepsTheBoardAndLastDeletedLine)
{
    const bool shown = GetParam();
    Well.SetShowNextpiece(shown);
    Well.SetNumberOfType(15);
    Well.Block(0, 20);
    Well.Place(1, 4, 18);
    Well.Step();
    for (int col = 0; col < 9; ++col)
        Well.Block(col, 10);
    Well.DropBlock(9, 10, 0x808080);
    ASSERT_EQ(Well.LastDeletedLine(), 1);
    ASSERT_EQ(Well.NumberOfPieces(), 1);
    Random::SetSeed(77);
    Well.Log.clear();
    Well.NewGame();
    EXPECT_EQ(Well.CurrentPiece(), First77Kinds[0]);
    EXPECT_EQ(Well.NextPiece(), First77Kinds[1]);
    EXPECT_EQ(Random::Seed(), ClockValue) << "screen 0 draws nothing after its reseed";
    EXPECT_EQ(Well.Bottom(2), (TRows{".....BB...", "#....BB..."}));
    EXPECT_EQ(Well.NumberOfPieces(), 0);
    EXPECT_EQ(Well.LastDeletedLine(), 1);
    EXPECT_EQ(Well.Log, shown ? (TRows{"Preview", "Paint", "Paint"}) : (TRows{"Paint", "Paint"}));
    Well.Log.clear();
    EXPECT_EQ(Well.Step(), TWell::TStepResult::Moved);
    EXPECT_EQ(Well.Log, (TRows{"Erase 4,-2", "Draw 4,-1"}));
}
INSTANTIATE_TEST_SUITE_P(Rules, PreviewSwitch, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Shown" : "Hidden"; });

// --- Start screens ---------------------------------------------------------

// Each screen laid after its reseed from the clock, as a picture of its
// bottom rows (all rows above are empty): 'a' to 'n' stand for the special
// colours 0 to 13 that the draws give, in the order the screen lays its
// cells. Screen 3 lays 21 cells, two of them on cells laid before.
struct TScreenCase {
    int screen;
    int laid;
    TRows bottom;
    std::uint32_t seedAfter;
};

void PrintTo(const TScreenCase& c, std::ostream* out) { *out << "screen " << c.screen; }

using StartScreen = RulesWith<TScreenCase>;
TEST_P(StartScreen, LaysItsCellsInTheirDrawnColours)
{
    const TScreenCase& c = GetParam();
    Well.Block(4, 2);
    Well.SetScreenNumber(c.screen);

    TWell::TBoard expected;
    expected.fill(0);
    const int top = 21 - int(c.bottom.size());
    for (int row = top; row <= 20; ++row)
        for (int col = 0; col < 10; ++col)
            if (const char ch = c.bottom[row - top][col]; ch != '.')
                expected[col * 21 + row] = Special[ch - 'a'];
    EXPECT_EQ(Well.Board(), expected);
    ASSERT_GE(Well.Log.size(), 2u);
    EXPECT_EQ(Well.Log.front(), "Clear");
    const auto cellPaints = std::count_if(Well.Log.begin(), Well.Log.end(),
                                          [](const std::string& line) { return line.starts_with("Cell "); });
    EXPECT_EQ(cellPaints, c.laid);
    EXPECT_EQ(Well.Log.back(), "Paint");
    EXPECT_EQ(Well.ScreenNumber(), c.screen);
    EXPECT_EQ(Random::Seed(), c.seedAfter);
}
INSTANTIATE_TEST_SUITE_P(Rules, StartScreen, ::testing::Values(
    TScreenCase{.screen = 0, .laid = 0, .bottom = {}, .seedAfter = ClockValue},
    TScreenCase{.screen = 1, .laid = 16, .bottom = {
        "g........d",
        "e........a",
        "j........g",
        "b........h",
        "l........b",
        "c........n",
        "m........n",
        "n........d"}, .seedAfter = 0x44A4F345u},
    TScreenCase{.screen = 2, .laid = 28, .bottom = {
        "g........d",
        "e........a",
        "j..c..i..g",
        "b..c..i..h",
        "l..m..h..b",
        "c..c..j..n",
        "m..i..f..n",
        "n..d..g..d"}, .seedAfter = 0x72113569u},
    TScreenCase{.screen = 3, .laid = 21, .bottom = {
        "a..h..d.m.",
        ".d..a.bc..",
        "......nbb.",
        ".kik..h...",
        "....kd.gb."}, .seedAfter = 0xB577D644u},
    TScreenCase{.screen = 4, .laid = 20, .bottom = {
        "g........d",
        ".e......a.",
        "..j....g..",
        "...b..h...",
        "....lb....",
        "....nc....",
        "...n..m...",
        "..d....n..",
        ".i......c.",
        "i........c"}, .seedAfter = 0x9D7F5411u},
    TScreenCase{.screen = 5, .laid = 30, .bottom = {
        ".a.b.d.h.g",
        "g.b.m.c.i.",
        ".j.c.c.c.a",
        "d.h.n.i.f.",
        ".g.n.i.j.m",
        "e.l.n.m.d."}, .seedAfter = 0xE27C2347u}),
    [](const auto& info) { return "Screen" + std::to_string(info.param.screen); });

TEST_F(Rules, RefusedScreenNumberStillReseeds)
{
    Well.SetScreenNumber(2);
    const TWell::TBoard board = Well.Board();
    Well.Log.clear();
    for (int value : {6, -1}) {
        Random::SetSeed(5);
        Well.SetScreenNumber(value);
        EXPECT_EQ(Random::Seed(), ClockValue);
    }
    EXPECT_EQ(Well.Board(), board);
    EXPECT_EQ(Well.ScreenNumber(), 2);
    EXPECT_EQ(Well.Log, (TRows{"Message Value out of range...", "Message Value out of range..."}));
}

// --- Free rows -------------------------------------------------------------

struct TFreeCase {
    std::string Name;
    std::vector<int> occupiedRows;
    int expected;
};

using FreeLines = RulesWith<TFreeCase>;
TEST_P(FreeLines, CountsDownToTheLowestFreeRowAndOutlinesEveryFreeRow)
{
    const TFreeCase& c = GetParam();
    TRows outlines;
    for (int row = 0; row < 21; ++row) {
        if (std::find(c.occupiedRows.begin(), c.occupiedRows.end(), row) != c.occupiedRows.end())
            Well.Block(row % 10, row);
        else
            outlines.push_back("Outline " + std::to_string(row));
    }
    EXPECT_EQ(Well.CountFreeLines(false), c.expected);
    EXPECT_TRUE(Well.Log.empty());
    EXPECT_EQ(Well.CountFreeLines(true), c.expected);
    EXPECT_EQ(Well.Log, outlines);
}
INSTANTIATE_TEST_SUITE_P(Rules, FreeLines, ::testing::Values(
    TFreeCase{.Name = "EmptyBoard", .occupiedRows = {}, .expected = 21},
    TFreeCase{.Name = "BottomRowOccupied", .occupiedRows = {20}, .expected = 20},
    TFreeCase{.Name = "FreeRowBelowAnOccupiedOne", .occupiedRows = {10, 12, 13, 14, 15, 16, 17, 18, 19, 20},
              .expected = 12},
    TFreeCase{.Name = "OnlyTopRowOccupied", .occupiedRows = {0}, .expected = 21},
    TFreeCase{.Name = "NoFreeRow",
              .occupiedRows = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20},
              .expected = 0}),
    RowName);

// --- Dropped blocks and rising rows ----------------------------------------

struct TDropCase {
    std::string Name;
    int startRow;
    std::vector<int> occupied; // rows of column 3
    int target;
};

using DropBlock = RulesWith<TDropCase>;
TEST_P(DropBlock, WritesTheTargetCellOnly)
{
    const TDropCase& c = GetParam();
    for (int row : c.occupied)
        Well.Block(3, row);
    TWell::TBoard expected = Well.Board();
    expected[3 * 21 + c.target] = 0x123456;
    Well.DropBlock(3, c.startRow, 0x123456);
    EXPECT_EQ(Well.Board(), expected);
    EXPECT_EQ(Well.Log, TRows{"Cell 3," + std::to_string(c.target)});
}
INSTANTIATE_TEST_SUITE_P(Rules, DropBlock, ::testing::Values(
    TDropCase{.Name = "EmptyColumnFromTheTop", .startRow = -1, .occupied = {}, .target = 20},
    TDropCase{.Name = "OntoThePileAtRow12", .startRow = -1, .occupied = {12, 16}, .target = 11},
    TDropCase{.Name = "RowOneOccupiedReplacesRowZero", .startRow = -1, .occupied = {0, 1}, .target = 0},
    TDropCase{.Name = "GivenRowFloats", .startRow = 5, .occupied = {}, .target = 5},
    TDropCase{.Name = "GivenRowReplacesABlock", .startRow = 12, .occupied = {12}, .target = 12}), RowName);

TEST_F(Rules, DropBlockCountsTheRowsItCompletes)
{
    Well.SetBottom({"a.........", "#######.##"});
    Well.DropBlock(7, -1, 0x808080);
    EXPECT_EQ(Well.LastDeletedLine(), 1);
    EXPECT_EQ(Well.Bottom(2), (TRows{"..........", "a........."}));
    EXPECT_EQ(Well.Log, (TRows{"Cell 7,20", "Paint"}));
    Well.DropBlock(7, -1, 0x808080);
    EXPECT_EQ(Well.LastDeletedLine(), 0);
}

TEST_F(Rules, PushLineRaisesTheBoardAndLeavesOneGap)
{
    Well.Block(2, 0);
    Well.SetBottom({"a.........", ".b........"});
    Well.PushLine(6, 0x808080);
    EXPECT_EQ(Well.Bottom(21).front(), "..........");
    EXPECT_EQ(Well.Bottom(3), (TRows{"a.........", ".b........", "######.###"}));
    EXPECT_EQ(Well.Log, TRows{"Paint"});
    EXPECT_EQ(Well.LastDeletedLine(), 0);
}

// --- Refused and silent writes ---------------------------------------------

struct TWriteCase {
    std::string Name;
    std::function<void(TWell&)> write;
    std::string message; // empty: nothing at all
};

using Write = RulesWith<TWriteCase>;
TEST_P(Write, ReportsAndChangesNothing)
{
    const TWriteCase& c = GetParam();
    Well.Place(4, 3, 5);
    Well.RotateClockwise(); // a rebuild would show as the catalogue shape again
    Well.Log.clear();
    Well.Block(5, 20);
    const TWell::TBoard board = Well.Board();
    const TWell::TMatrix piece = Well.Piece();
    const std::uint32_t seed = Random::Seed();
    c.write(Well);
    EXPECT_EQ(Random::Seed(), seed);
    EXPECT_EQ(Well.Log, c.message.empty() ? TRows{} : TRows{"Message " + c.message});
    EXPECT_EQ(Well.Board(), board);
    EXPECT_EQ(Well.Piece(), piece);
    EXPECT_EQ(Well.NumberOfPieces(), 0);
    EXPECT_EQ(Well.LastDeletedLine(), 0);
    EXPECT_EQ(Well.NextPiece(), 1);
    EXPECT_EQ(Well.NumberOfType(), 8);
    EXPECT_EQ(Well.BackGroundColor(), 0u);
}
const std::string OutOfRange = "Value out of range...";
const std::string ReadOnly = "This is a Read-Only Property...";
const std::string OnlyFifteen = "There is only 15 [1..15] kind of pieces...";
INSTANTIATE_TEST_SUITE_P(Rules, Write, ::testing::Values(
    TWriteCase{"NumberOfPiecesUnchanged", [](TWell& w) { w.SetNumberOfPieces(0); }, ""},
    TWriteCase{"NumberOfPiecesOther", [](TWell& w) { w.SetNumberOfPieces(5); }, ReadOnly},
    TWriteCase{"LastDeletedLineUnchanged", [](TWell& w) { w.SetLastDeletedLine(0); }, ""},
    TWriteCase{"LastDeletedLineOther", [](TWell& w) { w.SetLastDeletedLine(1); }, ReadOnly},
    TWriteCase{"NextPieceUnchanged", [](TWell& w) { w.SetNextPiece(1); }, ""},
    TWriteCase{"NextPiece16", [](TWell& w) { w.SetNextPiece(16); }, OnlyFifteen + "16"},
    TWriteCase{"NextPiece0", [](TWell& w) { w.SetNextPiece(0); }, OnlyFifteen + "0"},
    TWriteCase{"NextPieceMinus3", [](TWell& w) { w.SetNextPiece(-3); }, OnlyFifteen + "-3"},
    TWriteCase{"NumberOfType7", [](TWell& w) { w.SetNumberOfType(7); }, OutOfRange},
    TWriteCase{"NumberOfType16", [](TWell& w) { w.SetNumberOfType(16); }, OutOfRange},
    TWriteCase{"BackGroundColorUnchanged", [](TWell& w) { w.SetBackGroundColor(0); }, ""},
    TWriteCase{"DropBlockColumn10", [](TWell& w) { w.DropBlock(10, -1, 0x808080); }, OutOfRange},
    TWriteCase{"DropBlockColumnMinus1", [](TWell& w) { w.DropBlock(-1, 3, 0x808080); }, OutOfRange},
    TWriteCase{"DropBlockRowMinus2", [](TWell& w) { w.DropBlock(3, -2, 0x808080); }, OutOfRange},
    TWriteCase{"DropBlockRow21", [](TWell& w) { w.DropBlock(3, 21, 0x808080); }, OutOfRange},
    TWriteCase{"PushLineGap10WithBackground", [](TWell& w) { w.PushLine(10, 0); }, OutOfRange},
    TWriteCase{"PushLineGapMinus1", [](TWell& w) { w.PushLine(-1, 0x808080); }, OutOfRange},
    TWriteCase{"PushLineBackground", [](TWell& w) { w.PushLine(0, 0); },
               "The color line must be different than BackGroundColor..."}),
    RowName);

TEST_F(Rules, NewBackgroundKeepsEmptyCellsEmptyAndRepaints)
{
    Well.Place(4, 3, 5);
    Well.SetBottom({"..........", "#........."});
    Well.Block(8, 19, 0xFFFFFF);
    Well.SetBackGroundColor(0xFFFFFF);
    EXPECT_EQ(Well.Log, TRows{"Paint"});
    EXPECT_EQ(Well.BoardCell(0, 20), 0x808080u);
    EXPECT_EQ(Well.BoardCell(1, 20), 0xFFFFFFu);
    EXPECT_EQ(Well.CountFreeLines(false), 20) << "a white block became an empty cell";
    EXPECT_EQ(Well.Shape(), (TRows{".X..", ".X..", ".X..", ".X.."}));
    EXPECT_EQ(Well.PieceCell(1, 0), 0x0000FFu);
}

} // namespace
