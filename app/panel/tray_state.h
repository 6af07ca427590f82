// What the tray icon shows: its image and tip follow the recorder, and blink once a second while recording
// runs or is paused.
#pragma once

#include <QString>

namespace qav::panel {

// The recorder as the tray sees it. The recorder itself lives with the database; until it runs, its thread
// counts as not running.
struct RecorderActivity {
    bool threadRunning = false;
    bool paused = false;     // recording paused
    bool recording = false;  // recording on
};

enum class TrayImage { Normal, Recording, Warning };

struct TrayView {
    TrayImage image;
    QString tip;

    bool operator==(const TrayView&) const = default;
};

// The tip the icon gets when it is added, before the first update.
QString InitialTrayTip();

class TrayState {
public:
    // The view for one display-timer tick. While the recorder's thread runs, the blink phase changes after
    // every tick, so that a running or paused recording alternates its image with the normal one.
    TrayView Tick(const RecorderActivity& recorder);

    bool BlinkPhase() const { return blink_; }

private:
    bool blink_ = false;
};

}  // namespace qav::panel
