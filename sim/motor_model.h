// The motor and its supply as the relay measures them: currents that follow the motor's state, line
// voltages, powers, energies, the thermal model, temperatures. Deterministic for a given seed and sequence
// of steps.
#pragma once

#include <array>
#include <cstdint>
#include <random>

namespace qav::sim {

enum class MotorState { kStopped, kStarting, kRunning };

// The world outside the relay, changed by the control channel.
struct PlantInputs {
    double supplyVolts = 400.0;  // nominal line voltage
    double frequencyHz = 50.0;
    double load = 0.9;  // running current as a share of the rated motor current
    double insulationMegaohm = 250.0;
    double ambientCelsius = 20.0;
};

// The relay's settings that shape what it measures.
struct MotorSettings {
    double ratedAmps = 0;
    double averagingSeconds = 60;
    double thermalSeconds = 60;  // time to trip at twice the rated current
    double stoppedCoolingFactor = 1;
};

// The thermal model's accumulator at 100 % heating.
constexpr double kHeatFull = 1100000.0;

struct Measurements {
    std::array<double, 3> phaseAmps{};
    double positiveAmps = 0;
    double zeroAmps = 0;
    double negativeAmps = 0;
    std::array<double, 3> averageAmps{};
    std::array<double, 3> peakAverageAmps{};
    double startAmps = 0;
    double overloadAmps = 0;
    double startSeconds = 0;
    std::array<double, 3> phaseVolts{};
    std::array<double, 3> lineVolts{};
    double positiveVolts = 0;
    double negativeVolts = 0;
    double zeroVolts = 0;
    double motorHours = 0;
    double insulationMegaohm = 0;
    double frequencyHz = 0;
    double secondsToOverloadTrip = -1;  // negative while the motor is not overloaded
    double secondsToCool = 0;           // until the thermal model is back under half, stopped
    std::array<double, 3> cosPhi{};
    double apparentKva = 0;
    double activeKw = 0;
    double reactiveKvar = 0;
    double motorCelsius = 0;
    double inputMilliamps = 0;
    double inputVolts = 0;
    double heat = 0;  // thermal accumulator
    double apparentKvah = 0;
    double activeKwh = 0;
    double reactiveKvarh = 0;
    double unbalancePercent = 0;
    double secondsOn = 0;  // since the load relay closed
};

class MotorModel {
public:
    static constexpr double kStartSeconds = 3.0;
    static constexpr double kStartPeak = 6.0;  // starting current as a multiple of the rated current

    explicit MotorModel(uint64_t seed);

    MotorState State() const { return state_; }
    void Start();
    void Stop() { state_ = MotorState::kStopped; }
    // A step of 0 seconds only takes a fresh measurement.
    void Advance(double seconds, const PlantInputs& inputs, const MotorSettings& settings);
    const Measurements& Values() const { return values_; }

    // After the relay restarts: averages, peaks, the last start and the thermal model start afresh;
    // counters of hours and energy are kept.
    void ResetVolatile();
    void ResetEnergy();

private:
    double Noise(double amplitude);
    double DriveCurrent(double seconds, const PlantInputs& inputs, const MotorSettings& settings,
                        double& cosPhi);
    void UpdateThermal(double seconds, double ratio, const MotorSettings& settings);

    std::mt19937_64 random_;
    MotorState state_ = MotorState::kStopped;
    double startElapsed_ = 0;
    double motorSeconds_ = 0;
    Measurements values_;
};

}  // namespace qav::sim
