#include "RandomPlayer.h"
#include "TestWell.h"

#include "Random.h"

#include <benchmark/benchmark.h>


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
    TRandomPlayer player(5);
    long pieces = 0;
    // The five keys and three steps in eight.
    for (auto _ : state) {
        const int operation = player.Roll(0, 7);
        if (operation < TRandomPlayer::KeyCount)
            TRandomPlayer::Press(well, TRandomPlayer::TKey(operation));
        else
            pieces += TRandomPlayer::Step(well);
    }
    state.counters["pieces"] = benchmark::Counter(double(pieces), benchmark::Counter::kIsRate);
}
BENCHMARK(RandomPlay);

} // namespace

BENCHMARK_MAIN();
