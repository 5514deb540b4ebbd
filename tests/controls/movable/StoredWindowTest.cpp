#define QTEST_QPA_MOUSE_HANDLING

#include "ClassRegistry.h"
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

TEST(RegisterControlSet, RegistersTheFifteenEachMakingItsOwnClass)
{
    RegisterControlSet();
    ASSERT_EQ(ControlSetClassNames().size(), 15);
    for (const QString& name : ControlSetClassNames()) {
        const std::unique_ptr<QWidget> control(CreateRegisteredWidget(name, nullptr));
        ASSERT_TRUE(control) << name.toStdString();
        EXPECT_EQ(QString::fromLatin1(control->metaObject()->className()), name);
    }
}

// A stored control with its geometry between the properties before and after.
QByteArray Control(const char* className, const char* name, const QRect& bounds, const char* before = "",
                   const char* after = "")
{
    return QStringLiteral("  <widget class=\"%1\" name=\"%2\">%3"
                          "<property name=\"geometry\"><rect><x>%5</x><y>%6</y><width>%7</width>"
                          "<height>%8</height></rect></property>%4</widget>\n")
        .arg(QString::fromLatin1(className), QString::fromLatin1(name), QString::fromLatin1(before),
             QString::fromLatin1(after))
        .arg(bounds.x())
        .arg(bounds.y())
        .arg(bounds.width())
        .arg(bounds.height())
        .toUtf8();
}

// Every class of the set, in the order of its table. The edit's limits are read before its geometry and
// restrict it; the panel's come after it, turned round, and move nothing.
std::unique_ptr<QWidget> ReadStoredWindow()
{
    const QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n"
                            " <widget class=\"QWidget\" name=\"Form1\">\n"
                            + Control("TMultiSwitch", "MultiSwitch1", {8, 8, 25, 41},
                                      "<property name=\"OnValue\"><number>3</number></property>")
                            + Control("TSlider", "Slider1", {40, 8, 49, 82},
                                      "<property name=\"Position\"><number>7</number></property>")
                            + Control("TMovedLabel", "MovedLabel1", {100, 8, 80, 16})
                            + Control("TMovedEdit", "MovedEdit1", {250, 8, 100, 22},
                                      "<property name=\"LeftMoveLimit\"><number>0</number></property>"
                                      "<property name=\"RightMoveLimit\"><number>299</number></property>")
                            + Control("TMovedMemo", "MovedMemo1", {8, 100, 120, 60})
                            + Control("TMovedCheckBox", "MovedCheckBox1", {140, 100, 100, 20})
                            + Control("TMovedRadioButton", "MovedRadioButton1", {140, 130, 100, 20})
                            + Control("TMovedListBox", "MovedListBox1", {260, 100, 100, 60})
                            + Control("TMovedComboBox", "MovedComboBox1", {380, 100, 100, 22})
                            + Control("TMovedGroupBox", "MovedGroupBox1", {8, 180, 120, 80})
                            + Control("TMovedRadioGroup", "MovedRadioGroup1", {140, 180, 160, 80},
                                      "<property name=\"Items\"><stringlist notr=\"true\"><string>leicht</string>"
                                      "<string>schwer</string></stringlist></property>"
                                      "<property name=\"ItemIndex\"><number>1</number></property>")
                            + Control("TMovedPanel", "MovedPanel1", {320, 180, 100, 40}, "",
                                      "<property name=\"RightMoveLimit\"><number>399</number></property>"
                                      "<property name=\"LeftMoveLimit\"><number>500</number></property>")
                            + Control("TMovedImage", "MovedImage1", {440, 180, 60, 60})
                            + Control("TColorsBox", "ColorsBox1", {8, 280, 60, 40})
                            + Control("TLabel3D", "Label3D1", {80, 280, 80, 20}) + " </widget>\n</ui>\n";
    RegisterControlSet();
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    TFormReader reader;
    return std::unique_ptr<QWidget>(reader.Read(buffer));
}

TEST(StoredWindow, NamingAllFifteenClassesReadsIntoWorkingControls)
{
    TTestServices services;
    const std::unique_ptr<QWidget> form = ReadStoredWindow();
    ASSERT_TRUE(form);
    form->resize(640, 480);
    QStringList created;
    for (const QWidget* child : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        created.append(QString::fromLatin1(child->metaObject()->className()));
    EXPECT_EQ(created, ControlSetClassNames());
    EXPECT_TRUE(services.Messages.empty());
    EXPECT_EQ(form->findChild<QWidget*>(QStringLiteral("MultiSwitch1"))->property("OnValue").toInt(), 3);
    EXPECT_EQ(form->findChild<QWidget*>(QStringLiteral("Slider1"))->property("Position").toInt(), 7);

    auto* edit = form->findChild<TMovedEdit*>(QStringLiteral("MovedEdit1"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->geometry(), QRect(200, 8, 100, 22));
    auto* group = form->findChild<TMovedRadioGroup*>(QStringLiteral("MovedRadioGroup1"));
    ASSERT_NE(group, nullptr);
    ASSERT_NE(group->Button(1), nullptr);
    EXPECT_TRUE(group->Button(1)->isChecked());
    EXPECT_EQ(group->Button(1)->text(), QStringLiteral("schwer"));
    auto* panel = form->findChild<TMovedPanel*>(QStringLiteral("MovedPanel1"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->LeftMoveLimit(), 399);
    EXPECT_EQ(panel->RightMoveLimit(), 500);

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

} // namespace
