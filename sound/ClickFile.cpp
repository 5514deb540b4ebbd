#include "ClickFile.h"

#include "WholeFile.h"

#include <cinttypes>
#include <cstdio>

namespace {

// The server keeps no sound larger than this; our clicks are a few KiB.
constexpr std::size_t MaxWaveFile = 4 * 1024 * 1024;

// PipeWire plays a stored sample only in whole periods of its graph and
// drops what is left of the last one, so a click shorter than a period is
// never heard, and a longer one loses its end. Silence after each sound,
// as long as the largest period at the lowest usual graph rate, makes the
// dropped rest silence only. PulseAudio plays the silence too: each click
// stays in its mixer a fifth of a second longer, a few more inputs to mix
// at the fastest key repeat.
constexpr std::uint32_t LargestPeriod = 8192;
constexpr std::uint32_t LowestGraphRate = 44100;

void AddSilence(TWave& wave)
{
    const std::size_t frames = (std::size_t(LargestPeriod) * wave.Rate + LowestGraphRate - 1) / LowestGraphRate;
    const std::uint8_t silence = wave.Format == TSampleFormat::U8 ? 0x80 : 0;
    wave.Data.resize(wave.Data.size() + frames * std::size_t(wave.Channels) * SampleBytes(wave.Format), silence);
}

// A name from the sound's content: every run and every copy of the game
// shares one stored copy of each click instead of piling up new ones.
std::string StoredName(const TWave& wave)
{
    std::uint64_t hash = 14695981039346656037ull;
    auto mix = [&hash](std::uint8_t byte) {
        hash ^= byte;
        hash *= 1099511628211ull;
    };
    mix(std::uint8_t(wave.Format));
    mix(std::uint8_t(wave.Channels));
    for (int shift = 0; shift < 32; shift += 8)
        mix(std::uint8_t(wave.Rate >> shift));
    for (std::uint8_t byte : wave.Data)
        mix(byte);
    char name[40];
    std::snprintf(name, sizeof name, "mvkubrin-%016" PRIx64, hash);
    return name;
}

} // namespace

std::optional<TClick> ReadClick(const std::string& path)
{
    const TWholeFile file = ReadWholeFile(path.c_str(), MaxWaveFile, TLinks::Follow);
    TClick click;
    if (file.Result != TWholeFile::TResult::Complete
        || !DecodeWave({reinterpret_cast<const std::uint8_t*>(file.Bytes.data()), file.Bytes.size()}, click.Wave))
        return std::nullopt;
    AddSilence(click.Wave);
    click.Name = StoredName(click.Wave);
    return click;
}
