#include "poll_cycle.h"

#include "QAV508DLL.h"
#include "alarm_rules.h"

namespace qav::monitor {

const PollCycle::Block PollCycle::kGroupA[6] = {
    {30, 6, &PollCycle::DecodeCurrents}, {45, 9, &PollCycle::DecodeVoltages},
    {60, 9, &PollCycle::DecodePowers},   {90, 6, &PollCycle::DecodeEnergies},
    {96, 2, &PollCycle::DecodeBalance},  {80, 6, &PollCycle::DecodeClock},
};
const PollCycle::Block PollCycle::kGroupB[5] = {
    {36, 9, &PollCycle::DecodeAverages}, {54, 6, &PollCycle::DecodeTimes},
    {69, 4, &PollCycle::DecodeSensors},  {73, 2, &PollCycle::DecodeHeating},
    {900, 3, &PollCycle::DecodeStatus},
};
const PollCycle::Block PollCycle::kGroupC[4] = {
    {150, 3, &PollCycle::DecodeRatedCurrent},
    {177, 4, &PollCycle::DecodeVoltageLimits},
    {195, 2, &PollCycle::DecodeRecloseDelays},
    {200, 2, &PollCycle::DecodeRemoteControl},
};

PollCycle::PollCycle(const PollerDeps& deps, uint8_t address, const std::atomic<bool>& running,
                     Clock::time_point start)
    : deps_(deps), address_(address), running_(running), rateStamp_(start) {}

void PollCycle::UpdateRate(Clock::time_point now) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - rateStamp_).count();
    if (elapsed <= 1000) {
        return;
    }
    const float rate = registersRead_ == 0
                           ? 0.0f
                           : 1000.0f / (static_cast<float>(elapsed) / static_cast<float>(registersRead_));
    deps_.status.rate.store(rate);
    rateStamp_ = now;
    registersRead_ = 0;
}

bool PollCycle::RunPass() {
    if (!ReadGroup(kGroupA, std::size(kGroupA))) {
        return false;
    }
    if (groupBCountdown_ > 0) {
        --groupBCountdown_;
        return true;
    }
    groupBCountdown_ = 2;
    const int statusReadsBefore = statusReads_;
    if (!ReadGroup(kGroupB, std::size(kGroupB))) {
        return false;
    }
    if (statusReads_ != statusReadsBefore && !HandleAlarms()) {
        return false;
    }
    if (groupCCountdown_ > 0) {
        --groupCCountdown_;
        return true;
    }
    groupCCountdown_ = 3;
    return ReadGroup(kGroupC, std::size(kGroupC));
}

bool PollCycle::ReadGroup(const Block* blocks, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (!ReadBlock(blocks[i])) {
            return false;
        }
    }
    return true;
}

bool PollCycle::ReadBlock(const Block& block) {
    const int32_t result =
        deps_.source.Read(address_, block.first, block.count, buffer_, sizeof buffer_, deps_.retries());
    // A reply shorter than the block would leave stale bytes of an earlier block in the buffer.
    if (result >= 2 * block.count) {
        registersRead_ += block.count;
        deps_.status.linkActivity.store(1);
        (this->*block.decode)(buffer_);
    } else {
        deps_.status.linkActivity.store(0);
    }
    return running_.load();
}

void PollCycle::StoreCurrents(const uint8_t* bytes, int firstRow, int count) {
    for (int i = 0; i < count; ++i) {
        deps_.measures.SetMeasure(firstRow + i, U16(bytes, i) * multiplier_);
    }
}

void PollCycle::DecodeCurrents(const uint8_t* bytes) {
    StoreCurrents(bytes, 0, 6);
    const MeasureArray& m = deps_.measures;
    deps_.display.ShowCurrents({{m.GetMeasure(0), m.GetMeasure(1), m.GetMeasure(2)},
                                m.GetMeasure(3),
                                m.GetMeasure(4),
                                m.GetMeasure(5)});
}

void PollCycle::DecodeVoltages(const uint8_t* bytes) {
    VoltageValues v;
    for (int i = 0; i < 9; ++i) {
        deps_.measures.SetMeasure(15 + i, U16(bytes, i));
    }
    for (std::size_t i = 0; i < 3; ++i) {
        v.phase[i] = U16(bytes, static_cast<int>(i));
        v.line[i] = U16(bytes, 3 + static_cast<int>(i));
    }
    v.positive = U16(bytes, 6);
    v.negative = U16(bytes, 7);
    v.zero = U16(bytes, 8);
    deps_.display.ShowVoltages(v);
}

void PollCycle::DecodePowers(const uint8_t* bytes) {
    MeasureArray& m = deps_.measures;
    PowerValues v;
    v.apparent = static_cast<int32_t>(U32(bytes, 0));
    v.active = static_cast<int32_t>(U32(bytes, 2));
    v.reactive = static_cast<int32_t>(U32(bytes, 4));
    m.SetMeasure(30, v.apparent);
    m.SetMeasure(31, v.active);
    m.SetMeasure(32, v.reactive);
    for (int k = 0; k < 3; ++k) {
        const auto i = static_cast<std::size_t>(k);
        v.cosPhi[i] = U16(bytes, 6 + k);
        m.SetMeasure(33 + k, v.cosPhi[i]);
    }
    for (int k = 1; k <= 3; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        const PhasePower p =
            ComputePhasePower(m.GetMeasure(14 + k), m.GetMeasure(k - 1), m.GetMeasure(32 + k));
        m.SetMeasure(40 + k, p.apparent);
        m.SetMeasure(43 + k, p.active);
        m.SetMeasure(46 + k, p.reactive);
        v.phaseApparent[i] = p.apparent;
        v.phaseActive[i] = p.active;
        v.phaseReactive[i] = p.reactive;
    }
    deps_.display.ShowPowers(v);
}

void PollCycle::DecodeEnergies(const uint8_t* bytes) {
    const EnergyValues v{static_cast<int32_t>(U32(bytes, 0)), static_cast<int32_t>(U32(bytes, 2)),
                         static_cast<int32_t>(U32(bytes, 4))};
    deps_.measures.SetMeasure(50, v.apparent);
    deps_.measures.SetMeasure(51, v.active);
    deps_.measures.SetMeasure(52, v.reactive);
    deps_.display.ShowEnergies(v);
}

void PollCycle::DecodeBalance(const uint8_t* bytes) {
    deps_.measures.SetMeasure(53, U16(bytes, 0));
    deps_.measures.SetMeasure(54, U16(bytes, 1));
    deps_.display.ShowBalance(U16(bytes, 0), U16(bytes, 1));
}

void PollCycle::DecodeClock(const uint8_t* bytes) {
    deps_.display.ShowRelayClock(DecodeRelayClock(bytes));
}

void PollCycle::DecodeAverages(const uint8_t* bytes) {
    StoreCurrents(bytes, 6, 8);
    deps_.measures.SetMeasure(14, U16(bytes, 8));
    const MeasureArray& m = deps_.measures;
    AverageValues v;
    for (int k = 0; k < 3; ++k) {
        v.average[static_cast<std::size_t>(k)] = m.GetMeasure(6 + k);
        v.peak[static_cast<std::size_t>(k)] = m.GetMeasure(9 + k);
    }
    v.startingCurrent = m.GetMeasure(12);
    v.overloadCurrent = m.GetMeasure(13);
    v.startTime = m.GetMeasure(14);
    deps_.display.ShowAverages(v);
}

void PollCycle::DecodeTimes(const uint8_t* bytes) {
    for (int i = 0; i < 6; ++i) {
        deps_.measures.SetMeasure(24 + i, U16(bytes, i));
    }
    deps_.display.ShowTimes(
        {U16(bytes, 0), U16(bytes, 1), U16(bytes, 2), U16(bytes, 3), U16(bytes, 4), U16(bytes, 5)});
}

void PollCycle::DecodeSensors(const uint8_t* bytes) {
    const SensorValues v{U16(bytes, 0), U16(bytes, 1), U16(bytes, 2), U16(bytes, 3)};
    deps_.measures.SetMeasure(36, StoredSensorValue(v.raw1, 1));
    deps_.measures.SetMeasure(37, StoredSensorValue(v.raw2, 2));
    deps_.measures.SetMeasure(38, v.currentInput);
    deps_.measures.SetMeasure(39, v.voltageInput);
    deps_.display.ShowSensors(v);
}

void PollCycle::DecodeHeating(const uint8_t* bytes) {
    const uint32_t accumulator = U32(bytes, 0);
    const int32_t percent = HeatingPercent(accumulator);
    deps_.measures.SetMeasure(40, percent);
    deps_.display.ShowHeating(accumulator, percent);
}

void PollCycle::DecodeStatus(const uint8_t* bytes) {
    status_ = U16(bytes, 0);
    alarmBits_ = static_cast<uint32_t>(U16(bytes, 2)) << 16 | U16(bytes, 1);
    ++statusReads_;
    deps_.display.ShowStatus(status_);
}

void PollCycle::DecodeRatedCurrent(const uint8_t* bytes) {
    // The relay counts tenths of an ampere up to a 100 A transformer and whole amperes above.
    multiplier_ = U16(bytes, 0) > 100 ? 10 : 1;
    const int32_t rated = U16(bytes, 1);
    ratedCurrentMissing_ = rated == 0;
    deps_.display.ShowRatedCurrent(rated);
}

void PollCycle::DecodeVoltageLimits(const uint8_t* bytes) {
    deps_.display.ShowVoltageLimits(U16(bytes, 0), U16(bytes, 3));
}

void PollCycle::DecodeRecloseDelays(const uint8_t* bytes) {
    minCurrentDelay_ = U16(bytes, 0);
    recloseDelay_ = U16(bytes, 1);
}

void PollCycle::DecodeRemoteControl(const uint8_t* bytes) {
    sensor1Type_ = U16(bytes, 1);
    deps_.display.ShowRemoteControl(U16(bytes, 0) != 0);
}

bool PollCycle::HandleAlarms() {
    MonitorDisplay& display = deps_.display;
    AlarmMarks& marks = deps_.marks;
    const bool present = AlarmPresent(status_, ratedCurrentMissing_);
    if (present) {
        const AlarmSet active = DeriveAlarmSet(alarmBits_, sensor1Type_, ratedCurrentMissing_);
        for (int k = 0; k < kAlarmCount; ++k) {
            const bool on = active.test(static_cast<std::size_t>(k));
            if (on && !marks.IsMarked(k)) {
                if (!ListAlarm(k)) {
                    return false;
                }
            } else if (!on && marks.IsMarked(k)) {
                marks.ClearMark(k);
                display.RemoveAlarmRows(k);
            }
        }
    } else if (marks.HasMarks()) {
        display.RemoveAllAlarmRows();
        marks.ClearMarks();
    }
    display.ShowAlarmBanner(AlarmBannerState(status_, present, ratedCurrentMissing_));
    display.ShowAlarmReset(marks.HasMarks());
    display.SetRecloseRange(RecloseBarRange(present, alarmBits_, minCurrentDelay_, recloseDelay_));
    return true;
}

bool PollCycle::ListAlarm(int alarm) {
    std::optional<uint16_t> raw;
    const uint32_t reg = dll_nErrInfo[alarm].nRegister;
    if (reg != 0) {
        uint8_t value[50] = {};
        if (deps_.source.Read(address_, static_cast<int32_t>(reg), 1, value, sizeof value, deps_.retries()) >=
            2) {
            ++registersRead_;
            raw = U16(value, 0);
        }
    }
    deps_.display.InsertAlarmRow(
        {alarm, AlarmValueText(alarm, raw, multiplier_), QDateTime::currentDateTime()});
    deps_.marks.SetMark(alarm);
    return running_.load();
}

}  // namespace qav::monitor
