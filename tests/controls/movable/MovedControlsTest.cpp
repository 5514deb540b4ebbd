// Mouse events go to the window and Qt finds the widget under the pointer
// and holds the mouse for it while a button is down, as with a real mouse.
#define QTEST_QPA_MOUSE_HANDLING

#include "ControlSet.h"
#include "MovedControls.h"
#include "TestRows.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

void PrintTo(const QPoint& point, std::ostream* out) { *out << "(" << point.x() << ", " << point.y() << ")"; }
void PrintTo(const QRect& rect, std::ostream* out)
{
    *out << "(" << rect.x() << ", " << rect.y() << ") " << rect.width() << " x " << rect.height();
}

namespace {

// One of the eleven, as the set's table gives it, named for its row.
struct TKind {
    const char* Name;
    const TControlSetClass* Class;
};

using TestRows::PrintTo;

std::vector<TKind> MovableKinds()
{
    std::vector<TKind> kinds;
    for (const TControlSetClass& entry : ControlSetClasses())
        if (entry.Movable())
            kinds.push_back({.Name = entry.MetaObject.className(), .Class = &entry});
    return kinds;
}

// What a few classes need before a person can use them; the others are used
// as they are made.
void MakeUsable(QWidget* control)
{
    if (auto* label = qobject_cast<TMovedLabel*>(control)) {
        label->SetAutoSize(false);
        label->SetCaption(QStringLiteral("Zieh mich"));
    } else if (auto* list = qobject_cast<TMovedListBox*>(control)) {
        list->addItems({QStringLiteral("eins"), QStringLiteral("zwei")});
    } else if (auto* combo = qobject_cast<TMovedComboBox*>(control)) {
        // Taken by its edit field, the usual grip on a combo box: a press on
        // the button part opens the list instead.
        combo->setEditable(true);
        combo->addItems({QStringLiteral("rot"), QStringLiteral("grün")});
    } else if (auto* group = qobject_cast<TMovedRadioGroup*>(control)) {
        group->setTitle(QStringLiteral("Auswahl"));
        group->SetItems({QStringLiteral("a"), QStringLiteral("b")});
    }
}

// Where a person would take hold of the control: clear of the radio group's
// buttons, which are controls of their own.
QPoint GripOf(const QWidget* control)
{
    return qobject_cast<const TMovedRadioGroup*>(control) ? QPoint(3, 3) : QPoint(12, 20);
}

TEST(MovableControl, TheSetsTableHoldsTheEleven) { EXPECT_EQ(MovableKinds().size(), 11u); }

constexpr QPoint Start(50, 40);

// A shown window with one control of the row's class, 100 x 40 at Start,
// driven through the mouse as a person would, in the window's coordinates.
class MovableControl : public testing::TestWithParam<TKind> {
protected:
    void SetUp() override
    {
        FWindow.resize(600, 400);
        FControl = GetParam().Class->Create(&FWindow);
        MakeUsable(FControl);
        FControl->setGeometry(QRect(Start, QSize(100, 40)));
        FWindow.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&FWindow));
        FMoving = std::make_unique<QSignalSpy>(FControl, SIGNAL(OnMoving(QObject*)));
        ASSERT_TRUE(FMoving->isValid());
    }

    void TearDown() override
    {
        if (FHeld != Qt::NoButton)
            QTest::mouseRelease(&FWindow, FHeld, {}, FPointer);
    }

    void Set(const char* name, int value) { ASSERT_TRUE(FControl->setProperty(name, value)) << name; }
    int Get(const char* name) const { return FControl->property(name).toInt(); }
    void SetLimits(int left, int top, int right, int bottom)
    {
        Set("LeftMoveLimit", left);
        Set("TopMoveLimit", top);
        Set("RightMoveLimit", right);
        Set("BottomMoveLimit", bottom);
    }

    // The grip of the control where it is now, in window coordinates.
    QPoint Grip() const { return FControl->pos() + GripOf(FControl); }
    void Press(Qt::MouseButton button, QPoint at)
    {
        ASSERT_EQ(FHeld, Qt::NoButton);
        QTest::mousePress(&FWindow, button, {}, at);
        FHeld = button;
        FPointer = at;
    }
    void MoveTo(QPoint at)
    {
        QTest::mouseMove(&FWindow, at);
        FPointer = at;
    }
    void Release()
    {
        QTest::mouseRelease(&FWindow, FHeld, {}, FPointer);
        FHeld = Qt::NoButton;
    }

    QWidget FWindow;
    QWidget* FControl = nullptr;
    std::unique_ptr<QSignalSpy> FMoving;
    Qt::MouseButton FHeld = Qt::NoButton;
    QPoint FPointer;
};

TEST_P(MovableControl, DragFollowsThePointerAndReportsEveryStepThatMoved)
{
    const QPoint grip = Grip();
    Press(Qt::LeftButton, grip);
    MoveTo(grip + QPoint(30, 0));
    EXPECT_EQ(FControl->pos(), Start + QPoint(30, 0));
    MoveTo(grip + QPoint(30, 0)); // the pointer has not moved from the press point
    MoveTo(grip + QPoint(-45, -30));
    Release();
    EXPECT_EQ(FControl->pos(), Start + QPoint(-45, -30));
    ASSERT_EQ(FMoving->count(), 2);
    EXPECT_EQ(FMoving->at(1).at(0).value<QObject*>(), FControl);
}

TEST_P(MovableControl, DragStopsAtTheLimitsAndReportsOnlyWhatMoved)
{
    SetLimits(0, 0, 199, 99);
    const QPoint grip = Grip();
    Press(Qt::LeftButton, grip);
    MoveTo(grip + QPoint(300, 0));
    MoveTo(grip + QPoint(320, 10));
    EXPECT_EQ(FControl->pos(), QPoint(100, 50));
    MoveTo(grip + QPoint(340, 10)); // the limits hold the control where it is
    MoveTo(grip + QPoint(-200, -200));
    Release();
    EXPECT_EQ(FControl->pos(), QPoint(0, 0));
    EXPECT_EQ(FMoving->count(), 3);
}

TEST_P(MovableControl, PropertiesStayWithinTheLimits)
{
    SetLimits(0, 0, 199, 299);
    for (const int left : {0, 37, 100}) {
        Set("Left", left);
        EXPECT_EQ(Get("Left"), left);
    }
    Set("Left", -20);
    EXPECT_EQ(Get("Left"), 0);
    Set("Left", 150);
    EXPECT_EQ(Get("Left"), 100);
    // Growing past the right or bottom limit moves the control instead.
    Set("Width", 180);
    Set("Height", 290);
    EXPECT_EQ(FControl->geometry(), QRect(20, 10, 180, 290));
    // Too wide for its limits, it sits against the right one.
    Set("Width", 100);
    Set("RightMoveLimit", 49);
    Set("Left", 0);
    EXPECT_EQ(FControl->geometry(), QRect(-50, 10, 100, 290));
    EXPECT_EQ(FMoving->count(), 0);
}

TEST_P(MovableControl, LimitSettersMoveNothingUntilTheNextChange)
{
    SetLimits(0, 0, 99, 99);
    Set("LeftMoveLimit", 500);
    EXPECT_EQ(Get("LeftMoveLimit"), 99);
    EXPECT_EQ(Get("RightMoveLimit"), 500);
    EXPECT_EQ(FControl->pos(), Start);
    Set("Top", 45);
    EXPECT_EQ(FControl->pos(), QPoint(99, 45));
}

TEST_P(MovableControl, PlacementByQtIsLimitedToo)
{
    SetLimits(0, 0, 199, 99);
    FControl->move(300, 80);
    EXPECT_EQ(FControl->pos(), QPoint(100, 60));
    FControl->setGeometry(-10, 5, 150, 30);
    EXPECT_EQ(FControl->geometry(), QRect(0, 5, 150, 30));
    FControl->resize(120, 40);
    EXPECT_EQ(FControl->geometry(), QRect(0, 5, 120, 40));
    FControl->resize(190, 40);
    EXPECT_EQ(FControl->geometry(), QRect(0, 5, 190, 40));
    FControl->move(100, 5);
    EXPECT_EQ(FControl->geometry(), QRect(10, 5, 190, 40));
}

TEST_P(MovableControl, RightButtonMovesNothingButItsPressCounts)
{
    // An edit box would open its menu on the right press and wait in it.
    FControl->setContextMenuPolicy(Qt::PreventContextMenu);
    for (QWidget* part : FControl->findChildren<QWidget*>())
        part->setContextMenuPolicy(Qt::PreventContextMenu);
    const QPoint grip = Grip();
    Press(Qt::RightButton, grip);
    MoveTo(grip + QPoint(30, 10));
    Release();
    EXPECT_EQ(FControl->pos(), Start);
    EXPECT_EQ(FMoving->count(), 0);

    // A report of the left button held that no left press preceded: the
    // drag runs from the point of the right-button press.
    QWidget* target = FWindow.childAt(grip);
    ASSERT_NE(target, nullptr);
    const QPoint at = grip + QPoint(7, 4);
    QMouseEvent move(QEvent::MouseMove, target->mapFrom(&FWindow, at), FWindow.mapToGlobal(at), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    EXPECT_EQ(FControl->pos(), Start + QPoint(7, 4));
    EXPECT_EQ(FMoving->count(), 1);
}

TEST_P(MovableControl, DesignModeIsNotRestricted)
{
    SetLimits(0, 0, 199, 99);
    GetParam().Class->SetDesigning(FControl, true);
    Set("Left", 250);
    Set("Width", 300);
    EXPECT_EQ(FControl->geometry(), QRect(250, Start.y(), 300, 40));
    const QPoint grip = Grip();
    Press(Qt::LeftButton, grip);
    MoveTo(grip + QPoint(10, 90));
    Release();
    EXPECT_EQ(FControl->pos(), QPoint(260, Start.y() + 90));
    EXPECT_EQ(FMoving->count(), 1);

    GetParam().Class->SetDesigning(FControl, false);
    Set("Top", 0);
    EXPECT_EQ(FControl->geometry(), QRect(-100, 0, 300, 40));
}

INSTANTIATE_TEST_SUITE_P(Eleven, MovableControl, testing::ValuesIn(MovableKinds()),
                         RowName);

// Qt tells a hidden control of its new bounds only when it is shown: bounds
// given by Qt's own functions are limited then, bounds that came through
// SetBounds before the limits were set are left alone.
TEST(MovableControl, HiddenControlIsLimitedWhenShownOnlyForQtsOwnChanges)
{
    QWidget window;
    window.resize(300, 200);
    auto* edit = new TMovedEdit(&window);
    edit->SetRightMoveLimit(199);
    edit->setGeometry(150, 10, 100, 20);
    auto* panel = new TMovedPanel(&window);
    panel->SetGeometry(QRect(150, 40, 100, 20));
    panel->SetRightMoveLimit(199);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(edit->geometry(), QRect(100, 10, 100, 20));
    EXPECT_EQ(panel->geometry(), QRect(150, 40, 100, 20));
}

TEST(MovableControl, DraggingAControlInsideAMovableOneLeavesTheOuterInPlace)
{
    QWidget window;
    window.resize(400, 300);
    auto* panel = new TMovedPanel(&window);
    panel->setGeometry(20, 20, 300, 200);
    auto* label = new TMovedLabel(panel);
    label->SetAutoSize(false);
    label->setGeometry(10, 10, 80, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy panelMoving(panel, &TMovedPanel::OnMoving);

    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(35, 35));
    QTest::mouseMove(&window, QPoint(75, 55));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(75, 55));
    EXPECT_EQ(label->pos(), QPoint(50, 30));
    EXPECT_EQ(panel->pos(), QPoint(20, 20));
    EXPECT_EQ(panelMoving.count(), 0);
}

TEST(MovableControl, ControlKeepsWhatItsWidgetDoes)
{
    QWidget window;
    window.resize(400, 300);
    auto* check = new TMovedCheckBox(QStringLiteral("Ton"), &window);
    check->setGeometry(10, 10, 100, 20);
    auto* group = new TMovedRadioGroup(&window);
    group->setGeometry(10, 40, 150, 100);
    group->SetItems({QStringLiteral("leicht"), QStringLiteral("schwer")});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy groupClicks(group, &TMovedRadioGroup::OnClick);

    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_TRUE(check->isChecked());
    QRadioButton* second = group->Button(1);
    ASSERT_NE(second, nullptr);
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(5, second->height() / 2));
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(groupClicks.count(), 1);
    // A click is no drag.
    EXPECT_EQ(check->pos(), QPoint(10, 10));
    EXPECT_EQ(group->pos(), QPoint(10, 40));
}

TEST(MovableControl, PressThatBecomesADragMovesAButtonWithoutClickingIt)
{
    QWidget window;
    window.resize(400, 300);
    auto* check = new TMovedCheckBox(QStringLiteral("Ton"), &window);
    check->setGeometry(10, 10, 100, 20);
    auto* radio = new TMovedRadioButton(QStringLiteral("Ein"), &window);
    radio->setGeometry(10, 100, 100, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    for (QAbstractButton* button : {static_cast<QAbstractButton*>(check), static_cast<QAbstractButton*>(radio)}) {
        QSignalSpy clicks(button, &QAbstractButton::clicked);
        const QPoint grip = button->pos() + QPoint(5, 10);
        QTest::mousePress(&window, Qt::LeftButton, {}, grip);
        // In small steps, as a hand moves: the pointer never leaves the button.
        for (int step = 1; step <= 40; ++step)
            QTest::mouseMove(&window, grip + QPoint(2 * step, step / 4));
        QTest::mouseRelease(&window, Qt::LeftButton, {}, grip + QPoint(80, 10));
        EXPECT_EQ(button->pos(), grip + QPoint(75, 0)) << button->text().toStdString();
        EXPECT_FALSE(button->isChecked()) << button->text().toStdString();
        EXPECT_FALSE(button->isDown()) << button->text().toStdString();
        EXPECT_EQ(clicks.count(), 0) << button->text().toStdString();
        // The next press that stays a press clicks it as before.
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 10));
        EXPECT_TRUE(button->isChecked()) << button->text().toStdString();
    }
}

TEST(MovableControl, RadioButtonStaysCheckedWhenClickedAgain)
{
    QWidget window;
    window.resize(300, 200);
    // One alone on its parent, two side by side on another.
    auto* loneParent = new QWidget(&window);
    loneParent->setGeometry(0, 0, 150, 200);
    auto* lone = new TMovedRadioButton(QStringLiteral("Optionsfeld"), loneParent);
    lone->setGeometry(10, 10, 120, 20);
    auto* pairParent = new QWidget(&window);
    pairParent->setGeometry(150, 0, 150, 200);
    auto* first = new TMovedRadioButton(QStringLiteral("Erstes"), pairParent);
    first->setGeometry(10, 10, 120, 20);
    auto* second = new TMovedRadioButton(QStringLiteral("Zweites"), pairParent);
    second->setGeometry(10, 40, 120, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    for (QAbstractButton* button : {lone, lone, first, first})
        button->click();
    EXPECT_TRUE(lone->isChecked());
    EXPECT_TRUE(first->isChecked());
    // A click still moves the check from one of a group to another.
    second->click();
    EXPECT_TRUE(second->isChecked());
    EXPECT_FALSE(first->isChecked());
}

} // namespace
