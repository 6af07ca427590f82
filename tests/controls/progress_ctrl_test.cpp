#include <gtest/gtest.h>

#include <thread>

#include "cx_label.h"
#include "cx_progress_ctrl.h"
#include "qt_color.h"
#include "widget_check.h"

namespace qav::controls {
namespace {

using test::Near;
using test::PixelAt;
using test::Render;

constexpr int kHeight = 20;
constexpr int kMiddle = kHeight / 2;
const QColor kBackground(0xD0, 0xD1, 0xC1);
const QColor kYellow(0xFF, 0xFF, 0x00);
const QColor kGreen(0x59, 0xDB, 0x4B);
const QColor kRed(0xFF, 0x00, 0x00);

// A 190-pixel line-voltage bar: range 0 to 475, marks upper 380 and lower 100.
void MakeLineVoltageBar(CXProgressCtrl& bar) {
    bar.resize(190, kHeight);
    bar.SetRange(0, 475);
    bar.SetMarks(380, 100);
}

TEST(CXProgressCtrl, PaintsTheBarMarksAndBackground) {
    CXProgressCtrl bar;
    MakeLineVoltageBar(bar);
    bar.SetPos(400);
    const QImage image = Render(bar);
    EXPECT_TRUE(Near(PixelAt(image, 100, kMiddle), kYellow, 12)) << "inside the bar";
    EXPECT_TRUE(Near(PixelAt(image, 155, kMiddle), kYellow, 12)) << "beyond the upper mark";
    EXPECT_TRUE(Near(PixelAt(image, 159, kMiddle), kYellow, 12)) << "last bar column";
    EXPECT_EQ(PixelAt(image, 160, kMiddle), kBackground) << "first empty column";
    EXPECT_EQ(PixelAt(image, 40, kMiddle), kRed) << "lower mark line";
    EXPECT_EQ(PixelAt(image, 152, kMiddle), kRed) << "upper mark line";

    bar.SetPos(200);
    const QImage green = Render(bar);
    EXPECT_TRUE(Near(PixelAt(green, 60, kMiddle), kGreen, 12));
    EXPECT_EQ(PixelAt(green, 100, kMiddle), kBackground);
    EXPECT_EQ(PixelAt(green, 152, kMiddle), kRed);
}

TEST(CXProgressCtrl, SegmentsAreDarkerAtTheEdgesThanInTheMiddle) {
    CXProgressCtrl bar;
    MakeLineVoltageBar(bar);
    bar.SetPos(200);
    const QImage image = Render(bar);
    const QColor top = PixelAt(image, 60, 2);  // just inside the sunken edge
    const QColor middle = PixelAt(image, 60, kMiddle);
    const QColor bottom = PixelAt(image, 60, kHeight - 3);
    EXPECT_LT(top.green(), middle.green() - 40);
    EXPECT_LT(bottom.green(), middle.green() - 40);
    // A quarter of the way from 66 % of each channel at the edge to the full colour in the middle.
    EXPECT_TRUE(Near(top, QColor(66, 163, 56), 8));
}

TEST(CXProgressCtrl, UpperMarkOnlyShowsTheHighColourBeyondIt) {
    CXProgressCtrl bar;
    bar.resize(300, kHeight);
    bar.SetRange(0, 300);
    bar.SetMarks(220, 0);
    bar.SetPos(250);
    const QImage image = Render(bar);
    EXPECT_TRUE(Near(PixelAt(image, 200, kMiddle), kGreen, 12));
    EXPECT_EQ(PixelAt(image, 220, kMiddle), kRed);
    EXPECT_TRUE(Near(PixelAt(image, 235, kMiddle), kYellow, 12));
    EXPECT_EQ(PixelAt(image, 260, kMiddle), kBackground);
}

TEST(CXProgressCtrl, ANewHighColourShowsAtOnce) {
    CXProgressCtrl bar;
    bar.resize(300, kHeight);
    bar.SetRange(0, 300);
    bar.SetMarks(220, 0);
    bar.SetPos(250);
    Render(bar);
    EXPECT_EQ(bar.SetHighColor(0x0000FF), 0x00FFFFu);
    EXPECT_TRUE(Near(PixelAt(Render(bar), 235, kMiddle), kRed, 12));
}

TEST(CXProgressCtrl, FollowsItsWidth) {
    CXProgressCtrl bar;
    MakeLineVoltageBar(bar);
    bar.SetPos(400);
    bar.resize(380, kHeight);
    const QImage image = Render(bar);
    EXPECT_FLOAT_EQ(bar.Model().Scale(), 0.8f);
    EXPECT_EQ(PixelAt(image, 304, kMiddle), kRed) << "upper mark at its new place";
    EXPECT_TRUE(Near(PixelAt(image, 310, kMiddle), kYellow, 12));
    EXPECT_EQ(PixelAt(image, 330, kMiddle), kBackground);
}

// A fast link sets values far quicker than the screen repaints: each control keeps at most one repaint
// request waiting, and the repaint shows the latest value.
TEST(RepaintRequest, SettersFromAnotherThreadWaitAsOneRequest) {
    CXProgressCtrl bar;
    MakeLineVoltageBar(bar);
    CXLabel label;
    const test::QueuedCallCounter barCalls(&bar);
    const test::QueuedCallCounter labelCalls(&label);
    std::thread([&] {
        for (int i = 1; i <= 1000; ++i) {
            bar.SetPos(i % 475);
            label.SetText(QString::number(i));
        }
    }).join();
    QCoreApplication::processEvents();
    EXPECT_EQ(barCalls.Count(), 1);
    EXPECT_EQ(labelCalls.Count(), 1);
    EXPECT_EQ(bar.Model().Pos(), 1000 % 475);
    EXPECT_EQ(label.Text(), QStringLiteral("1000"));

    // Once delivered, the next value asks again.
    std::thread([&] { bar.SetPos(3); }).join();
    QCoreApplication::processEvents();
    EXPECT_EQ(barCalls.Count(), 2);
}

TEST(RepaintRequest, UnchangedValuesAskForNoRepaint) {
    CXProgressCtrl bar;
    MakeLineVoltageBar(bar);
    bar.SetPos(10);
    const test::QueuedCallCounter calls(&bar);
    std::thread([&] {
        bar.SetPos(10);
        bar.SetMarks(380, 100);
        bar.SetRange(5, 475);
    }).join();
    QCoreApplication::processEvents();
    EXPECT_EQ(calls.Count(), 0);
}

}  // namespace
}  // namespace qav::controls
