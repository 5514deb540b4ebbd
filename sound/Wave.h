#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

enum class TSampleFormat : std::uint8_t { U8, S16LE, S24LE, S32LE, Float32LE };

// The samples of a wave file, as the sound server takes them.
struct TWave {
    // The most the sound server takes; a file beyond them is refused.
    static constexpr int MaxChannels = 32;
    static constexpr std::uint32_t MaxRate = 48000 * 8;

    TSampleFormat Format = TSampleFormat::S16LE;
    int Channels = 0;
    std::uint32_t Rate = 0;
    std::vector<std::uint8_t> Data;
};

std::size_t SampleBytes(TSampleFormat format);

// Reads uncompressed PCM or float wave data from a file's bytes; false for
// anything else. A data chunk cut short keeps its whole frames.
bool DecodeWave(std::span<const std::uint8_t> file, TWave& wave);
