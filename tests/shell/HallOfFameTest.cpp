#include "Look.h"
#include "PlaceLabel.h"
#include "TestServices.h"
#include "WidgetTesting.h"
#include "hallFame.h"
#include "main.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>

static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

const QString Vacant = "(nicht besetzt)";

// A main window whose program folder is the test's own, with dialogs
// answered by the double.
class HallOfFame : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Folder.isValid());
        Services.Directory = Folder.path() + QLatin1Char('/');
        Form = std::make_unique<TMainForm>();
    }

    void WriteFame(const QByteArray& fame) const
    {
        QFile file(FamePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(fame), fame.size());
    }

    // Writes Fame.sav and starts the window again, so that it loads the file.
    void Restart(const QByteArray& fame)
    {
        WriteFame(fame);
        Form = std::make_unique<TMainForm>();
    }

    QByteArray Fame() const
    {
        QFile file(FamePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }

    // Starts a game and blocks the top rows, each with one gap, so that the
    // next tick cannot bring a new piece in.
    void EndGame()
    {
        Form->Starten1Click();
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < TWell::Columns; ++col)
                if (col != row * 3)
                    WidgetTesting::Child<TKUBRIN>(*Form, "KUBRIN1").DropBlock(col, row, clGray);
        for (int tick = 0; tick < 30 && Form->Playing(); ++tick)
            Form->Timer1Timer();
        ASSERT_FALSE(Form->Playing());
    }

    // Opens the hall-of-fame window from the menu and runs look on it while
    // it is shown and active; false when no window was shown.
    bool OpenWindow(const std::function<void(THallofFame&)>& look)
    {
        bool shown = false;
        QTimer::singleShot(0, Form.get(), [&] {
            if (auto* window = qobject_cast<THallofFame*>(QApplication::activeModalWidget())) {
                shown = true;
                window->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(window));
                look(*window);
                window->reject();
            }
        });
        WidgetTesting::Child<QAction>(*Form, "Bestenliste1").trigger();
        QCoreApplication::processEvents();
        return shown;
    }

    static QStringList Rows(const THallofFame& window)
    {
        QStringList rows;
        const QAbstractItemModel& model = *window.ListView1->model();
        for (int i = 0; i < model.rowCount(); ++i)
            rows.append(model.index(i, 0).data().toString() + '|' + model.index(i, 1).data().toString());
        return rows;
    }

    static QStringList Places(const THallofFame& window)
    {
        return {window.Place1Label->text(), window.Place2Label->text(), window.Place3Label->text()};
    }

    QTemporaryDir Folder;
    QString FamePath = Folder.filePath("Fame.sav");
    TTestServices Services;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(HallOfFame, EndedGamesAskForTheNameAndSaveTheEntries)
{
    Restart("0000005;a\n");
    Services.InputAnswers = {std::nullopt, "Eva", "EVA"};
    EndGame();
    EXPECT_EQ(Fame(), "0000005;a\n") << "cancelled";
    EndGame();
    ASSERT_EQ(Services.Inputs.size(), 2u);
    EXPECT_EQ(Services.Inputs[1].Caption, "Eingabe");
    EXPECT_EQ(Services.Inputs[1].Prompt, "Bitte geben Sie Ihren Namen ein:");
    EXPECT_EQ(Services.Inputs[1].Initial, "");
    EXPECT_FALSE(Form->Timer1->isActive());
    EXPECT_EQ(WidgetTesting::Child<QLabel>(*Form, "LSCO").text(), "0");
    EXPECT_EQ(Fame(), "0000000;Eva\r\n0000005;a\r\n");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Equal but for case: kept once, and the file is saved all the same
    // (written back with CR LF).
    WriteFame("0000000;Eva\n0000005;a\n");
    EndGame();
    EXPECT_EQ(Fame(), "0000000;Eva\r\n0000005;a\r\n");
    EXPECT_TRUE(Services.Messages.empty());
    EXPECT_TRUE(OpenWindow([](THallofFame& window) { EXPECT_EQ(Places(window), (QStringList{"a", "Eva", Vacant})); }));
}

TEST_F(HallOfFame, FailedSaveSaysWhyAndTheEntryStaysInTheWindow)
{
    ASSERT_TRUE(QDir(Folder.path()).mkpath("Fame.sav/old"));
    Services.InputAnswers = {"Eva", "Udo"};
    EndGame();
    EXPECT_EQ(Services.MessageTexts(), QStringList{"Bestenliste konnte nicht gespeichert werden,\r" + FamePath
                                                   + " ist keine gewöhnliche Datei\r(z.B.: ein Ordner oder ein Link)"});
    EXPECT_TRUE(QDir(FamePath).exists("old"));
    EXPECT_TRUE(OpenWindow([](THallofFame& window) { EXPECT_EQ(Rows(window), QStringList{"0000000|Eva"}); }));

    ASSERT_TRUE(QDir(FamePath).removeRecursively());
    ASSERT_TRUE(QDir(Folder.path()).mkdir("Fame.sav.lock"));
    Services.Clear();
    EndGame();
    EXPECT_EQ(Services.MessageTexts(), QStringList{"Bestenliste konnte nicht gespeichert werden,\r" + FamePath
                                                   + ".lock ist keine Sperrdatei\r(z.B.: ein Ordner oder ein Link)"});
}

TEST_F(HallOfFame, ALockHeldByAnotherCopyIsNotBlamedOnTheDiskAndTheNextSaveWritesBothGames)
{
    Services.InputAnswers = {"Eva", "Udo"};
    {
        QLockFile held(FamePath + ".lock");
        ASSERT_TRUE(held.tryLock());
        EndGame();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !Services.Messages.empty(); }, 5000));
    }
    EXPECT_EQ(Services.MessageTexts(), QStringList{"Bestenliste konnte nicht gespeichert werden,\r"
                                                   "ein anderes laufendes Spiel speichert gerade\r"
                                                   "(der Eintrag folgt beim nächsten Speichern)"});
    EndGame();
    EXPECT_EQ(Fame(), "0000000;Eva\r\n0000000;Udo\r\n");
}

TEST_F(HallOfFame, QuittingWhileTheSaveWaitsForTheLockKeepsTryingThenAsksBeforeTheEntryIsLost)
{
    const QString asked = "Bestenliste konnte nicht gespeichert werden,\r"
                          "ein anderes laufendes Spiel speichert gerade.\r"
                          "Noch einmal versuchen?\r"
                          "Mit „Nein“ endet das Spiel, und der neue Eintrag geht verloren.";
    Services.InputAnswers = {"Eva", "Udo"};
    auto held = std::make_unique<QLockFile>(FamePath + ".lock");
    ASSERT_TRUE(held->tryLock());
    bool closed = false;
    QObject::connect(Form.get(), &TMainForm::Closed, [&closed] { closed = true; });
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    EndGame();
    // Esc at once: the window stays while the save waits, and the player
    // who answers "Ja" waits again until the other copy is done.
    QTest::keyClick(Form.get(), Qt::Key_Escape);
    Services.QuestionAnswers = {true};
    QTest::qWait(300);
    EXPECT_TRUE(Form->isVisible());
    EXPECT_TRUE(Services.Questions.isEmpty());
    QTimer::singleShot(TFameStore::LockWait + 500, [&held] { held.reset(); });
    EXPECT_TRUE(QTest::qWaitFor([&closed] { return closed; }, 3 * TFameStore::LockWait + 2000));
    EXPECT_EQ(Services.Questions, QStringList{asked});
    EXPECT_EQ(Fame(), "0000000;Eva\r\n");

    // The close box, with the lock held all along: "Nein" ends the game
    // without the entry, and nothing else is said.
    Form = std::make_unique<TMainForm>();
    held = std::make_unique<QLockFile>(FamePath + ".lock");
    ASSERT_TRUE(held->tryLock());
    closed = false;
    QObject::connect(Form.get(), &TMainForm::Closed, [&closed] { closed = true; });
    Services.Clear();
    EndGame();
    Services.QuestionAnswers = {false};
    Form->close();
    EXPECT_TRUE(QTest::qWaitFor([&closed] { return closed; }, 2 * TFameStore::LockWait + 2000));
    EXPECT_EQ(Services.Questions, QStringList{asked});
    EXPECT_TRUE(Services.Messages.empty());
    Form.reset();
    EXPECT_EQ(Fame(), "0000000;Eva\r\n");
}

TEST_F(HallOfFame, UnreadableFileAtStartIsReportedAndTheHelpCheckStillRuns)
{
    ASSERT_TRUE(QDir(Folder.path()).mkpath("Fame.sav"));
    Form = std::make_unique<TMainForm>();
    ASSERT_EQ(Services.Messages.size(), 1u);
    const QString notAFile = "Kann Datei " + FamePath + " nicht öffnen: sie ist keine gewöhnliche Datei.";
    EXPECT_EQ(Services.Messages[0].Text, notAFile);
    EXPECT_EQ(Services.Messages[0].Icon, TMessageIcon::Error);
    EXPECT_FALSE(WidgetTesting::Child<QAction>(*Form, "Inhalt1").isEnabled());

    // A pipe is reported the same way, without waiting for a writer.
    ASSERT_TRUE(QDir(FamePath).removeRecursively());
    ASSERT_EQ(mkfifo(QFile::encodeName(FamePath).constData(), 0600), 0);
    Services.Clear();
    Form = std::make_unique<TMainForm>();
    EXPECT_EQ(Services.MessageTexts(), QStringList{notAFile});

    ASSERT_TRUE(QFile::remove(FamePath));
    WriteFame("0000001;a\r\n");
    ASSERT_EQ(truncate(QFile::encodeName(FamePath).constData(), TFameStore::MaxSize + 1), 0);
    Services.Clear();
    Form = std::make_unique<TMainForm>();
    EXPECT_EQ(Services.MessageTexts(),
              QStringList{"Kann Datei " + FamePath + " nicht öffnen: sie ist größer als 64 MB."});
}

TEST_F(HallOfFame, TheFirstSaveOverADamagedFileKeepsItAndSaysWhere)
{
    Restart(QByteArray("0000005;a\r\n\0" "0000009;b\r\n", 23));
    Services.InputAnswers = {"Eva", "Udo"};
    EndGame();
    EXPECT_EQ(Services.MessageTexts(),
              QStringList{"Die bisherige Bestenliste konnte nicht vollständig gelesen werden.\r"
                          "Sie wurde vor dem Speichern aufbewahrt als\r" + FamePath + ".bak"});
    EXPECT_EQ(Fame(), "0000000;Eva\r\n0000005;a\r\n");
    EndGame();
    EXPECT_EQ(Services.Messages.size(), 1u) << "told once";
}

TEST_F(HallOfFame, APlayerWhoMayNotWriteBesideTheProgramSavesIntoTheOwnDataFolder)
{
    QTemporaryDir home;
    Services.Data = home.filePath("MVKubrin/");
    Services.Writable = false;
    Restart("0000005;a\r\n");
    Services.InputAnswers = {"Eva"};
    EndGame();
    EXPECT_TRUE(Services.Messages.empty());
    EXPECT_EQ(Fame(), "0000005;a\r\n");
    QFile own(Services.Data + "Fame.sav");
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    EXPECT_EQ(own.readAll(), "0000000;Eva\r\n0000005;a\r\n");
}

TEST_F(HallOfFame, WindowShowsTheFileAsAnotherCopySavedItAndCutsHugeNames)
{
    Restart("0000001;a\r\n");
    WriteFame("0000001;a\r\n0000002;" + QByteArray(10'000'000, 'x') + "\r\n");
    EXPECT_TRUE(OpenWindow([](THallofFame& window) {
        const QStringList rows = Rows(window);
        ASSERT_EQ(rows.size(), 2);
        EXPECT_EQ(rows[1], "0000001|a");
        EXPECT_LT(rows[0].size(), 1100);
        EXPECT_TRUE(rows[0].startsWith("0000002|xxx"));
        EXPECT_TRUE(rows[0].endsWith(QChar(0x2026)));
    }));
}

struct TWindowCase {
    const char* Name;
    QByteArray File;
    QStringList Rows;
    QStringList Places;
};
void PrintTo(const TWindowCase& row, std::ostream* out) { *out << row.Name; }

class WindowContents : public HallOfFame, public testing::WithParamInterface<TWindowCase> {};

TEST_P(WindowContents, ListsTheBestFirstAndPutsThreeNamesOnThePodium)
{
    Restart(GetParam().File);
    EXPECT_TRUE(OpenWindow([](THallofFame& window) {
        EXPECT_EQ(Rows(window), GetParam().Rows);
        EXPECT_EQ(Places(window), GetParam().Places);
    }));
}

INSTANTIATE_TEST_SUITE_P(
    HallOfFame, WindowContents,
    testing::Values(TWindowCase{"OneEntry", "0001234;Eva\r\n", {"0001234|Eva"}, {"Eva", Vacant, Vacant}},
                    TWindowCase{"EqualScoresLaterNameFirst", "0000050;bert\r\n0000050;Anna\r\n",
                                {"0000050|bert", "0000050|Anna"}, {"bert", "Anna", Vacant}},
                    TWindowCase{"OddLinesStayText", "0000003;c;d\r\n0000009;<b>x</b>\r\n0000002 ohne\r\n0000001;a\r\n",
                                {"0000009|<b>x</b>", "0000003|c;d", "|0000002 ohne", "0000001|a"},
                                {"<b>x</b>", "c;d", "0000002 ohne"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(HallOfFame, WindowShowsNamesOverThePodiumAndTabsInItsOrder)
{
    Restart("0000001;a\r\n");
    EXPECT_TRUE(OpenWindow([](THallofFame& window) {
        EXPECT_EQ(window.size(), QSize(310, 423));
        for (QLabel* place : {window.Place1Label, window.Place2Label, window.Place3Label}) {
            EXPECT_EQ(window.childAt(place->geometry().center()), place);
            EXPECT_EQ(place->textFormat(), Qt::PlainText);
        }
        EXPECT_EQ(QApplication::focusWidget(), window.ListView1);
        for (QWidget* next : std::initializer_list<QWidget*>{window.Button1, window.DeleteBtn, window.ListView1}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), next);
        }
    }));
}

TEST_F(HallOfFame, DeletionAsksFirstThenEmptiesTableListAndFile)
{
    Restart("0000001;a\r\n0000002;b\r\n");
    Services.QuestionAnswers = {false, true};
    EXPECT_TRUE(OpenWindow([this](THallofFame& window) {
        QTest::mouseClick(window.DeleteBtn, Qt::LeftButton);
        EXPECT_EQ(Services.Questions, QStringList{"Wollen Sie tatsächlich die Bestenliste löschen?"});
        EXPECT_EQ(Rows(window).size(), 2);
        QTest::mouseClick(window.DeleteBtn, Qt::LeftButton);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(Rows(window), QStringList{});
        EXPECT_EQ(Places(window), QStringList(3, Vacant));
    }));
    EXPECT_EQ(Fame(), "");
    EXPECT_FALSE(OpenWindow([](THallofFame&) {}));
    EXPECT_EQ(Services.MessageTexts(), QStringList{"Es sind noch keine Personen in der Bestenliste eingetragen"});
}

TEST_F(HallOfFame, DeletionThatCannotSaveSaysWhyAndKeepsTheFile)
{
    Restart("0000001;a\r\n");
    Services.QuestionAnswers = {true};
    EXPECT_TRUE(OpenWindow([this](THallofFame& window) {
        ASSERT_TRUE(QFile::remove(FamePath));
        ASSERT_TRUE(QDir(Folder.path()).mkpath("Fame.sav/old"));
        window.DeleteBtnClick();
        EXPECT_EQ(Rows(window), QStringList{});
    }));
    EXPECT_EQ(Services.MessageTexts(), QStringList{"Bestenliste konnte nicht gespeichert werden,\r" + FamePath
                                                   + " ist keine gewöhnliche Datei\r(z.B.: ein Ordner oder ein Link)"});
    EXPECT_TRUE(QDir(FamePath).exists("old"));
}

TEST_F(HallOfFame, ListPodiumAndPlacesHaveNamesThatSayWhatTheyShow)
{
    Restart("0000002;Anna\r\n0000001;Bert\r\n");
    Services.QuestionAnswers = {true};
    EXPECT_TRUE(OpenWindow([](THallofFame& window) {
        const auto name = [](QObject* object) {
            return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
        };
        EXPECT_EQ(name(window.ListView1), "Bestenliste");
        EXPECT_EQ(name(window.Image1), "Siegertreppchen");
        // A score reads as its number with its column's name; the screen keeps the zeros.
        const QAbstractItemModel& model = *window.ListView1->model();
        EXPECT_EQ(model.index(0, 0).data(Qt::AccessibleTextRole).toString(), "2 Punkte");
        EXPECT_EQ(model.index(0, 1).data(Qt::AccessibleTextRole).toString(), "Name Anna");
        EXPECT_EQ(model.index(0, 0).data().toString(), "0000002");
        EXPECT_EQ((QStringList{name(window.Place1Label), name(window.Place2Label), name(window.Place3Label)}),
                  (QStringList{"1. Platz: Anna", "2. Platz: Bert", "3. Platz: " + Vacant}));
        window.DeleteBtnClick();
        EXPECT_EQ(name(window.Place1Label), "1. Platz: " + Vacant);
    }));
}

TEST_F(HallOfFame, ScoresEditInPlaceOnTheScreenOnlyWhileTheGameGoesOn)
{
    Restart("0000001;a\r\n");
    Form->Starten1Click();
    EXPECT_TRUE(OpenWindow([this](THallofFame& window) {
        EXPECT_TRUE(Form->Timer1->isActive());
        QTreeView& table = *window.ListView1;
        EXPECT_TRUE(table.uniformRowHeights());
        table.setCurrentIndex(table.model()->index(0, 1));
        QTest::keyClick(&table, Qt::Key_F2);
        EXPECT_EQ(table.indexWidget(table.currentIndex()), nullptr) << "names are not edited";
        table.setCurrentIndex(table.model()->index(0, 0));
        QTest::keyClick(&table, Qt::Key_F2);
        QWidget* editor = table.indexWidget(table.currentIndex());
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, "9999");
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(table.model()->index(0, 0).data().toString(), "9999");
        EXPECT_TRUE(window.isVisible()) << "Enter ends the edit, not the window";
        QTest::keyClick(&window, Qt::Key_Escape);
        EXPECT_FALSE(window.isVisible());
    }));
    EXPECT_EQ(Fame(), "0000001;a\r\n");
    EXPECT_TRUE(OpenWindow([](THallofFame& window) { EXPECT_EQ(Rows(window), QStringList{"0000001|a"}); }));
}

TEST(PlaceLabel, LongNamesBreakAtWordsShowWholeLinesAndEndInAnEllipsis)
{
    QFont font = ClassicFont();
    font.setPixelSize(16);
    font.setBold(true);
    const QFontMetrics metrics(font);
    const QChar ellipsis(0x2026);
    const QSize twoLines(metrics.horizontalAdvance("Mustermann") + 1, 2 * metrics.lineSpacing() + 2);

    EXPECT_EQ(FittedLines("Eva", font, twoLines), QStringList{"Eva"});
    const QStringList lines = FittedLines("Max Mustermann Schulze", font, twoLines);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "Max");
    EXPECT_TRUE(lines[1].startsWith("Muster") && lines[1].endsWith(ellipsis)) << lines[1].toStdString();

    // One word wider than the label keeps its beginning, not its middle.
    const QSize oneLine(metrics.horizontalAdvance("Muster"), metrics.lineSpacing());
    const QStringList word = FittedLines("Mustermann-Schulze", font, oneLine);
    ASSERT_EQ(word.size(), 1);
    EXPECT_TRUE(word[0].startsWith("Mu") && word[0].endsWith(ellipsis)) << word[0].toStdString();
    for (const QString& line : lines + word)
        EXPECT_LE(metrics.horizontalAdvance(line), twoLines.width());
}

} // namespace
