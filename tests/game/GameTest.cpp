#include "Game.h"

#include "Random.h"
#include "TestWell.h"
#include "BoardText.h"
#include "TestRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Puts a game at any level and row count.
struct TGameTestAccess {
    static void Put(TGame& game, int level, int lines)
    {
        game.FLevel = level;
        game.FLines = lines;
    }
};

namespace {

using TestRows::PrintTo;

using TLog = std::vector<std::string>;
using TCommand = TGame::TCommand;

std::uint32_t FixedClock() { return 1000; }

// The game's events, written down as text.
class TRecorder : public TGameEvents {
public:
    void CounterChanged(TCounter counter, int value) override
    {
        static const char* const Names[] = {"Pieces", "Level", "Lines", "Score"};
        Log.push_back(std::string(Names[int(counter)]) + " " + std::to_string(value));
    }
    void TimerChanged(bool running, int interval) override
    {
        Log.push_back(std::string(running ? "Timer on " : "Timer off ") + std::to_string(interval));
    }
    void LevelMessage(int freeLines) override { Log.push_back("Message " + std::to_string(freeLines)); }
    void NameRequested(int score) override { Log.push_back("Name " + std::to_string(score)); }
    void SoundRequested(TSound sound) override
    {
        static const char* const Names[] = {"Step", "Move", "Turn", "Drop"};
        Log.push_back(std::string("Sound ") + Names[int(sound)]);
    }

    TLog Log;
};

// The board as text: '.' empty, 'G' a disturbance block, 'x' a block laid
// by the test, '#' anything else (a rising row).
std::vector<std::string> Picture(const TWell& well)
{
    return BoardText(well, [](TColor cell) {
        return cell == clBlack ? '.' : cell == 0x7D7D7Du ? 'G' : cell == clGray ? 'x' : '#';
    });
}

class Game : public testing::Test {
protected:
    void SetUp() override
    {
        Random::SetClock(&FixedClock);
        TheGame.NewGame();
        Events.Log.clear();
    }
    void TearDown() override { Random::SetClock(nullptr); }

    // Drops a bar into column 5 and lands it; the log holds the landing only.
    void LandBar()
    {
        Well.PlaceBar(-2);
        TheGame.Command(TCommand::Drop);
        Events.Log.clear();
        TheGame.Step();
    }

    TTestWell Well;
    TRecorder Events;
    TGame TheGame{Well, Events};
};

TEST_F(Game, NewGameEmptiesTheWellResetsTheCountersAndStartsTheTimer)
{
    Well.FillRows(15, 20, {3});
    TGameTestAccess::Put(TheGame, 4, 50);
    TheGame.NewGame();
    EXPECT_EQ(Events.Log, (TLog{"Timer on 1000", "Pieces 0", "Level 0", "Lines 0", "Score 0"}));
    EXPECT_EQ(Picture(Well), std::vector<std::string>(21, ".........."));
    EXPECT_EQ(Well.PieceRow(), -2);
    EXPECT_TRUE(TheGame.Playing());
}

struct TLandingCase {
    const char* Name;
    int Level;
    int Lines;
    bool SecondGap;
    TLog Log;
};

class Landing : public Game, public testing::WithParamInterface<TLandingCase> {};

// The bar falls 19 rows with the drop; the landing scores the free rows above
// the pile, 4 x (level + 1) a removed row, and may raise the level.
TEST_P(Landing, ScoresCountsAndRaisesTheLevel)
{
    TGameTestAccess::Put(TheGame, GetParam().Level, GetParam().Lines);
    if (GetParam().SecondGap)
        Well.FillRows(17, 20, {5, 6});
    else
        Well.FillRows(17, 20, {5});
    LandBar();
    EXPECT_EQ(Events.Log, GetParam().Log);
}

INSTANTIATE_TEST_SUITE_P(
    Game, Landing,
    testing::Values(
        // Rows 0 to 16 free: 17 points, nothing removed.
        TLandingCase{.Name = "WithoutRowsOnlyTheFreeRows", .Level = 0, .Lines = 0, .SecondGap = true,
                     .Log = {"Pieces 1", "Lines 0", "Score 36"}},
        TLandingCase{.Name = "FourRowsAtLevelZero", .Level = 0, .Lines = 0, .SecondGap = false,
                     .Log = {"Pieces 1", "Lines 4", "Score 56"}}, // 19 + 21 + 16
        TLandingCase{.Name = "FourRowsAtLevelNine", .Level = 9, .Lines = 200, .SecondGap = false,
                     .Log = {"Pieces 1", "Lines 204", "Score 200"}}, // 19 + 21 + 160
        TLandingCase{.Name = "EighthRowRaisesToLevelOne", .Level = 0, .Lines = 4, .SecondGap = false,
                     .Log = {"Pieces 1", "Lines 8", "Timer off 800", "Message 21",
                             "Timer on 800", "Level 1", "Score 56"}},
        TLandingCase{.Name = "ThirtyTwoRowsStayAtLevelTwo", .Level = 2, .Lines = 28, .SecondGap = false,
                     .Log = {"Pieces 1", "Lines 32", "Score 88"}},
        TLandingCase{.Name = "ThirtyThreeRowsRaiseToLevelThree", .Level = 2, .Lines = 29, .SecondGap = false,
                     .Log = {"Pieces 1", "Lines 33", "Timer off 500", "Message 21",
                             "Timer on 500", "Level 3", "Score 88"}},
        TLandingCase{.Name = "SixtySixRowsRaiseToLevelSix", .Level = 5, .Lines = 62, .SecondGap = false,
                     .Log = {"Pieces 1", "Lines 66", "Timer off 150", "Message 21",
                             "Timer on 150", "Level 6", "Score 136"}}),
    RowName);

TEST_F(Game, LevelsOneToFiveBeginOnTheirScreensLaterOnesOnAnEmptyWell)
{
    for (const auto& [level, screen] : {std::pair{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 0}, {9, 0}}) {
        Well.FillRows(18, 20, {0});
        TheGame.ChangeLevel(level);
        EXPECT_EQ(Well.ScreenNumber(), screen) << level;
        EXPECT_EQ(TheGame.Level(), level);
    }
    EXPECT_EQ(Picture(Well), std::vector<std::string>(21, ".........."));
}

struct TDisturbanceCase {
    const char* Name;
    int Level;
    int Lines;
    std::uint32_t Seed;
    std::vector<std::string> Board;
    std::uint32_t SeedAfter;
};

class Disturbance : public Game, public testing::WithParamInterface<TDisturbanceCase> {};

// Each seed sets off every event of its level: the well shows what the draws
// ask for, in their order, and not one draw more is taken.
TEST_P(Disturbance, FollowsTheDrawsInTheirOrder)
{
    Well.SetScreenNumber(0);
    TGameTestAccess::Put(TheGame, GetParam().Level, GetParam().Lines);
    Random::SetSeed(GetParam().Seed);
    TheGame.Disturb();
    EXPECT_EQ(Picture(Well), GetParam().Board);
    EXPECT_EQ(Random::Seed(), GetParam().SeedAfter);
}

std::vector<std::string> Rows(std::initializer_list<std::pair<int, const char*>> rows)
{
    std::vector<std::string> board(21, "..........");
    for (const auto& [row, text] : rows)
        board[std::size_t(row)] = text;
    return board;
}

INSTANTIATE_TEST_SUITE_P(
    Game, Disturbance,
    testing::Values(
        // Draw(30) gives 0: a grey block falls, into column Draw(9) = 7.
        TDisturbanceCase{.Name = "LevelSixGreyBlock", .Level = 6, .Lines = 70, .Seed = 1,
                         .Board = Rows({{20, ".......G.."}}), .SeedAfter = 3698175007u},
        // Draw(30) gives 16: no block, one draw.
        TDisturbanceCase{.Name = "LevelSevenNothing", .Level = 7, .Lines = 70, .Seed = 17,
                         .Board = Rows({}), .SeedAfter = 2291188822u},
        // The block falls into column 8, then a row rises with its gap in
        // column 5 and lifts it.
        TDisturbanceCase{.Name = "LevelEightRisingRow", .Level = 8, .Lines = 100, .Seed = 100,
                         .Board = Rows({{19, "........G."}, {20, "#####.####"}}), .SeedAfter = 2702009823u},
        // And at level 9 a block appears in row 1, column 0, in the air.
        TDisturbanceCase{.Name = "LevelNineBlockInTheAir", .Level = 9, .Lines = 120, .Seed = 68,
                         .Board = Rows({{1, "G........."}, {19, "....G....."}, {20, "#####.####"}}),
                         .SeedAfter = 243457762u}),
    RowName);

TEST_F(Game, RisingRowsAreNeverBlackAndDisturbanceRowsCountNothing)
{
    // Seed 100 at level 8: red 130, green 84, blue 102.
    Well.SetScreenNumber(0);
    TGameTestAccess::Put(TheGame, 8, 100);
    Random::SetSeed(100);
    TheGame.Disturb();
    EXPECT_EQ(Well.BoardCell(0, 20), RGBColor(130, 84, 102));

    // Seed 1 at level 6 drops a block into column 7, which completes row 20.
    Well.SetScreenNumber(0);
    Well.FillRows(20, 20, {7});
    TGameTestAccess::Put(TheGame, 6, 70);
    Random::SetSeed(1);
    Events.Log.clear();
    TheGame.Disturb();
    EXPECT_EQ(Well.LastDeletedLine(), 1);
    EXPECT_EQ(Picture(Well), Rows({}));
    EXPECT_EQ(TheGame.Lines(), 70);
    EXPECT_TRUE(Events.Log.empty());
}

TEST_F(Game, CommandsClickBeforeTheirActionTheDropAfterIt)
{
    TheGame.Step();
    const int col = Well.PieceCol();
    TheGame.Command(TCommand::MoveLeft);
    EXPECT_EQ(Well.PieceCol(), col - 1);
    for (const TCommand command : {TCommand::MoveRight, TCommand::TurnCounterClockwise, TCommand::TurnClockwise,
                                   TCommand::Step, TCommand::Drop})
        TheGame.Command(command);
    EXPECT_EQ(Events.Log, (TLog{"Score 0", "Sound Move", "Sound Move", "Sound Turn", "Sound Turn", "Sound Step",
                                "Score 0", "Sound Drop"}));
    EXPECT_GT(TheGame.Score(), 0); // the rows the drop let the piece fall
}

TEST_F(Game, OutsideAGameOnlyANewGameIsTakenAndPauseLeavesTheTimer)
{
    TTestWell well;
    TRecorder events;
    TGame idle(well, events);
    for (const TCommand command : {TCommand::MoveLeft, TCommand::Step, TCommand::Drop})
        idle.Command(command);
    idle.SetPaused(true);
    idle.SetPaused(false);
    EXPECT_TRUE(events.Log.empty());
    idle.Command(TCommand::NewGame);
    EXPECT_TRUE(idle.Playing());

    // In a game, pausing stops the timer and the commands still act.
    TheGame.SetPaused(true);
    TheGame.Command(TCommand::Step);
    TheGame.SetPaused(false);
    EXPECT_EQ(Events.Log, (TLog{"Timer off 1000", "Sound Step", "Score 0", "Timer on 1000"}));
}

TEST_F(Game, APieceThatCannotEnterEndsTheGameAndAsksForTheName)
{
    Well.FillRows(0, 20, {9});
    Well.PlaceBar(-2);
    TheGame.Command(TCommand::Drop);
    Events.Log.clear();
    TheGame.Step();
    EXPECT_EQ(Events.Log, (TLog{"Timer off 1000", "Score 0", "Name 0", "Score 0"}));
    EXPECT_FALSE(TheGame.Playing());
    TheGame.Command(TCommand::Step);
    EXPECT_EQ(Events.Log.size(), 4u) << "an ended game is not stepped on";
}

} // namespace
