// What the poller hands to the main panel, block by block, in the order it decodes them. Called on the
// poller's thread: an implementation stores or posts and returns at once, and never waits for the
// user-interface thread (which may be waiting for the poller to end).
#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>

#include "register_codec.h"

namespace qav::monitor {

// Values as stored in the measurement array (currents in tenths of an ampere).
struct CurrentValues {
    std::array<int32_t, 3> phase{};
    int32_t positive = 0;
    int32_t zero = 0;
    int32_t negative = 0;
};

struct VoltageValues {
    std::array<int32_t, 3> phase{};
    std::array<int32_t, 3> line{};  // AB, BC, CA
    int32_t positive = 0;
    int32_t negative = 0;
    int32_t zero = 0;
};

// Measurement rows 30-35 (total powers, cos phi) and 41-49 (per-phase powers).
struct PowerValues {
    int32_t apparent = 0;
    int32_t active = 0;
    int32_t reactive = 0;
    std::array<int32_t, 3> cosPhi{};
    std::array<int32_t, 3> phaseApparent{};
    std::array<int32_t, 3> phaseActive{};
    std::array<int32_t, 3> phaseReactive{};
};

struct EnergyValues {
    int32_t apparent = 0;
    int32_t active = 0;
    int32_t reactive = 0;
};

// Rows 6-14.
struct AverageValues {
    std::array<int32_t, 3> average{};
    std::array<int32_t, 3> peak{};
    int32_t startingCurrent = 0;
    int32_t overloadCurrent = 0;
    int32_t startTime = 0;
};

// Rows 24-29, the seconds as the relay reports them (it uses large values for "none").
struct TimeValues {
    int32_t motorHours = 0;
    int32_t insulation = 0;
    int32_t frequency = 0;
    int32_t untilReclose = 0;
    int32_t beforeOverloadTrip = 0;
    int32_t afterOverloadTrip = 0;
};

struct SensorValues {
    uint16_t raw1 = 0;  // temperature codes as read
    uint16_t raw2 = 0;
    int32_t currentInput = 0;
    int32_t voltageInput = 0;
};

struct AlarmRow {
    int alarm = 0;     // row of the alarm table
    QString value;     // value at the trip, "Нет" or "err"
    QDateTime listed;  // the computer's local time when it was listed
};

class MonitorDisplay {
public:
    virtual ~MonitorDisplay() = default;

    // Every pass.
    virtual void ShowCurrents(const CurrentValues& values) = 0;
    virtual void ShowVoltages(const VoltageValues& values) = 0;
    virtual void ShowPowers(const PowerValues& values) = 0;
    virtual void ShowEnergies(const EnergyValues& values) = 0;
    virtual void ShowBalance(int32_t unbalance, int32_t cyclesPerMinute) = 0;
    virtual void ShowRelayClock(const RelayClock& clock) = 0;

    // Every third pass.
    virtual void ShowAverages(const AverageValues& values) = 0;
    virtual void ShowTimes(const TimeValues& values) = 0;
    virtual void ShowSensors(const SensorValues& values) = 0;
    virtual void ShowHeating(uint32_t accumulator, int32_t percent) = 0;
    virtual void ShowStatus(uint16_t status) = 0;

    // The alarm handling after each status block, in this order.
    virtual void InsertAlarmRow(const AlarmRow& row) = 0;  // at the top
    virtual void RemoveAlarmRows(int alarm) = 0;
    virtual void RemoveAllAlarmRows() = 0;
    virtual void ShowAlarmBanner(int state) = 0;  // 0 off, 1 slow blink, 2 short flash
    virtual void ShowAlarmReset(bool visible) = 0;
    virtual void SetRecloseRange(int32_t range) = 0;

    // Every twelfth pass.
    virtual void ShowRatedCurrent(int32_t amps) = 0;
    virtual void ShowVoltageLimits(int32_t lower, int32_t upper) = 0;
    virtual void ShowRemoteControl(bool allowed) = 0;
};

}  // namespace qav::monitor
