// One polling pass over the relay's register blocks: fast group A every pass, group B every third pass with
// the alarm handling, group C every twelfth pass; each block decoded into the measurement array and handed
// to the display in the order read.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

#include "alarm_marks.h"
#include "measure_array.h"
#include "monitor_display.h"
#include "register_source.h"

namespace qav::monitor {

// Link state the panel's one-second timer reads.
struct LinkStatus {
    std::atomic<int> linkActivity{0};  // 1 after the latest read succeeded, 0 after it failed
    std::atomic<float> rate{0.0f};     // registers read per second
};

struct PollerDeps {
    RegisterSource& source;
    MeasureArray& measures;
    AlarmMarks& marks;
    MonitorDisplay& display;
    LinkStatus& status;
    std::function<int32_t()> retries;  // taken from the settings at every read
};

class PollCycle {
public:
    using Clock = std::chrono::steady_clock;

    PollCycle(const PollerDeps& deps, uint8_t address, const std::atomic<bool>& running,
              Clock::time_point start);

    // Reads one pass; false once the running flag was found cleared after a read.
    bool RunPass();
    // Updates the rate statistic when more than a second has passed since the last update.
    void UpdateRate(Clock::time_point now);

    int CurrentMultiplier() const { return multiplier_; }

private:
    struct Block {
        int first;
        int count;
        void (PollCycle::*decode)(const uint8_t* bytes);
    };

    bool ReadGroup(const Block* blocks, std::size_t size);
    bool ReadBlock(const Block& block);
    bool HandleAlarms();
    bool ListAlarm(int alarm);
    void StoreCurrents(const uint8_t* bytes, int firstRow, int count);

    void DecodeCurrents(const uint8_t* bytes);
    void DecodeVoltages(const uint8_t* bytes);
    void DecodePowers(const uint8_t* bytes);
    void DecodeEnergies(const uint8_t* bytes);
    void DecodeBalance(const uint8_t* bytes);
    void DecodeClock(const uint8_t* bytes);
    void DecodeAverages(const uint8_t* bytes);
    void DecodeTimes(const uint8_t* bytes);
    void DecodeSensors(const uint8_t* bytes);
    void DecodeHeating(const uint8_t* bytes);
    void DecodeStatus(const uint8_t* bytes);
    void DecodeRatedCurrent(const uint8_t* bytes);
    void DecodeVoltageLimits(const uint8_t* bytes);
    void DecodeRecloseDelays(const uint8_t* bytes);
    void DecodeRemoteControl(const uint8_t* bytes);

    static const Block kGroupA[6];
    static const Block kGroupB[5];
    static const Block kGroupC[4];

    PollerDeps deps_;
    uint8_t address_;
    const std::atomic<bool>& running_;
    uint8_t buffer_[50] = {};
    int registersRead_ = 0;
    Clock::time_point rateStamp_;
    int groupBCountdown_ = 0;
    int groupCCountdown_ = 0;
    int multiplier_ = 10;
    bool ratedCurrentMissing_ = false;
    int32_t minCurrentDelay_ = 0;
    int32_t recloseDelay_ = 0;
    int sensor1Type_ = 0;
    uint16_t status_ = 0;
    uint32_t alarmBits_ = 0;
    int statusReads_ = 0;
};

}  // namespace qav::monitor
