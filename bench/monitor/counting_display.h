// A display that only counts what the poller hands it, for the benchmarks.
#pragma once

#include "monitor_display.h"

namespace qav::monitor {

class CountingDisplay : public MonitorDisplay {
public:
    long calls = 0;
    void ShowCurrents(const CurrentValues&) override { ++calls; }
    void ShowVoltages(const VoltageValues&) override { ++calls; }
    void ShowPowers(const PowerValues&) override { ++calls; }
    void ShowEnergies(const EnergyValues&) override { ++calls; }
    void ShowBalance(int32_t, int32_t) override { ++calls; }
    void ShowRelayClock(const RelayClock&) override { ++calls; }
    void ShowAverages(const AverageValues&) override { ++calls; }
    void ShowTimes(const TimeValues&) override { ++calls; }
    void ShowSensors(const SensorValues&) override { ++calls; }
    void ShowHeating(uint32_t, int32_t) override { ++calls; }
    void ShowStatus(uint16_t) override { ++calls; }
    void InsertAlarmRow(const AlarmRow&) override { ++calls; }
    void RemoveAlarmRows(int) override { ++calls; }
    void RemoveAllAlarmRows() override { ++calls; }
    void ShowAlarmBanner(int) override { ++calls; }
    void ShowAlarmReset(bool) override { ++calls; }
    void SetRecloseRange(int32_t) override { ++calls; }
    void ShowRatedCurrent(int32_t) override { ++calls; }
    void ShowVoltageLimits(int32_t, int32_t) override { ++calls; }
    void ShowRemoteControl(bool) override { ++calls; }
};

}  // namespace qav::monitor
