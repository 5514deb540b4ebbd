#include "PreviewForm.h"
#include "T_KUBRIN.h"
#include "TestServices.h"
#include "about.h"
#include "main.h"
#include "Speech.h"
#include "Announcer.h"

#include <QAccessible>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

QString Name(QObject* object) { return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name); }

class ReadAloud : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Folder.isValid());
        Services.Directory = Folder.path() + QLatin1Char('/');
        Form = std::make_unique<TMainForm>();
    }

    template <class T = QWidget>
    T* Widget(const char* name) const
    {
        return Form->findChild<T*>(QLatin1String(name));
    }

    QTemporaryDir Folder;
    TTestServices Services;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(ReadAloud, EachCounterReadsWithItsCaptionAndFollowsItsValue)
{
    const struct {
        const char* Counter;
        const char* Caption;
    } counters[] = {{"LCP", "Teile:"}, {"LCL", "Level:"}, {"LSCO", "Punkte:"}, {"LDLT", "Zeilen:"}};
    for (const auto& [counter, caption] : counters) {
        QAccessibleInterface* value = QAccessible::queryAccessibleInterface(Widget(counter));
        EXPECT_EQ(value->text(QAccessible::Name), QStringLiteral("%1 0").arg(QLatin1String(caption)));
        const auto labels = value->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1) << counter;
        EXPECT_EQ(labels.front().first->text(QAccessible::Name), QLatin1String(caption));
    }
    Widget<QLabel>("LSCO")->setText(QStringLiteral("143"));
    EXPECT_EQ(Name(Widget("LSCO")), QStringLiteral("Punkte: 143"));
    EXPECT_EQ(Widget<QLabel>("LSCO")->text(), QStringLiteral("143")) << "the screen shows the value alone";
}

TEST_F(ReadAloud, ThePlayfieldIsAFocusedPictureThatSaysTheWholeState)
{
    QAccessibleInterface* playfield = QAccessible::queryAccessibleInterface(Widget("KUBRIN1"));
    EXPECT_EQ(playfield->role(), QAccessible::Graphic);
    EXPECT_EQ(playfield->text(QAccessible::Name), QStringLiteral("Spielfeld"));
    const auto description = [playfield] { return playfield->text(QAccessible::Description); };
    EXPECT_TRUE(description().startsWith(QStringLiteral("Kein Spiel. Höhen: 0 0 0"))) << description().toStdString();
    EXPECT_TRUE(description().endsWith(QStringLiteral("10 Spalten, 21 Zeilen"))) << description().toStdString();
    Form->Starten1Click();
    for (const char* part : {" Spalte ", "landet in Zeile 1", "Als nächstes"})
        EXPECT_TRUE(description().contains(QString::fromUtf8(part))) << description().toStdString();
    EXPECT_FALSE(description().contains(QStringLiteral("Pause")));
    Form->Pause1Click();
    EXPECT_TRUE(description().contains(QStringLiteral(", Pause."))) << description().toStdString();
    EXPECT_TRUE(Widget("KUBRIN1")->hasFocus() || Widget("KUBRIN1")->window()->focusWidget() == Widget("KUBRIN1"))
        << "the playfield holds the focus, so that the screen reader reads it";

    QAccessibleInterface* preview =
        QAccessible::queryAccessibleInterface(Widget<TKUBRIN>("KUBRIN1")->PreviewForm());
    EXPECT_EQ(preview->role(), QAccessible::Window);
    EXPECT_EQ(preview->text(QAccessible::Name), QStringLiteral("Vorschau"));
}

// The phrases the game says, as a screen reader's speech server gets them.
class TRecordingSpeaker : public TSpeaker {
public:
    TRecordingSpeaker() : FPrevious(SetSpeaker(this)) {}
    ~TRecordingSpeaker() override { SetSpeaker(FPrevious); }
    void Say(const char* text) override
    {
        Said.push_back(text);
    }
    std::vector<std::string> Said;
    TSpeaker* FPrevious;
};

TEST_F(ReadAloud, TheGameIsHeardAsItIsPlayedOnePhraseAKey)
{
    TRecordingSpeaker speaker;
    Form->FormKeyDown(Qt::Key_Left);
    Form->FormKeyPress(QLatin1Char('n'));
    const int column = Form->findChild<TKUBRIN*>()->Well().PieceCol();
    Form->FormKeyDown(Qt::Key_Left);
    Form->Pause1Click();
    Form->Gerusche1Click();
    Form->Vorschaufenster1Click();
    Form->Pause1Click();
    ASSERT_EQ(speaker.Said.size(), 7u);
    EXPECT_EQ(speaker.Said[0], "kein Spiel");
    EXPECT_EQ(speaker.Said[1].rfind("Neues Spiel, ", 0), 0u) << speaker.Said[1];
    EXPECT_EQ(speaker.Said[2].rfind("Spalte ", 0), 0u) << speaker.Said[2];
    EXPECT_NE(Form->findChild<TKUBRIN*>()->Well().PieceCol(), column);
    EXPECT_EQ(std::vector<std::string>(speaker.Said.begin() + 3, speaker.Said.end()),
              (std::vector<std::string>{"Pause", "Geräusche aus", "Vorschau an", "Weiter"}));

    // The end is read with the name box, and nothing is said beside it.
    for (int key = 0; key < 400 && Services.Inputs.empty(); ++key) {
        Form->FormKeyPress(QLatin1Char('0'));
        Form->FormKeyDown(Qt::Key_Space);
    }
    ASSERT_EQ(Services.Inputs.size(), 1u);
    EXPECT_EQ(Services.Inputs[0].Description, QStringLiteral("Spiel vorbei, %1 Punkte").arg(Form->Score()));
    EXPECT_EQ(std::count_if(speaker.Said.begin(), speaker.Said.end(),
                            [](const std::string& said) { return said.find("Spiel vorbei") != std::string::npos; }),
              0);
    EXPECT_NE(std::find_if(speaker.Said.begin(), speaker.Said.end(),
                           [](const std::string& said) { return said.find(". Zeile ") != std::string::npos; }),
              speaker.Said.end());
}

// What the program tells an assistive technology, as if one listened.
class TAccessibleEvents {
public:
    TAccessibleEvents()
    {
        Recorder = this;
        FPrevious = QAccessible::installUpdateHandler([](QAccessibleEvent* event) { Recorder->Record(event); });
        QAccessible::setActive(true);
    }
    ~TAccessibleEvents()
    {
        QAccessible::setActive(false);
        QAccessible::installUpdateHandler(FPrevious);
        Recorder = nullptr;
    }
    int Count(QAccessible::Event type, const QObject* object) const
    {
        return int(std::count(Events.begin(), Events.end(), std::pair(type, object)));
    }
    std::vector<std::pair<QAccessible::Event, const QObject*>> Events;
    std::vector<std::pair<QString, int>> Announced;

private:
    void Record(QAccessibleEvent* event)
    {
        Events.emplace_back(event->type(), event->object());
#if MVK_ANNOUNCEMENTS
        if (event->type() == QAccessible::Announcement) {
            const auto* announcement = static_cast<QAccessibleAnnouncementEvent*>(event);
            Announced.emplace_back(announcement->message(), int(announcement->politeness()));
        }
#endif
    }
    static inline TAccessibleEvents* Recorder = nullptr;
    QAccessible::UpdateHandler FPrevious = nullptr;
};

TEST_F(ReadAloud, ThePauseTellsTheScreenReaderThatThePlayfieldsStateChangedAndNoMoveDoes)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // Qt before 6.8 hands events to the recorder only while a platform's
    // bridge is active, which the offscreen platform never is.
    GTEST_SKIP() << "needs Qt 6.8 to record accessibility events";
#endif
    TRecordingSpeaker speaker;
    TAccessibleEvents events;
    QObject* playfield = Widget("KUBRIN1");
    Form->FormKeyPress(QLatin1Char('n'));
    Form->FormKeyDown(Qt::Key_Left);
    Form->FormKeyPress(QLatin1Char('0'));
    EXPECT_EQ(events.Count(QAccessible::DescriptionChanged, playfield), 0);
    Form->Pause1Click();
    EXPECT_EQ(events.Count(QAccessible::DescriptionChanged, playfield), 1);
    EXPECT_EQ(speaker.Said.back(), "Pause");
    const QString description = QAccessible::queryAccessibleInterface(playfield)->text(QAccessible::Description);
    EXPECT_TRUE(description.contains(QStringLiteral(", Pause."))) << description.toStdString();
    Form->Pause1Click();
    EXPECT_EQ(events.Count(QAccessible::DescriptionChanged, playfield), 1);
}

#if MVK_ANNOUNCEMENTS
TEST_F(ReadAloud, AnnouncementsTellThePhraseToTheScreenReaderTheNewestCuttingTheOneBefore)
{
    Form->show();
    TAnnouncer announcer;
    TAccessibleEvents events;
    announcer.Say("Spalte 4");
    announcer.Say("Spalte 5");
    announcer.Say("");
    EXPECT_EQ(events.Announced,
              (std::vector<std::pair<QString, int>>{
                  {QStringLiteral("Spalte 4"), int(QAccessible::AnnouncementPoliteness::Assertive)},
                  {QStringLiteral("Spalte 5"), int(QAccessible::AnnouncementPoliteness::Assertive)}}));
}
#endif

TEST(AboutBoxReadAloud, ThePictureIsNamedAndTheSpacedNameReadsAsOneWord)
{
    TAboutBox box;
    auto* name = box.findChild<QLabel*>(QStringLiteral("ProductName"));
    EXPECT_EQ(Name(name), QStringLiteral("MVKubrin"));
    EXPECT_EQ(name->text(), QStringLiteral("M V K u b r i n"));
    EXPECT_FALSE(Name(box.findChild<QLabel*>(QStringLiteral("ProgramIcon"))).isEmpty());
}

} // namespace
