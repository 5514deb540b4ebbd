#pragma once

// Wave files built in the tests, chunk by chunk.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

// A wave file from its chunks, each given as id and body.
inline std::vector<std::uint8_t> Wave(std::initializer_list<std::pair<std::string, std::vector<std::uint8_t>>> chunks)
{
    std::vector<std::uint8_t> file{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const auto& [id, body] : chunks) {
        file.insert(file.end(), id.begin(), id.end());
        for (int shift = 0; shift < 32; shift += 8)
            file.push_back(std::uint8_t(body.size() >> shift));
        file.insert(file.end(), body.begin(), body.end());
        if (body.size() % 2)
            file.push_back(0);
    }
    return file;
}

// A format chunk: tag, channels, rate, block align, bits.
inline std::vector<std::uint8_t> Format(int tag, int channels, int align, int bits, std::uint32_t rate = 22050)
{
    return {std::uint8_t(tag), std::uint8_t(tag >> 8), std::uint8_t(channels), 0,
            std::uint8_t(rate), std::uint8_t(rate >> 8), std::uint8_t(rate >> 16), std::uint8_t(rate >> 24),
            0, 0, 0, 0, // bytes a second, which no reader needs
            std::uint8_t(align), 0, std::uint8_t(bits), 0};
}
