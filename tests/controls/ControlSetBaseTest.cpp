#include "ControlSetBase.h"
#include "ControlTesting.h"
#include "Label3D.h"
#include "TestServices.h"

#include <gtest/gtest.h>

// A class derived from one of the set, as a user of the set would write one.
class TFancyLabel : public TLabel3D {
    Q_OBJECT

public:
    using TLabel3D::TLabel3D;
};

namespace {

using namespace ControlTesting;

TEST(VersionText, KeepsTwoDigitsOfHundredthsRoundedHalfToEven)
{
    EXPECT_EQ(VersionText(3.0), "3.00");
    EXPECT_EQ(VersionText(3.05), "3.05");
    EXPECT_EQ(VersionText(3.125), "3.12");
    EXPECT_EQ(VersionText(3.375), "3.38");
}

TEST(About, ShowsTheBoxForEveryTrueAndAlwaysReadsFalse)
{
    TTestServices services;
    TLabel3D label;
    label.setProperty("About", false);
    EXPECT_TRUE(services.Messages.empty());
    label.setProperty("About", true);
    label.setProperty("About", true);
    EXPECT_FALSE(label.property("About").toBool());
    ASSERT_EQ(services.Messages.size(), 2u);
    EXPECT_EQ(services.Messages[1].Icon, TMessageIcon::Information);
    const QStringList paragraphs = services.Messages[1].Text.split(QStringLiteral("\r\r"));
    ASSERT_EQ(paragraphs.size(), 4);
    EXPECT_EQ(paragraphs[1], QStringLiteral("TLabel3D"));
    EXPECT_TRUE(paragraphs[2].startsWith(QStringLiteral("Version 3.00")));
}

TEST(About, ADerivedClassShowsItsOwnName)
{
    TTestServices services;
    TFancyLabel label;
    label.SetAbout(true);
    ASSERT_EQ(services.Messages.size(), 1u);
    EXPECT_EQ(services.Messages[0].Text.split(QStringLiteral("\r\r")).value(1), QStringLiteral("TFancyLabel"));
}

} // namespace

#include "ControlSetBaseTest.moc"
