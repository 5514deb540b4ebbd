#include "Wave.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t Little16(const std::uint8_t* p) { return p[0] | p[1] << 8; }
std::uint32_t Little32(const std::uint8_t* p) { return Little16(p) | Little16(p + 2) << 16; }

} // namespace

std::size_t SampleBytes(TSampleFormat format)
{
    switch (format) {
    case TSampleFormat::U8: return 1;
    case TSampleFormat::S16LE: return 2;
    case TSampleFormat::S24LE: return 3;
    case TSampleFormat::S32LE:
    case TSampleFormat::Float32LE: return 4;
    }
    return 0;
}

bool DecodeWave(std::span<const std::uint8_t> file, TWave& wave)
{
    const std::size_t size = file.size();
    const std::uint8_t* bytes = file.data();
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return false;
    bool haveFormat = false;
    std::uint32_t tag = 0, bits = 0, blockAlign = 0;
    for (std::size_t at = 12; size - at >= 8;) {
        const std::uint8_t* chunk = bytes + at;
        const std::size_t length = Little32(chunk + 4);
        const std::size_t body = at + 8;
        const std::size_t present = std::min(length, size - body);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (present < 16)
                return false;
            tag = Little16(chunk + 8);
            wave.Channels = int(Little16(chunk + 10));
            wave.Rate = Little32(chunk + 12);
            blockAlign = Little16(chunk + 20);
            bits = Little16(chunk + 22);
            // The extensible header names its real format in the first two
            // bytes of its sub-format.
            if (tag == 0xFFFE && present >= 26)
                tag = Little16(chunk + 8 + 24);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat)
                return false;
            if (tag == 1 && bits == 8)
                wave.Format = TSampleFormat::U8;
            else if (tag == 1 && bits == 16)
                wave.Format = TSampleFormat::S16LE;
            else if (tag == 1 && bits == 24)
                wave.Format = TSampleFormat::S24LE;
            else if (tag == 1 && bits == 32)
                wave.Format = TSampleFormat::S32LE;
            else if (tag == 3 && bits == 32)
                wave.Format = TSampleFormat::Float32LE;
            else
                return false;
            if (wave.Channels < 1 || wave.Channels > TWave::MaxChannels || wave.Rate < 1 || wave.Rate > TWave::MaxRate
                || blockAlign != std::uint32_t(wave.Channels) * bits / 8)
                return false;
            const std::size_t whole = present - present % blockAlign;
            if (whole == 0)
                return false;
            wave.Data.assign(bytes + body, bytes + body + whole);
            return true;
        }
        if (length > size - body)
            break;
        at = body + length + (length & 1);
    }
    return false;
}
