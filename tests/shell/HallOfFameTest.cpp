#include "TestServices.h"
#include "hallFame.h"
#include "main.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

const QString Vacant = "(nicht besetzt)";
const QString SaveFailed = "Bestenliste konnte nicht gespeichert werden,\rentweder es ist kein Speicher mehr frei\r"
                           "oder das Laufwerk ist schreibgeschützt (z.B.: CD)";

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

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

    void WriteFame(const QByteArray& bytes)
    {
        QFile file(FamePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Starts a game and blocks the top rows, each with one gap, so that the
    // next tick cannot bring a new piece in.
    void EndGame()
    {
        Form->Starten1Click();
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < TWell::Columns; ++col)
                if (col != row * 3)
                    Form->KUBRIN1->DropBlock(col, row, clGray);
        for (int tick = 0; tick < 30 && Form->Playing(); ++tick)
            Form->Timer1Timer();
        ASSERT_FALSE(Form->Playing());
    }

    // Opens the hall-of-fame window from the menu and runs look on it while
    // it is shown; false when no window was shown.
    bool OpenWindow(const std::function<void(THallofFame&)>& look)
    {
        bool shown = false;
        QTimer::singleShot(0, Form.get(), [&] {
            if (auto* window = qobject_cast<THallofFame*>(QApplication::activeModalWidget())) {
                shown = true;
                QApplication::setActiveWindow(window);
                EXPECT_TRUE(QTest::qWaitForWindowActive(window));
                look(*window);
                window->reject();
            }
        });
        Form->Bestenliste1->trigger();
        QCoreApplication::processEvents();
        return shown;
    }

    static QStringList Rows(const THallofFame& window)
    {
        QStringList rows;
        for (int i = 0; i < window.ListView1->topLevelItemCount(); ++i)
            rows.append(window.ListView1->topLevelItem(i)->text(0) + '|' + window.ListView1->topLevelItem(i)->text(1));
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

TEST_F(HallOfFame, EndedGameAsksForTheNameAndSavesTheEntry)
{
    Services.InputAnswers = {"Eva", "EVA"};
    EndGame();
    ASSERT_EQ(Services.Inputs.size(), 1u);
    EXPECT_EQ(Services.Inputs[0].Caption, "Eingabe");
    EXPECT_EQ(Services.Inputs[0].Prompt, "Bitte geben Sie Ihren Namen ein:");
    EXPECT_EQ(Services.Inputs[0].Initial, "");
    EXPECT_FALSE(Form->Timer1->isActive());
    EXPECT_EQ(Form->LSCO->text(), "0");
    EXPECT_EQ(ReadBytes(FamePath), "0000000;Eva\r\n");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    QFile::remove(FamePath);
    EndGame(); // the same entry with other case: kept once, saved all the same
    EXPECT_EQ(Form->HallList.Entries(), QStringList{"0000000;Eva"});
    EXPECT_EQ(ReadBytes(FamePath), "0000000;Eva\r\n");
    EXPECT_TRUE(Services.Messages.empty());
    EXPECT_TRUE(OpenWindow([](THallofFame& window) { EXPECT_EQ(window.Place1Label->text(), "Eva"); }));
}

TEST_F(HallOfFame, CancelledNameEntryLeavesListAndFileAlone)
{
    WriteFame("0000005;a\n");
    Form = std::make_unique<TMainForm>();
    Services.InputAnswers = {std::nullopt};
    EndGame();
    EXPECT_EQ(Services.Inputs.size(), 1u);
    EXPECT_EQ(Form->HallList.Entries(), QStringList{"0000005;a"});
    EXPECT_EQ(ReadBytes(FamePath), "0000005;a\n");
}

TEST_F(HallOfFame, FailedSaveIsReportedAndTheEntryStaysInTheWindow)
{
    ASSERT_TRUE(QDir(Folder.path()).mkpath("Fame.sav/inside"));
    Services.InputAnswers = {"Eva"};
    EndGame();
    EXPECT_EQ(Services.MessageTexts(), QStringList{SaveFailed});
    EXPECT_TRUE(QFileInfo(FamePath + "/inside").isDir());
    EXPECT_TRUE(OpenWindow([](THallofFame& window) { EXPECT_EQ(Rows(window), QStringList{"0000000|Eva"}); }));
}

TEST_F(HallOfFame, UnreadableFileAtStartIsReportedAndTheHelpCheckStillRuns)
{
    ASSERT_TRUE(QDir(Folder.path()).mkpath("Fame.sav"));
    Form = std::make_unique<TMainForm>();
    ASSERT_EQ(Services.Messages.size(), 1u);
    EXPECT_EQ(Services.Messages[0].Text, "Kann Datei " + FamePath + " nicht öffnen.");
    EXPECT_EQ(Services.Messages[0].Icon, TMessageIcon::Error);
    EXPECT_EQ(Form->HallList.Count(), 0);
    EXPECT_FALSE(Form->Inhalt1->isEnabled());
}

TEST_F(HallOfFame, EmptyListGivesAMessageInsteadOfTheWindow)
{
    EXPECT_FALSE(OpenWindow([](THallofFame&) {}));
    EXPECT_EQ(Services.MessageTexts(), QStringList{"Es sind noch keine Personen in der Bestenliste eingetragen"});
}

TEST_F(HallOfFame, WindowHasItsLayout)
{
    WriteFame("0000001;a\r\n");
    Form = std::make_unique<TMainForm>();
    EXPECT_TRUE(OpenWindow([](THallofFame& window) {
        EXPECT_EQ(window.objectName(), "HallofFame");
        EXPECT_EQ(window.windowTitle(), "Bestenliste");
        EXPECT_EQ(window.size(), QSize(310, 423));
        EXPECT_FALSE(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        EXPECT_EQ(window.ListView1->geometry(), QRect(2, 172, 305, 218));
        EXPECT_EQ(window.ListView1->headerItem()->text(0), "Punkte");
        EXPECT_EQ(window.ListView1->headerItem()->text(1), "Name");
        EXPECT_EQ(window.ListView1->columnWidth(0), 75);
        EXPECT_EQ(window.ListView1->columnWidth(1), 250);
        EXPECT_EQ(window.Button1->geometry(), QRect(212, 394, 95, 25));
        EXPECT_TRUE(window.Button1->isDefault());
        EXPECT_EQ(window.DeleteBtn->geometry(), QRect(4, 394, 89, 25));
        EXPECT_EQ(window.Image1->geometry(), QRect(15, 18, 280, 136));
        EXPECT_EQ(window.Image1->pixmap().size(), QSize(280, 136));
        EXPECT_EQ(window.Place1Label->geometry(), QRect(75, 16, 132, 20));
        EXPECT_EQ(window.Place2Label->geometry(), QRect(214, 26, 79, 43));
        EXPECT_EQ(window.Place3Label->geometry(), QRect(17, 48, 80, 43));
        for (QLabel* place : {window.Place1Label, window.Place2Label, window.Place3Label}) {
            EXPECT_EQ(window.childAt(place->geometry().center()), place) << "above the podium";
            EXPECT_EQ(place->font().pixelSize(), 16);
            EXPECT_TRUE(place->font().bold());
            EXPECT_EQ(place->textFormat(), Qt::PlainText);
            EXPECT_TRUE(place->wordWrap());
        }
        for (QWidget* next : std::initializer_list<QWidget*>{window.Button1, window.DeleteBtn, window.ListView1}) {
            QWidget* before = QApplication::focusWidget();
            QTest::keyClick(before, Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), next) << "after " << before->objectName().toStdString();
        }
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
    WriteFame(GetParam().File);
    Form = std::make_unique<TMainForm>();
    EXPECT_TRUE(OpenWindow([](THallofFame& window) {
        EXPECT_EQ(Rows(window), GetParam().Rows);
        EXPECT_EQ(Places(window), GetParam().Places);
    }));
}

INSTANTIATE_TEST_SUITE_P(
    HallOfFame, WindowContents,
    testing::Values(TWindowCase{"OneEntry", "0001234;Eva\r\n", {"0001234|Eva"}, {"Eva", Vacant, Vacant}},
                    TWindowCase{"EqualScoresLaterNameFirst",
                                "0000050;bert\r\n0000050;Anna\r\n",
                                {"0000050|bert", "0000050|Anna"},
                                {"bert", "Anna", Vacant}},
                    TWindowCase{"FourEntriesOddLines",
                                "0000003;c;d\r\n0000009;<b>x</b>\r\n0000002 ohne\r\n0000001;a\r\n",
                                {"0000009|<b>x</b>", "0000003|c;d", "|0000002 ohne", "0000001|a"},
                                {"<b>x</b>", "c;d", "0000002 ohne"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(HallOfFame, DeletionAsksFirstThenEmptiesTableListAndFile)
{
    WriteFame("0000001;a\r\n0000002;b\r\n");
    Form = std::make_unique<TMainForm>();
    Services.QuestionAnswers = {false, true};
    EXPECT_TRUE(OpenWindow([this](THallofFame& window) {
        QTest::mouseClick(window.DeleteBtn, Qt::LeftButton);
        EXPECT_EQ(Services.Questions, QStringList{"Wollen Sie tatsächlich die Bestenliste löschen?"});
        EXPECT_EQ(Rows(window).size(), 2);
        EXPECT_EQ(Form->HallList.Count(), 2);

        QTest::mouseClick(window.DeleteBtn, Qt::LeftButton);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(Rows(window), QStringList{});
        EXPECT_EQ(Places(window), QStringList(3, Vacant));
        EXPECT_EQ(Form->HallList.Count(), 0);
        EXPECT_EQ(ReadBytes(FamePath), "");
    }));
    EXPECT_FALSE(OpenWindow([](THallofFame&) {}));
}

TEST_F(HallOfFame, DeletionThatCannotSaveReportsTheFileAndKeepsIt)
{
    Form->HallList.Add("0000001;a");
    ASSERT_TRUE(QDir(Folder.path()).mkpath("Fame.sav/inside"));
    Services.QuestionAnswers = {true};
    EXPECT_TRUE(OpenWindow([](THallofFame& window) { window.DeleteBtnClick(); }));
    ASSERT_EQ(Services.Messages.size(), 1u);
    EXPECT_EQ(Services.Messages[0].Text, "Kann Datei " + FamePath + " nicht erstellen.");
    EXPECT_EQ(Services.Messages[0].Icon, TMessageIcon::Error);
    EXPECT_EQ(Form->HallList.Count(), 0);
    EXPECT_TRUE(QFileInfo(FamePath + "/inside").isDir());
}

TEST_F(HallOfFame, ScoresEditInPlaceOnTheScreenOnly)
{
    WriteFame("0000001;a\r\n");
    Form = std::make_unique<TMainForm>();
    EXPECT_TRUE(OpenWindow([](THallofFame& window) {
        QTreeWidget& table = *window.ListView1;
        QTreeWidgetItem* row = table.topLevelItem(0);
        table.setCurrentItem(row, 1);
        QTest::keyClick(&table, Qt::Key_F2);
        EXPECT_EQ(table.indexWidget(table.currentIndex()), nullptr) << "names are not edited";
        table.setCurrentItem(row, 0);
        QTest::keyClick(&table, Qt::Key_F2);
        QWidget* editor = table.indexWidget(table.currentIndex());
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, "9999");
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(table.topLevelItem(0)->text(0), "9999");
        EXPECT_TRUE(window.isVisible()) << "Enter ends the edit, not the window";
    }));
    EXPECT_EQ(Form->HallList.Entries(), QStringList{"0000001;a"});
    EXPECT_EQ(ReadBytes(FamePath), "0000001;a\r\n");
}

TEST_F(HallOfFame, GameGoesOnBehindTheWindowAndEscapeClosesIt)
{
    Form->HallList.Add("0000001;a");
    Form->Starten1Click();
    bool closed = false;
    EXPECT_TRUE(OpenWindow([&](THallofFame& window) {
        EXPECT_TRUE(Form->Timer1->isActive());
        QTest::keyClick(&window, Qt::Key_Escape);
        closed = !window.isVisible();
    }));
    EXPECT_TRUE(closed);
}

} // namespace
