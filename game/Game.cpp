#include "Game.h"

#include "Random.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace {

// What each level asks, indexed by the level: the removed rows that reach it,
// the step interval, and the start screen laid when it begins.
struct TLevel {
    int Lines;
    int Interval;
    int Screen;
};

constexpr TLevel Levels[] = {
    {.Lines = 0, .Interval = 1000, .Screen = 0},  {.Lines = 8, .Interval = 800, .Screen = 1},
    {.Lines = 20, .Interval = 650, .Screen = 2},  {.Lines = 33, .Interval = 500, .Screen = 3},
    {.Lines = 44, .Interval = 350, .Screen = 4},  {.Lines = 55, .Interval = 200, .Screen = 5},
    {.Lines = 66, .Interval = 150, .Screen = 0},  {.Lines = 80, .Interval = 150, .Screen = 0},
    {.Lines = 100, .Interval = 150, .Screen = 0}, {.Lines = 120, .Interval = 150, .Screen = 0},
};
constexpr int LastLevel = int(std::size(Levels)) - 1;

// The disturbances grow likelier with the removed rows: the first row whose
// bound the rows stay below gives the odds base a. A grey block falls (and,
// at the last level, one hangs) when a draw of a is at most a / 2; a row rises
// when it is 0.
struct TOdds {
    int LinesBelow;
    int Base;
};

constexpr TOdds DisturbanceOdds[] = {
    {.LinesBelow = 80, .Base = 30},
    {.LinesBelow = 105, .Base = 20},
    {.LinesBelow = 120, .Base = 15},
    {.LinesBelow = std::numeric_limits<int>::max(), .Base = 10},
};

constexpr int FirstDisturbedLevel = 6;
constexpr int FirstRisingRowLevel = 8;
constexpr int FirstHangingBlockLevel = 9;
// Disturbances reach columns 0 to 8 only: column 9 is never drawn.
constexpr int DisturbedColumns = 9;
// A hanging block appears in rows 1 to 19.
constexpr int HangingBlockRows = 19;
// Each component of a rising row's colour lies in 55 to 254, so it is never black.
constexpr int LowestComponent = 55;
constexpr int ComponentRange = 200;
constexpr TColor DisturbanceGrey = RGBColor(125, 125, 125);
constexpr int FromTheTop = -1;

using TCounter = TGameEvents::TCounter;
using TSound = TGameEvents::TSound;

} // namespace

TGame::TGame(TWell& well, TGameEvents& events) : FWell(well), FEvents(events), FInterval(Levels[0].Interval) {}

void TGame::SetTimer(bool running, int interval)
{
    FInterval = interval;
    FEvents.TimerChanged(running, interval);
}

void TGame::Command(TCommand command)
{
    if (command == TCommand::NewGame) {
        NewGame();
        return;
    }
    if (!FPlaying)
        return;
    // The click comes before the action, but the drop's after it.
    switch (command) {
    case TCommand::MoveLeft:
        FEvents.SoundRequested(TSound::Move);
        FWell.MoveLeft();
        break;
    case TCommand::MoveRight:
        FEvents.SoundRequested(TSound::Move);
        FWell.MoveRight();
        break;
    case TCommand::TurnCounterClockwise:
        FEvents.SoundRequested(TSound::Turn);
        FWell.RotateCounterClockwise();
        break;
    case TCommand::TurnClockwise:
        FEvents.SoundRequested(TSound::Turn);
        FWell.RotateClockwise();
        break;
    case TCommand::Step:
        FEvents.SoundRequested(TSound::Step);
        Step();
        break;
    case TCommand::Drop:
        FScore += FWell.DropPiece();
        FEvents.SoundRequested(TSound::Drop);
        break;
    case TCommand::NewGame:
        break;
    }
}

void TGame::NewGame()
{
    FWell.SetScreenNumber(0);
    FScore = 0;
    FLevel = 0;
    FLines = 0;
    FWell.NewGame();
    FPlaying = true;
    SetTimer(true, Levels[0].Interval);
    for (const TCounter counter : {TCounter::Pieces, TCounter::Level, TCounter::Lines, TCounter::Score})
        Show(counter, 0);
}

void TGame::Step()
{
    const TWell::TStepResult result = FWell.Step();
    if (result == TWell::TStepResult::Landed)
        Landed();
    else if (result == TWell::TStepResult::GameOver)
        GameOver();
    Show(TCounter::Score, FScore);
}

void TGame::Landed()
{
    FScore += FWell.CountFreeLines(false);
    Show(TCounter::Pieces, FWell.NumberOfPieces());
    FScore += FWell.LastDeletedLine() * 4 * (FLevel + 1);
    FLines += FWell.LastDeletedLine();
    Show(TCounter::Lines, FLines);
    // A landing gains at most one level.
    if (FLevel < LastLevel && FLines >= Levels[FLevel + 1].Lines)
        ChangeLevel(FLevel + 1);
    if (FLevel >= FirstDisturbedLevel)
        Disturb();
}

void TGame::ChangeLevel(int level)
{
    const int interval = Levels[level].Interval;
    SetTimer(false, interval);
    FEvents.LevelMessage(FWell.CountFreeLines(true));
    FWell.SetScreenNumber(Levels[level].Screen);
    SetTimer(true, interval);
    FLevel = level;
    Show(TCounter::Level, level);
}

void TGame::Disturb()
{
    const int odds = std::find_if(std::begin(DisturbanceOdds), std::end(DisturbanceOdds),
                                  [this](const TOdds& row) { return FLines < row.LinesBelow; })
                         ->Base;
    const int half = odds / 2;
    const auto component = [] { return std::uint8_t(LowestComponent + Random::Draw(ComponentRange)); };
    if (Random::Draw(odds) <= half) {
        const int column = Random::Draw(DisturbedColumns);
        FWell.DropBlock(column, FromTheTop, DisturbanceGrey);
        FEvents.Disturbed(TGameEvents::TDisturbance::BlockDropped, FWell.LastDeletedLine());
    }
    if (FLevel >= FirstRisingRowLevel && Random::Draw(odds) == 0) {
        const std::uint8_t blue = component();
        const std::uint8_t green = component();
        const std::uint8_t red = component();
        const int gap = Random::Draw(DisturbedColumns);
        FWell.PushLine(gap, RGBColor(red, green, blue));
        FEvents.Disturbed(TGameEvents::TDisturbance::RowRisen, 0);
    }
    if (FLevel >= FirstHangingBlockLevel && Random::Draw(odds) <= half) {
        const int row = 1 + Random::Draw(HangingBlockRows);
        const int column = Random::Draw(DisturbedColumns);
        FWell.DropBlock(column, row, DisturbanceGrey);
        FEvents.Disturbed(TGameEvents::TDisturbance::BlockHung, FWell.LastDeletedLine());
    }
}

void TGame::GameOver()
{
    FPlaying = false;
    SetTimer(false, FInterval);
    Show(TCounter::Score, FScore);
    FEvents.NameRequested(FScore);
}

void TGame::SetPaused(bool paused)
{
    if (FPlaying)
        SetTimer(!paused, FInterval);
}
