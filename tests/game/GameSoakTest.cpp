// Whole games without a screen: a placing player plays seeded games through
// the game class from level 0 to past level 9, with every disturbance, and
// the game's invariants are checked after every command.
#include "Game.h"
#include "Player.h"

#include "Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

using TCommand = TGame::TCommand;
using TCounter = TGameEvents::TCounter;

// Written out by hand: the rows at which each level begins, and the step
// interval and start screen of each level.
constexpr int LevelRows[] = {8, 20, 33, 44, 55, 66, 80, 100, 120};
constexpr int Intervals[] = {1000, 800, 650, 500, 350, 200, 150, 150, 150, 150};
constexpr int Screens[] = {0, 1, 2, 3, 4, 5, 0, 0, 0, 0};
constexpr TColor DisturbanceGrey = 0x7D7D7Du;

std::uint32_t SoakClock = 0;
std::uint32_t Clock() { return SoakClock; }

// What the window would show.
class TShown : public TGameEvents {
public:
    void CounterChanged(TCounter counter, int value) override { Counters[int(counter)] = value; }
    void TimerChanged(bool running, int interval) override
    {
        Running = running;
        Interval = interval;
    }
    void LevelMessage(int) override {}
    void NameRequested(int) override {}
    void SoundRequested(TSound) override {}

    int Counters[4] = {};
    bool Running = false;
    int Interval = 0;
};

// Colours only a disturbance brings: its grey, and the colour of a rising
// row, which no piece and no start screen has.
bool IsRisingRowColour(const TWell& well, TColor cell)
{
    if (well.IsEmpty(cell) || cell == DisturbanceGrey)
        return false;
    for (int kind = 1; kind <= 7; ++kind)
        if (cell == TWell::KindColor(kind))
            return false;
    return std::find(TWell::SpecialColors.begin(), TWell::SpecialColors.end(), cell) == TWell::SpecialColors.end();
}

class TSoak {
public:
    void Check()
    {
        const int level = FGame.Level();
        ASSERT_GE(FGame.Score(), FScore) << "the score fell";
        FScore = FGame.Score();
        ASSERT_EQ(level, std::count_if(std::begin(LevelRows), std::end(LevelRows),
                                       [this](int rows) { return FGame.Lines() >= rows; }));
        ASSERT_EQ(FShown.Interval, Intervals[level]);
        ASSERT_EQ(FShown.Running, FGame.Playing());
        ASSERT_EQ(FWell.ScreenNumber(), Screens[level]) << "a level began on the wrong screen";
        for (const TColor cell : FWell.Board()) {
            ASSERT_TRUE(level >= 6 || cell != DisturbanceGrey) << "a grey block before level 6";
            ASSERT_TRUE(level >= 8 || !IsRisingRowColour(FWell, cell)) << "a rising row before level 8";
        }
        FHighest = std::max(FHighest, level);
    }

    // After a step the counters show the game and the well.
    void CheckShown()
    {
        ASSERT_EQ(FShown.Counters[int(TCounter::Score)], FGame.Score());
        ASSERT_EQ(FShown.Counters[int(TCounter::Lines)], FGame.Lines());
        ASSERT_EQ(FShown.Counters[int(TCounter::Level)], FGame.Level());
        if (FGame.Playing()) {
            ASSERT_EQ(FShown.Counters[int(TCounter::Pieces)], FWell.NumberOfPieces());
        }
    }

    void Play(TCommand command)
    {
        FGame.Command(command);
        Check();
    }

    // One whole game; the number of pieces it took.
    int PlayGame(std::uint32_t seed)
    {
        SoakClock = seed;
        FScore = 0;
        FGame.NewGame();
        int pieces = 0;
        for (; FGame.Playing() && pieces < MostPieces; ++pieces) {
            for (const TPlayer::TMove move : FPlayer.Plan(FWell))
                Play(move == TPlayer::TMove::Left            ? TCommand::MoveLeft
                     : move == TPlayer::TMove::Right         ? TCommand::MoveRight
                     : move == TPlayer::TMove::TurnClockwise ? TCommand::TurnClockwise
                                                             : TCommand::Drop);
            Play(TCommand::Step);
            CheckShown();
            if (testing::Test::HasFatalFailure())
                return pieces;
            PiecesAtNine += FGame.Level() == 9;
        }
        return pieces;
    }

    static constexpr int MostPieces = 5000;
    int FHighest = 0;
    int PiecesAtNine = 0;

private:
    TWell FWell;
    TShown FShown;
    TGame FGame{FWell, FShown};
    TPlayer FPlayer;
    int FScore = 0;
};

TEST(GameSoak, WholeGamesKeepEveryInvariantOfTheGame)
{
    Random::SetClock(&Clock);
    TSoak soak;
    int pieces = 0;
    int reachedNine = 0;
    const auto start = std::chrono::steady_clock::now();
    for (std::uint32_t seed = 1; seed <= 12 && !testing::Test::HasFatalFailure(); ++seed) {
        soak.FHighest = 0;
        pieces += soak.PlayGame(seed * 7919);
        reachedNine += soak.FHighest == 9;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    Random::SetClock(nullptr);
    std::printf("soak: 12 games, %d pieces, %d games reached level 9, %d pieces played at level 9, %.0f pieces/s\n",
                pieces, reachedNine, soak.PiecesAtNine, pieces / seconds);
    EXPECT_GE(reachedNine, 3) << "too few games went past level 9 to see every disturbance";
    EXPECT_GE(soak.PiecesAtNine, 100);
}

} // namespace
