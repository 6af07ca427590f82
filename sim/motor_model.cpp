#include "motor_model.h"

#include <algorithm>
#include <cmath>

namespace qav::sim {
namespace {

// A real supply and motor are never quite symmetrical.
constexpr std::array<double, 3> kLineSkew = {0.004, -0.003, -0.001};
constexpr std::array<double, 3> kCurrentSkew = {0.010, -0.008, -0.002};
constexpr double kStartCosPhi = 0.35;
constexpr double kCoolingSeconds = 600.0;
constexpr double kThermalSeconds = 300.0;  // winding temperature lag
constexpr double kHeatCap = 20 * kHeatFull;

double Mean(const std::array<double, 3>& v) {
    return (v[0] + v[1] + v[2]) / 3;
}

double Spread(const std::array<double, 3>& v) {
    return *std::max_element(v.begin(), v.end()) - *std::min_element(v.begin(), v.end());
}

// An induction motor's power factor falls off at light load.
double RunningCosPhi(double load) {
    const double slack = 1 - std::min(load, 1.0);
    return std::clamp(0.86 - 0.5 * slack * slack, 0.2, 0.9);
}

}  // namespace

MotorModel::MotorModel(uint64_t seed) : random_(seed) {
    values_.motorCelsius = PlantInputs{}.ambientCelsius;
}

double MotorModel::Noise(double amplitude) {
    const double unit = static_cast<double>(random_() >> 11) * 0x1.0p-53;
    return amplitude * (2 * unit - 1);
}

void MotorModel::Start() {
    if (state_ == MotorState::kStopped) {
        state_ = MotorState::kStarting;
        startElapsed_ = 0;
        values_.startAmps = 0;
        values_.secondsOn = 0;
    }
}

// The mean phase current the motor draws now, and its power factor.
double MotorModel::DriveCurrent(double seconds, const PlantInputs& inputs, const MotorSettings& settings,
                                double& cosPhi) {
    const double running = settings.ratedAmps * inputs.load;
    switch (state_) {
        case MotorState::kStopped:
            cosPhi = 0;
            return 0;
        case MotorState::kStarting: {
            startElapsed_ += seconds;
            const double share = std::min(startElapsed_ / kStartSeconds, 1.0);
            const double amps = settings.ratedAmps * kStartPeak * (1 - share) + running * share;
            cosPhi = kStartCosPhi + (RunningCosPhi(inputs.load) - kStartCosPhi) * share;
            values_.startAmps = std::max(values_.startAmps, amps);
            if (share >= 1) {
                state_ = MotorState::kRunning;
                values_.startSeconds = startElapsed_;
            }
            return amps;
        }
        case MotorState::kRunning:
            cosPhi = RunningCosPhi(inputs.load);
            return running;
    }
    return 0;
}

void MotorModel::Advance(double seconds, const PlantInputs& inputs, const MotorSettings& settings) {
    seconds = std::max(seconds, 0.0);
    Measurements& v = values_;
    double cosPhi = 0;
    const double amps = DriveCurrent(seconds, inputs, settings, cosPhi);
    const double ratio = settings.ratedAmps > 0 ? amps / settings.ratedAmps : 0;

    // A heavy current pulls the supply down a little.
    const double dip = 0.01 * ratio;
    for (std::size_t k = 0; k < 3; ++k) {
        v.lineVolts[k] = std::max(0.0, inputs.supplyVolts * (1 + kLineSkew[k] - dip) + Noise(0.4));
        v.phaseVolts[k] = v.lineVolts[k] / std::sqrt(3.0) + Noise(0.2);
        v.phaseAmps[k] = amps * (1 + kCurrentSkew[k] + Noise(0.002));
        v.cosPhi[k] = amps > 0 ? std::clamp(cosPhi + Noise(0.003), 0.0, 1.0) : 0;
    }
    v.positiveVolts = Mean(v.phaseVolts);
    v.negativeVolts = Spread(v.phaseVolts) / 2;
    v.zeroVolts = 0;
    const double meanAmps = Mean(v.phaseAmps);
    v.positiveAmps = meanAmps;
    v.negativeAmps = Spread(v.phaseAmps) / 2;
    v.zeroAmps = 0.002 * meanAmps;
    v.unbalancePercent = meanAmps > 0 ? 100 * Spread(v.phaseAmps) / meanAmps : 0;
    v.overloadAmps = settings.ratedAmps > 0 && meanAmps > settings.ratedAmps ? meanAmps : 0;

    const double follow = std::min(1.0, seconds / std::max(settings.averagingSeconds, 1.0));
    for (std::size_t k = 0; k < 3; ++k) {
        v.averageAmps[k] += (v.phaseAmps[k] - v.averageAmps[k]) * follow;
        v.peakAverageAmps[k] = std::max(v.peakAverageAmps[k], v.averageAmps[k]);
    }

    double p = 0;
    double q = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        const double va = v.phaseVolts[k] * v.phaseAmps[k] / 1000;
        p += va * v.cosPhi[k];
        q += va * std::sqrt(1 - v.cosPhi[k] * v.cosPhi[k]);
    }
    v.activeKw = p;
    v.reactiveKvar = amps > 0 ? q : 0;
    v.apparentKva = std::hypot(v.activeKw, v.reactiveKvar);
    const double hours = seconds / 3600;
    v.apparentKvah += v.apparentKva * hours;
    v.activeKwh += v.activeKw * hours;
    v.reactiveKvarh += v.reactiveKvar * hours;

    if (state_ != MotorState::kStopped) {
        motorSeconds_ += seconds;
        v.secondsOn += seconds;
    } else {
        v.secondsOn = 0;
    }
    v.motorHours = motorSeconds_ / 3600;

    UpdateThermal(seconds, ratio, settings);
    const double target = inputs.ambientCelsius + 65 * ratio * ratio;
    v.motorCelsius += (target - v.motorCelsius) * (1 - std::exp(-seconds / kThermalSeconds));

    v.frequencyHz = inputs.frequencyHz + Noise(0.02);
    v.insulationMegaohm = inputs.insulationMegaohm * (1 + Noise(0.005));
    v.inputMilliamps = 12.0 + Noise(0.05);
    v.inputVolts = 5.0 + Noise(0.02);
}

// Above the rated current the model heats so that twice the rated current reaches 100 % in the set time;
// at or below it the model cools, more slowly while the motor stands.
void MotorModel::UpdateThermal(double seconds, double ratio, const MotorSettings& settings) {
    Measurements& v = values_;
    const double stoppedCooling = kCoolingSeconds * settings.stoppedCoolingFactor;
    if (ratio > 1) {
        const double rate = kHeatFull * (ratio * ratio - 1) / (3 * std::max(settings.thermalSeconds, 1.0));
        v.heat = std::min(v.heat + rate * seconds, kHeatCap);
        v.secondsToOverloadTrip = v.heat >= kHeatFull ? 0 : (kHeatFull - v.heat) / rate;
    } else {
        const double cooling = state_ == MotorState::kStopped ? stoppedCooling : kCoolingSeconds;
        v.heat *= std::exp(-seconds / cooling);
        v.secondsToOverloadTrip = -1;
    }
    v.secondsToCool = v.heat > kHeatFull / 2 ? stoppedCooling * std::log(v.heat / (kHeatFull / 2)) : 0;
}

void MotorModel::ResetVolatile() {
    state_ = MotorState::kStopped;
    startElapsed_ = 0;
    Measurements& v = values_;
    v.averageAmps = {};
    v.peakAverageAmps = {};
    v.startAmps = 0;
    v.startSeconds = 0;
    v.heat = 0;
    v.secondsToOverloadTrip = -1;
    v.secondsToCool = 0;
    v.secondsOn = 0;
}

void MotorModel::ResetEnergy() {
    values_.apparentKvah = 0;
    values_.activeKwh = 0;
    values_.reactiveKvarh = 0;
}

}  // namespace qav::sim
