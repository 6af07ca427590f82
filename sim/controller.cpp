#include "controller.h"

#include <cstdio>
#include <stdexcept>

#include "register_map.h"
#include "tcp_server.h"

namespace qav::sim {
namespace {

struct CommandError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

long Number(std::istringstream& args, const char* what, long min, long max) {
    std::string token;
    if (!(args >> token)) {
        throw CommandError(std::string("missing ") + what);
    }
    std::size_t used = 0;
    long value = 0;
    try {
        value = std::stol(token, &used, 0);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != token.size() || value < min || value > max) {
        throw CommandError(std::string("bad ") + what + " '" + token + "'");
    }
    return value;
}

double Real(std::istringstream& args, const char* what, double min, double max) {
    std::string token;
    if (!(args >> token)) {
        throw CommandError(std::string("missing ") + what);
    }
    std::size_t used = 0;
    double value = 0;
    try {
        value = std::stod(token, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != token.size() || !(value >= min && value <= max)) {
        throw CommandError(std::string("bad ") + what + " '" + token + "'");
    }
    return value;
}

bool More(std::istringstream& args) {
    args >> std::ws;
    return !args.eof();
}

// True, and the word taken, when the next argument is "all".
bool TakeAll(std::istringstream& args) {
    const auto position = args.tellg();
    std::string word;
    if (args >> word && word == "all") {
        return true;
    }
    args.clear();
    args.seekg(position);
    return false;
}

void Expect(ExceptionCode code) {
    if (code == ExceptionCode::kIllegalAddress) {
        throw CommandError("no such register");
    }
    if (code != ExceptionCode::kNone) {
        throw CommandError("value refused");
    }
}

const char* MotorName(MotorState state) {
    switch (state) {
        case MotorState::kStopped:
            return "stopped";
        case MotorState::kStarting:
            return "starting";
        case MotorState::kRunning:
            return "running";
    }
    return "?";
}

std::string Format(const char* format, auto... values) {
    char text[512];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

}  // namespace

Controller::Controller(SharedRelay& relay, FaultInjector& faults, TcpServer* tcp)
    : relay_(relay), faults_(faults), tcp_(tcp) {}

const char* Controller::Help() {
    return "Control commands (one a line; the answer is one line, \"ok ...\" or \"error: ...\"):\n"
           "  state                       motor, status, alarms, main values, clock, journal\n"
           "  get REG [COUNT]             read registers as a master would (no exceptions)\n"
           "  set REG VALUE               force a register: parameters take any value, the clock a BCD\n"
           "                              field, 903 acts as a command; read-only registers hold the value\n"
           "  release REG|all             let forced read-only registers follow the relay again\n"
           "  start | stop                the front panel's start and stop (no remote permission needed)\n"
           "  reset | restart             as commands 55 and 88\n"
           "  alarm BIT [VALUE]           raise alarm bit 0-31 with its value and a journal entry\n"
           "  trip BIT [VALUE]            the same, and stop the motor\n"
           "  clear BIT|all               clear alarm bits without a reset\n"
           "  supply VOLTS                nominal line voltage (default 400)\n"
           "  frequency HZ                mains frequency (default 50)\n"
           "  load SHARE                  running current as a share of the rated current (default 0.9)\n"
           "  insulation MOHM             insulation resistance (default 250)\n"
           "  ambient CELSIUS             ambient temperature (default 20)\n"
           "  sensor 1|2 ok|short|break   temperature sensor faults\n"
           "  drop SHARE                  share 0-1 of requests left unanswered\n"
           "  corrupt SHARE               share of serial replies with a wrong CRC/LRC\n"
           "  exception SHARE [CODE]      share answered with exception CODE (default 4)\n"
           "  close [SHARE]               close every TCP connection now, or set the share of requests\n"
           "                              answered by closing the connection\n"
           "  silence SECONDS             answer nothing for that long from now\n"
           "  delay MS                    fixed delay before every reply\n"
           "  faults                      the fault settings\n"
           "  quit                        end the simulator\n";
}

std::string Controller::Execute(std::string_view line) {
    Args args{std::string(line)};
    std::string name;
    if (!(args >> name)) {
        return "error: empty command";
    }
    try {
        std::string answer = Dispatch(name, args);
        if (More(args)) {
            return "error: unexpected arguments";
        }
        return answer;
    } catch (const CommandError& e) {
        return std::string("error: ") + e.what();
    }
}

std::string Controller::Dispatch(const std::string& name, Args& args) {
    struct Command {
        const char* name;
        Handler handler;
    };
    static constexpr Command kCommands[] = {
        {"help", &Controller::HelpText},
        {"state", &Controller::State},
        {"get", &Controller::Get},
        {"set", &Controller::Set},
        {"release", &Controller::Release},
        {"start", &Controller::Motor},
        {"stop", &Controller::Motor},
        {"reset", &Controller::Reset},
        {"restart", &Controller::Reset},
        {"alarm", &Controller::Alarm},
        {"trip", &Controller::Alarm},
        {"clear", &Controller::Clear},
        {"supply", &Controller::Plant},
        {"frequency", &Controller::Plant},
        {"load", &Controller::Plant},
        {"insulation", &Controller::Plant},
        {"ambient", &Controller::Plant},
        {"sensor", &Controller::Sensor},
        {"drop", &Controller::SetFault},
        {"corrupt", &Controller::SetFault},
        {"exception", &Controller::SetFault},
        {"close", &Controller::SetFault},
        {"silence", &Controller::SetFault},
        {"delay", &Controller::SetFault},
        {"faults", &Controller::ShowFaults},
        {"quit", &Controller::Quit},
    };
    for (const Command& command : kCommands) {
        if (name == command.name) {
            return (this->*command.handler)(name, args);
        }
    }
    throw CommandError("unknown command '" + name + "' (try help)");
}

std::string Controller::HelpText(const std::string&, Args&) {
    std::string text = Help();
    for (char& c : text) {
        c = c == '\n' ? ' ' : c;
    }
    return "ok " + text;
}

std::string Controller::Reset(const std::string& name, Args&) {
    relay_.With([&](Relay& relay) { name == "reset" ? relay.ResetAlarms() : relay.Restart(); });
    return "ok";
}

std::string Controller::Quit(const std::string&, Args&) {
    quit_ = true;
    return "ok";
}

std::string Controller::State(const std::string&, Args&) {
    const std::size_t connections = tcp_ != nullptr ? tcp_->Connections() : 0;
    return relay_.With([&](Relay& relay) {
        const CivilTime& t = relay.Clock().Now();
        const Measurements& m = relay.Measured();
        return Format(
            "ok motor=%s answering=%d address=%u status=0x%04X alarms=0x%08X i1=%u u_ab=%u heat=%u "
            "clock=%04u-%02u-%02uT%02u:%02u:%02u journal=%zu newest=%u connections=%zu",
            MotorName(relay.Motor()), relay.Answering() ? 1 : 0, unsigned{relay.Address()},
            unsigned{relay.Value(reg::kStatus)}, relay.Alarms(), unsigned{relay.Value(reg::kPhaseCurrent1)},
            unsigned{relay.Value(reg::kLineVoltageAB)}, static_cast<unsigned>(m.heat * 100 / kHeatFull),
            t.year, t.month, t.day, t.hour, t.minute, t.second, relay.AlarmJournal().Count(),
            unsigned{relay.AlarmJournal().NewestIndex()}, connections);
    });
}

std::string Controller::Get(const std::string&, Args& args) {
    const auto first = static_cast<uint16_t>(Number(args, "register", 0, 0xFFFF));
    const auto count =
        More(args) ? static_cast<uint16_t>(Number(args, "count", 1, kMaxReadCount)) : uint16_t{1};
    uint16_t words[kMaxReadCount];
    Expect(relay_.With([&](Relay& relay) { return relay.Read(first, count, words); }));
    std::string answer = "ok";
    for (uint16_t i = 0; i < count; ++i) {
        answer += ' ' + std::to_string(words[i]);
    }
    return answer;
}

std::string Controller::Set(const std::string&, Args& args) {
    const auto reg = static_cast<uint16_t>(Number(args, "register", 0, 0xFFFF));
    const long value = Number(args, "value", -32768, 0xFFFF);
    Expect(relay_.With([&](Relay& relay) { return relay.Set(reg, static_cast<uint16_t>(value)); }));
    return "ok";
}

std::string Controller::Release(const std::string&, Args& args) {
    if (TakeAll(args)) {
        relay_.With([](Relay& relay) { relay.ReleaseAll(); });
        return "ok";
    }
    const auto reg = static_cast<uint16_t>(Number(args, "register", 0, 0xFFFF));
    relay_.With([&](Relay& relay) { relay.Release(reg); });
    return "ok";
}

std::string Controller::Motor(const std::string& name, Args&) {
    const bool start = name == "start";
    const bool done = relay_.With([&](Relay& relay) {
        return start ? relay.Start(CommandSource::kLocal) : relay.Stop(CommandSource::kLocal);
    });
    if (!done) {
        throw CommandError(start ? "the relay does not start the motor (rated current 0, alarm standing, "
                                   "restarting or already on)"
                                 : "the motor is not on");
    }
    return "ok";
}

std::string Controller::Alarm(const std::string& name, Args& args) {
    const bool trip = name == "trip";
    const auto bit = static_cast<uint8_t>(Number(args, "alarm bit", 0, 31));
    const auto value = More(args) ? static_cast<uint16_t>(Number(args, "value", 0, 0xFFFF)) : uint16_t{0};
    relay_.With([&](Relay& relay) { relay.RaiseAlarm(bit, value, trip); });
    return "ok";
}

std::string Controller::Clear(const std::string&, Args& args) {
    if (TakeAll(args)) {
        relay_.With([](Relay& relay) {
            for (uint8_t bit = 0; bit < 32; ++bit) {
                relay.ClearAlarm(bit);
            }
        });
        return "ok";
    }
    const auto bit = static_cast<uint8_t>(Number(args, "alarm bit", 0, 31));
    relay_.With([&](Relay& relay) { relay.ClearAlarm(bit); });
    return "ok";
}

std::string Controller::Plant(const std::string& name, Args& args) {
    relay_.With([&](Relay& relay) {
        PlantInputs& plant = relay.Plant();
        if (name == "supply") {
            plant.supplyVolts = Real(args, "voltage", 0, 1000);
        } else if (name == "frequency") {
            plant.frequencyHz = Real(args, "frequency", 0, 100);
        } else if (name == "load") {
            plant.load = Real(args, "load", 0, 20);
        } else if (name == "insulation") {
            plant.insulationMegaohm = Real(args, "resistance", 0, 6000);
        } else {
            plant.ambientCelsius = Real(args, "temperature", -60, 200);
        }
    });
    return "ok";
}

std::string Controller::Sensor(const std::string&, Args& args) {
    const auto sensor = static_cast<std::size_t>(Number(args, "sensor", 1, 2));
    std::string state;
    args >> state;
    SensorFault fault = SensorFault::kNone;
    if (state == "short") {
        fault = SensorFault::kShort;
    } else if (state == "break") {
        fault = SensorFault::kBreak;
    } else if (state != "ok") {
        throw CommandError("sensor state must be ok, short or break");
    }
    relay_.With([&](Relay& relay) { relay.SensorFaults()[sensor - 1] = fault; });
    return "ok";
}

std::string Controller::SetFault(const std::string& name, Args& args) {
    if (name == "silence") {
        const double seconds = Real(args, "seconds", 0, 86400);
        faults_.Silence(FaultInjector::Clock::now(),
                        std::chrono::milliseconds{static_cast<long>(seconds * 1000)});
        return "ok";
    }
    if (name == "close" && !More(args)) {
        if (tcp_ != nullptr) {
            tcp_->CloseConnections();
        }
        return "ok";
    }
    FaultSettings settings = faults_.Settings();
    if (name == "drop") {
        settings.dropShare = Real(args, "share", 0, 1);
    } else if (name == "corrupt") {
        settings.corruptShare = Real(args, "share", 0, 1);
    } else if (name == "exception") {
        settings.exceptionShare = Real(args, "share", 0, 1);
        if (More(args)) {
            settings.exceptionCode = static_cast<uint8_t>(Number(args, "exception code", 1, 255));
        }
    } else if (name == "close") {
        settings.closeShare = Real(args, "share", 0, 1);
    } else {
        settings.responseDelay = std::chrono::milliseconds{Number(args, "delay", 0, 600000)};
    }
    faults_.Update(settings);
    return "ok";
}

std::string Controller::ShowFaults(const std::string&, Args&) {
    const FaultSettings s = faults_.Settings();
    return Format("ok drop=%g corrupt=%g exception=%g code=%u close=%g delay_ms=%lld silent=%d", s.dropShare,
                  s.corruptShare, s.exceptionShare, unsigned{s.exceptionCode}, s.closeShare,
                  static_cast<long long>(s.responseDelay.count()),
                  faults_.Silent(FaultInjector::Clock::now()) ? 1 : 0);
}

}  // namespace qav::sim
