#include "HelpWindow.h"
#include "TypingGuard.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include <gtest/gtest.h>

#include <vector>

namespace {

// One key event as the window system hands it to a window: with its time,
// and with Qt's flag for a repeat where the window system marks one.
struct TKeyStep {
    bool BeforeTheBoxOpened = false;
    bool Press = true;
    char Key = '0';
    bool AutoRepeat = false;
    unsigned long Time = 0;
};

struct TGuardCase {
    const char* Name;
    std::vector<TKeyStep> Steps;
    const char* Typed;
    std::chrono::milliseconds Settling = std::chrono::milliseconds(0);
};

void PrintTo(const TGuardCase& row, std::ostream* out) { *out << row.Name; }

void Send(QWindow* window, const TKeyStep& step)
{
    const auto key = Qt::Key(step.Key >= 'a' ? step.Key - 'a' + 'A' : step.Key);
    QKeyEvent event(step.Press ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier,
                    QString(QLatin1Char(step.Key)), step.AutoRepeat);
    event.setTimestamp(step.Time);
    QApplication::sendEvent(window, &event);
}

class NameBox : public testing::TestWithParam<TGuardCase> {};

TEST_P(NameBox, TakesOnlyKeysPressedForItAfterItOpened)
{
    QWidget game;
    game.show();
    QDialog box;
    auto* field = new QLineEdit(&box);
    (new QVBoxLayout(&box))->addWidget(field);
    TTypingGuard guard(GetParam().Settling);
    for (const TKeyStep& step : GetParam().Steps)
        if (step.BeforeTheBoxOpened)
            Send(game.windowHandle(), step);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    field->setFocus();
    guard.Guard(box);
    for (const TKeyStep& step : GetParam().Steps)
        if (!step.BeforeTheBoxOpened)
            Send(box.windowHandle(), step);
    EXPECT_EQ(field->text(), QLatin1String(GetParam().Typed));
}

INSTANTIATE_TEST_SUITE_P(
    Guard, NameBox,
    testing::Values(
        TGuardCase{.Name = "KeyHeldFromTheGameUntilLetGo",
                   .Steps = {{.BeforeTheBoxOpened = true, .Time = 10},
                             {.Time = 40},
                             {.Time = 80},
                             {.Press = false, .Time = 90},
                             {.Time = 300},
                             {.Press = false, .Time = 310}},
                   .Typed = "0"},
        TGuardCase{.Name = "RepeatsMarkedByQtOrSentAsReleaseAndPress",
                   .Steps = {{.Key = 'a', .Time = 10},
                             {.Key = 'a', .AutoRepeat = true, .Time = 50},
                             {.Press = false, .Key = 'a', .Time = 700},
                             {.Key = 'a', .Time = 700},
                             {.Press = false, .Key = 'a', .Time = 740},
                             {.Key = 'b', .Time = 800}},
                   .Typed = "ab"},
        TGuardCase{.Name = "OnlyLettersInTheMomentAfterItOpened",
                   .Steps = {{.Time = 10},
                             {.Press = false, .Time = 20},
                             {.Key = ' ', .Time = 30},
                             {.Press = false, .Key = ' ', .Time = 40},
                             {.Key = 'a', .Time = 50},
                             {.Press = false, .Key = 'a', .Time = 60}},
                   .Typed = "a",
                   .Settling = std::chrono::hours(1)},
        TGuardCase{.Name = "AKeyLetGoBeforeItOpenedTypesAtOnce",
                   .Steps = {{.BeforeTheBoxOpened = true, .Time = 10},
                             {.BeforeTheBoxOpened = true, .Press = false, .Time = 20},
                             {.Time = 100}},
                   .Typed = "0"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(HelpWindow, IsAWindowOfItsOwnThatEscCloses)
{
    QPointer<THelpWindow> help = new THelpWindow;
    help->ShowTopic(QStringLiteral("<p id=\"id_Index\">Hilfe</p>"), QStringLiteral("id_Index"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(help));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(help.data())->role(), QAccessible::Window);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(help.isNull());
}

} // namespace
