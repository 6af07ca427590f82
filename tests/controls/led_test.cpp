#include <gtest/gtest.h>

#include <QPalette>
#include <thread>

#include "cx_led.h"
#include "lamp_icon.h"
#include "widget_check.h"

namespace qav::controls {
namespace {

using test::PixelAt;
using test::Render;

constexpr QSize kLampSize(16, 16);

bool IsGreen(const QColor& c) {
    return c.green() > c.red() + 60 && c.green() > c.blue() + 60;
}
bool IsGrey(const QColor& c) {
    return test::Near(c, QColor(c.red(), c.red(), c.red()), 12);
}

// A lamp on a red parent, so that what the indicator leaves unpainted is visible.
struct LampOnRed {
    QWidget parent;
    CXLed* led = new CXLed(&parent);

    LampOnRed() {
        QPalette p = parent.palette();
        p.setColor(QPalette::Window, Qt::red);
        parent.setPalette(p);
        parent.setAutoFillBackground(true);
        parent.resize(24, 24);
        led->setGeometry(0, 0, 24, 24);
        led->LoadIcons({LampIcon(LampColor::Green), kLampSize}, {LampIcon(LampColor::Dark), kLampSize});
    }
    QColor Centre() { return PixelAt(Render(parent), 8, 8); }
};

TEST(CXLed, PaintsTheImageOfItsStateAndNothingAround) {
    LampOnRed lamp;
    EXPECT_TRUE(IsGrey(lamp.Centre())) << "state 0 shows the off image";
    lamp.led->SetState(1);
    EXPECT_TRUE(IsGreen(lamp.Centre()));
    lamp.led->SetState(2);
    EXPECT_TRUE(IsGreen(lamp.Centre())) << "state 2 without blinking is steady";
    EXPECT_EQ(PixelAt(Render(lamp.parent), 20, 20), QColor(Qt::red)) << "outside the image";
}

TEST(CXLed, LoadIconsWithAnOffImageResetsTheState) {
    LampOnRed lamp;
    lamp.led->SetState(1);
    lamp.led->LoadIcons({LampIcon(LampColor::Green), kLampSize}, {LampIcon(LampColor::Dark), kLampSize});
    EXPECT_EQ(lamp.led->State(), 0);
    EXPECT_TRUE(IsGrey(lamp.Centre()));
    lamp.led->SetState(1);
    EXPECT_TRUE(IsGreen(lamp.Centre()));
}

TEST(CXLed, SetIconsReplacesOnlyWhatIsGiven) {
    LampOnRed lamp;
    lamp.led->SetState(1);
    // A new on image alone keeps the state: the mode picture is swapped this way while lit.
    lamp.led->SetIcons({LampIcon(LampColor::Red), kLampSize});
    EXPECT_EQ(lamp.led->State(), 1);
    const QColor lit = lamp.Centre();
    EXPECT_GT(lit.red(), lit.green() + 60);
    // Without an on image nothing changes, not even with an off image.
    lamp.led->SetIcons({}, {LampIcon(LampColor::Green), kLampSize});
    EXPECT_EQ(lamp.led->State(), 1);
    lamp.led->SetState(0);
    EXPECT_TRUE(IsGrey(lamp.Centre()));
    // Both images given: the state returns to 0.
    lamp.led->SetState(1);
    lamp.led->SetIcons({LampIcon(LampColor::Green), kLampSize}, {LampIcon(LampColor::Dark), kLampSize});
    EXPECT_EQ(lamp.led->State(), 0);
}

TEST(CXLed, BlinksOnItsOwnTimer) {
    CXLed led;
    led.SetBlink(true);
    led.SetState(1);
    ASSERT_TRUE(led.ShowsOn());
    // Five 100 ms ticks of the lit half; a loaded machine may deliver them late, never early.
    const qint64 darkAfter = test::RunEventsUntil([&] { return !led.ShowsOn(); }, 5000);
    EXPECT_GE(darkAfter, 400);
    EXPECT_GE(test::RunEventsUntil([&] { return led.ShowsOn(); }, 5000), 400);
    led.SetBlink(false);
    EXPECT_TRUE(led.ShowsOn());
}

TEST(CXLed, BlinkSwitchedFromAnotherThreadStartsTheTimerOnItsOwn) {
    CXLed led;
    std::thread([&] {
        led.SetState(1);
        led.SetBlink(true);
    }).join();
    EXPECT_GE(test::RunEventsUntil([&] { return !led.ShowsOn(); }, 5000), 0);
}

}  // namespace
}  // namespace qav::controls
