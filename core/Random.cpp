#include "Random.h"

#include <chrono>

namespace Random {
namespace {

std::uint32_t CurrentSeed = 0;
ClockFunction CurrentClock = nullptr;

} // namespace

std::uint32_t Seed() { return CurrentSeed; }

void SetSeed(std::uint32_t seed) { CurrentSeed = seed; }

std::int32_t Draw(std::int32_t range)
{
    CurrentSeed = CurrentSeed * 0x08088405u + 1u;
    return std::int32_t((std::uint64_t(CurrentSeed) * std::uint32_t(range)) >> 32);
}

void Reseed() { CurrentSeed = CurrentClock ? CurrentClock() : SystemMillisecondsSinceMidnight(); }

void SetClock(ClockFunction clock) { CurrentClock = clock; }

std::uint32_t SystemMillisecondsSinceMidnight()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto sinceMidnight = now - floor<days>(now);
    return std::uint32_t(duration_cast<milliseconds>(sinceMidnight).count());
}

} // namespace Random
