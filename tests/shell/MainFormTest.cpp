#include "Application.h"
#include "Look.h"
#include "BoardText.h"
#include "Player.h"
#include "PreviewForm.h"
#include "Random.h"
#include "TestServices.h"
#include "WidgetTesting.h"
#include "about.h"
#include "main.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

struct TWellTestAccess {
    static void ForcePiece(TWell& well, int kind)
    {
        well.SetCurrentPiece(kind);
        well.LoadPiece(kind);
    }
};

namespace {

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
        Form = std::make_unique<TMainForm>();
    }

    template <class TPart>
    TPart& Part(const char* name) { return WidgetTesting::Child<TPart>(*Form, name); }
    TKUBRIN& Field() { return Part<TKUBRIN>("KUBRIN1"); }
    QAction& Item(const char* name) { return Part<QAction>(name); }
    QLabel& Label(const char* name) { return Part<QLabel>(name); }

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
        Item("Starten1").trigger();
        Field().SetNextPiece(4);
        ForcePiece(4);
        FillRows(17, 20, 5);
    }

    // Makes the falling piece a fresh one of the kind, at its position.
    void ForcePiece(int kind) { TWellTestAccess::ForcePiece(Field().Well(), kind); }

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
    std::unique_ptr<TMainForm> Form;
};

TEST_F(MainWindow, StartsWithoutAGameAndWithTheStoredLayout)
{
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("MVKubrin"));
    EXPECT_EQ(Form->centralWidget()->size(), QSize(386, 434));
    EXPECT_FALSE(Form->Timer1->isActive());
    EXPECT_EQ(Form->Timer1->interval(), 1000);
    EXPECT_EQ(Field().geometry(), QRect(3, 4, 192, 361));
    EXPECT_EQ(Part<QWidget>("Panel1").geometry(), QRect(93, 16, 199, 369));
    EXPECT_EQ(Part<QWidget>("Panel2").geometry(), QRect(94, 386, 199, 39));
    for (QLabel* counter : {&Label("LCP"), &Label("LCL"), &Label("LDLT"), &Label("LSCO")})
        EXPECT_EQ(counter->text(), QStringLiteral("0"));
    EXPECT_EQ(Label("Label3").text(), QStringLiteral("Teile:"));
    EXPECT_EQ(Label("Label9").text(), QStringLiteral("Punkte:"));
    EXPECT_TRUE(Item("Gerusche1").isChecked());
    EXPECT_FALSE(Item("Pause1").isChecked());
    EXPECT_FALSE(Item("Vorschaufenster1").isChecked());
    EXPECT_EQ(Item("Starten1").shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(Item("Beenden1").shortcut(), QKeySequence(Qt::Key_Escape));
    EXPECT_EQ(Item("Inhalt1").shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_FALSE(Field().ShowNextpiece());
    EXPECT_EQ(Field().PreviewForm()->pos(), QPoint(50, 50));
    EXPECT_TRUE(Services.Messages.empty());
}

TEST_F(MainWindow, HelpItemsNeedTheHelpFile)
{
    EXPECT_FALSE(Item("Inhalt1").isEnabled());
    EXPECT_FALSE(Item("Bedienung1").isEnabled());

    QFile help(Folder.filePath(QStringLiteral("MVKubrin.hlp")));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("<a name=\"id_Index\"></a>");
    help.close();
    Form = std::make_unique<TMainForm>();
    EXPECT_TRUE(Item("Inhalt1").isEnabled());
    Item("Inhalt1").trigger();
    Item("Bedienung1").trigger();
    ASSERT_EQ(Services.HelpRequests.size(), 2u);
    EXPECT_EQ(Services.HelpRequests[0].File, Folder.filePath(QStringLiteral("MVKubrin.hlp")));
    EXPECT_EQ(Services.HelpRequests[0].Topic, QStringLiteral("id_Index"));
    EXPECT_EQ(Services.HelpRequests[1].Topic, QStringLiteral("id_Interface"));
    EXPECT_TRUE(Services.Messages.empty());
    Services.HelpResult = false;
    Item("Inhalt1").trigger();
    EXPECT_EQ(Services.MessageTexts(), QStringList{" Hilfeaufruf erfolglos"});
}

TEST_F(MainWindow, NewGameResetsAndStartsTheTimer)
{
    Item("Starten1").trigger();
    EXPECT_TRUE(Form->Timer1->isActive());
    EXPECT_EQ(Form->Timer1->interval(), 1000);
    EXPECT_EQ(Field().NumberOfPieces(), 0);
    EXPECT_EQ(Field().Well().PieceCol(), 4);
    EXPECT_EQ(Field().Well().PieceRow(), -2);
    for (TColor cell : Field().Well().Board())
        ASSERT_EQ(cell, clBlack);
}

TEST_F(MainWindow, EighthRowRaisesTheLevel)
{
    StartWithBarOverFourRows();
    QTest::keyClick(Form.get(), Qt::Key_0);
    TickUntilLanded();
    ASSERT_EQ(Form->Lines(), 4);
    ForcePiece(4);
    FillRows(17, 20, 5);
    QTest::keyClick(Form.get(), Qt::Key_0);
    QString shownWhileOpen;
    Services.WhileMessageShown = [&](const QString&) {
        EXPECT_FALSE(Form->Timer1->isActive());
        shownWhileOpen = Label("LCL").text();
    };
    TickUntilLanded();
    EXPECT_EQ(Form->Lines(), 8);
    EXPECT_EQ(Services.MessageTexts(), QStringList{"Changing level...\rFree lines = 21"});
    EXPECT_EQ(shownWhileOpen, QStringLiteral("0"));
    EXPECT_EQ(Form->Level(), 1);
    EXPECT_EQ(Label("LCL").text(), QStringLiteral("1"));
    EXPECT_EQ(Form->Timer1->interval(), 800);
    EXPECT_TRUE(Form->Timer1->isActive());
    EXPECT_EQ(Field().ScreenNumber(), 1);
    EXPECT_NE(Field().Well().BoardCell(0, 20), clBlack);
}

TEST_F(MainWindow, KeysPlayTheirSoundsAndSteerThePiece)
{
    Item("Starten1").trigger();
    Form->Timer1Timer();
    const int col = Field().Well().PieceCol();
    QTest::keyClick(Form.get(), Qt::Key_Left);
    EXPECT_EQ(Field().Well().PieceCol(), col - 1);
    QTest::keyClick(Form.get(), Qt::Key_Right);
    QTest::keyClick(Form.get(), Qt::Key_Up);
    QTest::keyClick(Form.get(), Qt::Key_Down);
    const int row = Field().Well().PieceRow();
    QTest::keyClick(Form.get(), Qt::Key_Space);
    EXPECT_EQ(Field().Well().PieceRow(), row + 1);
    QTest::keyClick(Form.get(), Qt::Key_0);
    const QString dir = Services.Directory;
    EXPECT_EQ(Services.Sounds, (QStringList{dir + "click2.wav", dir + "click2.wav", dir + "click3.wav",
                                            dir + "click3.wav", dir + "click.wav", dir + "click4.wav"}));
    EXPECT_GT(Form->Score(), 0); // rows fallen by the drop

    Services.Sounds.clear();
    Item("Gerusche1").trigger();
    EXPECT_FALSE(Item("Gerusche1").isChecked());
    QTest::keyClick(Form.get(), Qt::Key_Left);
    QTest::keyClick(Form.get(), Qt::Key_0);
    EXPECT_TRUE(Services.Sounds.isEmpty());
    Item("Gerusche1").trigger();
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
    EXPECT_EQ(Field().Well().PieceRow(), -2);
    EXPECT_TRUE(Services.Messages.empty());
}

TEST_F(MainWindow, PlayingKeysDoNothingOutsideAGame)
{
    const int col = Field().Well().PieceCol();
    QTest::keyClick(Form.get(), Qt::Key_Left);
    QTest::keyClick(Form.get(), Qt::Key_Space);
    QTest::keyClick(Form.get(), Qt::Key_0);
    EXPECT_EQ(Field().Well().PieceCol(), col);
    EXPECT_TRUE(Services.Sounds.isEmpty());
    Item("Pause1").trigger();
    Item("Pause1").trigger();
    EXPECT_FALSE(Form->Timer1->isActive());
}

TEST_F(MainWindow, PauseSwitchesTheTimer)
{
    Item("Starten1").trigger();
    Item("Pause1").trigger();
    EXPECT_TRUE(Item("Pause1").isChecked());
    EXPECT_FALSE(Form->Timer1->isActive());
    const int row = Field().Well().PieceRow();
    QTest::keyClick(Form.get(), Qt::Key_Space); // keys still act while paused
    EXPECT_EQ(Field().Well().PieceRow(), row + 1);
    Item("Pause1").trigger();
    EXPECT_TRUE(Form->Timer1->isActive());

    Item("Pause1").trigger();
    Item("Starten1").trigger(); // a new game while paused runs with the mark set
    EXPECT_TRUE(Item("Pause1").isChecked());
    EXPECT_TRUE(Form->Timer1->isActive());
    Item("Pause1").trigger();
    EXPECT_FALSE(Item("Pause1").isChecked());
    EXPECT_TRUE(Form->Timer1->isActive());
    Item("Pause1").trigger();
    EXPECT_FALSE(Form->Timer1->isActive());
}

TEST_F(MainWindow, PreviewItemShowsAndHidesThePreview)
{
    Item("Vorschaufenster1").trigger();
    EXPECT_TRUE(Item("Vorschaufenster1").isChecked());
    EXPECT_TRUE(Field().ShowNextpiece());
    EXPECT_TRUE(Field().PreviewForm()->isVisible());
    Item("Starten1").trigger();
    Form->Timer1Timer();
    const int col = Field().Well().PieceCol();
    QTest::keyClick(Field().PreviewForm(), Qt::Key_Left); // the preview hands its keys to the game
    EXPECT_EQ(Field().Well().PieceCol(), col - 1);
    Item("Vorschaufenster1").trigger();
    EXPECT_FALSE(Field().PreviewForm()->isVisible());
}

// A window manager that gives the preview the keyboard anyway gets it handed
// back to the game at once.
TEST_F(MainWindow, PreviewHandsTheKeyboardBackToTheGame)
{
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    Item("Vorschaufenster1").trigger();
    TPreviewForm* preview = Field().PreviewForm();
    // Activation is asynchronous: the preview must really have had the
    // keyboard before the game's window counts as having it back.
    bool previewHadIt = false;
    const auto watch = QObject::connect(qApp, &QGuiApplication::focusWindowChanged,
        [&](QWindow* window) { previewHadIt = previewHadIt || window == preview->windowHandle(); });
    preview->activateWindow();
    for (int wait = 0; wait < 50 && !(previewHadIt && QApplication::activeWindow() == Form.get()); ++wait)
        QTest::qWait(10);
    QObject::disconnect(watch);
    EXPECT_TRUE(previewHadIt);
    EXPECT_EQ(QApplication::activeWindow(), Form.get());
    EXPECT_TRUE(preview->isVisible());
}

TEST_F(MainWindow, EscapeClosesTheWindow)
{
    Form->show();
    Form->activateWindow();
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

// The board as text: a letter for each colour a piece or a disturbance
// has, '#' for the colour of a rising row.
std::vector<std::string> BoardPicture(const TWell& well)
{
    return BoardText(well, [](TColor cell) {
        static const std::pair<TColor, char> Names[] = {{clBlack, '.'}, {Grey, 'G'},     {clBlue, 'B'},
                                                        {clFuchsia, 'F'}, {clAqua, 'A'}, {clRed, 'R'},
                                                        {clMaroon, 'M'},  {clOlive, 'O'}, {clLime, 'L'}};
        for (const auto& [color, letter] : Names)
            if (cell == color)
                return letter;
        return '#';
    });
}

// The score of a seeded game after every tenth piece, pinned once: a change
// to the rules shows as the first ten pieces in which the game played
// otherwise.
constexpr int ScoreEveryTenPieces[] = {
    366,   772,   1126,  1437,  1802,  2133,  2547,  2969,  3329,  3697,  4055,  4350,
    4613,  4817,  4968,  5286,  5522,  5863,  6211,  6685,  7140,  7580,  8000,  8424,
    8867,  9343,  9767,  10216, 10732, 11197, 11617, 12066, 12511, 12940,
};
constexpr int PiecesPerScore = 10;

TEST_F(MainWindow, ASeededGamePlaysTheSameEveryTime)
{
    TPlayer player;
    std::vector<int> scores;
    Item("Starten1").trigger();
    for (int piece = 0; piece < 3000 && Form->Playing(); ++piece) {
        for (TPlayer::TMove move : player.Plan(Field().Well())) {
            switch (move) {
            case TPlayer::TMove::Left: QTest::keyClick(Form.get(), Qt::Key_Left); break;
            case TPlayer::TMove::Right: QTest::keyClick(Form.get(), Qt::Key_Right); break;
            case TPlayer::TMove::TurnClockwise: QTest::keyClick(Form.get(), Qt::Key_Down); break;
            case TPlayer::TMove::Drop: QTest::keyClick(Form.get(), Qt::Key_0); break;
            }
        }
        QTest::keyClick(Form.get(), Qt::Key_Space);
        const int pieces = Field().NumberOfPieces();
        if (pieces >= int(scores.size() + 1) * PiecesPerScore)
            scores.push_back(Form->Score());
    }
    for (std::size_t i = 0; i < std::size(ScoreEveryTenPieces); ++i) {
        const int pieces = int(i + 1) * PiecesPerScore;
        ASSERT_LT(i, scores.size()) << "the game ended before piece " << pieces;
        ASSERT_EQ(scores[i], ScoreEveryTenPieces[i])
            << "the game first played otherwise between piece " << pieces - PiecesPerScore + 1 << " and piece "
            << pieces;
    }
    EXPECT_FALSE(Form->Playing());
    EXPECT_EQ(Field().NumberOfPieces(), 344);
    EXPECT_EQ(Form->Score(), 13091);
    EXPECT_EQ(Form->Level(), 9);
    EXPECT_EQ(Form->Lines(), 120);
    EXPECT_EQ(Random::Seed(), 1527608045u);
    const QString level = "Changing level...\rFree lines = ";
    EXPECT_EQ(Services.MessageTexts(), (QStringList{level + "19", level + "16", level + "17", level + "12", level + "7",
                                                    level + "13", level + "14", level + "17", level + "14"}));
    // The game ended on a grey block that appeared in row 1, in the new
    // piece's way.
    EXPECT_EQ(BoardPicture(Field().Well()), (std::vector<std::string>{
                                         "..........", "......G...", "..........", "..........", "..........",
                                         "..........", "..........", "..........", "..........", "..........",
                                         "..........", "..........", "..........", "..........", "..........",
                                         "..........", "..........", "..........", "..........", "..OOBB....",
                                         ".OO.BBG...",
                                     }));
}

} // namespace
