#include "relay.h"

#include <algorithm>

#include "register_map.h"

namespace qav::sim {
namespace {

// The register that keeps the value of each alarm bit's last trip; 0 where the relay keeps none.
constexpr std::array<uint16_t, 32> kTripRegister = {
    300, 301, 304, 303, 304, 305, 306, 307, 0, 0, 0, 311, 312, 313, 314, 315,
    316, 317, 0,   0,   0,   0,   0,   0,   0, 0, 0, 327, 328, 0,   330, 331,
};

// Hour counters saturate at the largest value their parameters hold.
int16_t Hours(double seconds) {
    return static_cast<int16_t>(std::min(seconds / 3600, 23976.0));
}

RelayClock::Field ClockField(uint16_t reg) {
    return static_cast<RelayClock::Field>(reg - reg::kClockSeconds);
}

}  // namespace

Relay::Relay(const RelaySettings& settings)
    : identity_(settings.identity),
      params_(settings.firmware),
      clock_(settings.clock),
      motor_(settings.seed) {
    for (const auto& [reg, value] : settings.parameters) {
        params_.Force(reg, value);
    }
    address_ = static_cast<uint8_t>(params_.Get(param::kAddress));
    motor_.Advance(0, plant_, Settings());
    Encode();
}

ExceptionCode Relay::Read(uint16_t first, uint16_t count, uint16_t* out) const {
    if (first + count > 0x10000) {
        return ExceptionCode::kIllegalAddress;
    }
    for (uint32_t r = first; r < uint32_t{first} + count; ++r) {
        if (AreaOf(static_cast<uint16_t>(r)) == Area::kNone) {
            return ExceptionCode::kIllegalAddress;
        }
    }
    for (uint16_t i = 0; i < count; ++i) {
        out[i] = Value(static_cast<uint16_t>(first + i));
    }
    return ExceptionCode::kNone;
}

ExceptionCode Relay::Write(uint16_t reg, uint16_t value) {
    switch (AreaOf(reg)) {
        case Area::kClock:
            return clock_.WriteBcd(ClockField(reg), value);
        case Area::kParameter: {
            const ExceptionCode result = params_.Write(reg, value);
            if (result == ExceptionCode::kNone) {
                AfterParameterChange(reg);
            }
            return result;
        }
        case Area::kCommand:
            return Command(value);
        default:
            return ExceptionCode::kIllegalAddress;
    }
}

ExceptionCode Relay::Command(uint16_t value) {
    switch (value) {
        case command::kStop:
            Stop(CommandSource::kRemote);
            break;
        case command::kStart:
            Start(CommandSource::kRemote);
            break;
        case command::kResetAlarms:
            ResetAlarms();
            break;
        case command::kRestart:
            Restart();
            break;
        default:
            return ExceptionCode::kIllegalValue;
    }
    lastCommand_ = value;
    return ExceptionCode::kNone;
}

bool Relay::Start(CommandSource source) {
    if (source == CommandSource::kRemote && params_.Get(param::kRemoteControl) == 0) {
        return false;
    }
    return StartMotor();
}

bool Relay::Stop(CommandSource source) {
    if (source == CommandSource::kRemote && params_.Get(param::kRemoteControl) == 0) {
        return false;
    }
    const bool running = motor_.State() != MotorState::kStopped;
    motor_.Stop();
    return running;
}

// Without a rated current, with an alarm standing, or while restarting, the relay keeps the load relay open.
bool Relay::StartMotor() {
    if (params_.Get(param::kRatedCurrent) <= 0 || alarms_ != 0 || !Answering() ||
        motor_.State() != MotorState::kStopped) {
        return false;
    }
    motor_.Start();
    return true;
}

void Relay::ResetAlarms() {
    alarms_ = 0;
    protections_.Reset();
}

void Relay::Restart() {
    motor_.Stop();
    restartLeft_ = kRestartTime;
}

void Relay::FinishRestart() {
    restartLeft_ = std::chrono::milliseconds{0};
    if (params_.Get(param::kFactoryReset) == 1) {
        params_.RestoreFactory();
    }
    address_ = static_cast<uint8_t>(params_.Get(param::kAddress));
    alarms_ = 0;
    protections_.Reset();
    motor_.ResetVolatile();
    lastCommand_ = 0;
}

void Relay::RaiseAlarm(uint8_t bit, uint16_t value, bool stopMotor) {
    alarms_ |= 1u << bit;
    if (kTripRegister[bit] != 0) {
        tripValues_[kTripRegister[bit] - reg::kTripValues] = value;
    }
    journal_.Append(bit, value, clock_.Now());
    if (stopMotor) {
        motor_.Stop();
    }
}

void Relay::ClearAlarm(uint8_t bit) {
    alarms_ &= ~(1u << bit);
}

ExceptionCode Relay::Set(uint16_t reg, uint16_t value) {
    const Area area = AreaOf(reg);
    if (area == Area::kNone) {
        return ExceptionCode::kIllegalAddress;
    }
    if (area == Area::kParameter) {
        params_.Force(reg, static_cast<int16_t>(value));
        AfterParameterChange(reg);
        return ExceptionCode::kNone;
    }
    if (IsWritable(area)) {
        return Write(reg, value);
    }
    pins_[reg] = value;
    return ExceptionCode::kNone;
}

void Relay::AfterParameterChange(uint16_t reg) {
    if (reg == param::kEnergyReset && params_.Get(reg) == 1) {
        motor_.ResetEnergy();
    }
    Encode();
}

void Relay::Advance(std::chrono::milliseconds step) {
    if (step <= std::chrono::milliseconds{0}) {
        return;
    }
    if (!Answering()) {
        restartLeft_ -= step;
        if (Answering()) {
            FinishRestart();
        }
    }
    clock_.Advance(step);
    if (params_.Get(param::kRatedCurrent) <= 0) {
        motor_.Stop();
    }
    const double seconds = static_cast<double>(step.count()) / 1000;
    motor_.Advance(seconds, plant_, Settings());
    deviceSeconds_ += seconds;
    params_.Force(param::kDeviceHours, Hours(deviceSeconds_));
    params_.Force(param::kMotorHours, Hours(motor_.Values().motorHours * 3600));
    Encode();

    const Protections::Trips trips = protections_.Advance(seconds, {*this, params_, motor_.State(), alarms_});
    for (std::size_t k = 0; k < trips.size; ++k) {
        RaiseAlarm(trips.items[k].alarm, trips.items[k].value, trips.items[k].stopsMotor);
    }
}

void Relay::Encode() {
    const bool waiting = (alarms_ >> alarm::kThermal & 1u) != 0;
    EncodeMeasurements(motor_.Values(), {params_, sensorFaults_, waiting}, measured_);
}

MotorSettings Relay::Settings() const {
    return MotorSettings{static_cast<double>(params_.Get(param::kRatedCurrent)),
                         static_cast<double>(params_.Get(param::kAveragingTime)),
                         static_cast<double>(params_.Get(param::kThermalTime)),
                         params_.Get(param::kThermalStopFactor) / 10.0};
}

uint16_t Relay::StatusWord() const {
    const bool motorOn = motor_.State() != MotorState::kStopped;
    const int16_t mode = params_.Get(param::kFunctionalMode);
    const double onFor = motor_.Values().secondsOn;
    const double timer = params_.Get(param::kFunctionalTime);
    bool functional = false;
    switch (mode) {
        case 0:  // signals alarms
            functional = alarms_ != 0;
            break;
        case 1:  // closes a set time after the load relay
            functional = motorOn && onFor >= timer;
            break;
        default:  // star-delta: the delta contactor after the timer and the change-over pause
            functional = motorOn && onFor >= timer + params_.Get(param::kStarDeltaDelay) / 10.0;
            break;
    }
    unsigned word = static_cast<unsigned>(mode & 3) << status::kFunctionalModeShift;
    word |= alarms_ != 0 ? status::kAlarm : 0u;
    word |= motorOn ? status::kMotorRelay : 0u;
    word |= functional ? status::kFunctionalRelay : 0u;
    word |= params_.Get(param::kMinimalSet) != 0 ? status::kMinimalSet : 0u;
    return static_cast<uint16_t>(word);
}

uint16_t Relay::Value(uint16_t reg) const {
    if (!pins_.empty()) {
        const auto pin = pins_.find(reg);
        if (pin != pins_.end()) {
            return pin->second;
        }
    }
    switch (AreaOf(reg)) {
        case Area::kIdentity:
            return reg == reg::kIdentity ? identity_ : params_.Firmware();
        case Area::kMeasurement:
            return measured_[reg];
        case Area::kJournalIndex:
            return journal_.NewestIndex();
        case Area::kClock:
            return clock_.ReadBcd(ClockField(reg));
        case Area::kParameter:
            return static_cast<uint16_t>(params_.Get(reg));
        case Area::kTripValue:
            return tripValues_[reg - reg::kTripValues];
        case Area::kStatus:
            return reg == reg::kStatus      ? StatusWord()
                   : reg == reg::kAlarmsLow ? static_cast<uint16_t>(alarms_)
                                            : static_cast<uint16_t>(alarms_ >> 16);
        case Area::kCommand:
            return lastCommand_;
        case Area::kJournal:
            return journal_.Register(reg - reg::kJournal);
        case Area::kNone:
            break;
    }
    return 0;
}

}  // namespace qav::sim
