#include "Well.h"

#include "Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using TRows = std::vector<std::string>;

constexpr std::uint32_t ClockValue = 45296789u;
std::uint32_t FixedClock() { return ClockValue; }

// The generator's formula, written out here so that expected values never
// come from the code under test.
struct TFormula {
    std::uint32_t seed;
    int Draw(int range)
    {
        seed = seed * 0x08088405u + 1u;
        return int((std::uint64_t(seed) * std::uint32_t(range)) >> 32);
    }
};

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

class TRecordingWell : public TWell {
public:
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
    TRows Bottom(int count) const
    {
        TRows rows;
        for (int row = Rows - count; row < Rows; ++row) {
            rows.emplace_back();
            for (int col = 0; col < Columns; ++col)
                rows.back() += CharOf(BoardCell(col, row));
        }
        return rows;
    }
    TRows Shape() const
    {
        TRows rows(MatrixSize, std::string(MatrixSize, '.'));
        for (int i = 0; i < MatrixSize; ++i)
            for (int j = 0; j < MatrixSize; ++j)
                if (!IsEmpty(PieceCell(i, j)))
                    rows[j][i] = 'X';
        return rows;
    }

protected:
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

// Test names carry the row; keep gtest from dumping the parameters' bytes.
template <class TParam>
    requires requires(const TParam& p) { p.name; }
void PrintTo(const TParam& param, std::ostream* out) { *out << param.name; }

template <class TParam>
std::string RowName(const ::testing::TestParamInfo<TParam>& info) { return info.param.name; }

// --- Catalogue -------------------------------------------------------------

struct TKindCase {
    std::string name;
    int kind;
    TRows shape;
    TColor fixedColor; // 0: a colour drawn from the special table
};

const TRows Kind15 = {"X.X.", "...X", "X...", ".X.X"};

using LoadPieceBuilds = RulesWith<TKindCase>;
TEST_P(LoadPieceBuilds, ThePatternInOneColourWithOneDraw)
{
    const TKindCase& c = GetParam();
    TFormula formula{1234};
    const TColor special = Special[formula.Draw(14)];
    Well.LoadPiece(c.kind);
    EXPECT_EQ(Well.Shape(), c.shape);
    const TColor expected = c.fixedColor ? c.fixedColor : special;
    for (TColor cell : Well.Piece()) {
        if (!Well.IsEmpty(cell)) {
            EXPECT_EQ(cell, expected);
        }
    }
    EXPECT_EQ(Random::Seed(), formula.seed);
}
INSTANTIATE_TEST_SUITE_P(Catalogue, LoadPieceBuilds, ::testing::Values(
    TKindCase{"Square", 1, {"....", ".XX.", ".XX.", "...."}, 0xFF0000},
    TKindCase{"FootRight", 2, {".X..", ".X..", ".XX.", "...."}, 0xFF00FF},
    TKindCase{"FootLeft", 3, {"..X.", "..X.", ".XX.", "...."}, 0xFFFF00},
    TKindCase{"BarOfFour", 4, {".X..", ".X..", ".X..", ".X.."}, 0x0000FF},
    TKindCase{"Z", 5, {"....", "XX..", ".XX.", "...."}, 0x000080},
    TKindCase{"S", 6, {"....", ".XX.", "XX..", "...."}, 0x008080},
    TKindCase{"T", 7, {"....", ".X..", "XXX.", "...."}, 0x00FF00},
    TKindCase{"Cup", 8, {"....", "X.X.", "XXX.", "...."}, 0},
    TKindCase{"H", 9, {"....", "X.X.", "XXX.", "X.X."}, 0},
    TKindCase{"CupWithStem", 10, {"....", "X.X.", "XXX.", ".X.."}, 0},
    TKindCase{"TwoBars", 11, {"X.X.", "X.X.", "X.X.", "X.X."}, 0},
    TKindCase{"HollowSquare", 12, {"XXXX", "X..X", "X..X", "XXXX"}, 0},
    TKindCase{"Plus", 13, {"....", ".X..", "XXX.", ".X.."}, 0},
    TKindCase{"DiagonalCross", 14, {"....", "X.X.", ".X..", "X.X."}, 0},
    TKindCase{"SingleCells", 15, Kind15, 0},
    TKindCase{"ZeroBuildsKind15", 0, Kind15, 0},
    TKindCase{"SixteenBuildsKind15", 16, Kind15, 0},
    TKindCase{"MinusOneBuildsKind15", -1, Kind15, 0},
    TKindCase{"LowestIntBuildsKind15", INT_MIN, Kind15, 0}), RowName<TKindCase>);

// --- Fit rule --------------------------------------------------------------

struct TFitCase {
    std::string name;
    int kind, col, row, direction;
    int blockCol, blockRow; // -1: no block
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
    TFitCase{"BarAgainstLeftWall", 4, -1, 5, 9, -1, -1, true},
    TFitCase{"LeftFromLeftWall", 4, -1, 5, 2, -1, -1, false},
    TFitCase{"BarAgainstRightWall", 4, 8, 5, 9, -1, -1, true},
    TFitCase{"RightFromRightWall", 4, 8, 5, 1, -1, -1, false},
    TFitCase{"BarOnFloor", 4, 3, 17, 9, -1, -1, true},
    TFitCase{"DownFromFloor", 4, 3, 17, 0, -1, -1, false},
    TFitCase{"SquareWithEmptyRowBelowFloor", 1, 3, 18, 9, -1, -1, true},
    TFitCase{"SquareCellBelowFloor", 1, 3, 19, 9, -1, -1, false},
    TFitCase{"WhollyAboveTheWell", 4, 4, -10, 9, -1, -1, true},
    TFitCase{"AboveTheWellStillWithinWalls", 4, 9, -10, 9, -1, -1, false},
    TFitCase{"CellOnBlock", 4, 4, 0, 9, 5, 3, false},
    TFitCase{"EmptyMatrixCellOnBlock", 4, 4, 0, 9, 4, 3, true},
    TFitCase{"DownOntoBlock", 4, 4, 0, 0, 5, 4, false},
    TFitCase{"LeftOntoBlock", 4, 4, 0, 2, 4, 2, false}), RowName<TFitCase>);

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

// --- Turns -----------------------------------------------------------------

struct TTurnCase {
    std::string name;
    int kind, col, row;
    std::string turns; // 'L' counter-clockwise, 'R' clockwise
    int blockCol, blockRow;
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
    TTurnCase{"BarCounterClockwise", 4, 3, 5, "L", -1, -1, {"....", "....", "XXXX", "...."}},
    TTurnCase{"BarClockwise", 4, 3, 5, "R", -1, -1, {"....", "XXXX", "....", "...."}},
    TTurnCase{"BarsAtStartAboveTheWell", 11, 4, -2, "L", -1, -1, {"....", "XXXX", "....", "XXXX"}},
    TTurnCase{"PlusCounterClockwise", 13, 3, 5, "L", -1, -1, {"....", "..X.", ".XXX", "..X."}},
    TTurnCase{"PlusClockwise", 13, 3, 5, "R", -1, -1, {".X..", "XXX.", ".X..", "...."}},
    TTurnCase{"SingleCellsTwiceLeft", 15, 3, 5, "LL", -1, -1, Kind15},
    TTurnCase{"SingleCellsTwiceRight", 15, 3, 5, "RR", -1, -1, Kind15},
    TTurnCase{"SquareStays", 1, 3, 5, "LR", -1, -1, {"....", ".XX.", ".XX.", "...."}},
    TTurnCase{"HollowSquareStays", 12, 3, 5, "L", -1, -1, {"XXXX", "X..X", "X..X", "XXXX"}},
    TTurnCase{"RefusedAtTheWall", 4, -1, 5, "L", -1, -1, {".X..", ".X..", ".X..", ".X.."}},
    TTurnCase{"RefusedBelowTheFloor", 4, 3, 18, "LL", -1, -1, {"....", "....", "XXXX", "...."}},
    TTurnCase{"RefusedOntoABlock", 4, 3, 5, "L", 5, 7, {".X..", ".X..", ".X..", ".X.."}}),
    RowName<TTurnCase>);

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
    EXPECT_EQ(Well.Step(), TWell::StepMoved);
    EXPECT_EQ(Well.PieceRow(), -1);
    EXPECT_EQ(Well.Log, (TRows{"Erase 4,-2", "Draw 4,-1"}));
    EXPECT_EQ(Well.NumberOfPieces(), 0);
}

struct TLandingCase {
    std::string name;
    int kind, col, row;
    TRows before, after; // bottom rows of the board; all rows above are empty
    int removed, result;
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
    TLandingCase{"TwoFullRowsAroundAPartialOne", 4, -1, 17,
                 {"....a.....", ".b........", "...c......", ".#########", ".####.####", ".#########"},
                 {"..........", "..........", "....a.....", ".b........", "R..c......", "R####.####"}, 2, 1},
    TLandingCase{"BarClearsFourRows", 4, -1, 17,
                 {"..x.......", ".#########", ".#########", ".#########", ".#########"},
                 {"..........", "..........", "..........", "..........", "..x......."}, 4, 1},
    TLandingCase{"WindowAtRow18LeavesFullRow17", 1, 4, 18,
                 {"##########", "#.........", "#####..###", "#####..###"},
                 {"..........", "..........", "##########", "#........."}, 2, 1},
    TLandingCase{"NothingCompleted", 1, 4, 18, {"..........", ".........."},
                 {".....BB...", ".....BB..."}, 0, 1},
    TLandingCase{"CellsAboveTheWellAreDropped", 4, 4, -2,
                 [] { TRows r(21, ".........."); r[2] = ".....#...."; return r; }(),
                 [] { TRows r(21, ".........."); r[0] = r[1] = ".....R...."; r[2] = ".....#...."; return r; }(),
                 0, 2}),
    RowName<TLandingCase>);

struct TStartBlockCase {
    std::string name;
    int col, row, result;
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
    TStartBlockCase{"Column5Row0", 5, 0, 2}, TStartBlockCase{"Column6Row0", 6, 0, 2},
    TStartBlockCase{"Column5Row1", 5, 1, 2}, TStartBlockCase{"Column6Row1", 6, 1, 2},
    TStartBlockCase{"Column4Row1", 4, 1, 1}, TStartBlockCase{"Column7Row0", 7, 0, 1},
    TStartBlockCase{"Column5Row2", 5, 2, 1}), RowName<TStartBlockCase>);

// --- The preview switch: draws and paints ----------------------------------

using PreviewSwitch = RulesWith<bool>;
TEST_P(PreviewSwitch, LandingDrawsTheNextKindThenBuildsBothPieces)
{
    const bool shown = GetParam();
    Well.SetShowNextpiece(shown);
    Well.SetNextPiece(2);
    Well.Place(4, -1, 17);
    Random::SetSeed(99);
    TFormula formula{99};
    const int next = 1 + formula.Draw(7);
    formula.Draw(14);
    if (shown)
        formula.Draw(14);
    EXPECT_EQ(Well.Step(), TWell::StepLanded);
    EXPECT_EQ(Random::Seed(), formula.seed);
    EXPECT_EQ(Well.CurrentPiece(), 2);
    EXPECT_EQ(Well.NextPiece(), next);
    EXPECT_EQ(Well.Shape(), (TRows{".X..", ".X..", ".XX.", "...."}));
    EXPECT_EQ(Well.Log, shown ? TRows{"Preview"} : TRows{});
    if (shown) {
        TRecordingWell probe;
        probe.LoadPiece(next);
        EXPECT_EQ(Well.PreviewShape, probe.Shape());
    }
}

TEST_P(PreviewSwitch, NextPieceWriteRebuildsTheFallingPieceInPlace)
{
    const bool shown = GetParam();
    Well.SetShowNextpiece(shown);
    Well.Place(4, 3, 5);
    Well.RotateCounterClockwise();
    Well.Log.clear();
    TFormula formula{Random::Seed()};
    Well.SetNextPiece(12);
    EXPECT_EQ(Well.Shape(), (TRows{".X..", ".X..", ".X..", ".X.."}));
    EXPECT_EQ(Well.CurrentPiece(), 4);
    EXPECT_EQ(Well.PieceCol(), 3);
    EXPECT_EQ(Well.PieceRow(), 5);
    EXPECT_EQ(Well.Log, shown ? TRows{"Preview"} : TRows{});
    if (shown) {
        EXPECT_EQ(Well.PreviewShape, (TRows{"XXXX", "X..X", "X..X", "XXXX"}));
    }
    formula.Draw(14);
    if (shown)
        formula.Draw(14);
    EXPECT_EQ(Random::Seed(), formula.seed);
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
    TFormula formula{77};
    const int current = 1 + formula.Draw(14);
    const int next = 1 + formula.Draw(14);
    Well.Log.clear();
    Well.NewGame();
    EXPECT_EQ(Well.CurrentPiece(), current);
    EXPECT_EQ(Well.NextPiece(), next);
    EXPECT_EQ(Random::Seed(), ClockValue) << "screen 0 draws nothing after its reseed";
    EXPECT_EQ(Well.Bottom(2), (TRows{".....BB...", "#....BB..."}));
    EXPECT_EQ(Well.NumberOfPieces(), 0);
    EXPECT_EQ(Well.LastDeletedLine(), 1);
    EXPECT_EQ(Well.Log, shown ? (TRows{"Preview", "Paint", "Paint"}) : (TRows{"Paint", "Paint"}));
    Well.Log.clear();
    EXPECT_EQ(Well.Step(), TWell::StepMoved);
    EXPECT_EQ(Well.Log, (TRows{"Erase 4,-2", "Draw 4,-1"}));
}
INSTANTIATE_TEST_SUITE_P(Rules, PreviewSwitch, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Shown" : "Hidden"; });

// --- Start screens ---------------------------------------------------------

struct TCell {
    int col, row;
};

// The cells of each screen in the order in which their colours are drawn.
std::vector<TCell> ScreenCells(int screen, TFormula& formula)
{
    std::vector<TCell> cells;
    if (screen == 1 || screen == 2)
        for (int row = 13; row <= 20; ++row)
            cells.insert(cells.end(), {{0, row}, {9, row}});
    if (screen == 2)
        for (int row = 15; row <= 20; ++row)
            cells.insert(cells.end(), {{3, row}, {6, row}});
    if (screen == 4)
        for (int row = 11; row <= 20; ++row)
            cells.insert(cells.end(), {{row - 11, row}, {20 - row, row}});
    if (screen == 5)
        for (int col = 0; col < 10; ++col)
            for (int row = 15; row <= 20; ++row)
                if ((col + row) % 2 == 0)
                    cells.push_back({col, row});
    if (screen == 3) {
        // Colour, then row offset, then column: the positions come from the same draws.
        TFormula probe = formula;
        for (int n = 0; n < 21; ++n) {
            probe.Draw(14);
            const int row = 20 - probe.Draw(5);
            cells.push_back({probe.Draw(9), row});
        }
    }
    return cells;
}

using StartScreen = RulesWith<int>;
TEST_P(StartScreen, LaysItsCellsInTheirDrawnColours)
{
    const int screen = GetParam();
    Well.Block(4, 2);
    Well.SetScreenNumber(screen);

    TFormula formula{ClockValue};
    const std::vector<TCell> cells = ScreenCells(screen, formula);
    EXPECT_EQ(cells.size(), (std::vector<size_t>{0, 16, 28, 21, 20, 30})[screen]);
    TWell::TBoard expected;
    expected.fill(0);
    TRows expectedLog{"Clear"};
    for (const TCell& cell : cells) {
        expected[cell.col * 21 + cell.row] = Special[formula.Draw(14)];
        if (screen == 3) {
            formula.Draw(5);
            formula.Draw(9);
        }
        expectedLog.push_back("Cell " + std::to_string(cell.col) + "," + std::to_string(cell.row));
    }
    expectedLog.push_back("Paint");
    EXPECT_EQ(Well.Board(), expected);
    EXPECT_EQ(Well.Log, expectedLog);
    EXPECT_EQ(Well.ScreenNumber(), screen);
    EXPECT_EQ(Random::Seed(), formula.seed);
}
INSTANTIATE_TEST_SUITE_P(Rules, StartScreen, ::testing::Range(0, 6),
                         [](const auto& info) { return "Screen" + std::to_string(info.param); });

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
    std::string name;
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
    TFreeCase{"EmptyBoard", {}, 21},
    TFreeCase{"BottomRowOccupied", {20}, 20},
    TFreeCase{"FreeRowBelowAnOccupiedOne", {10, 12, 13, 14, 15, 16, 17, 18, 19, 20}, 12},
    TFreeCase{"OnlyTopRowOccupied", {0}, 21},
    TFreeCase{"NoFreeRow", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}, 0}),
    RowName<TFreeCase>);

// --- Dropped blocks and rising rows ----------------------------------------

struct TDropCase {
    std::string name;
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
    TDropCase{"EmptyColumnFromTheTop", -1, {}, 20},
    TDropCase{"OntoThePileAtRow12", -1, {12, 16}, 11},
    TDropCase{"RowOneOccupiedReplacesRowZero", -1, {0, 1}, 0},
    TDropCase{"GivenRowFloats", 5, {}, 5},
    TDropCase{"GivenRowReplacesABlock", 12, {12}, 12}), RowName<TDropCase>);

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
    std::string name;
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
    RowName<TWriteCase>);

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
