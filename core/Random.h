#pragma once

#include <cstdint>

// The one random generator of the whole program. Every random choice, in the
// playfield and in the shell alike, comes from here in a fixed order, so that
// one seed reproduces one game.
namespace Random {

// The time source of Reseed: milliseconds since midnight, UTC.
using ClockFunction = std::uint32_t (*)();

std::uint32_t Seed();
void SetSeed(std::uint32_t seed);

// Advances the seed, then returns a uniform integer in 0 .. range - 1.
std::int32_t Draw(std::int32_t range);

// Sets the seed from the clock.
void Reseed();

// Replaces the clock of Reseed; nullptr restores the system clock.
void SetClock(ClockFunction clock);

std::uint32_t SystemMillisecondsSinceMidnight();

} // namespace Random
