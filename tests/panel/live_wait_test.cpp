// A long link operation off the user-interface thread: timers keep running, the result comes back.
#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <thread>

#include "live_wait.h"

namespace qav::panel {
namespace {

TEST(LiveWait, TimersRunWhileTheWorkTakesItsTime) {
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    std::thread::id workerThread;
    const int32_t result = RunKeepingWindowAlive([&] {
        workerThread = std::this_thread::get_id();
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        return -102;
    });
    EXPECT_EQ(result, -102);
    EXPECT_NE(workerThread, std::this_thread::get_id());
    EXPECT_GE(ticks, 5);

    EXPECT_EQ(RunKeepingWindowAlive([] { return 1; }), 1);  // done before the loop starts
}

}  // namespace
}  // namespace qav::panel
