// Which alarms are active, how the alarm banner blinks, and what an alarm row shows as its value.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "alarm_marks.h"

namespace qav::monitor {

// Alarm rows the panel raises itself.
constexpr int kAlarmShortSensor1 = 21;
constexpr int kAlarmManometer = 37;
constexpr int kAlarmRatedCurrentMissing = 39;

// Sensor-1 types above this are electro-contact manometers, whose "short circuit" is a trip.
constexpr int kLastThermalSensorType = 2;

// The relay reports an alarm (status bit 0), or the rated motor current is not set.
bool AlarmPresent(uint16_t status, bool ratedCurrentMissing);

// The active alarms from the 32 alarm bits (register 902 high word, 901 low word).
AlarmSet DeriveAlarmSet(uint32_t alarmBits, int sensor1Type, bool ratedCurrentMissing);

// 0 off, 1 slow blink (alarm, motor relay off), 2 short flash (motor still switched).
int AlarmBannerState(uint16_t status, bool alarmPresent, bool ratedCurrentMissing);

// Range of the time-to-auto-reclose bar: the longer delay while the minimum-current alarm is active.
int32_t RecloseBarRange(bool alarmPresent, uint32_t alarmBits, int32_t minCurrentDelay, int32_t recloseDelay);

// Value column of a newly listed alarm: "Нет" when its row names no register, "err" when the read failed
// (`raw` empty), else the value in the row's unit.
QString AlarmValueText(int alarm, std::optional<uint16_t> raw, int currentMultiplier);

}  // namespace qav::monitor
