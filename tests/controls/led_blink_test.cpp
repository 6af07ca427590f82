#include <gtest/gtest.h>

#include <string>

#include "led_blink.h"

namespace qav::controls {
namespace {

// The image shown before the first tick and after each of `ticks` ticks: '#' lit, '.' dark. Also checks that
// Tick reports exactly the ticks that change the image.
std::string Rhythm(LedBlink& led, int ticks) {
    std::string shown(1, led.ShowsOn() ? '#' : '.');
    for (int i = 0; i < ticks; ++i) {
        const bool before = led.ShowsOn();
        const bool changed = led.Tick();
        EXPECT_EQ(changed, led.ShowsOn() != before) << "tick " << i + 1;
        shown += led.ShowsOn() ? '#' : '.';
    }
    return shown;
}

struct RhythmCase {
    int state;
    bool blinking;
    const char* expected;  // 21 images: before the first tick and after ticks 1 to 20
};

class LedRhythm : public testing::TestWithParam<RhythmCase> {};

TEST_P(LedRhythm, FollowsTheTicks) {
    const RhythmCase c = GetParam();
    LedBlink led;
    led.SetBlink(c.blinking);
    led.SetState(c.state);
    EXPECT_EQ(Rhythm(led, 20), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, LedRhythm,
                         testing::Values(
                             // 500 ms lit, 500 ms dark.
                             RhythmCase{1, true, "#####.....#####.....#"},
                             // Dark with a 100 ms flash once a second.
                             RhythmCase{2, true, "#.........#.........#"},
                             // Without blinking both lit states are steady.
                             RhythmCase{1, false, "#####################"},
                             RhythmCase{2, false, "#####################"},
                             RhythmCase{0, true, "....................."},
                             RhythmCase{0, false, "....................."},
                             // Any other state shows the dark image.
                             RhythmCase{3, true, "....................."}));

TEST(LedBlink, TicksInStateZeroDoNotAdvanceTheRhythm) {
    LedBlink led;
    led.SetBlink(true);
    led.SetState(1);
    EXPECT_EQ(Rhythm(led, 3), "####");
    led.SetState(0);
    EXPECT_EQ(Rhythm(led, 10), "...........");
    led.SetState(1);
    // The lit half had run three ticks; two more end it.
    EXPECT_EQ(Rhythm(led, 4), "##...");
}

TEST(LedBlink, SetStateReportsOnlyChanges) {
    LedBlink led;
    EXPECT_FALSE(led.SetState(0));
    EXPECT_TRUE(led.SetState(2));
    EXPECT_FALSE(led.SetState(2));
    EXPECT_EQ(led.State(), 2);
    EXPECT_TRUE(led.SetState(1));
}

TEST(LedBlink, StoppingTheRhythmInItsDarkPhaseLeavesTheLampLit) {
    for (const int state : {1, 2}) {
        LedBlink led;
        led.SetBlink(true);
        led.SetState(state);
        for (int i = 0; i < 6; ++i) {
            led.Tick();
        }
        ASSERT_FALSE(led.ShowsOn()) << "state " << state;
        EXPECT_TRUE(led.SetBlink(false)) << "state " << state;
        EXPECT_TRUE(led.ShowsOn()) << "state " << state;
        EXPECT_FALSE(led.Tick());
        EXPECT_TRUE(led.ShowsOn()) << "state " << state;
    }
}

TEST(LedBlink, RestartingTheRhythmBeginsWithAFullLitHalf) {
    LedBlink led;
    led.SetBlink(true);
    led.SetState(1);
    Rhythm(led, 7);
    EXPECT_FALSE(led.ShowsOn());
    led.SetBlink(true);
    EXPECT_EQ(Rhythm(led, 6), "#####..");
}

}  // namespace
}  // namespace qav::controls
