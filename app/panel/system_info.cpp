// Collecting the system information.
#include "system_info.h"

#include <QSysInfo>
#include <algorithm>
#include <fstream>
#include <string>
#include <tuple>

namespace qav::panel {
namespace fs = std::filesystem;

namespace {

bool StartsWith(const std::string& name, std::string_view prefix) {
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0;
}

// A legacy port answers when the serial core knows its UART type (0 is "unknown").
bool UartPresent(const fs::path& sysClassTty, const std::string& name) {
    std::ifstream type(sysClassTty / name / "type");
    int value = 0;
    return static_cast<bool>(type >> value) && value != 0;
}

// Text before the trailing digits, and the digits as a number.
std::tuple<std::string, unsigned long long, std::string> NaturalKey(const QString& path) {
    const std::string s = path.toStdString();
    std::size_t digits = s.size();
    while (digits > 0 && s[digits - 1] >= '0' && s[digits - 1] <= '9') {
        --digits;
    }
    const std::string number = s.substr(digits).substr(0, 18);
    return {s.substr(0, digits), number.empty() ? 0 : std::stoull(number), s};
}

void AddEntries(const fs::path& folder, const auto& wanted, QStringList& out) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (wanted(name)) {
            out << QString::fromStdString(it->path().string());
        }
    }
}

}  // namespace

QStringList PresentSerialPorts(const fs::path& dev, const fs::path& sysClassTty) {
    QStringList ports;
    AddEntries(
        dev,
        [&](const std::string& name) {
            return StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM") || StartsWith(name, "ttyAMA") ||
                   (StartsWith(name, "ttyS") && UartPresent(sysClassTty, name));
        },
        ports);
    AddEntries(
        dev / "serial" / "by-id", [](const std::string&) { return true; }, ports);
    std::sort(ports.begin(), ports.end(),
              [](const QString& a, const QString& b) { return NaturalKey(a) < NaturalKey(b); });
    return ports;
}

SystemFacts CurrentSystemFacts() {
    return {QSysInfo::prettyProductName(),
            QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion(),
            QSysInfo::currentCpuArchitecture(),
            QString::fromLatin1(qVersion()),
            QSysInfo::machineHostName(),
            PresentSerialPorts()};
}

platform::PromptRequest SystemInformationBox(const SystemFacts& facts) {
    QString text = QStringLiteral(
                       "Операционная система: %1\r\nЯдро: %2\r\nАрхитектура: %3\r\nВерсия Qt: %4\r\n"
                       "Имя компьютера: %5\r\n\r\nПоследовательные порты:\r\n")
                       .arg(facts.os, facts.kernel, facts.architecture, facts.qtVersion, facts.host);
    if (facts.serialPorts.isEmpty()) {
        text += QStringLiteral("     не обнаружены\r\n");
    }
    for (const QString& port : facts.serialPorts) {
        text += QStringLiteral("     ") + port + QStringLiteral("\r\n");
    }
    return {text, QStringLiteral("Системная информация"), platform::PromptIcon::Information};
}

}  // namespace qav::panel
