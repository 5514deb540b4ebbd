#define QTEST_QPA_MOUSE_HANDLING

#include "ClassRegistry.h"
#include "ControlSetOrder.h"
#include "ControlSet.h"
#include "FormReader.h"
#include "MovedControls.h"
#include "TestServices.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(RegisterControlSet, RegistersAllFifteenInTheOrderOfTheSet)
{
    RegisterControlSet();
    QStringList registered;
    for (const QString& name : RegisteredClasses())
        if (ControlSetInTableOrder.contains(name))
            registered.append(name);
    EXPECT_EQ(registered, ControlSetInTableOrder);
}

// Every class of the set, each with a few stored values. The edit's limits
// come before its geometry and so restrict it; the panel's come after it
// and do not move it.
const QByteArray StoredWindow = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <widget class="QWidget" name="Form1">
  <property name="geometry"><rect><x>0</x><y>0</y><width>640</width><height>480</height></rect></property>
  <widget class="TMultiSwitch" name="MultiSwitch1">
   <property name="geometry"><rect><x>8</x><y>8</y><width>25</width><height>41</height></rect></property>
   <property name="OnValue"><number>3</number></property>
  </widget>
  <widget class="TSlider" name="Slider1">
   <property name="geometry"><rect><x>40</x><y>8</y><width>49</width><height>82</height></rect></property>
   <property name="Max"><number>20</number></property>
   <property name="Min"><number>-5</number></property>
   <property name="Position"><number>12</number></property>
  </widget>
  <widget class="TMovedLabel" name="MovedLabel1">
   <property name="Caption"><string notr="true">Beweg mich</string></property>
   <property name="Left"><number>100</number></property>
   <property name="Top"><number>8</number></property>
  </widget>
  <widget class="TMovedEdit" name="MovedEdit1">
   <property name="LeftMoveLimit"><number>0</number></property>
   <property name="RightMoveLimit"><number>299</number></property>
   <property name="geometry"><rect><x>250</x><y>8</y><width>100</width><height>22</height></rect></property>
   <property name="text"><string notr="true">Eingabe</string></property>
  </widget>
  <widget class="TMovedMemo" name="MovedMemo1">
   <property name="geometry"><rect><x>8</x><y>100</y><width>120</width><height>60</height></rect></property>
   <property name="plainText"><string notr="true">erste Zeile
zweite Zeile</string></property>
  </widget>
  <widget class="TMovedCheckBox" name="MovedCheckBox1">
   <property name="geometry"><rect><x>140</x><y>100</y><width>100</width><height>20</height></rect></property>
   <property name="text"><string notr="true">Ton</string></property>
   <property name="checked"><bool>true</bool></property>
  </widget>
  <widget class="TMovedRadioButton" name="MovedRadioButton1">
   <property name="geometry"><rect><x>140</x><y>130</y><width>100</width><height>20</height></rect></property>
   <property name="text"><string notr="true">Vorschau</string></property>
  </widget>
  <widget class="TMovedListBox" name="MovedListBox1">
   <property name="geometry"><rect><x>260</x><y>100</y><width>100</width><height>60</height></rect></property>
   <item><property name="text"><string notr="true">eins</string></property></item>
   <item><property name="text"><string notr="true">zwei</string></property></item>
  </widget>
  <widget class="TMovedComboBox" name="MovedComboBox1">
   <property name="geometry"><rect><x>380</x><y>100</y><width>100</width><height>22</height></rect></property>
   <item><property name="text"><string notr="true">rot</string></property></item>
   <item><property name="text"><string notr="true">grün</string></property></item>
   <property name="currentIndex"><number>1</number></property>
  </widget>
  <widget class="TMovedGroupBox" name="MovedGroupBox1">
   <property name="geometry"><rect><x>8</x><y>180</y><width>120</width><height>80</height></rect></property>
   <property name="title"><string notr="true">Gruppe</string></property>
  </widget>
  <widget class="TMovedRadioGroup" name="MovedRadioGroup1">
   <property name="geometry"><rect><x>140</x><y>180</y><width>160</width><height>80</height></rect></property>
   <property name="title"><string notr="true">Stufe</string></property>
   <property name="Columns"><number>2</number></property>
   <property name="Items"><stringlist notr="true"><string>leicht</string><string>mittel</string><string>schwer</string></stringlist></property>
   <property name="ItemIndex"><number>2</number></property>
  </widget>
  <widget class="TMovedPanel" name="MovedPanel1">
   <property name="geometry"><rect><x>320</x><y>180</y><width>100</width><height>40</height></rect></property>
   <property name="RightMoveLimit"><number>399</number></property>
   <property name="LeftMoveLimit"><number>500</number></property>
   <property name="Caption"><string notr="true">Tafel</string></property>
   <property name="BevelOuter"><enum>TPanel::bvLowered</enum></property>
  </widget>
  <widget class="TMovedImage" name="MovedImage1">
   <property name="geometry"><rect><x>440</x><y>180</y><width>60</width><height>60</height></rect></property>
   <property name="Center"><bool>true</bool></property>
  </widget>
  <widget class="TColorsBox" name="ColorsBox1">
   <property name="geometry"><rect><x>8</x><y>280</y><width>60</width><height>40</height></rect></property>
   <property name="Color1"><UInt>255</UInt></property>
  </widget>
  <widget class="TLabel3D" name="Label3D1">
   <property name="Caption"><string notr="true">Punkte</string></property>
   <property name="geometry"><rect><x>80</x><y>280</y><width>80</width><height>20</height></rect></property>
  </widget>
 </widget>
</ui>
)";

std::unique_ptr<QWidget> ReadStoredWindow()
{
    RegisterControlSet();
    QBuffer buffer;
    buffer.setData(StoredWindow);
    buffer.open(QIODevice::ReadOnly);
    TFormReader reader;
    return std::unique_ptr<QWidget>(reader.Read(buffer));
}

template <class T>
T* Control(QWidget& form, const char* name)
{
    return form.findChild<T*>(QString::fromLatin1(name));
}

TEST(StoredWindow, NamingAllFifteenClassesReadsIntoWorkingControls)
{
    TTestServices services;
    const std::unique_ptr<QWidget> form = ReadStoredWindow();
    ASSERT_TRUE(form);
    QStringList created;
    for (const QWidget* child : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        created.append(QString::fromLatin1(child->metaObject()->className()));
    EXPECT_EQ(created, ControlSetInTableOrder);
    EXPECT_TRUE(services.Messages.empty());

    QWidget* multiSwitch = form->findChild<QWidget*>(QStringLiteral("MultiSwitch1"));
    ASSERT_NE(multiSwitch, nullptr);
    EXPECT_EQ(multiSwitch->property("OnValue").toInt(), 3);
    QWidget* slider = form->findChild<QWidget*>(QStringLiteral("Slider1"));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->property("Min").toInt(), -5);
    EXPECT_EQ(slider->property("Position").toInt(), 12);

    auto* label = Control<TMovedLabel>(*form, "MovedLabel1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), QStringLiteral("Beweg mich"));
    EXPECT_EQ(label->pos(), QPoint(100, 8));
    auto* edit = Control<TMovedEdit>(*form, "MovedEdit1");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->geometry(), QRect(200, 8, 100, 22));
    EXPECT_EQ(edit->text(), QStringLiteral("Eingabe"));
    auto* memo = Control<TMovedMemo>(*form, "MovedMemo1");
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->blockCount(), 2);
    auto* check = Control<TMovedCheckBox>(*form, "MovedCheckBox1");
    ASSERT_NE(check, nullptr);
    EXPECT_TRUE(check->isChecked());
    auto* list = Control<TMovedListBox>(*form, "MovedListBox1");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 2);
    auto* combo = Control<TMovedComboBox>(*form, "MovedComboBox1");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentText(), QStringLiteral("grün"));
    auto* group = Control<TMovedRadioGroup>(*form, "MovedRadioGroup1");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->ItemIndex(), 2);
    ASSERT_NE(group->Button(2), nullptr);
    EXPECT_TRUE(group->Button(2)->isChecked());
    EXPECT_EQ(group->Button(2)->text(), QStringLiteral("schwer"));
    auto* panel = Control<TMovedPanel>(*form, "MovedPanel1");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->LeftMoveLimit(), 399);
    EXPECT_EQ(panel->RightMoveLimit(), 500);
    EXPECT_EQ(panel->pos(), QPoint(320, 180));
    EXPECT_EQ(panel->BevelOuter(), TPanel::bvLowered);
    auto* image = Control<TMovedImage>(*form, "MovedImage1");
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->Center());

    // Shown, the controls read from the window can be dragged within their
    // limits, and the panel's limits take effect at its first move.
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_EQ(panel->pos(), QPoint(320, 180));
    QSignalSpy editMoving(edit, &TMovedEdit::OnMoving);
    QTest::mousePress(form.get(), Qt::LeftButton, {}, QPoint(210, 18));
    QTest::mouseMove(form.get(), QPoint(260, 38));
    QTest::mouseRelease(form.get(), Qt::LeftButton, {}, QPoint(260, 38));
    EXPECT_EQ(edit->pos(), QPoint(200, 28));
    EXPECT_EQ(editMoving.count(), 1);
    QTest::mousePress(form.get(), Qt::LeftButton, {}, QPoint(330, 190));
    QTest::mouseMove(form.get(), QPoint(331, 190));
    QTest::mouseRelease(form.get(), Qt::LeftButton, {}, QPoint(331, 190));
    EXPECT_EQ(panel->pos(), QPoint(399, 180));
}

TEST(StoredWindow, AboutShowsTheBoxOfTheControlsOwnClass)
{
    TTestServices services;
    const std::unique_ptr<QWidget> form = ReadStoredWindow();
    ASSERT_TRUE(form);
    auto* group = Control<TMovedRadioGroup>(*form, "MovedRadioGroup1");
    ASSERT_NE(group, nullptr);
    ASSERT_TRUE(group->setProperty("About", true));
    ASSERT_EQ(services.Messages.size(), 1u);
    EXPECT_TRUE(services.Messages[0].Text.contains(QStringLiteral("\r\rTMovedRadioGroup\r\r")));
    EXPECT_EQ(services.Messages[0].Icon, TMessageIcon::Information);
    EXPECT_FALSE(group->property("About").toBool());
}

} // namespace
