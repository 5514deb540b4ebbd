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
    buffer.setData("<ui version=\"4.0\"><widget class=\"QWidget\" name=\"Form1\">" + controls + "</widget></ui>");
    buffer.open(QIODevice::ReadOnly);
    TFormReader reader;
    return std::unique_ptr<QWidget>(reader.Read(buffer));
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
  </widget>
  <widget class="TColorsBox" name="ColorsBox1">
   <property name="geometry"><rect><x>100</x><y>6</y><width>50</width><height>40</height></rect></property>
   <property name="Color1"><UInt>16777215</UInt></property>
   <property name="Color2"><UInt>32768</UInt></property>
   <property name="Orientation"><enum>orHorz</enum></property>
  </widget>)");
    ASSERT_TRUE(form);
    auto* label = form->findChild<TLabel3D*>(QStringLiteral("Label3D1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), QStringLiteral("Punkte"));
    EXPECT_EQ(label->geometry(), QRect(8, 6, 82, 22)); // the effect enlarged it while read
    EXPECT_EQ(label->FrameWidth(), 3);
    EXPECT_EQ(services.MessageTexts(), QStringList{"Wert für FrameWidth muß zwischen 0 und 10 liegen."});
    EXPECT_EQ(Picture(*label).pixel(0, 1), Rgb(clRed));

    auto* box = form->findChild<TColorsBox*>(QStringLiteral("ColorsBox1"));
    ASSERT_NE(box, nullptr);
    const QImage boxImage = Picture(*box);
    EXPECT_EQ(boxImage.pixel(49, 0), Rgb(clGreen));
    EXPECT_EQ(boxImage.pixel(24, 0), qRgb(128, 192, 128)); // 127.5, 191.5, 127.5
    EXPECT_EQ(boxImage.pixel(24, 39), Underneath);
}

TEST(FormReading, StoredSliderAndSwitchAreReadThroughTheirSettersInFileOrder)
{
    TTestServices services;
    const std::unique_ptr<QWidget> form = ReadForm(R"(
  <widget class="TSlider" name="Slider1">
   <property name="Max"><number>0</number></property>
   <property name="Min"><number>-20</number></property>
   <property name="Position"><number>-3</number></property>
   <property name="ShowHints"><bool>false</bool></property>
  </widget>
  <widget class="TSlider" name="Slider2">
   <property name="Max"><number>40</number></property>
   <property name="Min"><number>30</number></property>
   <property name="Position"><number>35</number></property>
  </widget>
  <widget class="TMultiSwitch" name="MultiSwitch1">
   <property name="SwitchCount"><number>2</number></property>
   <property name="OnValue"><number>3</number></property>
   <property name="BottomOnColor"><UInt>65280</UInt></property>
  </widget>)");
    ASSERT_TRUE(form);
    // Max 0 is not above the constructor's Min 0.
    EXPECT_EQ(services.MessageTexts(), QStringList{"Wert muß größer sein als der Wert von Min."});
    auto* refused = form->findChild<TSlider*>(QStringLiteral("Slider1"));
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(refused->Max(), 10);
    EXPECT_EQ(refused->Position(), -3);
    EXPECT_FALSE(refused->ShowHint());
    EXPECT_FALSE(refused->property("ShowHints").isValid());

    auto* moved = form->findChild<TSlider*>(QStringLiteral("Slider2"));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->Position(), 35);
    EXPECT_TRUE(moved->ShowHint());
    EXPECT_EQ(Picture(*moved).pixel(10, 37), Rgb(clBlack)); // where the default thumb sits

    auto* control = form->findChild<TMultiSwitch*>(QStringLiteral("MultiSwitch1"));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->OnValue(), 3);
    EXPECT_EQ(Picture(*control).pixel(6, 24), Rgb(clLime));
}

} // namespace
