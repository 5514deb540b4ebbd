// Painting figures of the playfield: a full repaint of the 210 cells, a
// sideways move (erase and draw), and a preview repaint.
#include "Random.h"
#include "T_KUBRIN.h"
#include "TestServices.h"

#include <benchmark/benchmark.h>

namespace {

// A playfield as the main window has it, in a game with a start screen.
struct TGameField {
    TGameField()
    {
        Field.resize(192, 361);
        Field.SetShowBorderColor(false);
        Field.SetPreviewSize(20);
        Field.SetScreenNumber(2);
        Random::SetSeed(7);
        Field.NewGame();
        Field.Step();
        Field.Step();
    }
    TTestServices Services;
    TKUBRIN Field;
};

void FullPaint(benchmark::State& state)
{
    TGameField game;
    for (auto _ : state)
        game.Field.Paint();
    benchmark::DoNotOptimize(game.Field.Surface().constBits());
}
BENCHMARK(FullPaint);

void SidewaysMove(benchmark::State& state)
{
    TGameField game;
    bool left = true;
    for (auto _ : state) {
        // Back and forth, so that every move is one that the rules accept.
        if (!(left ? game.Field.MoveLeft() : game.Field.MoveRight()))
            left = !left;
    }
}
BENCHMARK(SidewaysMove);

void PreviewPaint(benchmark::State& state)
{
    TGameField game;
    game.Field.SetShowNextpiece(true);
    game.Field.LoadPiece(12);
    for (auto _ : state)
        game.Field.PaintPreview();
    benchmark::DoNotOptimize(game.Field.PreviewSurface().constBits());
}
BENCHMARK(PreviewPaint);

} // namespace
