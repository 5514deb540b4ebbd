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

TEST(DrawBevelFrame, DrawsRingsInwardWithTheCornerRule)
{
    QImage image(12, 12, QImage::Format_RGB32);
    image.fill(Underneath);
    TCanvas canvas(&image);
    canvas.Pen.Width = 3; // the frame always draws one-pixel lines
    EXPECT_EQ(DrawBevelFrame(canvas, {1, 1, 5, 5}, clRed, clBlue, 0), (TRect{1, 1, 5, 5}));
    EXPECT_EQ(DrawBevelFrame(canvas, {0, 0, 10, 10}, clRed, clBlue, 2), (TRect{2, 2, 8, 8}));
    canvas.Release();
    // Each ring's right and bottom edges, corners included, are blue.
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const int ring = std::min({x, y, 9 - x, 9 - y});
            QRgb expected = Underneath;
            if (ring >= 0 && ring < 2)
                expected = (x == 9 - ring || y == 9 - ring) ? Rgb(clBlue) : Rgb(clRed);
            ASSERT_EQ(image.pixel(x, y), expected) << x << "," << y;
        }
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
