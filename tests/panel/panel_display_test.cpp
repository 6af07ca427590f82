// What the poller queues for the user-interface thread (buttons shown or hidden, the relay-mode image) lands
// in order, but never after a reset of the panel that followed it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <thread>

#include "c_icon_button.h"
#include "measure_array.h"
#include "panel_display.h"
#include "panel_layout.h"

namespace qav::panel {
namespace {

constexpr uint16_t kModeOne = 0x10;
constexpr uint16_t kModeTwo = 0x20;
constexpr int kModeUnavailable = 4;

class PanelDisplayTest : public ::testing::Test {
protected:
    // Calls `f` on a thread of its own, as the poller does, and returns once it has.
    template <class F>
    void FromPoller(F f) {
        std::thread(f).join();
    }

    QWidget content;
    PanelLayout layout{content};
    const PanelControls& c = layout.Controls();
    std::vector<int> modes;
    PanelDisplay display{c, &content, [this](int mode) { modes.push_back(mode); }};
    monitor::MeasureArray measures;
};

TEST_F(PanelDisplayTest, QueuedChangesLandInOrder) {
    FromPoller([this] {
        display.ShowStatus(kModeOne);
        display.ShowRemoteControl(true);
        display.ShowAlarmReset(true);
        display.ShowStatus(kModeTwo);
    });
    EXPECT_TRUE(modes.empty());
    QApplication::processEvents();
    EXPECT_EQ(modes, (std::vector<int>{1, 2}));
    EXPECT_TRUE(c.start->isVisibleTo(&content));
    EXPECT_TRUE(c.alarmReset->isVisibleTo(&content));
    EXPECT_FALSE(c.motorPicture->isVisibleTo(&content));
}

TEST_F(PanelDisplayTest, AResetDropsWhatWasQueuedBeforeIt) {
    FromPoller([this] {
        display.ShowStatus(kModeOne);
        display.ShowRemoteControl(true);
        display.ShowAlarmReset(true);
    });
    display.ResetPanel(measures);  // a disconnect, before the queued changes have run
    QApplication::processEvents();
    EXPECT_EQ(modes, (std::vector<int>{kModeUnavailable}));
    EXPECT_FALSE(c.start->isVisibleTo(&content));
    EXPECT_FALSE(c.alarmReset->isVisibleTo(&content));
    EXPECT_TRUE(c.motorPicture->isVisibleTo(&content));

    FromPoller([this] { display.ShowStatus(kModeTwo); });  // the next connection's status is shown again
    QApplication::processEvents();
    EXPECT_EQ(modes.back(), 2);
}

}  // namespace
}  // namespace qav::panel
