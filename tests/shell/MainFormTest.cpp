#include "Application.h"
#include "Look.h"
#include "PreviewForm.h"
#include "Random.h"
#include "TestServices.h"
#include "about.h"
#include "main.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

struct TWellTestAccess {
    static void ForcePiece(TWell& well, int kind)
    {
        well.SetCurrentPiece(kind);
        well.LoadPiece(kind);
    }
};

namespace {

// A main window whose game can be put at any level and row count.
class TTestMainForm : public TMainForm {
public:
    void SetGame(int level, int lines)
    {
        Starten1Click();
        FLevel = level;
        FLines = lines;
    }
};

// The generator's formula, written out independently of the code under test.
struct TDraws {
    std::uint32_t Seed;
    int Next(int range)
    {
        Seed = Seed * 0x08088405u + 1u;
        return int((std::uint64_t(Seed) * std::uint32_t(range)) >> 32);
    }
};

// The first seed from 1 on for which the predicate holds.
template <class TPredicate>
std::uint32_t FindSeed(TPredicate predicate)
{
    for (std::uint32_t seed = 1; seed < 10000000u; ++seed)
        if (predicate(TDraws{seed}))
            return seed;
    return 0;
}

constexpr TColor Grey = 0x7D7D7Du;

// A main window under test: dialogs answered by the double, program files in
// a folder of the test's own.
class MainWindow : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Folder.isValid());
        Services.Directory = Folder.path() + QLatin1Char('/');
        Services.Clock = 1000;
        Form = std::make_unique<TTestMainForm>();
    }

    TKUBRIN& Field() { return *Form->KUBRIN1; }

    // Fills the rows of the board with blocks except one gap column, through
    // the playfield's own operations.
    void FillRows(int fromRow, int toRow, int gapColumn, TColor color = clGray)
    {
        for (int row = fromRow; row <= toRow; ++row)
            for (int col = 0; col < TWell::Columns; ++col)
                if (col != gapColumn)
                    Field().DropBlock(col, row, color);
    }

    // Starts a game whose falling piece is an upright bar (kind 4) at the
    // start position, above a well whose bottom four rows lack only the bar's
    // column: its cells stand at column offset 1, so in column 5.
    void StartWithBarOverFourRows()
    {
        Form->Starten1Click();
        Field().SetNextPiece(4);
        ForcePiece(4);
        FillRows(17, 20, 5);
    }

    // Makes the falling piece a fresh one of the kind, at its position.
    void ForcePiece(int kind) { TWellTestAccess::ForcePiece(Field(), kind); }

    // A landing of an upright bar that removes the given number of rows.
    void LandBarRemoving(int rows)
    {
        ForcePiece(4);
        if (rows > 0)
            FillRows(21 - rows, 20, 5);
        Form->FormKeyPress(QLatin1Char('0'));
        TickUntilLanded();
    }

    // Ticks until the falling piece lands.
    int TickUntilLanded()
    {
        const int before = Field().NumberOfPieces();
        for (int i = 0; i < 40 && Field().NumberOfPieces() == before; ++i)
            Form->Timer1Timer();
        return Field().NumberOfPieces() - before;
    }

    QTemporaryDir Folder;
    TTestServices Services;
    std::unique_ptr<TTestMainForm> Form;
};

TEST_F(MainWindow, StartsWithoutAGameAndWithTheStoredLayout)
{
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("MVKubrin"));
    EXPECT_EQ(Form->centralWidget()->size(), QSize(386, 434));
    EXPECT_FALSE(Form->Timer1->isActive());
    EXPECT_EQ(Form->Timer1->interval(), 1000);
    EXPECT_EQ(Form->KUBRIN1->geometry(), QRect(3, 4, 192, 361));
    EXPECT_EQ(Form->Panel1->geometry(), QRect(93, 16, 199, 369));
    EXPECT_EQ(Form->Panel2->geometry(), QRect(94, 386, 199, 39));
    for (QLabel* counter : {Form->LCP, Form->LCL, Form->LDLT, Form->LSCO})
        EXPECT_EQ(counter->text(), QStringLiteral("0"));
    EXPECT_EQ(Form->Label3->text(), QStringLiteral("Teile:"));
    EXPECT_EQ(Form->Label9->text(), QStringLiteral("Punkte:"));
    EXPECT_TRUE(Form->Gerusche1->isChecked());
    EXPECT_FALSE(Form->Pause1->isChecked());
    EXPECT_FALSE(Form->Vorschaufenster1->isChecked());
    EXPECT_EQ(Form->Starten1->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(Form->Beenden1->shortcut(), QKeySequence(Qt::Key_Escape));
    EXPECT_EQ(Form->Inhalt1->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_FALSE(Form->KUBRIN1->ShowNextpiece());
    EXPECT_EQ(Form->KUBRIN1->PreviewForm()->pos(), QPoint(50, 50));
    EXPECT_TRUE(Services.Messages.empty());
}

TEST_F(MainWindow, HelpItemsNeedTheHelpFile)
{
    EXPECT_FALSE(Form->Inhalt1->isEnabled());
    EXPECT_FALSE(Form->Bedienung1->isEnabled());

    QFile help(Folder.filePath(QStringLiteral("MVKubrin.hlp")));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("<a name=\"id_Index\"></a>");
    help.close();
    Form = std::make_unique<TTestMainForm>();
    EXPECT_TRUE(Form->Inhalt1->isEnabled());
    Form->Inhalt1->trigger();
    Form->Bedienung1Click();
    ASSERT_EQ(Services.HelpRequests.size(), 2u);
    EXPECT_EQ(Services.HelpRequests[0].File, Folder.filePath(QStringLiteral("MVKubrin.hlp")));
    EXPECT_EQ(Services.HelpRequests[0].Topic, QStringLiteral("id_Index"));
    EXPECT_EQ(Services.HelpRequests[1].Topic, QStringLiteral("id_Interface"));
    EXPECT_TRUE(Services.Messages.empty());
    Services.HelpResult = false;
    Form->Inhalt1Click();
    EXPECT_EQ(Services.MessageTexts(), QStringList{" Hilfeaufruf erfolglos"});
}

TEST_F(MainWindow, NewGameResetsAndStartsTheTimer)
{
    Form->Starten1Click();
    EXPECT_TRUE(Form->Timer1->isActive());
    EXPECT_EQ(Form->Timer1->interval(), 1000);
    EXPECT_EQ(Field().NumberOfPieces(), 0);
    EXPECT_EQ(Field().PieceCol(), 4);
    EXPECT_EQ(Field().PieceRow(), -2);
    for (TColor cell : Field().Board())
        ASSERT_EQ(cell, clBlack);
}

TEST_F(MainWindow, LandingWithoutRowsScoresTheFreeRows)
{
    Form->Starten1Click();
    FillRows(17, 20, 0);
    ASSERT_EQ(TickUntilLanded(), 1);
    const int freeRows = Field().CountFreeLines(false);
    EXPECT_EQ(Form->Score(), freeRows);
    EXPECT_EQ(Form->LSCO->text(), QString::number(freeRows));
    EXPECT_EQ(Form->LCP->text(), QStringLiteral("1"));
    EXPECT_EQ(Form->Lines(), 0);
}

TEST_F(MainWindow, FourRowsAtLevelZeroOnAnEmptiedBoardScoreThirtySeven)
{
    StartWithBarOverFourRows();
    Form->FormKeyPress(QLatin1Char('0'));
    const int dropped = Form->Score();
    ASSERT_EQ(TickUntilLanded(), 1);
    EXPECT_EQ(Field().LastDeletedLine(), 4);
    EXPECT_EQ(Form->Score() - dropped, 21 + 16);
    EXPECT_EQ(Form->LDLT->text(), QStringLiteral("4"));
}

TEST_F(MainWindow, EighthRowRaisesTheLevel)
{
    StartWithBarOverFourRows();
    Form->FormKeyPress(QLatin1Char('0'));
    TickUntilLanded();
    ASSERT_EQ(Form->Lines(), 4);
    ForcePiece(4);
    FillRows(17, 20, 5);
    Form->FormKeyPress(QLatin1Char('0'));
    QString shownWhileOpen;
    Services.WhileMessageShown = [&](const QString&) {
        EXPECT_FALSE(Form->Timer1->isActive());
        shownWhileOpen = Form->LCL->text();
    };
    TickUntilLanded();
    EXPECT_EQ(Form->Lines(), 8);
    EXPECT_EQ(Services.MessageTexts(), QStringList{"Changing level...\rFree lines = 21"});
    EXPECT_EQ(shownWhileOpen, QStringLiteral("0"));
    EXPECT_EQ(Form->Level(), 1);
    EXPECT_EQ(Form->LCL->text(), QStringLiteral("1"));
    EXPECT_EQ(Form->Timer1->interval(), 800);
    EXPECT_TRUE(Form->Timer1->isActive());
    EXPECT_EQ(Field().ScreenNumber(), 1);
    EXPECT_NE(Field().BoardCell(0, 20), clBlack);
}

TEST_F(MainWindow, ThresholdIsReachedOnlyAtItsRowCount)
{
    Form->SetGame(2, 32);
    Form->Timer1->setInterval(650);
    LandBarRemoving(0);
    EXPECT_EQ(Form->Level(), 2);
    EXPECT_EQ(Form->Timer1->interval(), 650);
    EXPECT_TRUE(Services.Messages.empty());
    Form->SetGame(2, 32);
    LandBarRemoving(1);
    EXPECT_EQ(Form->Lines(), 33);
    EXPECT_EQ(Form->Level(), 3);
    EXPECT_EQ(Form->Timer1->interval(), 500);
    EXPECT_EQ(Field().ScreenNumber(), 3);
}

TEST_F(MainWindow, LevelSixEmptiesTheWellAndAlreadyDisturbs)
{
    Form->SetGame(5, 65);
    FillRows(10, 19, 5); // a pile the level change must clear
    // The level change reseeds from the clock; the disturbance then draws.
    TDraws draws{Services.Clock};
    const int test = draws.Next(30);
    const int column = test <= 15 ? draws.Next(9) : -1;
    LandBarRemoving(1);
    EXPECT_EQ(Form->Level(), 6);
    EXPECT_EQ(Form->Timer1->interval(), 150);
    EXPECT_EQ(Field().ScreenNumber(), 0);
    int blocks = 0;
    for (TColor cell : Field().Board())
        blocks += cell != clBlack;
    EXPECT_EQ(blocks, column >= 0 ? 1 : 0);
    if (column >= 0) {
        EXPECT_EQ(Field().BoardCell(column, 20), Grey);
    }
    EXPECT_EQ(Random::Seed(), draws.Seed);
}

TEST_F(MainWindow, NoLevelAfterNine)
{
    Form->SetGame(9, 200);
    Form->Timer1->setInterval(150);
    Form->Timer1Timer();
    LandBarRemoving(1);
    EXPECT_EQ(Form->Level(), 9);
    EXPECT_EQ(Form->Timer1->interval(), 150);
    EXPECT_TRUE(Services.Messages.empty());
}

TEST_F(MainWindow, RowsRemovedByADisturbanceCountNothing)
{
    const std::uint32_t seed = FindSeed([](TDraws draws) { return draws.Next(30) <= 15; });
    TDraws draws{seed};
    draws.Next(30);
    const int column = draws.Next(9);
    Form->SetGame(6, 70);
    FillRows(20, 20, column);
    const int score = Form->Score();
    Random::SetSeed(seed);
    Form->Disturb();
    EXPECT_EQ(Field().LastDeletedLine(), 1);
    EXPECT_EQ(Field().BoardCell(column, 20), clBlack);
    EXPECT_EQ(Form->Lines(), 70);
    EXPECT_EQ(Form->Score(), score);
}

struct TDisturbCase {
    const char* Name;
    int Level;
    int Lines;
};

class Disturbances : public MainWindow, public testing::WithParamInterface<TDisturbCase> {};

// For a seed that sets off every event of the level, the well shows exactly
// what the draws in their fixed order ask for, and no draw more is taken.
TEST_P(Disturbances, FollowTheOrderOfDraws)
{
    const TDisturbCase& test = GetParam();
    const int odds = test.Lines < 80 ? 30 : test.Lines < 105 ? 20 : test.Lines < 120 ? 15 : 10;
    const auto allEvents = [&](TDraws draws) {
        if (draws.Next(odds) > odds / 2)
            return false;
        draws.Next(9);
        if (test.Level > 7) {
            if (draws.Next(odds) != 0)
                return false;
            for (int i = 0; i < 4; ++i)
                draws.Next(i < 3 ? 200 : 9);
        }
        return test.Level < 9 || draws.Next(odds) <= odds / 2;
    };
    const std::uint32_t seed = FindSeed(allEvents);
    ASSERT_NE(seed, 0u);
    TDraws draws{seed};
    draws.Next(odds);
    const int dropColumn = draws.Next(9);
    int blue = 0, green = 0, red = 0, gap = -1, row = -1, column = -1;
    if (test.Level > 7) {
        draws.Next(odds);
        blue = 55 + draws.Next(200);
        green = 55 + draws.Next(200);
        red = 55 + draws.Next(200);
        gap = draws.Next(9);
    }
    if (test.Level > 8) {
        draws.Next(odds);
        row = 1 + draws.Next(19);
        column = draws.Next(9);
    }

    Form->SetGame(test.Level, test.Lines);
    Random::SetSeed(seed);
    Form->Disturb();
    EXPECT_EQ(Random::Seed(), draws.Seed);
    // A rising row lifts the dropped block from the floor by one row.
    EXPECT_EQ(Field().BoardCell(dropColumn, gap >= 0 ? 19 : 20), Grey);
    if (gap >= 0) {
        const TColor rowColor = RGBColor(std::uint8_t(red), std::uint8_t(green), std::uint8_t(blue));
        for (int col = 0; col < TWell::Columns; ++col)
            EXPECT_EQ(Field().BoardCell(col, 20), col == gap ? clBlack : rowColor) << col;
    }
    if (row >= 0) {
        EXPECT_EQ(Field().BoardCell(column, row), Grey);
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, Disturbances,
                         testing::Values(TDisturbCase{"LevelSix", 6, 70}, TDisturbCase{"LevelEight", 8, 100},
                                         TDisturbCase{"LevelNine", 9, 120}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(MainWindow, FailedTestDrawMeansOneDrawAndNoBlock)
{
    const std::uint32_t seed = FindSeed([](TDraws draws) { return draws.Next(30) > 15; });
    Form->SetGame(7, 70);
    Random::SetSeed(seed);
    Form->Disturb();
    TDraws draws{seed};
    draws.Next(30);
    EXPECT_EQ(Random::Seed(), draws.Seed);
    for (TColor cell : Field().Board())
        ASSERT_EQ(cell, clBlack);
}

TEST_F(MainWindow, KeysPlayTheirSoundsAndSteerThePiece)
{
    Form->Starten1Click();
    Form->Timer1Timer();
    const int col = Field().PieceCol();
    QTest::keyClick(Form.get(), Qt::Key_Left);
    EXPECT_EQ(Field().PieceCol(), col - 1);
    QTest::keyClick(Form.get(), Qt::Key_Right);
    QTest::keyClick(Form.get(), Qt::Key_Up);
    QTest::keyClick(Form.get(), Qt::Key_Down);
    const int row = Field().PieceRow();
    QTest::keyClick(Form.get(), Qt::Key_Space);
    EXPECT_EQ(Field().PieceRow(), row + 1);
    QTest::keyClick(Form.get(), Qt::Key_0);
    const QString dir = Services.Directory;
    EXPECT_EQ(Services.Sounds, (QStringList{dir + "click2.wav", dir + "click2.wav", dir + "click3.wav",
                                            dir + "click3.wav", dir + "click.wav", dir + "click4.wav"}));
    EXPECT_GT(Form->Score(), 0); // rows fallen by the drop

    Services.Sounds.clear();
    Form->Gerusche1Click();
    EXPECT_FALSE(Form->Gerusche1->isChecked());
    QTest::keyClick(Form.get(), Qt::Key_Left);
    QTest::keyClick(Form.get(), Qt::Key_0);
    EXPECT_TRUE(Services.Sounds.isEmpty());
    Form->Gerusche1Click();
    QTest::keyClick(Form.get(), Qt::Key_Left);
    EXPECT_EQ(Services.Sounds.size(), 1);
}

TEST_F(MainWindow, LetterNStartsAGameAtOnce)
{
    QTest::keyClick(Form.get(), Qt::Key_N);
    EXPECT_TRUE(Form->Playing());
    Form->Timer1Timer();
    Form->Timer1Timer();
    QTest::keyClick(Form.get(), Qt::Key_N, Qt::ShiftModifier);
    EXPECT_EQ(Field().PieceRow(), -2);
    EXPECT_TRUE(Services.Messages.empty());
}

TEST_F(MainWindow, PlayingKeysDoNothingOutsideAGame)
{
    const int col = Field().PieceCol();
    QTest::keyClick(Form.get(), Qt::Key_Left);
    QTest::keyClick(Form.get(), Qt::Key_Space);
    QTest::keyClick(Form.get(), Qt::Key_0);
    EXPECT_EQ(Field().PieceCol(), col);
    EXPECT_TRUE(Services.Sounds.isEmpty());
    Form->Pause1Click();
    Form->Pause1Click();
    EXPECT_FALSE(Form->Timer1->isActive());
}

TEST_F(MainWindow, PauseSwitchesTheTimer)
{
    Form->Starten1Click();
    Form->Pause1Click();
    EXPECT_TRUE(Form->Pause1->isChecked());
    EXPECT_FALSE(Form->Timer1->isActive());
    const int row = Field().PieceRow();
    QTest::keyClick(Form.get(), Qt::Key_Space); // keys still act while paused
    EXPECT_EQ(Field().PieceRow(), row + 1);
    Form->Pause1Click();
    EXPECT_TRUE(Form->Timer1->isActive());

    Form->Pause1Click();
    Form->Starten1Click(); // a new game while paused runs with the mark set
    EXPECT_TRUE(Form->Pause1->isChecked());
    EXPECT_TRUE(Form->Timer1->isActive());
    Form->Pause1Click();
    EXPECT_FALSE(Form->Pause1->isChecked());
    EXPECT_TRUE(Form->Timer1->isActive());
    Form->Pause1Click();
    EXPECT_FALSE(Form->Timer1->isActive());
}

TEST_F(MainWindow, PreviewItemShowsAndHidesThePreview)
{
    Form->Vorschaufenster1Click();
    EXPECT_TRUE(Form->Vorschaufenster1->isChecked());
    EXPECT_TRUE(Field().ShowNextpiece());
    EXPECT_TRUE(Field().PreviewForm()->isVisible());
    Form->Starten1Click();
    Form->Timer1Timer();
    const int col = Field().PieceCol();
    QTest::keyClick(Field().PreviewForm(), Qt::Key_Left); // the preview hands its keys to the game
    EXPECT_EQ(Field().PieceCol(), col - 1);
    Form->Vorschaufenster1Click();
    EXPECT_FALSE(Field().PreviewForm()->isVisible());
}

TEST_F(MainWindow, EscapeClosesTheWindow)
{
    Form->show();
    QApplication::setActiveWindow(Form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    QTest::keyClick(Form.get(), Qt::Key_Escape);
    EXPECT_FALSE(Form->isVisible());
}

TEST_F(MainWindow, AboutBoxHasItsLayout)
{
    TAboutBox box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Info"));
    EXPECT_EQ(box.size(), QSize(330, 343));
    EXPECT_EQ(box.ProductName->text(), QStringLiteral("M V K u b r i n"));
    EXPECT_TRUE(box.ProductName->font().bold());
    EXPECT_EQ(box.ProductName->font().pixelSize(), 24);
    EXPECT_EQ(box.OKButton->geometry(), QRect(109, 314, 112, 25));
    EXPECT_TRUE(box.OKButton->isDefault());
    EXPECT_FALSE(box.ProgramIcon->pixmap().isNull());
    QTimer::singleShot(0, &box, [&box] { QTest::keyClick(&box, Qt::Key_Return); });
    EXPECT_EQ(box.exec(), QDialog::Accepted);
}

// Drawn for a scaled screen, a picture must have twice the pixels and keep
// its size, or it would look coarse or shift the window's layout.
TEST(Pictures, FineVersionsKeepThePictureSize)
{
    for (const QString& path : {QStringLiteral(":/pictures/about.svg"), QStringLiteral(":/pictures/podium.svg")}) {
        const QPixmap plain = Picture(path, 1);
        const QPixmap fine = Picture(path, 2);
        ASSERT_FALSE(plain.isNull()) << path.toStdString();
        EXPECT_EQ(plain.devicePixelRatio(), 1.0);
        EXPECT_EQ(fine.devicePixelRatio(), 2.0) << path.toStdString();
        EXPECT_EQ(fine.size(), plain.size() * 2) << path.toStdString();
    }
}

} // namespace
