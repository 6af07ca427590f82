// The tray icon's image and tip, tick by tick.
#include "tray_state.h"

#include <gtest/gtest.h>

#include <ostream>

namespace qav::panel {

void PrintTo(const TrayView& v, std::ostream* out) {
    *out << "{image " << static_cast<int>(v.image) << ", \"" << v.tip.toStdString() << "\"}";
}

namespace {

const QString kImpossibleTip = QStringLiteral("Запись базы данных невозможна");
const QString kPausedTip = QStringLiteral("Запись базы данных приостановлена");
const QString kOnTip = QStringLiteral("Запись базы данных включена");
const QString kOffTip = QStringLiteral("Запись базы данных отключена");

constexpr RecorderActivity kNoThread{false, false, false};
constexpr RecorderActivity kNoThreadFlagsLeft{false, true, true};
constexpr RecorderActivity kIdle{true, false, false};
constexpr RecorderActivity kRecording{true, false, true};
constexpr RecorderActivity kPaused{true, true, false};
constexpr RecorderActivity kPausedWhileOn{true, true, true};

struct Tick {
    RecorderActivity recorder;
    TrayView view;
};

void ExpectTicks(std::initializer_list<Tick> ticks) {
    TrayState state;
    int n = 0;
    for (const Tick& t : ticks) {
        SCOPED_TRACE(n++);
        EXPECT_EQ(state.Tick(t.recorder), t.view);
    }
}

TEST(TrayState, InitialTip) {
    EXPECT_EQ(InitialTrayTip(), QStringLiteral("База данных КАВ-510"));
}

TEST(TrayState, NoRecorderThread) {
    ExpectTicks({{kNoThread, {TrayImage::Warning, kImpossibleTip}},
                 {kNoThread, {TrayImage::Warning, kImpossibleTip}},
                 {kNoThreadFlagsLeft, {TrayImage::Warning, kImpossibleTip}}});
}

TEST(TrayState, RecordingBlinksWithTheNormalImage) {
    ExpectTicks({{kRecording, {TrayImage::Normal, kOnTip}},
                 {kRecording, {TrayImage::Recording, kOnTip}},
                 {kRecording, {TrayImage::Normal, kOnTip}},
                 {kRecording, {TrayImage::Recording, kOnTip}}});
}

TEST(TrayState, PauseBlinksWithTheWarningImageAndComesFirst) {
    ExpectTicks({{kPausedWhileOn, {TrayImage::Normal, kPausedTip}},
                 {kPaused, {TrayImage::Warning, kPausedTip}},
                 {kPausedWhileOn, {TrayImage::Normal, kPausedTip}}});
}

// The phase moves on every tick while the thread runs, also when idle; it stands still without the thread.
TEST(TrayState, PhaseAcrossStates) {
    ExpectTicks({{kIdle, {TrayImage::Normal, kOffTip}},
                 {kRecording, {TrayImage::Recording, kOnTip}},
                 {kNoThread, {TrayImage::Warning, kImpossibleTip}},
                 {kRecording, {TrayImage::Normal, kOnTip}},
                 {kIdle, {TrayImage::Normal, kOffTip}},
                 {kPaused, {TrayImage::Normal, kPausedTip}},
                 {kNoThread, {TrayImage::Warning, kImpossibleTip}},
                 {kPaused, {TrayImage::Warning, kPausedTip}}});
}

}  // namespace
}  // namespace qav::panel
