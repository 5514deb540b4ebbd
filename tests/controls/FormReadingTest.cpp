#include "ClassRegistry.h"
#include "ColorsBox.h"
#include "ControlSet.h"
#include "ControlTesting.h"
#include "FormReader.h"
#include "Label3D.h"
#include "MultiSwitch.h"
#include "Slider.h"
#include "TestServices.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace ControlTesting;

std::unique_ptr<QWidget> ReadForm(const QByteArray& controls)
{
    RegisterControlSet();
    QBuffer buffer;
    buffer.setData("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n"
                   " <widget class=\"QWidget\" name=\"Form1\">\n"
                   + controls + " </widget>\n</ui>\n");
    buffer.open(QIODevice::ReadOnly);
    TFormReader reader;
    return std::unique_ptr<QWidget>(reader.Read(buffer));
}

TEST(RegisterControlSet, RegistersTheClassesInTheOrderOfTheSet)
{
    RegisterControlSet();
    const QStringList ours{"TMultiSwitch", "TSlider", "TColorsBox", "TLabel3D"};
    QStringList registered;
    for (const QString& name : RegisteredClasses())
        if (ours.contains(name))
            registered.append(name);
    EXPECT_EQ(registered, ours);
}

TEST(FormReading, StoredLabelAndGradientBoxBecomeWorkingControls)
{
    TTestServices services;
    const std::unique_ptr<QWidget> form = ReadForm(R"(
  <widget class="TLabel3D" name="Label3D1">
   <property name="AutoSize"><bool>false</bool></property>
   <property name="geometry"><rect><x>8</x><y>6</y><width>80</width><height>20</height></rect></property>
   <property name="Caption"><string notr="true">Punkte</string></property>
   <property name="Effect"><enum>TLabel3D::ef3dDblShadowL</enum></property>
   <property name="FrameWidth"><number>3</number></property>
   <property name="FrameWidth"><number>12</number></property>
   <property name="TopColor"><UInt>255</UInt></property>
   <property name="BottomColor"><UInt>2147483664</UInt></property>
  </widget>
  <widget class="TColorsBox" name="ColorsBox1">
   <property name="geometry"><rect><x>100</x><y>6</y><width>50</width><height>40</height></rect></property>
   <property name="Color1"><UInt>16777215</UInt></property>
   <property name="Color2"><UInt>32768</UInt></property>
   <property name="Orientation"><enum>orHorz</enum></property>
  </widget>
)");
    ASSERT_TRUE(form);

    auto* label = form->findChild<TLabel3D*>(QStringLiteral("Label3D1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), QStringLiteral("Punkte"));
    EXPECT_EQ(label->Effect(), TLabel3D::ef3dDblShadowL);
    // The effect enlarged the label as it was read.
    EXPECT_EQ(label->geometry(), QRect(8, 6, 82, 22));
    EXPECT_EQ(label->FrameWidth(), 3);
    EXPECT_EQ(services.MessageTexts(), QStringList{"Wert für FrameWidth muß zwischen 0 und 10 liegen."});
    const QImage labelImage = Picture(*label);
    EXPECT_EQ(labelImage.pixel(0, 1), Rgb(clRed));
    EXPECT_EQ(labelImage.pixel(81, 1), Rgb(clBtnShadow));

    auto* box = form->findChild<TColorsBox*>(QStringLiteral("ColorsBox1"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Orientation(), TColorsBox::orHorz);
    const QImage boxImage = Picture(*box);
    EXPECT_EQ(boxImage.pixel(49, 0), Rgb(clGreen));
    // Column 24 holds 127.5, 191.5, 127.5, rounded to the even neighbours.
    EXPECT_EQ(boxImage.pixel(24, 0), qRgb(128, 192, 128));
    EXPECT_EQ(boxImage.pixel(24, 39), Underneath);
}

TEST(FormReading, StoredSliderIsReadThroughItsSettersInFileOrder)
{
    TTestServices services;
    const std::unique_ptr<QWidget> form = ReadForm(R"(
  <widget class="TSlider" name="Slider1">
   <property name="Max"><number>0</number></property>
   <property name="Min"><number>-20</number></property>
   <property name="Position"><number>-3</number></property>
   <property name="ShowHints"><bool>false</bool></property>
   <property name="TicksColor"><UInt>255</UInt></property>
  </widget>
  <widget class="TSlider" name="Slider2">
   <property name="Max"><number>40</number></property>
   <property name="Min"><number>30</number></property>
   <property name="Position"><number>35</number></property>
  </widget>
)");
    ASSERT_TRUE(form);
    auto* refused = form->findChild<TSlider*>(QStringLiteral("Slider1"));
    ASSERT_NE(refused, nullptr);
    // Max 0 is not above the constructor's Min 0.
    EXPECT_EQ(services.MessageTexts(), QStringList{"Wert muß größer sein als der Wert von Min."});
    EXPECT_EQ(refused->Max(), 10);
    EXPECT_EQ(refused->Min(), -20);
    EXPECT_EQ(refused->Position(), -3);
    EXPECT_EQ(refused->TicksColor(), clRed);
    EXPECT_FALSE(refused->ShowHint());
    EXPECT_FALSE(refused->property("ShowHints").isValid());

    auto* moved = form->findChild<TSlider*>(QStringLiteral("Slider2"));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->Min(), 30);
    EXPECT_EQ(moved->Position(), 35);
    EXPECT_TRUE(moved->ShowHint());
    // 30 to 40 in the default height: the thumb for 35 sits where the one
    // for 5 sits by default.
    EXPECT_EQ(Picture(*moved).pixel(10, 37), Rgb(clBlack));
}

TEST(FormReading, StoredSwitchBecomesAWorkingControl)
{
    TTestServices services;
    const std::unique_ptr<QWidget> form = ReadForm(R"(
  <widget class="TMultiSwitch" name="MultiSwitch1">
   <property name="SwitchCount"><number>2</number></property>
   <property name="OnValue"><number>3</number></property>
   <property name="BottomOnColor"><UInt>65280</UInt></property>
   <property name="ShowHints"><bool>false</bool></property>
  </widget>
)");
    ASSERT_TRUE(form);
    auto* control = form->findChild<TMultiSwitch*>(QStringLiteral("MultiSwitch1"));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->SwitchCount(), 2);
    EXPECT_EQ(control->OnValue(), 3);
    EXPECT_FALSE(control->ShowHint());
    EXPECT_EQ(Picture(*control).pixel(6, 24), Rgb(clLime));
    EXPECT_TRUE(services.Messages.empty());
}

} // namespace
