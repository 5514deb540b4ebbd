#include "ControlSet.h"
#include "ControlTesting.h"
#include "MovedControls.h"
#include "MultiSwitch.h"
#include "RadioGroup.h"
#include "Slider.h"
#include "TestServices.h"

#include <QAccessible>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct TValueCase {
    const char* Name;
    std::function<std::pair<std::shared_ptr<void>, QWidget*>()> Create;
    int Value, Minimum, Maximum;
    // The value after "+", and after "-" then.
    int AfterPlus, AfterMinus;
    // A value asked for by an assistive tool, and the value it gets.
    int Asked, Got;
    // What the positions mean, read with the control.
    const char* Meaning;
};

// The control on a window of its own, which the first part keeps.
using THostedControl = std::pair<std::shared_ptr<void>, QWidget*>;

template <class TControl>
THostedControl Hosted()
{
    auto host = std::make_shared<ControlTesting::THosted<TControl>>();
    return {host, host->Control};
}

void PrintTo(const TValueCase& row, std::ostream* out) { *out << row.Name; }

class ValueControl : public testing::TestWithParam<TValueCase> {
protected:
    void SetUp() override { RegisterControlSet(); }

    TTestServices Services;
};

TEST_P(ValueControl, ReadsAsASliderWhoseValueTheKeysAndAssistiveToolsChange)
{
    const auto [host, control] = GetParam().Create();
    control->setFocus();
    QAccessibleInterface* readable = QAccessible::queryAccessibleInterface(control);
    ASSERT_NE(readable, nullptr);
    EXPECT_EQ(readable->role(), QAccessible::Slider);
    QAccessibleValueInterface* value = readable->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), GetParam().Value);
    EXPECT_EQ(value->minimumValue().toInt(), GetParam().Minimum);
    EXPECT_EQ(value->maximumValue().toInt(), GetParam().Maximum);
    EXPECT_EQ(readable->text(QAccessible::Description), QString::fromUtf8(GetParam().Meaning));

    QTest::keyClick(control, '+');
    EXPECT_EQ(value->currentValue().toInt(), GetParam().AfterPlus);
    QTest::keyClick(control, '-');
    EXPECT_EQ(value->currentValue().toInt(), GetParam().AfterMinus);
    value->setCurrentValue(GetParam().Asked);
    EXPECT_EQ(value->currentValue().toInt(), GetParam().Got);
    EXPECT_TRUE(Services.Messages.empty()) << "a value out of range is brought into it, not refused";
}

INSTANTIATE_TEST_SUITE_P(Accessibility, ValueControl,
                         testing::Values(
                             TValueCase{.Name = "Slider",
                                        .Create = [] { return Hosted<TSlider>(); },
                                        .Value = 5, .Minimum = 0, .Maximum = 10,
                                        .AfterPlus = 6, .AfterMinus = 5,
                                        .Asked = 99, .Got = 10, .Meaning = ""},
                             TValueCase{.Name = "SwitchJumpsOverTheMiddleLamp",
                                        .Create = [] { return Hosted<TMultiSwitch>(); },
                                        .Value = 1, .Minimum = 1, .Maximum = 3,
                                        .AfterPlus = 3, .AfterMinus = 1,
                                        .Asked = 2, .Got = 2,
                                        .Meaning = "1 oben, Minus; 2 Mitte; 3 unten, Plus"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(Accessibility, TheButtonsOfARadioGroupAreRadioButtonsThatSayWhichIsChosen)
{
    RegisterControlSet();
    TRadioGroup group;
    group.SetItems({QStringLiteral("leicht"), QStringLiteral("schwer")});
    group.SetItemIndex(1);
    for (int index : {0, 1}) {
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(group.Button(index));
        EXPECT_EQ(button->role(), QAccessible::RadioButton);
        EXPECT_EQ(button->text(QAccessible::Name), group.Items()[index]);
        EXPECT_TRUE(button->state().checkable);
        EXPECT_EQ(bool(button->state().checked), index == 1);
    }
    QAccessible::queryAccessibleInterface(group.Button(0))->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    EXPECT_EQ(group.ItemIndex(), 0);
}

TEST(Accessibility, TabLeavesTheMemoAndCtrlTabTypesATab)
{
    RegisterControlSet();
    QWidget window;
    auto* memo = new TMovedMemo(&window);
    auto* next = new QPushButton(&window);
    window.show();
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("\t"));
    QTest::keyClick(memo, Qt::Key_Tab);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("\t"));
    EXPECT_EQ(window.focusWidget(), next);
}

} // namespace
