#include "protections.h"

#include <algorithm>
#include <optional>

#include "measurement_registers.h"
#include "register_map.h"

namespace qav::sim {
namespace {

using Fault = std::optional<uint16_t>;

struct ProtectionDef {
    uint8_t alarm;
    // The value to record when the fault is present now; empty when it is not, or the protection is off.
    Fault (*fault)(const ProtectionContext&);
    double (*delaySeconds)(const ParameterStore&);
    bool (*stopsMotor)(const ParameterStore&);
};

bool On(const ParameterStore& p, uint16_t enable) {
    return p.Get(enable) != 0;
}

double Tenths(const ParameterStore& p, uint16_t reg) {
    return p.Get(reg) / 10.0;
}

double NoDelay(const ParameterStore&) {
    return 0;
}

bool Always(const ParameterStore&) {
    return true;
}

bool SensorFaultStops(const ParameterStore& p) {
    return p.Get(param::kSensorFaultStops) != 0;
}

// A contact manometer on input 1 stops the motor when its contacts close, whatever the fault reaction.
bool ContactOrFaultStops(const ParameterStore& p) {
    return p.Get(param::kSensor1Type) >= 3 || SensorFaultStops(p);
}

std::array<uint16_t, 3> LineVolts(const RegisterReader& r) {
    return {r.Value(reg::kLineVoltageAB), r.Value(reg::kLineVoltageAB + 1), r.Value(reg::kLineVoltageCA)};
}

Fault OverCurrent(const ProtectionContext& c) {
    const int rated = c.params.Get(param::kRatedCurrent);
    if (!On(c.params, param::kImaxEnable) || c.motor != MotorState::kRunning || rated <= 0) {
        return {};
    }
    uint16_t highest = 0;
    for (uint16_t k = 0; k < 3; ++k) {
        highest = std::max(highest, c.registers.Value(reg::kPhaseCurrent1 + k));
    }
    const double amps = RegisterToAmps(highest, c.params.Get(param::kCtRating));
    return amps > Tenths(c.params, param::kImaxCoef) * rated ? Fault{highest} : Fault{};
}

Fault ThermalOverload(const ProtectionContext& c) {
    const uint32_t heat =
        uint32_t{c.registers.Value(reg::kHeatHigh)} << 16 | c.registers.Value(reg::kHeatHigh + 1);
    if (!On(c.params, param::kThermalEnable) || heat < kHeatFull) {
        return {};
    }
    return static_cast<uint16_t>(std::min<uint64_t>(uint64_t{heat} * 100 / 1100000, 0xFFFF));
}

Fault Undervoltage(const ProtectionContext& c) {
    const auto v = LineVolts(c.registers);
    const uint16_t lowest = *std::min_element(v.begin(), v.end());
    return On(c.params, param::kUminEnable) && lowest < c.params.Get(param::kUminThreshold) ? Fault{lowest}
                                                                                            : Fault{};
}

Fault Overvoltage(const ProtectionContext& c) {
    const auto v = LineVolts(c.registers);
    const uint16_t highest = *std::max_element(v.begin(), v.end());
    return On(c.params, param::kUmaxEnable) && highest > c.params.Get(param::kUmaxThreshold) ? Fault{highest}
                                                                                             : Fault{};
}

Fault VoltageImbalance(const ProtectionContext& c) {
    const auto v = LineVolts(c.registers);
    const auto spread =
        static_cast<uint16_t>(*std::max_element(v.begin(), v.end()) - *std::min_element(v.begin(), v.end()));
    return On(c.params, param::kUimbalEnable) && spread > c.params.Get(param::kUimbalThreshold)
               ? Fault{spread}
               : Fault{};
}

// A sensor code the relay reports instead of a temperature.
bool IsCode(uint16_t raw) {
    return raw == temperature::kShort || raw == temperature::kBreak || raw == temperature::kOff;
}

template <uint16_t kRegister, uint16_t kType, uint16_t kTrip, int16_t kFirstType, int16_t kLastType>
Fault OverTemperature(const ProtectionContext& c) {
    const int16_t type = c.params.Get(kType);
    const uint16_t raw = c.registers.Value(kRegister);
    if (type < kFirstType || type > kLastType || IsCode(raw)) {
        return {};
    }
    return static_cast<int16_t>(raw) > c.params.Get(kTrip) ? Fault{0} : Fault{};
}

template <uint16_t kRegister, uint16_t kType, uint16_t kCode>
Fault SensorFault(const ProtectionContext& c) {
    return c.params.Get(kType) != 0 && c.registers.Value(kRegister) == kCode ? Fault{0} : Fault{};
}

// Sensor 1 types 1 and 2 measure a temperature; 3 and 4 are contacts, watched through the short code.
constexpr ProtectionDef kProtections[Protections::kCount] = {
    {alarm::kOverCurrent, OverCurrent, [](const ParameterStore& p) { return Tenths(p, param::kImaxDelay); },
     Always},
    {alarm::kThermal, ThermalOverload, NoDelay, Always},
    {alarm::kTemperature1, OverTemperature<reg::kSensor1, param::kSensor1Type, param::kSensor1Trip, 1, 2>,
     NoDelay, Always},
    {alarm::kTemperature2, OverTemperature<reg::kSensor2, param::kSensor2Type, param::kSensor2Trip, 1, 3>,
     NoDelay, Always},
    {alarm::kUmin, Undervoltage,
     [](const ParameterStore& p) { return static_cast<double>(p.Get(param::kUminDelay)); }, Always},
    {alarm::kUmax, Overvoltage, [](const ParameterStore& p) { return Tenths(p, param::kUmaxDelay); }, Always},
    {alarm::kUimbalance, VoltageImbalance,
     [](const ParameterStore& p) { return static_cast<double>(p.Get(param::kUimbalDelay)); }, Always},
    {alarm::kSensor1Short, SensorFault<reg::kSensor1, param::kSensor1Type, temperature::kShort>, NoDelay,
     ContactOrFaultStops},
    {alarm::kSensor1Break, SensorFault<reg::kSensor1, param::kSensor1Type, temperature::kBreak>, NoDelay,
     SensorFaultStops},
    {alarm::kSensor2Short, SensorFault<reg::kSensor2, param::kSensor2Type, temperature::kShort>, NoDelay,
     SensorFaultStops},
    {alarm::kSensor2Break, SensorFault<reg::kSensor2, param::kSensor2Type, temperature::kBreak>, NoDelay,
     SensorFaultStops},
};

}  // namespace

Protections::Trips Protections::Advance(double seconds, const ProtectionContext& context) {
    Trips trips;
    for (std::size_t k = 0; k < kCount; ++k) {
        const ProtectionDef& def = kProtections[k];
        const Fault fault = def.fault(context);
        if (!fault || (context.activeAlarms >> def.alarm & 1u)) {
            elapsed_[k] = 0;
            continue;
        }
        elapsed_[k] += seconds;
        // Steps of a tenth of a second do not add up to whole seconds exactly.
        if (elapsed_[k] + 1e-9 >= def.delaySeconds(context.params)) {
            trips.items[trips.size++] = Trip{def.alarm, *fault, def.stopsMotor(context.params)};
            elapsed_[k] = 0;
        }
    }
    return trips;
}

}  // namespace qav::sim
