#include <gtest/gtest.h>

#include <thread>

#include "cx_label.h"
#include "widget_check.h"

namespace qav::controls {
namespace {

using test::PixelAt;
using test::Render;

constexpr ColorRef kBack = 0xCEE8E8;
constexpr ColorRef kText = 0x0000FF;

// The bounding box of the pixels that differ from the background.
QRect InkBox(const QImage& image, const QColor& background) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!test::Near(image.pixelColor(x, y), background, 40)) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

TEST(CXLabel, FillsItsBackgroundAndCentresTheTextFromTheTop) {
    CXLabel label(QStringLiteral("123.4 А"));
    label.resize(160, 60);
    label.SetColors(kText, kBack);
    const QImage image = Render(label);
    const QColor back(0xE8, 0xE8, 0xCE);
    EXPECT_EQ(PixelAt(image, 0, 0), back);
    EXPECT_EQ(PixelAt(image, 159, 59), back);

    const QRect ink = InkBox(image, back);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LT(ink.top(), 10) << "text starts at the top";
    EXPECT_GT(ink.top(), 0);
    EXPECT_NEAR(ink.left(), 159 - ink.right(), 3) << "centred horizontally";
    bool red = false;
    for (int x = ink.left(); x <= ink.right() && !red; ++x) {
        for (int y = ink.top(); y <= ink.bottom() && !red; ++y) {
            red = test::Near(image.pixelColor(x, y), QColor(0xFF, 0, 0), 30);
        }
    }
    EXPECT_TRUE(red) << "text in the text colour";
}

TEST(CXLabel, WindowsLineBreaksMakeTwoLines) {
    CXLabel label;
    label.resize(200, 80);
    label.SetColors(kText, kBack);
    label.SetText(QStringLiteral("00 : 00 : 00\r\n00.00.0000"));
    EXPECT_EQ(label.Text(), QStringLiteral("00 : 00 : 00\n00.00.0000"));
    const QRect ink = InkBox(Render(label), QColor(0xE8, 0xE8, 0xCE));
    EXPECT_GT(ink.height(), 2 * label.fontMetrics().ascent() - 4) << "two lines of text";
}

TEST(CXLabel, StartsInThePaletteColours) {
    CXLabel label;
    EXPECT_EQ(label.TextColor(), label.palette().color(QPalette::WindowText));
    EXPECT_EQ(label.BackgroundColor(), label.palette().color(QPalette::Button));
}

TEST(CXLabel, FontSettersKeepTheFaceAndRunOnTheWidgetsThread) {
    CXLabel label(QStringLiteral("0"));
    const QString family = label.font().family();
    std::thread([&] {
        label.SetBold(true);
        label.SetFontSize(11);
    }).join();
    EXPECT_FALSE(label.font().bold()) << "queued until the event loop runs";
    QCoreApplication::processEvents();
    EXPECT_TRUE(label.font().bold());
    EXPECT_EQ(label.font().pointSize(), 11);
    EXPECT_EQ(label.font().family(), family);
    label.SetBold(false);
    EXPECT_FALSE(label.font().bold());
}

}  // namespace
}  // namespace qav::controls
