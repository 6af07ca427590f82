// The relay's 97 setting parameters, registers 150 to 246: factory defaults, limits, and which the relay
// lets a master change.
#pragma once

#include <array>
#include <cstdint>

#include "exception_code.h"

namespace qav::sim {

struct ParameterDef {
    uint16_t reg;
    // In register units: tenths for the parameters kept in tenths, two's complement on the wire.
    int16_t factory;
    int16_t min;
    int16_t max;
    bool writable;
};

namespace param {
constexpr uint16_t kFirst = 150;
constexpr uint16_t kLast = 246;
constexpr uint16_t kCtRating = 150;
constexpr uint16_t kRatedCurrent = 151;
constexpr uint16_t kAveragingTime = 153;
constexpr uint16_t kImaxCoef = 155;
constexpr uint16_t kImaxDelay = 156;
constexpr uint16_t kImaxEnable = 157;
constexpr uint16_t kThermalEnable = 167;
constexpr uint16_t kThermalTime = 168;
constexpr uint16_t kThermalStopFactor = 169;
constexpr uint16_t kUminThreshold = 177;
constexpr uint16_t kUminDelay = 178;
constexpr uint16_t kUminEnable = 179;
constexpr uint16_t kUmaxThreshold = 180;
constexpr uint16_t kUmaxDelay = 181;
constexpr uint16_t kUmaxEnable = 182;
constexpr uint16_t kUimbalThreshold = 183;
constexpr uint16_t kUimbalDelay = 184;
constexpr uint16_t kUimbalEnable = 185;
constexpr uint16_t kRemoteControl = 200;
constexpr uint16_t kSensor1Type = 201;
constexpr uint16_t kSensor1Trip = 202;
constexpr uint16_t kSensor1Correction = 203;
constexpr uint16_t kSensor2Type = 204;
constexpr uint16_t kSensor2Trip = 205;
constexpr uint16_t kSensor2Correction = 207;
constexpr uint16_t kSensorFaultStops = 209;
constexpr uint16_t kMinimalSet = 211;
constexpr uint16_t kFunctionalMode = 214;
constexpr uint16_t kFunctionalTime = 215;
constexpr uint16_t kStarDeltaDelay = 216;
constexpr uint16_t kDeviceHours = 217;
constexpr uint16_t kMotorHours = 218;
constexpr uint16_t kFactoryReset = 221;
constexpr uint16_t kAddress = 222;
constexpr uint16_t kFirmware = 230;
constexpr uint16_t kEnergyReset = 242;
constexpr uint16_t kPumpProtection = 243;
constexpr uint16_t kPumpCycles = 244;
}  // namespace param

// The row of a parameter register; null outside 150 to 246. The firmware row (230) holds the version the
// relay was built with; its limits in the table are placeholders, as no master may write it.
const ParameterDef* FindParameter(uint16_t reg);

class ParameterStore {
public:
    explicit ParameterStore(uint16_t firmware);

    int16_t Get(uint16_t reg) const { return values_[reg - param::kFirst]; }
    // A master's write: outside the limits, or to a parameter the relay keeps for itself, it is refused
    // with an illegal-value exception and nothing changes.
    ExceptionCode Write(uint16_t reg, uint16_t raw);
    // The relay's own update of a parameter (counters, factory reset), or a test forcing a value.
    void Force(uint16_t reg, int16_t value) { values_[reg - param::kFirst] = value; }
    void RestoreFactory();
    // The firmware row's default, min and max.
    uint16_t Firmware() const { return firmware_; }

private:
    uint16_t firmware_;
    std::array<int16_t, param::kLast - param::kFirst + 1> values_{};
};

}  // namespace qav::sim
