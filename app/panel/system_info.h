// The system-information box of the About box: what an engineer on the telephone asks about first.
#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>

#include "prompt.h"

namespace qav::panel {

struct SystemFacts {
    QString os;            // for example "Debian GNU/Linux 12 (bookworm)"
    QString kernel;        // kernel type and version
    QString architecture;  // CPU architecture
    QString qtVersion;     // the Qt library the program runs with
    QString host;
    QStringList serialPorts;
};

// The serial devices present under `dev`: ttyUSB*, ttyACM*, ttyAMA*, the ttyS* ports whose UART type in
// `sysClassTty` is known (the kernel creates ttyS0..ttyS31 whether or not there is a UART behind them), and
// the links in serial/by-id. Paths in natural order (ttyS2 before ttyS10).
QStringList PresentSerialPorts(const std::filesystem::path& dev = "/dev",
                               const std::filesystem::path& sysClassTty = "/sys/class/tty");

SystemFacts CurrentSystemFacts();

// An information box listing the facts, caption "Системная информация".
platform::PromptRequest SystemInformationBox(const SystemFacts& facts);

}  // namespace qav::panel
