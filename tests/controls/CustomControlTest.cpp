#include "ControlTesting.h"
#include "MultiSwitch.h"
#include "Slider.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

using namespace ControlTesting;

// Counts the mouse presses that reach a widget.
class TMouseCounter : public QObject {
public:
    int Presses = 0;

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            ++Presses;
        return false;
    }
};

// What the slider and the switch share as window-owning controls.
template <class TControl>
class WindowOwning : public testing::Test {};

using TWindowOwningControls = testing::Types<TSlider, TMultiSwitch>;
TYPED_TEST_SUITE(WindowOwning, TWindowOwningControls);

TYPED_TEST(WindowOwning, RaisesOnResizeAfterEveryResize)
{
    THosted<TypeParam> host;
    TypeParam& control = *host.Control;
    QSignalSpy resizes(&control, &TCustomControl::OnResize);
    control.resize(60, 90);
    control.resize(60, 91);
    control.resize(60, 91);
    ASSERT_EQ(resizes.size(), 2);
    EXPECT_EQ(resizes[0][0].value<QObject*>(), &control);
}

TYPED_TEST(WindowOwning, RepaintsWhenTheSystemColoursChange)
{
    TypeParam control;
    const QImage before = Picture(control);
    const QPalette original = QApplication::palette();
    QPalette changed = original;
    changed.setColor(QPalette::Active, QPalette::Button, QColor(0x40, 0x80, 0x20));
    // The change reaches the widgets through posted events.
    QApplication::setPalette(changed);
    QApplication::processEvents();
    const QImage after = Picture(control);
    QApplication::setPalette(original);
    QApplication::processEvents();
    EXPECT_NE(after, before);
    EXPECT_FALSE(PixelsOf(after, qRgb(0x40, 0x80, 0x20)).empty());
    EXPECT_EQ(Picture(control), before);
}

TYPED_TEST(WindowOwning, AnyButtonPressTakesTheFocusAndGoesNoFurther)
{
    THosted<TypeParam> host;
    TypeParam& control = *host.Control;
    TMouseCounter parentEvents;
    host.Window.installEventFilter(&parentEvents);
    control.SetTabStop(false);
    ASSERT_FALSE(control.hasFocus());
    QTest::mousePress(&control, Qt::MiddleButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_TRUE(control.hasFocus());
    QTest::mouseRelease(&control, Qt::MiddleButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(parentEvents.Presses, 0);
}

TYPED_TEST(WindowOwning, ShowHintFalseKeepsTheToolTipHidden)
{
    THosted<TypeParam> host;
    TypeParam& control = *host.Control;
    control.setToolTip(QStringLiteral("Lautstärke"));
    const auto askForToolTip = [&control] {
        QHelpEvent request(QEvent::ToolTip, QPoint(3, 3), control.mapToGlobal(QPoint(3, 3)));
        QApplication::sendEvent(&control, &request);
    };
    control.setProperty("ShowHint", false);
    askForToolTip();
    EXPECT_FALSE(QToolTip::isVisible());
    control.setProperty("ShowHint", true);
    askForToolTip();
    EXPECT_TRUE(QToolTip::isVisible());
    QToolTip::hideText();
}

} // namespace
