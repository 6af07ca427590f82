#include "alarm_rules.h"

#include <algorithm>

#include "QAV508DLL.h"

namespace qav::monitor {

bool AlarmPresent(uint16_t status, bool ratedCurrentMissing) {
    return (status & 1u) != 0 || ratedCurrentMissing;
}

AlarmSet DeriveAlarmSet(uint32_t alarmBits, int sensor1Type, bool ratedCurrentMissing) {
    AlarmSet set(alarmBits);
    if (sensor1Type > kLastThermalSensorType && set.test(kAlarmShortSensor1)) {
        set.reset(kAlarmShortSensor1);
        set.set(kAlarmManometer);
    }
    if (ratedCurrentMissing) {
        set.set(kAlarmRatedCurrentMissing);
    }
    return set;
}

int AlarmBannerState(uint16_t status, bool alarmPresent, bool ratedCurrentMissing) {
    if (!alarmPresent) {
        return 0;
    }
    if (ratedCurrentMissing) {
        return 1;
    }
    const int mode = status >> 4 & 3;
    const bool motorRelay = (status & 0x02) != 0;
    const bool functionalRelay = (status & 0x04) != 0;
    // In star-delta mode either relay may be the one carrying the motor.
    if (mode == 2) {
        return motorRelay || functionalRelay ? 2 : 1;
    }
    return motorRelay ? 2 : 1;
}

int32_t RecloseBarRange(bool alarmPresent, uint32_t alarmBits, int32_t minCurrentDelay,
                        int32_t recloseDelay) {
    constexpr int kMinimumCurrentAlarm = 5;
    if (alarmPresent && (alarmBits >> kMinimumCurrentAlarm & 1u) != 0) {
        return std::max(minCurrentDelay, recloseDelay);
    }
    return recloseDelay;
}

QString AlarmValueText(int alarm, std::optional<uint16_t> raw, int currentMultiplier) {
    const _tagSTRUCT_ERR_INFO& row = dll_nErrInfo[alarm];
    if (row.nRegister == 0) {
        return QStringLiteral("Нет");
    }
    if (!raw) {
        return QStringLiteral("err");
    }
    int32_t value = *raw;
    constexpr int kCurrentAlarms[] = {0, 2, 4, 5, 6, 7, 11};
    if (currentMultiplier > 1 &&
        std::find(std::begin(kCurrentAlarms), std::end(kCurrentAlarms), alarm) != std::end(kCurrentAlarms)) {
        value *= currentMultiplier;
    }
    const QString unit = QString::fromUtf16(row.szUnit);
    if (row.nDivisor > 0) {
        return QString::asprintf("%.1f ", static_cast<double>(value) / row.nDivisor) + unit;
    }
    return QString::number(value) + QLatin1Char(' ') + unit;
}

}  // namespace qav::monitor
