#include "TestWell.h"

#include "Random.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

std::uint32_t FixedClock() { return 45296789u; }

class TBenchWell : public TTestWell {
public:
    TBenchWell()
    {
        Random::SetClock(&FixedClock);
        SetScreenNumber(0);
        NewGame();
    }

    // Four bottom rows that lack only column 5, and the bar standing in that gap.
    void PrepareFourRows()
    {
        FillRows(17, 20, {5});
        PlaceBar(17);
    }
};

void GravityStepThatMoves(benchmark::State& state)
{
    TBenchWell well;
    for (auto _ : state) {
        well.SetPiecePosition(4, 5);
        benchmark::DoNotOptimize(well.Step());
    }
}
BENCHMARK(GravityStepThatMoves);

// Includes laying the four rows and loading the bar (40 cell writes, one build).
void LandingThatRemovesFourRows(benchmark::State& state)
{
    TBenchWell well;
    for (auto _ : state) {
        well.PrepareFourRows();
        benchmark::DoNotOptimize(well.Step());
    }
    if (well.LastDeletedLine() != 4)
        state.SkipWithError("the landing did not remove four rows");
}
BENCHMARK(LandingThatRemovesFourRows);

void RandomPlay(benchmark::State& state)
{
    TBenchWell well;
    std::mt19937 dice(5);
    std::uniform_int_distribution<int> operation(0, 7);
    long pieces = 0;
    for (auto _ : state) {
        switch (operation(dice)) {
        case 0: well.MoveLeft(); break;
        case 1: well.MoveRight(); break;
        case 2: well.RotateCounterClockwise(); break;
        case 3: well.RotateClockwise(); break;
        case 4: well.DropPiece(); break;
        default:
            switch (well.Step()) {
            case TWell::TStepResult::GameOver:
                well.SetScreenNumber(0);
                well.NewGame();
                [[fallthrough]];
            case TWell::TStepResult::Landed:
                ++pieces;
                break;
            default:
                break;
            }
        }
    }
    state.counters["pieces"] = benchmark::Counter(double(pieces), benchmark::Counter::kIsRate);
}
BENCHMARK(RandomPlay);

} // namespace

BENCHMARK_MAIN();
