#include "Game.h"

#include "Random.h"

namespace {

struct TLevelStep {
    int From;
    int Lines;
    int Interval;
    int Level;
};

// Each row is tested only while the level is the one before it, so a landing
// gains at most one level.
constexpr TLevelStep LevelTable[] = {
    {.From = 0, .Lines = 8, .Interval = 800, .Level = 1},   {.From = 1, .Lines = 20, .Interval = 650, .Level = 2},
    {.From = 2, .Lines = 33, .Interval = 500, .Level = 3},  {.From = 3, .Lines = 44, .Interval = 350, .Level = 4},
    {.From = 4, .Lines = 55, .Interval = 200, .Level = 5},  {.From = 5, .Lines = 66, .Interval = 150, .Level = 6},
    {.From = 6, .Lines = 80, .Interval = 150, .Level = 7},  {.From = 7, .Lines = 100, .Interval = 150, .Level = 8},
    {.From = 8, .Lines = 120, .Interval = 150, .Level = 9},
};

constexpr int StartInterval = 1000;
constexpr int FirstDisturbedLevel = 6;
constexpr int LastScreenLevel = 5;
constexpr TColor DisturbanceGrey = RGBColor(125, 125, 125);

using TCounter = TGameEvents::TCounter;
using TSound = TGameEvents::TSound;

} // namespace

TGame::TGame(TWell& well, TGameEvents& events) : FWell(well), FEvents(events), FInterval(StartInterval) {}

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
    SetTimer(true, StartInterval);
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
    for (const TLevelStep& step : LevelTable)
        if (step.From == FLevel && FLines >= step.Lines) {
            ChangeLevel(step.Interval, step.Level);
            break;
        }
    if (FLevel >= FirstDisturbedLevel)
        Disturb();
}

void TGame::ChangeLevel(int interval, int level)
{
    SetTimer(false, interval);
    FEvents.LevelMessage("Changing level...\rFree lines = " + std::to_string(FWell.CountFreeLines(true)));
    FWell.SetScreenNumber(level <= LastScreenLevel ? level : 0);
    SetTimer(true, interval);
    FLevel = level;
    Show(TCounter::Level, level);
}

void TGame::Disturb()
{
    const int odds = FLines < 80 ? 30 : FLines < 105 ? 20 : FLines < 120 ? 15 : 10;
    const int half = odds / 2;
    if (Random::Draw(odds) <= half) {
        const int column = Random::Draw(9);
        FWell.DropBlock(column, -1, DisturbanceGrey);
    }
    if (FLevel > 7 && Random::Draw(odds) == 0) {
        const int blue = 55 + Random::Draw(200);
        const int green = 55 + Random::Draw(200);
        const int red = 55 + Random::Draw(200);
        const int gap = Random::Draw(9);
        FWell.PushLine(gap, RGBColor(std::uint8_t(red), std::uint8_t(green), std::uint8_t(blue)));
    }
    if (FLevel > 8 && Random::Draw(odds) <= half) {
        const int row = 1 + Random::Draw(19);
        const int column = Random::Draw(9);
        FWell.DropBlock(column, row, DisturbanceGrey);
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
