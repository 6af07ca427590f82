#include "measurement_registers.h"

#include <algorithm>
#include <cmath>

namespace qav::sim {
namespace {

// Values the panel reads as "none" in the timer registers 57-59.
constexpr uint16_t kNoTimer = 999;
constexpr double kMaxOverloadCountdown = 600;
constexpr double kMaxCoolingWait = 900;

uint16_t U16(double value) {
    return static_cast<uint16_t>(std::clamp(std::lround(value), 0l, 0xFFFFl));
}

void PutU32(MeasurementImage& image, uint16_t first, double value) {
    const auto v = static_cast<uint32_t>(std::clamp(std::llround(value), 0ll, 0xFFFFFFFFll));
    image[first] = static_cast<uint16_t>(v >> 16);
    image[first + 1] = static_cast<uint16_t>(v);
}

uint16_t TemperatureCode(double celsius, int16_t sensorType, SensorFault fault, int16_t correction) {
    if (sensorType == 0) {
        return temperature::kOff;
    }
    if (fault == SensorFault::kShort) {
        return temperature::kShort;
    }
    if (fault == SensorFault::kBreak) {
        return temperature::kBreak;
    }
    return static_cast<uint16_t>(static_cast<int16_t>(std::lround(celsius) + correction));
}

}  // namespace

uint16_t AmpsToRegister(double amps, int ctRating) {
    return U16(amps * CurrentUnitsPerAmpere(ctRating));
}

double RegisterToAmps(uint16_t raw, int ctRating) {
    return raw / CurrentUnitsPerAmpere(ctRating);
}

void EncodeMeasurements(const Measurements& v, const EncodingContext& context, MeasurementImage& image) {
    const ParameterStore& params = context.params;
    const int ct = params.Get(param::kCtRating);
    const auto amps = [ct](double a) { return AmpsToRegister(a, ct); };

    const double currents[] = {
        v.phaseAmps[0],       v.phaseAmps[1],       v.phaseAmps[2],   v.positiveAmps,   v.zeroAmps,
        v.negativeAmps,       v.averageAmps[0],     v.averageAmps[1], v.averageAmps[2], v.peakAverageAmps[0],
        v.peakAverageAmps[1], v.peakAverageAmps[2], v.startAmps,      v.overloadAmps};
    for (std::size_t k = 0; k < std::size(currents); ++k) {
        image[30 + k] = amps(currents[k]);
    }
    image[44] = U16(v.startSeconds);
    const double volts[] = {v.phaseVolts[0], v.phaseVolts[1], v.phaseVolts[2], v.lineVolts[0], v.lineVolts[1],
                            v.lineVolts[2],  v.positiveVolts, v.negativeVolts, v.zeroVolts};
    for (std::size_t k = 0; k < std::size(volts); ++k) {
        image[45 + k] = U16(volts[k]);
    }
    image[54] = static_cast<uint16_t>(std::min(v.motorHours, 65535.0));
    image[55] = U16(v.insulationMegaohm * 10);
    image[56] = U16(v.frequencyHz * 10);
    image[57] = kNoTimer;  // auto-reclose is not modelled: never pending
    image[58] = v.secondsToOverloadTrip >= 0 && v.secondsToOverloadTrip <= kMaxOverloadCountdown
                    ? U16(v.secondsToOverloadTrip)
                    : kNoTimer;
    image[59] = context.waitingAfterOverload ? U16(std::min(v.secondsToCool, kMaxCoolingWait)) : kNoTimer;
    PutU32(image, 60, v.apparentKva * 100);
    PutU32(image, 62, v.activeKw * 100);
    PutU32(image, 64, v.reactiveKvar * 100);
    for (std::size_t k = 0; k < 3; ++k) {
        image[66 + k] = U16(v.cosPhi[k] * 1000);
    }
    image[69] = TemperatureCode(v.motorCelsius, params.Get(param::kSensor1Type), context.sensorFaults[0],
                                params.Get(param::kSensor1Correction));
    image[70] = TemperatureCode(v.motorCelsius, params.Get(param::kSensor2Type), context.sensorFaults[1],
                                params.Get(param::kSensor2Correction));
    image[71] = U16(v.inputMilliamps * 10);
    image[72] = U16(v.inputVolts * 10);
    PutU32(image, reg::kHeatHigh, v.heat);
    PutU32(image, 90, v.apparentKvah * 10);
    PutU32(image, 92, v.activeKwh * 10);
    PutU32(image, 94, v.reactiveKvarh * 10);
    image[96] = U16(v.unbalancePercent);
    const bool pumping = params.Get(param::kPumpProtection) != 0 && v.secondsOn > 0;
    image[97] = pumping ? static_cast<uint16_t>(params.Get(param::kPumpCycles)) : 0;
}

}  // namespace qav::sim
