// The relay's real-time clock: six BCD registers that read back what was written and run on from there.
#pragma once

#include <chrono>
#include <cstdint>

#include "exception_code.h"

namespace qav::sim {

struct CivilTime {
    unsigned year = 2000;  // 2000 to 2099
    unsigned month = 1;
    unsigned day = 1;
    unsigned hour = 0;
    unsigned minute = 0;
    unsigned second = 0;

    friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

// The host's local time, the clock's setting when the relay is powered.
CivilTime LocalTimeNow();

class RelayClock {
public:
    enum Field { kSecond, kMinute, kHour, kDay, kMonth, kYear, kFieldCount };

    explicit RelayClock(const CivilTime& start);

    void Advance(std::chrono::milliseconds step);
    const CivilTime& Now() const { return now_; }

    uint16_t ReadBcd(Field field) const;
    // A value that is not BCD or outside the field's range is refused with an illegal-value exception.
    // Setting the seconds starts a new second, as the clock chip does.
    ExceptionCode WriteBcd(Field field, uint16_t value);

private:
    void AddDays(unsigned days);

    CivilTime now_;
    std::chrono::milliseconds fraction_{0};
};

}  // namespace qav::sim
