#include "options.h"

#include <stdexcept>

#include "controller.h"
#include "parameters.h"

namespace qav::sim {
namespace {

[[noreturn]] void Bad(const std::string& message) {
    throw std::invalid_argument(message);
}

long Integer(const std::string& option, const std::string& text, long min, long max) {
    std::size_t used = 0;
    long value = 0;
    try {
        value = std::stol(text, &used, 10);
    } catch (const std::exception&) {
        used = 0;
    }
    if (text.empty() || used != text.size() || value < min || value > max) {
        Bad(option + ": expected a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
            ", got '" + text + "'");
    }
    return value;
}

double Share(const std::string& option, const std::string& text) {
    std::size_t used = 0;
    double value = -1;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (text.empty() || used != text.size() || !(value >= 0 && value <= 1)) {
        Bad(option + ": expected a share from 0 to 1, got '" + text + "'");
    }
    return value;
}

std::chrono::milliseconds Seconds(const std::string& option, const std::string& text) {
    return std::chrono::milliseconds{Integer(option, text, 0, 86400) * 1000};
}

// [HOST:]PORT
void TcpAddress(const std::string& text, Options& options) {
    const std::size_t colon = text.rfind(':');
    if (colon != std::string::npos) {
        options.tcpHost = text.substr(0, colon);
    }
    options.tcpPort = static_cast<uint16_t>(
        Integer("--tcp", colon == std::string::npos ? text : text.substr(colon + 1), 0, 65535));
    options.tcp = true;
}

// REG=VALUE, within the parameter's limits.
void Parameter(const std::string& text, Options& options) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) {
        Bad("--param: expected REG=VALUE, got '" + text + "'");
    }
    const auto reg = static_cast<uint16_t>(Integer("--param", text.substr(0, equals), 150, 246));
    if (reg == param::kFirmware) {
        Bad("--param: parameter 230 is the firmware version, set it with --firmware");
    }
    const ParameterDef* def = FindParameter(reg);
    const auto value = static_cast<int16_t>(
        Integer("--param " + std::to_string(reg), text.substr(equals + 1), def->min, def->max));
    options.parameters.emplace_back(reg, value);
}

void Exception(const std::string& text, Options& options) {
    const std::size_t colon = text.find(':');
    options.faults.exceptionShare = Share("--exception", text.substr(0, colon));
    if (colon != std::string::npos) {
        options.faults.exceptionCode =
            static_cast<uint8_t>(Integer("--exception", text.substr(colon + 1), 1, 255));
    }
}

void Silence(const std::string& text, Options& options) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) {
        Bad("--silence: expected AFTER:FOR in seconds, got '" + text + "'");
    }
    options.silence.emplace(Seconds("--silence", text.substr(0, colon)),
                            Seconds("--silence", text.substr(colon + 1)));
}

void Serial(SerialMode mode, const std::string& option, const std::string& path, Options& options) {
    if (options.serialMode) {
        Bad(option + ": only one serial port, in RTU or in ASCII");
    }
    if (path.empty()) {
        Bad(option + ": expected a path");
    }
    options.serialMode = mode;
    options.serialLink = path;
}

}  // namespace

std::string Usage() {
    return std::string(
               "Usage: qav510-sim [--tcp [HOST:]PORT] [--rtu PATH | --ascii PATH] [options]\n"
               "\n"
               "The relay in software: a Modbus slave with the relay's registers, commands, protections,\n"
               "alarm journal and clock. Without --tcp, --rtu or --ascii it serves Modbus TCP on\n"
               "127.0.0.1:5020. TCP and a serial port may run at the same time.\n"
               "\n"
               "Transports:\n"
               "  --tcp [HOST:]PORT     Modbus TCP server on a dotted-decimal IPv4 address (default host\n"
               "                        127.0.0.1); port 0 takes a free port. Several clients at once.\n"
               "  --rtu PATH            Modbus RTU on a new pseudo-terminal, with a symlink to it at PATH\n"
               "  --ascii PATH          the same in Modbus ASCII\n"
               "  --baud 9600|19200     pace replies as the relay's line would at this speed; over TCP as\n"
               "                        a gateway in front of its RTU line would (default: no pacing)\n"
               "\n"
               "The relay:\n"
               "  --address N           Modbus address 1-247 (parameter 222, default 1); on TCP the relay\n"
               "                        answers this unit identifier and 255\n"
               "  --identity N          register 0 (default 26)\n"
               "  --firmware N          register 1 and parameter 230, 0-255 (default 15)\n"
               "  --param REG=VALUE     starting value of a parameter 150-246 within its limits, in "
               "register\n"
               "                        units (tenths for the tenths parameters); repeatable\n"
               "  --running             start with the motor running (needs --param 151=AMPERES)\n"
               "  --seed N              seed of the measurement noise and the fault choices (default 1)\n"
               "\n"
               "Faults and timing (SHARE from 0 to 1):\n"
               "  --delay MS            fixed delay before every reply\n"
               "  --drop SHARE          requests left unanswered\n"
               "  --corrupt SHARE       serial replies sent with a wrong CRC or LRC\n"
               "  --exception SHARE[:CODE]  requests answered with exception CODE (default 4) instead\n"
               "  --close SHARE         TCP requests answered by closing the connection\n"
               "  --silence AFTER:FOR   answer nothing for FOR seconds, starting AFTER seconds after start\n"
               "\n"
               "Control and output:\n"
               "  --control PATH        also take control commands on a Unix-domain socket at PATH\n"
               "  --verbose             log every request on standard error\n"
               "  --help                this text\n"
               "\n"
               "Once serving, the simulator prints one line on standard output:\n"
               "  ready [tcp=HOST:PORT] [serial=PATH device=/dev/pts/N] pid=PID\n"
               "and then takes control commands on standard input, answering each on standard output.\n"
               "SIGINT or SIGTERM end it; it removes its symlink and control socket.\n"
               "\n") +
           Controller::Help();
}

Options ParseOptions(int argc, const char* const* argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        std::string value;
        bool inlineValue = false;
        if (const std::size_t equals = option.find('=');
            option.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = option.substr(equals + 1);
            option.resize(equals);
            inlineValue = true;
        }
        const auto next = [&]() -> const std::string& {
            if (!inlineValue) {
                if (i + 1 >= argc) {
                    Bad(option + ": missing value");
                }
                value = argv[++i];
            }
            return value;
        };
        const auto flag = [&] {
            if (inlineValue) {
                Bad(option + ": takes no value");
            }
        };
        if (option == "--help" || option == "-h") {
            flag();
            options.help = true;
        } else if (option == "--tcp") {
            TcpAddress(next(), options);
        } else if (option == "--rtu") {
            Serial(SerialMode::kRtu, option, next(), options);
        } else if (option == "--ascii") {
            Serial(SerialMode::kAscii, option, next(), options);
        } else if (option == "--baud") {
            options.baud = static_cast<unsigned>(Integer(option, next(), 0, 19200));
            if (options.baud != 9600 && options.baud != 19200) {
                Bad("--baud: the relay's line runs at 9600 or 19200");
            }
        } else if (option == "--address") {
            options.parameters.emplace_back(param::kAddress,
                                            static_cast<int16_t>(Integer(option, next(), 1, 247)));
        } else if (option == "--identity") {
            options.identity = static_cast<uint16_t>(Integer(option, next(), 0, 65535));
        } else if (option == "--firmware") {
            options.firmware = static_cast<uint16_t>(Integer(option, next(), 0, 255));
        } else if (option == "--param") {
            Parameter(next(), options);
        } else if (option == "--running") {
            flag();
            options.running = true;
        } else if (option == "--seed") {
            options.seed = static_cast<uint64_t>(Integer(option, next(), 0, 0x7FFFFFFF));
        } else if (option == "--delay") {
            options.faults.responseDelay = std::chrono::milliseconds{Integer(option, next(), 0, 600000)};
        } else if (option == "--drop") {
            options.faults.dropShare = Share(option, next());
        } else if (option == "--corrupt") {
            options.faults.corruptShare = Share(option, next());
        } else if (option == "--exception") {
            Exception(next(), options);
        } else if (option == "--close") {
            options.faults.closeShare = Share(option, next());
        } else if (option == "--silence") {
            Silence(next(), options);
        } else if (option == "--control") {
            options.controlSocket = next();
        } else if (option == "--verbose") {
            flag();
            options.verbose = true;
        } else {
            Bad("unknown option '" + option + "'");
        }
    }
    if (!options.tcp && !options.serialMode) {
        options.tcp = true;
    }
    return options;
}

}  // namespace qav::sim
