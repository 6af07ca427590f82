#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QToolTip>
#include <thread>

#include "heating_chart.h"
#include "qt_color.h"
#include "widget_check.h"

namespace qav::panel {
namespace {

using controls::FromColorRef;
using test::PixelAt;
using test::Render;

constexpr int kWidth = 100;
constexpr int kHeight = 160;  // 100 % line at row 30, 66 % line at row 75
const QColor kBackground = FromColorRef(kChartBackground);
const QColor kMarker(0xFF, 0x00, 0x00);

// After one step the newest column sits at kWidth - 2, the spare column (background) at kWidth - 1, and the
// first step's time marker at kWidth - 4.
constexpr int kNewest = kWidth - 2;

struct Chart {
    CGraph graph;
    Chart() { graph.resize(kWidth, kHeight); }
};

TEST(CGraph, ColumnFromTheLevelDownInTheRowColours) {
    Chart c;
    EXPECT_EQ(c.graph.AddValue(550'000), 50);
    EXPECT_EQ(c.graph.Level(), 95);
    c.graph.ScrollStep();
    const QImage image = Render(c.graph);
    EXPECT_EQ(PixelAt(image, kNewest, 94), kBackground) << "above the level";
    for (const int row : {95, 120, 159}) {
        EXPECT_EQ(PixelAt(image, kNewest, row), FromColorRef(ColumnColor(row, kHeight))) << "row " << row;
    }
    EXPECT_EQ(PixelAt(image, kWidth - 1, 120), kBackground) << "the newest place is clean";
    EXPECT_EQ(PixelAt(image, kWidth - 3, 120), kBackground) << "no older column yet";
}

TEST(CGraph, ZeroPaintsNothing) {
    Chart c;
    c.graph.AddValue(0);
    c.graph.ScrollStep();
    EXPECT_EQ(PixelAt(Render(c.graph), kNewest, kHeight - 1), kBackground);
}

TEST(CGraph, FarAboveFullScaleFillsTheWholeHeight) {
    Chart c;
    EXPECT_EQ(c.graph.AddValue(2'200'000), 200);
    EXPECT_EQ(c.graph.Level(), 30 - (kHeight - 30));
    c.graph.ScrollStep();
    const QImage image = Render(c.graph);
    EXPECT_EQ(PixelAt(image, kNewest, 0), QColor(0xFF, 0x00, 0x00)) << "red at the top";
    EXPECT_EQ(PixelAt(image, kNewest, 10), FromColorRef(ColumnColor(10, kHeight)));
    EXPECT_EQ(PixelAt(image, kNewest, 50), FromColorRef(ColumnColor(50, kHeight)));
}

TEST(CGraph, HistoryMovesLeftOnePixelPerStep) {
    Chart c;
    c.graph.AddValue(1'100'000);
    c.graph.ScrollStep();
    c.graph.ResetValue();
    for (int i = 0; i < 5; ++i) {
        c.graph.ScrollStep();
    }
    const QImage image = Render(c.graph);
    EXPECT_EQ(PixelAt(image, kNewest - 5, 120), FromColorRef(ColumnColor(120, kHeight)));
    EXPECT_EQ(PixelAt(image, kNewest - 4, 120), kBackground);
    EXPECT_EQ(PixelAt(image, kNewest - 6, 120), kBackground);
}

TEST(CGraph, TimeMarkerOnTheFirstStepThenEveryWidthLessThreeSteps) {
    Chart c;
    c.graph.ScrollStep();
    QImage image = Render(c.graph);
    EXPECT_EQ(PixelAt(image, kWidth - 4, 5), kMarker);
    EXPECT_EQ(PixelAt(image, kWidth - 4, kHeight - 1), kMarker) << "over the full height";
    EXPECT_EQ(PixelAt(image, kWidth - 3, 5), kBackground);

    // width - 4 steps later the marker reaches the left edge and the next is not due yet...
    for (int i = 0; i < kWidth - 4; ++i) {
        c.graph.ScrollStep();
    }
    image = Render(c.graph);
    EXPECT_EQ(PixelAt(image, 0, 5), kMarker);
    EXPECT_EQ(PixelAt(image, kWidth - 4, 5), kBackground);
    // ...and on the next one, width - 3 steps after the first, it is.
    c.graph.ScrollStep();
    image = Render(c.graph);
    EXPECT_EQ(PixelAt(image, kWidth - 4, 5), kMarker);
    EXPECT_EQ(PixelAt(image, 0, 5), kBackground);
}

TEST(CGraph, ScaleLinesAndLabels) {
    Chart c;
    const QImage image = Render(c.graph);
    EXPECT_EQ(PixelAt(image, 70, 30), FromColorRef(kLine100Color));
    EXPECT_EQ(PixelAt(image, 70, 75), FromColorRef(kLine66Color));
    EXPECT_EQ(PixelAt(image, 70, 40), kBackground);
    // Each label in its line's colour, in the 50 x 15 box above its line.
    const auto inks = [&](int top, const QColor& color) {
        for (int y = top; y < top + 15; ++y) {
            for (int x = 0; x < 50; ++x) {
                if (test::Near(image.pixelColor(x, y), color, 40)) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(inks(15, FromColorRef(kLine100Color)));
    EXPECT_TRUE(inks(60, FromColorRef(kLine66Color)));
}

TEST(CGraph, ScrollsOnItsTimerWhenEnabledFromAnyThread) {
    Chart c;
    std::thread([&] { c.graph.EnableScroll(true); }).join();
    EXPECT_FALSE(c.graph.IsScrolling()) << "started on the widget's thread";
    QCoreApplication::processEvents();
    EXPECT_TRUE(c.graph.IsScrolling());
    // The first step draws a time marker.
    EXPECT_GE(test::RunEventsUntil([&] { return PixelAt(Render(c.graph), kWidth - 4, 5) == kMarker; }, 5000),
              0);

    c.graph.EnableScroll(false);
    EXPECT_FALSE(c.graph.IsScrolling());
}

TEST(CGraph, AddValueFromThePollerThread) {
    Chart c;
    int percent = 0;
    std::thread([&] { percent = c.graph.AddValue(20'000'000); }).join();
    EXPECT_EQ(percent, 1000);
    EXPECT_EQ(c.graph.Level(), kHeight - (kHeight - 30) * 10);
}

TEST(CGraph, WideningKeepsTheNewestColumnsAtTheRightEdge) {
    Chart c;
    c.graph.AddValue(1'100'000);
    c.graph.ScrollStep();
    c.graph.resize(kWidth + 40, kHeight);
    EXPECT_EQ(PixelAt(Render(c.graph), kWidth + 40 - 2, 120), FromColorRef(ColumnColor(120, kHeight)));
}

TEST(CGraph, TooltipShowsTheHeatingAtThePointer) {
    Chart c;
    c.graph.show();
    const QPointF local(20, 30);
    QMouseEvent move(QEvent::MouseMove, local, c.graph.mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&c.graph, &move);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Нагрев - 103%"));
    QToolTip::hideText();
}

}  // namespace
}  // namespace qav::panel
