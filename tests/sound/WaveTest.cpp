#include "Wave.h"
#include "WaveBytes.h"

#include <gtest/gtest.h>

namespace {

TEST(WaveFile, GivesTheSamplesOfUncompressedWaves)
{
    TWave wave;
    // An odd chunk before the data is padded; a data chunk cut short keeps
    // its whole frames.
    std::vector<std::uint8_t> file = Wave({{"fmt ", Format(1, 2, 4, 16)}, {"LIST", {1, 2, 3}}, {"data", {}}});
    file.resize(file.size() - 4);
    file.insert(file.end(), {100, 0, 0, 0, 1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(DecodeWave(file, wave));
    EXPECT_EQ(wave.Format, TSampleFormat::S16LE);
    EXPECT_EQ(wave.Channels, 2);
    EXPECT_EQ(wave.Rate, 22050u);
    EXPECT_EQ(wave.Data, (std::vector<std::uint8_t>{1, 2, 3, 4}));

    ASSERT_TRUE(DecodeWave(Wave({{"fmt ", Format(3, 1, 4, 32)}, {"data", {0, 0, 0x80, 0x3F}}}), wave));
    EXPECT_EQ(wave.Format, TSampleFormat::Float32LE);
}

TEST(WaveFile, RefusesWhatItCannotPlay)
{
    const std::vector<std::uint8_t> frame{1, 2};
    const std::vector<std::uint8_t> refused[] = {
        {},
        Wave({{"data", frame}, {"fmt ", Format(1, 1, 2, 16)}}), // samples before their format
        Wave({{"fmt ", Format(2, 1, 2, 16)}, {"data", frame}}), // compressed
        Wave({{"fmt ", Format(1, 0, 0, 16)}, {"data", frame}}), // no channels
        Wave({{"fmt ", Format(1, 1, 4, 16)}, {"data", frame}}), // frame size not the format's
        Wave({{"fmt ", Format(1, 1, 2, 12)}, {"data", frame}}), // odd sample size
        Wave({{"fmt ", Format(1, 1, 2, 16)}, {"data", {}}}), // no samples
        Wave({{"fmt ", {1, 0, 1, 0}}, {"data", frame}}), // format cut short
        Wave({{"fmt ", Format(1, 1, 2, 16, 384001)}, {"data", frame}}), // faster than any server plays
    };
    for (const auto& file : refused) {
        TWave wave;
        EXPECT_FALSE(DecodeWave(file, wave)) << &file - refused;
    }
}

} // namespace
