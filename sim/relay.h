// The relay in software: its registers as a master sees them, its commands, protections, journal and
// clock, driven forward in explicit time steps so that tests choose the time.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "exception_code.h"
#include "journal.h"
#include "measurement_registers.h"
#include "motor_model.h"
#include "parameters.h"
#include "protections.h"
#include "relay_clock.h"

namespace qav::sim {

struct RelaySettings {
    uint16_t identity = 26;
    uint16_t firmware = 15;  // register 1 and parameter 230, 0 to 255
    uint64_t seed = 1;
    CivilTime clock{2024, 1, 1, 0, 0, 0};
    // Parameters that differ from the factory defaults at power-up (the address is parameter 222).
    std::vector<std::pair<uint16_t, int16_t>> parameters;
};

// Who gives a start or stop: a master over Modbus needs parameter 200's permission, the relay's own front
// panel (the control channel) does not.
enum class CommandSource { kRemote, kLocal };

class Relay : public RegisterReader {
public:
    static constexpr std::chrono::milliseconds kRestartTime{2000};

    explicit Relay(const RelaySettings& settings);

    // Function 03: every register of the span must exist, else an illegal-address exception. The count
    // is the caller's to limit.
    ExceptionCode Read(uint16_t first, uint16_t count, uint16_t* out) const;
    // Function 06.
    ExceptionCode Write(uint16_t reg, uint16_t value);
    // False while the relay restarts: it answers nothing then.
    bool Answering() const { return restartLeft_ <= std::chrono::milliseconds{0}; }
    // The Modbus address in effect, taken from parameter 222 at power-up and at each restart.
    uint8_t Address() const { return address_; }

    void Advance(std::chrono::milliseconds step);

    // True when the motor starts (or stops) because of this command.
    bool Start(CommandSource source);
    bool Stop(CommandSource source);
    void ResetAlarms();
    void Restart();
    // Sets alarm bit `bit` (0-31) as a protection would: value stored in the alarm's register, journal
    // entry, and the motor stopped when `stopMotor`.
    void RaiseAlarm(uint8_t bit, uint16_t value, bool stopMotor);
    void ClearAlarm(uint8_t bit);
    // Forces a register from outside: a parameter takes any value, the clock a valid BCD field, the command
    // register acts as a master's write, and a read-only register holds the value until released.
    ExceptionCode Set(uint16_t reg, uint16_t value);
    void Release(uint16_t reg) { pins_.erase(reg); }
    void ReleaseAll() { pins_.clear(); }

    // The present content of a register (0 for one that does not exist).
    uint16_t Value(uint16_t reg) const override;

    MotorState Motor() const { return motor_.State(); }
    uint32_t Alarms() const { return alarms_; }
    PlantInputs& Plant() { return plant_; }
    std::array<SensorFault, 2>& SensorFaults() { return sensorFaults_; }
    const Measurements& Measured() const { return motor_.Values(); }
    const ParameterStore& Parameters() const { return params_; }
    const RelayClock& Clock() const { return clock_; }
    const Journal& AlarmJournal() const { return journal_; }

private:
    ExceptionCode Command(uint16_t value);
    bool StartMotor();
    void AfterParameterChange(uint16_t reg);
    void FinishRestart();
    void Encode();
    uint16_t StatusWord() const;
    MotorSettings Settings() const;

    uint16_t identity_;
    ParameterStore params_;
    RelayClock clock_;
    Journal journal_;
    MotorModel motor_;
    Protections protections_;
    PlantInputs plant_;
    std::array<SensorFault, 2> sensorFaults_{};
    MeasurementImage measured_{};
    std::array<uint16_t, 32> tripValues_{};
    std::map<uint16_t, uint16_t> pins_;
    uint32_t alarms_ = 0;
    uint16_t lastCommand_ = 0;
    uint8_t address_ = 1;
    double deviceSeconds_ = 0;
    std::chrono::milliseconds restartLeft_{0};
};

}  // namespace qav::sim
