// How long a click takes from the key's request until the sound server has
// started it, and what the request costs the interface thread. Runs against
// a private PulseAudio with a null sink.
#include "SoundPlayer.h"
#include "SoundServer.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

TSoundServer* Server = nullptr;

std::unique_ptr<TSoundPlayer> ReadyPlayer(int& sound)
{
    auto player = std::make_unique<TSoundPlayer>(Server->Address().toStdString());
    sound = player->Add(MVK_ASSETS_DIR "/click2.wav");
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!(player->Ready() && player->SoundsStored() == 1) && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return player;
}

// A key a little faster than the clicks last: each iteration is one click,
// timed until the server confirms that it plays.
void BM_ClickUntilServerPlaysIt(benchmark::State& state)
{
    int sound = -1;
    const auto player = ReadyPlayer(sound);
    if (!player->Ready()) {
        state.SkipWithError("no sound server");
        return;
    }
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        const std::uint64_t before = player->PlaysConfirmed();
        const auto start = Clock::now();
        player->Play(sound);
        while (player->PlaysConfirmed() == before) {
            if (Clock::now() - start > std::chrono::seconds(1)) {
                state.SkipWithError("a click was not confirmed");
                return;
            }
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}
BENCHMARK(BM_ClickUntilServerPlaysIt)->UseManualTime()->Iterations(200)->Unit(benchmark::kMicrosecond);

// What a key press pays on the interface thread for its click.
void BM_ClickRequest(benchmark::State& state)
{
    int sound = -1;
    const auto player = ReadyPlayer(sound);
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const auto start = Clock::now();
        player->Play(sound);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}
BENCHMARK(BM_ClickRequest)->UseManualTime()->Iterations(100)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    TSoundServer server;
    if (!server.Failure().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(server.Failure()));
        return 1;
    }
    Server = &server;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
