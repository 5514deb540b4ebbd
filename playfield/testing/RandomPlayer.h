#pragma once

#include "Well.h"

#include <random>

// A player that presses keys at random, from a seed of its own: the game's
// generator stays the rules' alone, so a seed replays the same play. Serves
// the soak test, the allocation test and the benchmark of the rules.
class TRandomPlayer {
public:
    enum class TKey { Left, Right, TurnCounterClockwise, TurnClockwise, Drop };
    static constexpr int KeyCount = 5;

    explicit TRandomPlayer(unsigned seed) : FDice(seed) {}

    // A whole number from low to high, both included.
    int Roll(int low, int high) { return std::uniform_int_distribution<int>(low, high)(FDice); }
    TKey RandomKey() { return TKey(Roll(0, KeyCount - 1)); }

    // What the key does to the falling piece; whether the piece changed.
    static bool Press(TWell& well, TKey key)
    {
        switch (key) {
        case TKey::Left: return well.MoveLeft();
        case TKey::Right: return well.MoveRight();
        case TKey::Drop: return well.DropPiece() > 0;
        case TKey::TurnCounterClockwise:
        case TKey::TurnClockwise: break;
        }
        const TWell::TMatrix before = well.Piece();
        key == TKey::TurnClockwise ? well.RotateClockwise() : well.RotateCounterClockwise();
        return well.Piece() != before;
    }

    // A gravity step; an ended game starts anew on the screen. Whether a piece landed.
    static bool Step(TWell& well, int screen = 0)
    {
        const TWell::TStepResult result = well.Step();
        if (result == TWell::TStepResult::GameOver) {
            well.SetScreenNumber(screen);
            well.NewGame();
        }
        return result != TWell::TStepResult::Moved;
    }

private:
    std::mt19937 FDice;
};
