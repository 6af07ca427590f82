#include "relay_clock.h"

#include <ctime>

#include "bcd.h"

namespace qav::sim {
namespace {

unsigned DaysInMonth(unsigned year, unsigned month) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month == 2 && leap ? 29 : kDays[(month - 1) % 12];
}

struct Range {
    unsigned min;
    unsigned max;
};
constexpr Range kRanges[RelayClock::kFieldCount] = {{0, 59}, {0, 59}, {0, 23}, {1, 31}, {1, 12}, {0, 99}};

}  // namespace

CivilTime LocalTimeNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    const int year = tm.tm_year + 1900;
    return CivilTime{year < 2000   ? 2000u
                     : year > 2099 ? 2099u
                                   : static_cast<unsigned>(year),
                     static_cast<unsigned>(tm.tm_mon + 1),
                     static_cast<unsigned>(tm.tm_mday),
                     static_cast<unsigned>(tm.tm_hour),
                     static_cast<unsigned>(tm.tm_min),
                     static_cast<unsigned>(tm.tm_sec % 60)};
}

RelayClock::RelayClock(const CivilTime& start) : now_(start) {}

void RelayClock::Advance(std::chrono::milliseconds step) {
    fraction_ += step;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(fraction_);
    fraction_ -= seconds;
    const unsigned long long total = now_.second + 60ull * now_.minute + 3600ull * now_.hour +
                                     static_cast<unsigned long long>(seconds.count());
    now_.second = static_cast<unsigned>(total % 60);
    now_.minute = static_cast<unsigned>(total / 60 % 60);
    now_.hour = static_cast<unsigned>(total / 3600 % 24);
    AddDays(static_cast<unsigned>(total / 86400));
}

// A day written out of range for its month (the fields are set one at a time) stays as written until
// midnight, then the clock moves on to the first of the next month.
void RelayClock::AddDays(unsigned days) {
    for (; days > 0; --days) {
        if (++now_.day > DaysInMonth(now_.year, now_.month)) {
            now_.day = 1;
            if (++now_.month > 12) {
                now_.month = 1;
                now_.year = now_.year >= 2099 ? 2000 : now_.year + 1;
            }
        }
    }
}

uint16_t RelayClock::ReadBcd(Field field) const {
    const unsigned values[kFieldCount] = {now_.second, now_.minute, now_.hour,
                                          now_.day,    now_.month,  now_.year - 2000};
    return ToBcd(values[field]);
}

ExceptionCode RelayClock::WriteBcd(Field field, uint16_t value) {
    const auto n = FromBcd(value);
    if (!n || *n < kRanges[field].min || *n > kRanges[field].max) {
        return ExceptionCode::kIllegalValue;
    }
    unsigned* fields[kFieldCount] = {&now_.second, &now_.minute, &now_.hour,
                                     &now_.day,    &now_.month,  &now_.year};
    *fields[field] = field == kYear ? 2000 + *n : *n;
    if (field == kSecond) {
        fraction_ = std::chrono::milliseconds{0};
    }
    return ExceptionCode::kNone;
}

}  // namespace qav::sim
