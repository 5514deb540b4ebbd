// The rules must not touch the heap during play. This program replaces the
// global allocation functions and counts what happens inside a window of play.
#include "TestWell.h"

#include "Random.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <random>

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
    std::mt19937 dice(11);
    std::uniform_int_distribution<int> operation(0, 9), column(0, 9);
    int fourRowLandings = 0;
    int blockRemovals = 0;

    Allocations = 0;
    Counting = true;
    for (int n = 0; n < 20000; ++n) {
        switch (operation(dice)) {
        case 0: well.MoveLeft(); break;
        case 1: well.MoveRight(); break;
        case 2: well.RotateCounterClockwise(); break;
        case 3: well.RotateClockwise(); break;
        case 4: well.DropPiece(); break;
        case 5: well.DropBlock(column(dice), -1, clSilver); blockRemovals += well.LastDeletedLine(); break;
        case 6: well.PushLine(column(dice), clTeal); break;
        case 7:
            // A bar over four bottom rows that lack only its column.
            well.FillRows(17, 20, {5});
            well.PlaceBar(-2);
            well.DropPiece();
            well.Step();
            fourRowLandings += well.LastDeletedLine() == 4;
            well.CountFreeLines(true);
            break;
        default:
            well.CountFreeLines(false);
            if (well.Step() == TWell::TStepResult::GameOver) {
                well.SetScreenNumber(n % 6);
                well.NewGame();
            }
        }
    }
    Counting = false;
    Random::SetClock(nullptr);

    EXPECT_EQ(Allocations, 0);
    EXPECT_GT(fourRowLandings, 500);
    EXPECT_GT(blockRemovals, 0);
}

} // namespace
