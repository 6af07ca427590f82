// The tray icon's image and tip by recorder state.
#include "tray_state.h"

namespace qav::panel {

QString InitialTrayTip() {
    return QStringLiteral("База данных КАВ-510");
}

TrayView TrayState::Tick(const RecorderActivity& recorder) {
    if (!recorder.threadRunning) {
        return {TrayImage::Warning, QStringLiteral("Запись базы данных невозможна")};
    }
    TrayView view;
    if (recorder.paused) {
        view = {blink_ ? TrayImage::Warning : TrayImage::Normal,
                QStringLiteral("Запись базы данных приостановлена")};
    } else if (recorder.recording) {
        view = {blink_ ? TrayImage::Recording : TrayImage::Normal,
                QStringLiteral("Запись базы данных включена")};
    } else {
        view = {TrayImage::Normal, QStringLiteral("Запись базы данных отключена")};
    }
    blink_ = !blink_;
    return view;
}

}  // namespace qav::panel
