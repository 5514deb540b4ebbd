// The rules must not touch the heap during play. This program replaces the
// global allocation functions and counts what happens inside a window of play.
#include "RandomPlayer.h"
#include "TestWell.h"

#include "Random.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {

bool Counting = false;
long Allocations = 0;

void* Allocate(std::size_t size)
{
    if (Counting)
        ++Allocations;
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

} // namespace

// The library's nothrow forms call these; nothing in the rules is over-aligned.
void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

std::uint32_t FixedClock() { return 86399999u; }

TEST(Allocation, CounterSeesTheHeap)
{
    Allocations = 0;
    Counting = true;
    void* block = ::operator new(24);
    Counting = false;
    ::operator delete(block);
    EXPECT_EQ(Allocations, 1);
}

TEST(Allocation, PlayAllocatesNothing)
{
    Random::SetClock(&FixedClock);
    TTestWell well;
    well.SetShowNextpiece(true);
    well.SetNumberOfType(15);
    well.SetScreenNumber(2);
    well.NewGame();
    TRandomPlayer player(11);
    int fourRowLandings = 0;
    int blockRemovals = 0;

    Allocations = 0;
    Counting = true;
    for (int n = 0; n < 20000; ++n) {
        const int operation = player.Roll(0, 9);
        switch (operation) {
        case 5:
            well.DropBlock(player.Roll(0, TWell::Columns - 1), -1, clSilver);
            blockRemovals += well.LastDeletedLine();
            break;
        case 6: well.PushLine(player.Roll(0, TWell::Columns - 1), clTeal); break;
        case 7:
            // A bar over four bottom rows that lack only its column.
            well.FillRows(17, 20, {5});
            well.PlaceBar(-2);
            well.DropPiece();
            well.Step();
            fourRowLandings += well.LastDeletedLine() == 4;
            well.CountFreeLines(true);
            break;
        case 8:
        case 9:
            well.CountFreeLines(false);
            TRandomPlayer::Step(well, n % 6);
            break;
        default: TRandomPlayer::Press(well, TRandomPlayer::TKey(operation));
        }
    }
    Counting = false;
    Random::SetClock(nullptr);

    EXPECT_EQ(Allocations, 0);
    EXPECT_GT(fourRowLandings, 500);
    EXPECT_GT(blockRemovals, 0);
}

} // namespace
