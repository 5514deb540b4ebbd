#include "HallList.h"

#include <QRandomGenerator>

#include <algorithm>

#include <gtest/gtest.h>

static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

TEST(HallList, EntryPadsTheScoreNeverCutsItAndKeepsTheNameOnOneLine)
{
    EXPECT_EQ(HallEntry(1234, ""), "0001234;");
    EXPECT_EQ(HallEntry(9999999, "x"), "9999999;x");
    EXPECT_EQ(HallEntry(10000000, "x"), "10000000;x");
    EXPECT_EQ(HallEntry(5, " a;B  c "), "0000005; a;B  c ");
    EXPECT_EQ(HallEntry(1, "Eva\r\nMaria\nX\rY"), "0000001;Eva Maria X Y");
}

TEST(HallList, KeepsScoreOrderThenNamesWithCaseIgnoredAndDropsEqualEntries)
{
    THallList list;
    for (const char* entry : {"0000010;bert", "2000000;x", "0000010;Carl", "0000009;z", "10000000;y", "0000010;Anna"})
        list.Add(entry);
    EXPECT_EQ(list.Add("0000010;BERT"), -1);
    EXPECT_EQ(list.Entries(), (QStringList{"0000009;z", "0000010;Anna", "0000010;bert", "0000010;Carl", "10000000;y",
                                           "2000000;x"}));
}

struct TReadCase {
    const char* Name;
    QByteArray Bytes;
    QStringList Entries;
};
void PrintTo(const TReadCase& row, std::ostream* out) { *out << row.Name; }

class Reading : public testing::TestWithParam<TReadCase> {};

TEST_P(Reading, AddsEveryLineLikeANewEntry)
{
    THallList list;
    list.AddText(GetParam().Bytes);
    EXPECT_EQ(list.Entries(), GetParam().Entries);
}

INSTANTIATE_TEST_SUITE_P(
    HallList, Reading,
    testing::Values(
        TReadCase{"Empty", "", {}}, TReadCase{"OnlyLineEnds", "\r\n\r\n\n\r", {""}},
        TReadCase{"LineFeedsOutOfOrderAndDuplicated", "0000002;b\n0000001;a\n0000002;B\n", {"0000001;a", "0000002;b"}},
        TReadCase{"EveryLineEndAndALastLineWithoutOne", "c\r\r\nb\na", {"", "a", "b", "c"}},
        TReadCase{"ZeroByteEndsTheText", QByteArray("a\r\nb\0\r\nc", 8), {"a", "b"}},
        TReadCase{"Utf8", "0000001;J\xC3\xBCrgen \xE2\x82\xAC\r\n", {QString::fromUtf8("0000001;Jürgen €")}},
        TReadCase{"Windows1252", "0000001;J\xFCrgen \x80\r\n", {QString::fromUtf8("0000001;Jürgen €")}},
        TReadCase{"OneStrayByteCostsOnlyItsOwnLine", "0000002;Zo\xC3\xAB \xF0\x9F\x98\x80\r\n0000001;J\xFCrgen\r\n",
                  {QString::fromUtf8("0000001;Jürgen"), QString::fromUtf8("0000002;Zoë 😀")}},
        TReadCase{"Utf8CutOffAtTheEnd", "0000001;Eva\xC3", {QString::fromUtf8("0000001;EvaÃ")}},
        TReadCase{"ByteOrderMarksStartingLines", "\xEF\xBB\xBFz\r\n\xEF\xBB\xBF\xEF\xBB\xBF" "a", {"a", "z"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(HallList, ReadingAWholeFileGivesWhatAddingLineByLineGives)
{
    // Scores from a small range, names in several cases and accents, every
    // line twice or more in a shuffled order: the duplicate rule has work.
    const QStringList names{"anna", "Anna", "ANNA", "bert", QString::fromUtf8("Jürgen"), QString::fromUtf8("jürgen"),
                            QString::fromUtf8("Zoë"), "zoe", ""};
    QStringList lines;
    QRandomGenerator random(2024);
    for (int i = 0; i < 3000; ++i)
        lines.append(HallEntry(random.bounded(40), names[random.bounded(int(names.size()))]));
    lines += lines.mid(0, 500);
    std::shuffle(lines.begin(), lines.end(), random);

    THallList oneByOne;
    for (const QString& line : lines)
        oneByOne.Add(line);
    THallList whole;
    EXPECT_TRUE(whole.AddText(lines.join("\r\n").toUtf8()));
    EXPECT_EQ(whole.Entries(), oneByOne.Entries());
    EXPECT_LT(whole.Count(), 40 * int(names.size()));

    // A file in order merges in one pass with what the list holds; the
    // entries present win over equal lines, as they do one by one.
    THallList merged;
    THallList half;
    THallList expected;
    for (int odd : {0, 1})
        for (qsizetype i = odd; i < lines.size(); i += 2) {
            (odd ? half : merged).Add(lines[i]);
            expected.Add(lines[i]);
        }
    EXPECT_TRUE(merged.AddText(half.Text()));
    EXPECT_EQ(merged.Entries(), expected.Entries());
}

TEST(HallList, ReadingSaysWhetherAByteZeroCutTextOff)
{
    THallList list;
    EXPECT_TRUE(list.AddText(QByteArray("a\r\n\0\0", 5)));
    EXPECT_FALSE(list.AddText(QByteArray("b\r\n\0c\r\n", 7)));
    EXPECT_EQ(list.Entries(), (QStringList{"a", "b"}));
}

} // namespace
