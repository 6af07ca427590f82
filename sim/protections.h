// The relay's protections that act on what it measures: each one watches its quantity, waits out its delay
// and then trips, naming the value that tripped it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "motor_model.h"
#include "parameters.h"

namespace qav::sim {

// The relay's registers as it reads them itself, so that a value forced from the control channel acts on
// the protections as a measured one would.
class RegisterReader {
public:
    virtual uint16_t Value(uint16_t reg) const = 0;

protected:
    ~RegisterReader() = default;
};

struct ProtectionContext {
    const RegisterReader& registers;
    const ParameterStore& params;
    MotorState motor;
    uint32_t activeAlarms;
};

struct Trip {
    uint8_t alarm = 0;
    uint16_t value = 0;
    bool stopsMotor = true;
};

// Alarm bits the protections below raise.
namespace alarm {
constexpr uint8_t kOverCurrent = 0;
constexpr uint8_t kThermal = 1;
constexpr uint8_t kTemperature1 = 8;
constexpr uint8_t kTemperature2 = 9;
constexpr uint8_t kUmin = 12;
constexpr uint8_t kUmax = 13;
constexpr uint8_t kUimbalance = 14;
constexpr uint8_t kSensor1Short = 21;
constexpr uint8_t kSensor1Break = 22;
constexpr uint8_t kSensor2Short = 23;
constexpr uint8_t kSensor2Break = 24;
}  // namespace alarm

class Protections {
public:
    static constexpr std::size_t kCount = 11;

    struct Trips {
        std::array<Trip, kCount> items{};
        std::size_t size = 0;
    };

    // Runs the delay timers on by `seconds`. A protection trips once its fault has lasted its delay, and
    // not again while its alarm bit is still set.
    Trips Advance(double seconds, const ProtectionContext& context);
    void Reset() { elapsed_.fill(0); }

private:
    std::array<double, kCount> elapsed_{};
};

}  // namespace qav::sim
