#include "ErrorReport.h"
#include "Random.h"
#include "TestServices.h"
#include "TestRows.h"

#include <gtest/gtest.h>

namespace {

using TestRows::PrintTo;

struct TPathCase {
    const char* Name;
    const char* Path;
    const char* Directory;
};

class ProgramDirectory : public testing::TestWithParam<TPathCase> {};

TEST_P(ProgramDirectory, KeepsTheLastSeparator)
{
    EXPECT_EQ(DirectoryOfExecutable(QString::fromUtf8(GetParam().Path)), QString::fromUtf8(GetParam().Directory));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ProgramDirectory,
    testing::Values(TPathCase{.Name = "Unix", .Path = "/opt/games/MVKubrin", .Directory = "/opt/games/"},
                    TPathCase{.Name = "Backslash", .Path = "C:\\Spiele\\MVKubrin.exe", .Directory = "C:\\Spiele\\"},
                    TPathCase{.Name = "DriveOnly", .Path = "C:MVKubrin.exe", .Directory = "C:"},
                    TPathCase{.Name = "NoFolder", .Path = "MVKubrin", .Directory = ""},
                    TPathCase{.Name = "Umlaut", .Path = "/home/jürgen/spiele/MVKubrin", .Directory = "/home/jürgen/spiele/"}),
    RowName);

TEST(TestServices, InstallingPointsTheRandomClockAtThem)
{
    TTestServices services;
    services.Clock = 1234;
    Random::Reseed();
    EXPECT_EQ(Random::Seed(), 1234u);
    services.Directory = QStringLiteral("/tmp/here/");
    EXPECT_EQ(ProgramFile(QStringLiteral("Fame.sav")), QStringLiteral("/tmp/here/Fame.sav"));
}

TEST(TestServices, AnswersFromTheScriptThenRefuses)
{
    TTestServices services;
    services.QuestionAnswers = {true};
    services.InputAnswers = {QString(300, QChar('x')), std::nullopt};
    EXPECT_TRUE(services.AskQuestion(QStringLiteral("?")));
    EXPECT_FALSE(services.AskQuestion(QStringLiteral("?")));
    QString value = QStringLiteral("start");
    EXPECT_TRUE(services.InputQuery(QStringLiteral("Eingabe"), QStringLiteral("Name"), value, QString()));
    EXPECT_EQ(value.size(), 255);
    EXPECT_FALSE(services.InputQuery(QStringLiteral("Eingabe"), QStringLiteral("Name"), value, QString()));
    EXPECT_FALSE(services.InputQuery(QStringLiteral("Eingabe"), QStringLiteral("Name"), value, QString()));
    ASSERT_EQ(services.Inputs.size(), 3u);
    EXPECT_EQ(services.Inputs[0].Initial, QStringLiteral("start"));
}

TEST(ErrorReport, AFileErrorIsShownWithAFullStopUnderTheTitle)
{
    TTestServices services;
    ShowException(EFileError::CannotOpen(QStringLiteral("/spiele/Fame.sav")));
    ShowException(EFileError::CannotCreate(QStringLiteral("/spiele/Fame.sav")));
    EXPECT_EQ(services.MessageTexts(), (QStringList{"Kann Datei /spiele/Fame.sav nicht öffnen.",
                                                     "Kann Datei /spiele/Fame.sav nicht erstellen."}));
    EXPECT_EQ(services.Messages[0].Icon, TMessageIcon::Error);
    EXPECT_EQ(services.Messages[0].Caption, QStringLiteral("Morvane Kubrin"));
}

} // namespace
