// The live display: the poller's decoded blocks written into the panel's controls, and the reset of the
// panel to its disconnected texts. The Show* calls come from the poller's thread; the controls store the
// values and repaint on the user-interface thread, and what only that thread may do (showing and hiding
// buttons, changing images) is queued to it in the order asked.
#pragma once

#include <QObject>
#include <array>
#include <atomic>
#include <functional>

#include "measure_array.h"
#include "monitor_display.h"
#include "panel_controls.h"

namespace qav::panel {

class PanelDisplay : public monitor::MonitorDisplay {
public:
    // `context` is an object of the user-interface thread; `setRelayMode` shows a relay-mode image there.
    PanelDisplay(const PanelControls& controls, QObject* context, std::function<void(int)> setRelayMode);

    // The selection of power selector `k`, as the user-interface thread last set it.
    void SetPowerSelection(int k, int entry);

    // User-interface thread: every value back to its disconnected default, the snapshot cleared.
    void ResetPanel(monitor::MeasureArray& measures);

    void ShowCurrents(const monitor::CurrentValues& values) override;
    void ShowVoltages(const monitor::VoltageValues& values) override;
    void ShowPowers(const monitor::PowerValues& values) override;
    void ShowEnergies(const monitor::EnergyValues& values) override;
    void ShowBalance(int32_t unbalance, int32_t cyclesPerMinute) override;
    void ShowRelayClock(const monitor::RelayClock& clock) override;
    void ShowAverages(const monitor::AverageValues& values) override;
    void ShowTimes(const monitor::TimeValues& values) override;
    void ShowSensors(const monitor::SensorValues& values) override;
    void ShowHeating(uint32_t accumulator, int32_t percent) override;
    void ShowStatus(uint16_t status) override;
    void InsertAlarmRow(const monitor::AlarmRow& row) override;
    void RemoveAlarmRows(int alarm) override;
    void RemoveAllAlarmRows() override;
    void ShowAlarmBanner(int state) override;
    void ShowAlarmReset(bool visible) override;
    void SetRecloseRange(int32_t range) override;
    void ShowRatedCurrent(int32_t amps) override;
    void ShowVoltageLimits(int32_t lower, int32_t upper) override;
    void ShowRemoteControl(bool allowed) override;

private:
    // Shows or hides a widget on the user-interface thread, only when that changes something.
    void SetVisible(QWidget* widget, bool visible);
    // Runs `f` on the user-interface thread unless the panel is reset first: what the poller asked for just
    // before a disconnect may still be queued when the reset runs, and must not undo it.
    template <class F>
    void BeforeNextReset(F&& f);

    const PanelControls& c_;
    QObject* context_;
    std::function<void(int)> setRelayMode_;
    std::array<std::atomic<int>, 3> selection_{};
    std::atomic<unsigned> resets_{0};
};

}  // namespace qav::panel
