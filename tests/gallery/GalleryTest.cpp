#define QTEST_QPA_MOUSE_HANDLING

#include "ControlSet.h"
#include "GalleryWindow.h"
#include "TestServices.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class Gallery : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterControlSet();
        FWindow = std::make_unique<TGalleryWindow>();
        FWindow->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(FWindow.get()));
    }

    QString Text(const char* labelName) const
    {
        const auto* label = FWindow->findChild<QLabel*>(QString::fromLatin1(labelName));
        return label ? label->text() : QStringLiteral("(kein %1)").arg(QString::fromLatin1(labelName));
    }
    QPoint InWindow(const QWidget& control, QPoint point) const { return control.mapTo(FWindow.get(), point); }

    TTestServices FServices;
    std::unique_ptr<TGalleryWindow> FWindow;
};

TEST_F(Gallery, InfoMenuSetsAboutOfEachOfTheFifteen)
{
    const QList<QAction*> actions = FWindow->InfoMenu()->actions();
    ASSERT_EQ(actions.size(), 15);
    for (QAction* action : actions)
        action->trigger();
    // The second paragraph of each information box names the control's class.
    QStringList shown;
    for (const auto& message : FServices.Messages)
        shown.append(message.Text.split(QStringLiteral("\r\r")).value(1));
    EXPECT_EQ(shown, ControlSetClassNames());
}

// The frame the person sees is the rectangle the limits keep the movable
// controls in; every one of them starts inside it.
TEST_F(Gallery, MovableControlsStartInsideTheFrameThatIsTheirLimit)
{
    const auto* frame = FWindow->findChild<QFrame*>(QStringLiteral("Spielwiese"));
    ASSERT_NE(frame, nullptr);
    const QRect inside = frame->contentsRect();
    int movable = 0;
    for (const QWidget* control : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect limits(QPoint(control->property("LeftMoveLimit").toInt(), control->property("TopMoveLimit").toInt()),
                           QPoint(control->property("RightMoveLimit").toInt(),
                                  control->property("BottomMoveLimit").toInt()));
        EXPECT_EQ(limits, inside) << control->objectName().toStdString();
        EXPECT_TRUE(inside.contains(control->geometry())) << control->objectName().toStdString();
        ++movable;
    }
    EXPECT_EQ(movable, 11);
}

TEST_F(Gallery, DraggedControlStopsAtTheFrameAndIsReported)
{
    auto* panel = FWindow->findChild<QWidget*>(QStringLiteral("MovedPanel1"));
    ASSERT_NE(panel, nullptr);
    const QPoint grip = InWindow(*panel, QPoint(10, 10));
    QTest::mousePress(FWindow.get(), Qt::LeftButton, {}, grip);
    QTest::mouseMove(FWindow.get(), grip + QPoint(60, 30));
    QTest::mouseMove(FWindow.get(), grip + QPoint(150, 150));
    QTest::mouseRelease(FWindow.get(), Qt::LeftButton, {}, grip + QPoint(150, 150));
    const QRect inside = panel->parentWidget()->contentsRect();
    EXPECT_EQ(panel->geometry().bottom(), inside.bottom());
    EXPECT_TRUE(inside.contains(panel->geometry()));
    EXPECT_EQ(Text("MovedReport"),
              QStringLiteral("MovedPanel1 bewegt: Left %1, Top %2").arg(panel->x()).arg(panel->y()));
}

TEST_F(Gallery, SwitchAndSliderReportTheirValues)
{
    EXPECT_EQ(Text("SwitchValue"), QStringLiteral("Stellung 1: oben"));
    EXPECT_EQ(Text("SliderValue"), QStringLiteral("Wert: 5"));
    auto* multiSwitch = FWindow->findChild<QWidget*>(QStringLiteral("MultiSwitch1"));
    ASSERT_NE(multiSwitch, nullptr);
    QTest::mouseClick(FWindow.get(), Qt::LeftButton, {}, InWindow(*multiSwitch, QPoint(12, 33)));
    EXPECT_EQ(Text("SwitchValue"), QStringLiteral("Stellung 3: unten"));
    auto* slider = FWindow->findChild<QWidget*>(QStringLiteral("Slider1"));
    ASSERT_NE(slider, nullptr);
    FWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Plus, {}, 0);
    EXPECT_EQ(Text("SliderValue"), QStringLiteral("Wert: 6"));
}

} // namespace
