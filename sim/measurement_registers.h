// Turns what the relay measures into its registers 30-74 and 90-97: units, scales, temperature codes.
#pragma once

#include <array>
#include <cstdint>

#include "motor_model.h"
#include "parameters.h"
#include "register_map.h"

namespace qav::sim {

enum class SensorFault { kNone, kShort, kBreak };

struct EncodingContext {
    const ParameterStore& params;
    std::array<SensorFault, 2> sensorFaults;
    bool waitingAfterOverload;  // a thermal trip is active: register 59 counts the cooling down
};

// Indexed by register number; only 30-74 and 90-97 are filled.
using MeasurementImage = std::array<uint16_t, reg::kLastMeasurement + 1>;

void EncodeMeasurements(const Measurements& values, const EncodingContext& context, MeasurementImage& image);

uint16_t AmpsToRegister(double amps, int ctRating);
double RegisterToAmps(uint16_t raw, int ctRating);

}  // namespace qav::sim
