// How the relay's register words become values: the word encodings, temperature codes, heating, the
// per-phase powers the panel computes itself, and the relay clock.
#pragma once

#include <array>
#include <cstdint>

namespace qav::monitor {

// Registers arrive high byte first; `bytes` points at the first byte of register `index` 0.
inline uint16_t U16(const uint8_t* bytes, int index = 0) {
    return static_cast<uint16_t>(bytes[2 * index] << 8 | bytes[2 * index + 1]);
}
inline int16_t S16(const uint8_t* bytes, int index = 0) {
    return static_cast<int16_t>(U16(bytes, index));
}
// Two registers, high word first.
inline uint32_t U32(const uint8_t* bytes, int index = 0) {
    return static_cast<uint32_t>(U16(bytes, index)) << 16 | U16(bytes, index + 1);
}

// Four decimal digits, one per nibble.
int Bcd(uint16_t word);

// What a temperature register says.
enum class SensorState { Temperature, ShortCircuit, Break, Off };

struct SensorReading {
    SensorState state = SensorState::Temperature;
    int celsius = 0;  // meaningful for Temperature only
};

SensorReading DecodeSensor(uint16_t raw);

// The value stored in the measurement array for sensor 1 or 2 (they differ for a broken sensor).
int32_t StoredSensorValue(uint16_t raw, int sensor);

// Heating accumulator: 1,100,000 is 100 %, clamped at 1000 %.
int32_t HeatingPercent(uint32_t accumulator);

// Per-phase powers in tens of VA, W and var, as stored in the measurement array.
struct PhasePower {
    int32_t apparent = 0;
    int32_t active = 0;
    int32_t reactive = 0;
};

// `volts` phase voltage, `tenthsAmps` phase current, `cosThousandths` cos phi.
PhasePower ComputePhasePower(int32_t volts, int32_t tenthsAmps, int32_t cosThousandths);

struct RelayClock {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int day = 0;
    int month = 0;
    int year = 2000;
};

// Registers 80-85: seconds, minutes, hours, day, month, year since 2000, each BCD.
RelayClock DecodeRelayClock(const uint8_t* bytes);

}  // namespace qav::monitor
