#include "PreviewForm.h"
#include "T_KUBRIN.h"
#include "TestServices.h"
#include "about.h"
#include "main.h"

#include <QAccessible>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

QString Name(QObject* object) { return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name); }

class ReadAloud : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Folder.isValid());
        Services.Directory = Folder.path() + QLatin1Char('/');
        Form = std::make_unique<TMainForm>();
    }

    template <class T = QWidget>
    T* Widget(const char* name) const
    {
        return Form->findChild<T*>(QLatin1String(name));
    }

    QTemporaryDir Folder;
    TTestServices Services;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(ReadAloud, EachCounterReadsWithItsCaptionAndFollowsItsValue)
{
    const struct {
        const char* Counter;
        const char* Caption;
    } counters[] = {{"LCP", "Teile:"}, {"LCL", "Level:"}, {"LSCO", "Punkte:"}, {"LDLT", "Zeilen:"}};
    for (const auto& [counter, caption] : counters) {
        QAccessibleInterface* value = QAccessible::queryAccessibleInterface(Widget(counter));
        EXPECT_EQ(value->text(QAccessible::Name), QStringLiteral("%1 0").arg(QLatin1String(caption)));
        const auto labels = value->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1) << counter;
        EXPECT_EQ(labels.front().first->text(QAccessible::Name), QLatin1String(caption));
    }
    Widget<QLabel>("LSCO")->setText(QStringLiteral("143"));
    EXPECT_EQ(Name(Widget("LSCO")), QStringLiteral("Punkte: 143"));
    EXPECT_EQ(Widget<QLabel>("LSCO")->text(), QStringLiteral("143")) << "the screen shows the value alone";
}

TEST_F(ReadAloud, ThePlayfieldIsAPictureThatSaysItsSizeAndWhetherAGameRuns)
{
    QAccessibleInterface* playfield = QAccessible::queryAccessibleInterface(Widget("KUBRIN1"));
    EXPECT_EQ(playfield->role(), QAccessible::Graphic);
    EXPECT_EQ(playfield->text(QAccessible::Name), QStringLiteral("Spielfeld"));
    EXPECT_EQ(playfield->text(QAccessible::Description), QStringLiteral("10 Spalten, 21 Zeilen; kein Spiel"));
    Form->Starten1Click();
    EXPECT_EQ(playfield->text(QAccessible::Description), QStringLiteral("10 Spalten, 21 Zeilen; ein Spiel läuft"));

    QAccessibleInterface* preview =
        QAccessible::queryAccessibleInterface(Widget<TKUBRIN>("KUBRIN1")->PreviewForm());
    EXPECT_EQ(preview->role(), QAccessible::Window);
    EXPECT_EQ(preview->text(QAccessible::Name), QStringLiteral("Vorschau"));
}

TEST(AboutBoxReadAloud, ThePictureIsNamedAndTheSpacedNameReadsAsOneWord)
{
    TAboutBox box;
    auto* name = box.findChild<QLabel*>(QStringLiteral("ProductName"));
    EXPECT_EQ(Name(name), QStringLiteral("MVKubrin"));
    EXPECT_EQ(name->text(), QStringLiteral("M V K u b r i n"));
    EXPECT_FALSE(Name(box.findChild<QLabel*>(QStringLiteral("ProgramIcon"))).isEmpty());
}

} // namespace
