#include "HallList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

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
        TReadCase{"Utf8CutOffAtTheEnd", "0000001;Eva\xC3", {QString::fromUtf8("0000001;EvaÃ")}},
        TReadCase{"ByteOrderMarksStartingLines", "\xEF\xBB\xBFz\r\n\xEF\xBB\xBF\xEF\xBB\xBF" "a", {"a", "z"}}),
    [](const auto& info) { return std::string(info.param.Name); });

class HallFile : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Folder.isValid()); }

    QTemporaryDir Folder;
    QString Path = Folder.filePath("Fame.sav");
};

TEST_F(HallFile, SavesEveryEntryWithCarriageReturnLineFeedInUtf8)
{
    THallList list;
    list.Add("0000002;b");
    list.Add(HallEntry(10000000, QString::fromUtf8("Jürgen")));
    list.Add("0000001;a");
    ASSERT_TRUE(list.SaveToFile(Path));
    EXPECT_EQ(ReadBytes(Path), "0000001;a\r\n0000002;b\r\n10000000;J\xC3\xBCrgen\r\n");
    list.Clear();
    ASSERT_TRUE(list.SaveToFile(Path));
    EXPECT_EQ(ReadBytes(Path), "");
}

TEST_F(HallFile, FailedSaveOrLoadLeavesFileAndListAsTheyWere)
{
    ASSERT_TRUE(QDir(Folder.path()).mkpath("Fame.sav/old"));
    THallList list;
    list.Add("0000001;a");
    EXPECT_FALSE(list.LoadFromFile(Path));
    EXPECT_EQ(list.Count(), 1);
    EXPECT_FALSE(list.SaveToFile(Path));
    EXPECT_FALSE(list.SaveToFile(Folder.filePath("missing/Fame.sav")));
    EXPECT_TRUE(QDir(Path).exists("old"));
    EXPECT_EQ(QDir(Folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"Fame.sav"});
}

} // namespace
