#pragma once

#include "Well.h"


// What the game tells the window around it. The game runs on the window's
// timer and leaves every dialog, label and sound to it.
class TGameEvents {
public:
    enum class TCounter { Pieces, Level, Lines, Score };
    // One click for each kind of command.
    enum class TSound { Step, Move, Turn, Drop };

    virtual ~TGameEvents() = default;

    // A counter has a value to show.
    virtual void CounterChanged(TCounter counter, int value) = 0;
    // The timer that calls Step: whether it runs, and its interval in ms.
    virtual void TimerChanged(bool running, int interval) = 0;
    // The message of a level change, with the free rows above the pile; the
    // game waits until it is closed.
    virtual void LevelMessage(int freeLines) = 0;
    // The game has ended with this score: the player's name is asked for.
    virtual void NameRequested(int score) = 0;
    virtual void SoundRequested(TSound sound) = 0;
    // A disturbance has changed the well after a landing, and removed the
    // rows given, which the game does not count; only the spoken commentary
    // needs to know.
    enum class TDisturbance { BlockDropped, RowRisen, BlockHung };
    virtual void Disturbed(TDisturbance /*disturbance*/, int /*removedRows*/) {}
};

// The game beyond the well: the score, the removed rows, the level with its
// step interval and start screen, the disturbances from level 6 on, and the
// end of a game. It plays on any well and needs no screen.
class TGame {
public:
    // What the player can do, by key or menu.
    enum class TCommand { NewGame, MoveLeft, MoveRight, TurnCounterClockwise, TurnClockwise, Step, Drop };

    TGame(TWell& well, TGameEvents& events);

    // Outside a running game only a new game is taken.
    void Command(TCommand command);
    void NewGame();
    // One gravity step: the timer's tick.
    void Step();
    // The timer stops while paused; the commands still act.
    void SetPaused(bool paused);

    // Level is 0 to 9; its interval comes with it.
    void ChangeLevel(int level);
    void Disturb();

    int Score() const { return FScore; }
    int Level() const { return FLevel; }
    int Lines() const { return FLines; }
    int Interval() const { return FInterval; }
    bool Playing() const { return FPlaying; }

    // Tests put a game at any level and row count.
    friend struct TGameTestAccess;

private:
    void Landed();
    void GameOver();
    void SetTimer(bool running, int interval);
    void Show(TGameEvents::TCounter counter, int value) { FEvents.CounterChanged(counter, value); }

    TWell& FWell;
    TGameEvents& FEvents;
    int FScore = 0;
    int FLevel = 0;
    int FLines = 0;
    int FInterval;
    // Outside a running game the playing keys do nothing and the timer stays
    // off, so an ended game cannot be stepped on and entered twice.
    bool FPlaying = false;
};
