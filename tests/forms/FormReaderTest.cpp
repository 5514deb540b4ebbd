#include "ClassRegistry.h"
#include "FormReader.h"
#include "TestRows.h"

#include <QBuffer>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

// A registered class whose write functions log the order they run in.
class TOrderProbe : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int First READ First WRITE SetFirst)
    Q_PROPERTY(int Second READ Second WRITE SetSecond)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    using QWidget::QWidget;
    int First() const { return FFirst; }
    int Second() const { return FSecond; }
    QString Caption() const { return FCaption; }
    void SetFirst(int value)
    {
        Log.append(QStringLiteral("First=%1").arg(value));
        FFirst = value;
    }
    void SetSecond(int value)
    {
        Log.append(QStringLiteral("Second=%1").arg(value));
        if (value > 100)
            return; // refused: the stored value stays
        FSecond = value;
    }
    void SetCaption(const QString& value)
    {
        Log.append(QStringLiteral("Caption=") + value);
        FCaption = value;
    }

    QStringList Log;

private:
    int FFirst = 0;
    int FSecond = 0;
    QString FCaption;
};

namespace {

using TestRows::PrintTo;

QWidget* ReadText(const QByteArray& text)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    TFormReader reader;
    return reader.Read(buffer);
}

const QByteArray Form = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Probe</class>
 <widget class="QWidget" name="Probe">
  <widget class="TOrderProbe" name="Probe1">
   <property name="Second"><number>7</number></property>
   <property name="Caption"><string notr="true">Vorschau</string></property>
   <property name="First"><number>3</number></property>
   <property name="Second"><number>500</number></property>
  </widget>
  <widget class="QLabel" name="Label1">
   <property name="text"><string notr="true">Teile:</string></property>
  </widget>
 </widget>
</ui>
)";

TEST(FormReader, CreatesRegisteredClassesAndWritesInFileOrder)
{
    RegisterClass<TOrderProbe>();
    ASSERT_TRUE(IsClassRegistered(QStringLiteral("TOrderProbe")));
    std::unique_ptr<QWidget> form(ReadText(Form));
    ASSERT_TRUE(form);
    auto* probe = form->findChild<TOrderProbe*>(QStringLiteral("Probe1"));
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->Log, (QStringList{"Second=7", "Caption=Vorschau", "First=3", "Second=500"}));
    EXPECT_EQ(probe->Second(), 7);
    auto* label = form->findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Teile:"));
}

TEST(FormReader, RegistryKeepsTheOrderAndReplacesDuplicates)
{
    RegisterClass<TOrderProbe>();
    RegisterClass<TOrderProbe>();
    EXPECT_EQ(RegisteredClasses().count(QStringLiteral("TOrderProbe")), 1);
    EXPECT_EQ(CreateRegisteredWidget(QStringLiteral("TNoSuchClass"), nullptr), nullptr);
}

struct TRefusedCase {
    const char* Name;
    QByteArray Probe; // the properties of a TOrderProbe, or a whole widget
    QString Error;
};

class Refusing : public testing::TestWithParam<TRefusedCase> {};

TEST_P(Refusing, NamesWhatItRefuses)
{
    RegisterClass<TOrderProbe>();
    const QByteArray probe = GetParam().Probe.startsWith("<widget")
                                 ? GetParam().Probe
                                 : "<widget class=\"TOrderProbe\" name=\"Probe1\">" + GetParam().Probe + "</widget>";
    QBuffer buffer;
    buffer.setData("<ui version=\"4.0\">\n<widget class=\"QWidget\" name=\"Form\">\n" + probe + "\n</widget>\n</ui>");
    buffer.open(QIODevice::ReadOnly);
    TFormReader reader;
    const std::unique_ptr<QWidget> form(reader.Read(buffer));
    EXPECT_FALSE(form);
    EXPECT_EQ(reader.ErrorString().toStdString(), GetParam().Error.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    FormReader, Refusing,
    testing::Values(
        TRefusedCase{"UnknownClass", "<widget class=\"TNoSuchClass\" name=\"X\"/>", "line 3: unknown class \"TNoSuchClass\""},
        TRefusedCase{"UnknownProperty", "<property name=\"Third\"><number>1</number></property>",
                     "line 3: class \"TOrderProbe\" has no property \"Third\""},
        TRefusedCase{"TruthValueForANumber", "<property name=\"First\"><bool>true</bool></property>",
                     "line 3: property \"First\" takes a 32-bit whole number, not <bool>true</bool>"},
        TRefusedCase{"NumberBeyond32Bits", "<property name=\"Second\"><number>4294967296</number></property>",
                     "line 3: property \"Second\" takes a 32-bit whole number, not <number>4294967296</number>"},
        TRefusedCase{"NumberForAText", "<property name=\"Caption\"><number>5</number></property>",
                     "line 3: property \"Caption\" takes a text, not <number>5</number>"}),
    RowName);

TEST(FormReader, BrokenDescriptionGivesNothingAndSaysWhere)
{
    TFormReader reader;
    QBuffer buffer;
    buffer.setData("<ui version=\"4.0\">\n<widget class=");
    buffer.open(QIODevice::ReadOnly);
    EXPECT_EQ(reader.Read(buffer), nullptr);
    EXPECT_TRUE(reader.ErrorString().startsWith("line 2: ")) << reader.ErrorString().toStdString();
}

TEST(FormReader, RefusesDeepNestingBeforeQtParsesIt)
{
    // Qt's own parser recurses once a level: 25 000 levels overflow its stack.
    const QByteArray open = "<widget class=\"QWidget\" name=\"W\">";
    QByteArray deep = "<ui version=\"4.0\">";
    for (int level = 0; level < 25000; ++level)
        deep += open;
    QBuffer buffer;
    buffer.setData(deep);
    buffer.open(QIODevice::ReadOnly);
    TFormReader reader;
    EXPECT_EQ(reader.Read(buffer), nullptr);
    EXPECT_EQ(reader.ErrorString(), "line 1: nested deeper than 256 levels");
}

} // namespace

#include "FormReaderTest.moc"
