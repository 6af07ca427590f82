// The link watchdog of the display timer.
#include <gtest/gtest.h>

#include <vector>

#include "link_watchdog.h"

namespace qav::panel {
namespace {

TEST(LinkWatchdog, SixthSilentTickResetsAndEverySilentTickAfter) {
    monitor::ConnectionState state;
    state.watchdog = 5;
    state.link.linkActivity = 1;
    WatchdogVerdict v = LinkWatchdogTick(state);
    EXPECT_FALSE(v.resetPanel);
    EXPECT_EQ(v.activity, ActivityImage::Exchange);
    EXPECT_FALSE(LinkWatchdogTick(state).activity);  // unchanged image is not set again

    state.link.linkActivity = 0;
    std::vector<bool> resets;
    for (int tick = 1; tick <= 7; ++tick) {
        v = LinkWatchdogTick(state);
        resets.push_back(v.resetPanel);
        EXPECT_EQ(v.activity.has_value(), tick == 1);
    }
    EXPECT_EQ(resets, (std::vector<bool>{false, false, false, false, false, true, true}));

    state.link.linkActivity = 1;
    v = LinkWatchdogTick(state);
    EXPECT_FALSE(v.resetPanel);
    EXPECT_EQ(state.watchdog.load(), 5);
    EXPECT_EQ(v.activity, ActivityImage::Exchange);
}

}  // namespace
}  // namespace qav::panel
