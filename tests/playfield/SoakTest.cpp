// A headless player: random steering, falls and drops, disturbed by dropped
// blocks, rising rows and screen writes, with the invariants checked after
// every single operation.
#include "RandomPlayer.h"
#include "Well.h"

#include "Random.h"

#include <gtest/gtest.h>

#include <string>
#include <unordered_set>

namespace {

std::uint32_t ClockTicks = 0;
std::uint32_t CountingClock() { return ClockTicks += 7919; }

constexpr TColor Background = 0x000000;

class TSoakPlayer {
public:
    explicit TSoakPlayer(unsigned seed) : Player(seed)
    {
        // Background, the seven fixed colours and the fourteen special ones.
        Allowed = {Background, 0xFF0000, 0xFF00FF, 0xFFFF00, 0x0000FF, 0x000080, 0x008080,
                   0x00FF00, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000,
                   0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00};
        for (TColor& color : Palette)
            color = TColor(Roll(1, 0xFFFFFF));
    }

    // Returns the first broken invariant, or an empty text.
    std::string Play(int operations)
    {
        StartGame();
        for (int n = 0; n < operations; ++n) {
            std::string broken = Operate(Roll(0, 99));
            if (broken.empty())
                broken = Always();
            if (!broken.empty())
                return "operation " + std::to_string(n) + ": " + broken;
        }
        return {};
    }

    int Landings = 0;
    int GamesOver = 0;

private:
    int Roll(int low, int high) { return Player.Roll(low, high); }

    void StartGame()
    {
        Well.SetScreenNumber(0);
        Well.NewGame();
        Landings = 0;
    }

    TColor PickColor()
    {
        if (Roll(0, 7) == 0)
            return Background;
        const TColor color = Palette[Roll(0, int(Palette.size()) - 1)];
        Allowed.insert(color);
        return color;
    }

    std::string Operate(int roll)
    {
        if (roll < 47) {
            using enum TRandomPlayer::TKey;
            const TRandomPlayer::TKey key = roll < 12   ? Left
                                            : roll < 24 ? Right
                                            : roll < 33 ? TurnCounterClockwise
                                            : roll < 42 ? TurnClockwise
                                                        : Drop;
            const bool changed = TRandomPlayer::Press(Well, key);
            if (key == Drop && Well.CanMove(TWell::TDirection::Down, Well.PieceCol(), Well.PieceRow()))
                return "a drop stopped above free room";
            return changed ? PieceInPlace("a key") : "";
        }
        if (roll < 80)
            return Fall();
        if (roll < 88)
            return DropBlock();
        if (roll < 93)
            return PushLine();
        if (roll < 96)
            Well.SetScreenNumber(Roll(-1, 6));
        else if (roll < 97)
            Well.SetNextPiece(Roll(-1, 16));
        else if (roll < 98)
            Well.SetNumberOfType(Roll(7, 16));
        else
            StartGame();
        return {};
    }

    std::string Fall()
    {
        const int row = Well.PieceRow();
        const int next = Well.NextPiece();
        const int occupied = Occupied();
        int landed = 0; // piece cells that will cover empty cells of the well if it lands here
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                const int x = Well.PieceCol() + i, y = row + j;
                landed += !Well.IsEmpty(Well.PieceCell(i, j)) && x >= 0 && x < 10 && y >= 0 && y <= 20
                          && Well.IsEmpty(Well.BoardCell(x, y));
            }
        }
        const TWell::TStepResult result = Well.Step();
        if (result == TWell::TStepResult::Moved)
            return Well.PieceRow() == row + 1 ? PieceInPlace("fall") : "a fall did not move one row";
        ++Landings;
        if (Occupied() != occupied + landed - 10 * Well.LastDeletedLine())
            return "a landing lost or invented cells";
        if (Well.CurrentPiece() != next || Well.PieceCol() != 4 || Well.PieceRow() != -2)
            return "the next piece did not enter at the start position";
        if (Well.NextPiece() < 1 || Well.NextPiece() >= Well.NumberOfType())
            return "a drawn kind lies outside 1 .. NumberOfType - 1";
        if (result == TWell::TStepResult::GameOver && (++GamesOver % 4 != 0))
            StartGame(); // now and then play on past the end, which the rules allow
        return {};
    }

    std::string DropBlock()
    {
        const int col = Roll(-1, 10), startRow = Roll(-2, 21);
        const TColor color = PickColor();
        const int lastDeleted = Well.LastDeletedLine();
        Well.DropBlock(col, startRow, color);
        const bool valid = col >= 0 && col <= 9 && startRow >= -1 && startRow <= 20;
        if (!valid && Well.LastDeletedLine() != lastDeleted)
            return "a refused block changed LastDeletedLine";
        if (valid && startRow >= 0 && Well.LastDeletedLine() == 0 && Well.BoardCell(col, startRow) != color)
            return "a block given a row is not in that row";
        return {};
    }

    std::string PushLine()
    {
        const int gap = Roll(-1, 10);
        const TColor color = PickColor();
        Well.PushLine(gap, color);
        if (gap < 0 || gap > 9 || color == Background)
            return {};
        for (int col = 0; col < 10; ++col)
            if (Well.BoardCell(col, 20) != (col == gap ? Background : color))
                return "the pushed row is not one colour with one gap";
        return {};
    }

    std::string PieceInPlace(const char* operation)
    {
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                if (Well.IsEmpty(Well.PieceCell(i, j)))
                    continue;
                const int x = Well.PieceCol() + i, y = Well.PieceRow() + j;
                if (x < 0 || x > 9 || y > 20)
                    return std::string(operation) + " left a piece cell outside the well";
                if (y >= 0 && !Well.IsEmpty(Well.BoardCell(x, y)))
                    return std::string(operation) + " put a piece cell on a block";
            }
        }
        return {};
    }

    std::string Always()
    {
        if (Well.NumberOfPieces() != Landings)
            return "NumberOfPieces is not the count of landings";
        if (Well.LastDeletedLine() < 0 || Well.LastDeletedLine() > 4)
            return "LastDeletedLine outside 0 .. 4";
        for (int row = 0; row <= 20; ++row) {
            int filled = 0;
            for (int col = 0; col < 10; ++col) {
                if (!Allowed.contains(Well.BoardCell(col, row)))
                    return "a board cell holds a colour nobody laid";
                filled += !Well.IsEmpty(Well.BoardCell(col, row));
            }
            // Every write that can complete a row is followed by a check of that row.
            if (filled == 10)
                return "row " + std::to_string(row) + " stayed full";
        }
        return {};
    }

    int Occupied() const
    {
        int count = 0;
        for (TColor cell : Well.Board())
            count += !Well.IsEmpty(cell);
        return count;
    }

    TWell Well;
    TRandomPlayer Player;
    std::unordered_set<TColor> Allowed;
    std::array<TColor, 6> Palette{};
};

class Soak : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override
    {
        ClockTicks = 0;
        Random::SetClock(&CountingClock);
        Random::SetSeed(0);
    }
    void TearDown() override { Random::SetClock(nullptr); }
};

TEST_P(Soak, InvariantsHoldAfterEveryOperation)
{
    TSoakPlayer player(GetParam());
    EXPECT_EQ(player.Play(50000), "");
    EXPECT_GT(player.GamesOver, 10) << "the player should reach many ends of games";
}
INSTANTIATE_TEST_SUITE_P(Player, Soak, ::testing::Values(1u, 2u, 3u),
                         [](const auto& info) { return "Dice" + std::to_string(info.param); });

} // namespace
