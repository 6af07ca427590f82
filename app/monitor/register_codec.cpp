#include "register_codec.h"

#include <cmath>

namespace qav::monitor {

int Bcd(uint16_t w) {
    return (w / 4096) * 1000 + ((w / 256) % 16) * 100 + ((w / 16) % 16) * 10 + w % 16;
}

SensorReading DecodeSensor(uint16_t raw) {
    // The relay reports sensor faults as codes in three narrow windows; anything else is a temperature.
    if (raw > 990 && raw < 1010) {
        return {SensorState::ShortCircuit, 0};
    }
    if (raw > 1990 && raw < 2010) {
        return {SensorState::Break, 0};
    }
    if (raw > 4990 && raw < 5010) {
        return {SensorState::Off, 0};
    }
    return {SensorState::Temperature, static_cast<int16_t>(raw)};
}

int32_t StoredSensorValue(uint16_t raw, int sensor) {
    const SensorReading reading = DecodeSensor(raw);
    switch (reading.state) {
        case SensorState::ShortCircuit:
            return -80;
        case SensorState::Break:
            return sensor == 1 ? 200 : 300;
        case SensorState::Off:
            return 0;
        case SensorState::Temperature:
            break;
    }
    return reading.celsius;
}

int32_t HeatingPercent(uint32_t accumulator) {
    const uint64_t clamped = accumulator > 11000000u ? 11000000u : accumulator;
    return static_cast<int32_t>(clamped * 100u / 1100000u);
}

namespace {

// Truncated toward zero and never negative, as the stored powers are.
int32_t NonNegative(double value) {
    const double truncated = std::trunc(value);
    return truncated > 0 ? static_cast<int32_t>(truncated) : 0;
}

}  // namespace

PhasePower ComputePhasePower(int32_t volts, int32_t tenthsAmps, int32_t cosThousandths) {
    const float u = static_cast<float>(volts);
    const float i = static_cast<float>(tenthsAmps) / 10.0f;
    const float c = static_cast<float>(cosThousandths);
    const int32_t p = NonNegative(u * i * (c / 1000.0f));
    int32_t q = 0;
    if (cosThousandths <= 1000) {
        q = NonNegative(u * i * (std::sqrt(1000000.0f - c * c) / 1000.0f));
    }
    const int32_t s = NonNegative(std::sqrt(static_cast<double>(p) * p + static_cast<double>(q) * q));
    return {s / 10, p / 10, q / 10};
}

RelayClock DecodeRelayClock(const uint8_t* bytes) {
    RelayClock clock;
    clock.seconds = Bcd(U16(bytes, 0));
    clock.minutes = Bcd(U16(bytes, 1));
    clock.hours = Bcd(U16(bytes, 2));
    clock.day = Bcd(U16(bytes, 3));
    clock.month = Bcd(U16(bytes, 4));
    clock.year = 2000 + Bcd(U16(bytes, 5));
    return clock;
}

}  // namespace qav::monitor
