#include "ClickFile.h"
#include "TempFolder.h"
#include "WaveBytes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::string Bytes(const std::vector<std::uint8_t>& wave) { return {wave.begin(), wave.end()}; }

// The silence after a click outlasts PipeWire's largest period, 8192
// frames at 44.1 kHz, at the click's own rate; unsigned 8-bit silence is
// the middle value, not zero.
TEST(ClickFile, EndsInSilenceLongerThanTheServersPeriod)
{
    const TTempFolder folder;
    const struct {
        std::vector<std::uint8_t> Format;
        std::size_t SilentBytes;
        std::uint8_t Silence;
    } rows[] = {
        {.Format = Format(1, 1, 1, 8, 8000), .SilentBytes = 1487, .Silence = 0x80},
        {.Format = Format(1, 2, 4, 16, 44100), .SilentBytes = 8192 * 4, .Silence = 0},
    };
    for (const auto& row : rows) {
        const std::vector<std::uint8_t> samples{1, 2, 3, 4};
        const std::string file = Bytes(Wave({{"fmt ", row.Format}, {"data", samples}}));
        const std::optional<TClick> click = ReadClick(folder.Write("click.wav", file));
        ASSERT_TRUE(click) << &row - rows;
        const std::vector<std::uint8_t>& data = click->Wave.Data;
        ASSERT_EQ(data.size(), samples.size() + row.SilentBytes) << &row - rows;
        EXPECT_TRUE(std::equal(samples.begin(), samples.end(), data.begin())) << &row - rows;
        EXPECT_EQ(std::count(data.begin() + 4, data.end(), row.Silence), std::ptrdiff_t(row.SilentBytes)) << &row - rows;
    }
}

// Copies of the game share one stored copy of each click in the server:
// the name follows the sound, not the file.
TEST(ClickFile, IsNamedAfterItsSound)
{
    const TTempFolder folder;
    const std::string wave = Bytes(Wave({{"fmt ", Format(1, 1, 2, 16)}, {"data", {1, 2}}}));
    const std::string louder = Bytes(Wave({{"fmt ", Format(1, 1, 2, 16)}, {"data", {1, 3}}}));
    const std::optional<TClick> click = ReadClick(folder.Write("a.wav", wave));
    const std::optional<TClick> copy = ReadClick(folder.Write("b.wav", wave));
    const std::optional<TClick> other = ReadClick(folder.Write("c.wav", louder));
    ASSERT_TRUE(click && copy && other);
    EXPECT_EQ(click->Name, copy->Name);
    EXPECT_NE(click->Name, other->Name);
    EXPECT_TRUE(click->Name.starts_with("mvkubrin-")) << click->Name;

    EXPECT_FALSE(ReadClick(folder.Path() + "/none.wav"));
    EXPECT_FALSE(ReadClick(folder.Path()));
}

} // namespace
