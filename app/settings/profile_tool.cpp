// qav510-profile: writes the connection part of a program profile from the command line, for demos, scripts
// and tests that start the panel against a known relay. Fields not named keep what the profile holds.
#include <arpa/inet.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings_store.h"

namespace {

int Usage() {
    std::fputs(
        "Usage: qav510-profile PROFILE [options]\n"
        "  --tcp A.B.C.D:PORT   connect through Modbus TCP\n"
        "  --port NAME|PATH     connect through a serial port (COM1, ttyUSB0, /path/to/pty)\n"
        "  --ascii | --rtu      serial framing (default RTU)\n"
        "  --baud 9600|19200\n"
        "  --address N          the relay's Modbus address\n"
        "  --autoconnect        connect when the panel starts\n",
        stderr);
    return 2;
}

void SetPort(qav::settings::_tagSTRUCT_SETTINGS& s, std::string_view name) {
    std::fill(std::begin(s.szPort), std::end(s.szPort), u'\0');
    const std::size_t size = std::min(name.size(), std::size(s.szPort) - 1);
    std::copy_n(name.begin(), size, s.szPort);  // names and paths here are ASCII
}

bool SetTcp(qav::settings::_tagSTRUCT_SETTINGS& s, const std::string& target) {
    const auto colon = target.rfind(':');
    in_addr address{};
    if (colon == std::string::npos || inet_pton(AF_INET, target.substr(0, colon).c_str(), &address) != 1) {
        return false;
    }
    const int port = std::atoi(target.c_str() + colon + 1);
    if (port < 1 || port > 65535) {
        return false;
    }
    SetPort(s, "Modbus TCP");
    s.nIpAddress = ntohl(address.s_addr);
    s.nTcpPort = port;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') {
        return Usage();
    }
    const std::string profile = argv[1];
    auto s = qav::settings::LoadSettings(profile).value_or(qav::settings::DefaultSettings());
    for (int i = 2; i < argc; ++i) {
        const std::string_view option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--tcp" && hasValue) {
            if (!SetTcp(s, argv[++i])) {
                return Usage();
            }
        } else if (option == "--port" && hasValue) {
            SetPort(s, argv[++i]);
        } else if (option == "--ascii" || option == "--rtu") {
            s.nProtocol = option == "--ascii" ? 1 : 0;
        } else if (option == "--baud" && hasValue) {
            s.nBaudIndex = std::string_view(argv[++i]) == "19200" ? 1 : 0;
        } else if (option == "--address" && hasValue) {
            s.nDevAddress = std::atoi(argv[++i]);
        } else if (option == "--autoconnect") {
            s.bAutoConnect = 1;
        } else {
            return Usage();
        }
    }
    if (!qav::settings::SaveSettings(profile, s)) {
        std::fprintf(stderr, "qav510-profile: cannot write %s\n", profile.c_str());
        return 1;
    }
    return 0;
}
