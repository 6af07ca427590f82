// The system-information box and its list of serial ports.
#include "system_info.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace qav::panel {
namespace {

namespace fs = std::filesystem;

// A /dev and /sys/class/tty of our own.
struct FakeSystem {
    test::TempDir dir;
    fs::path dev = dir / "dev";
    fs::path sys = dir / "sys";

    FakeSystem() {
        fs::create_directories(dev);
        fs::create_directories(sys);
    }
    void Device(const std::string& name) { test::WriteBytes(dev / name, ""); }
    void Uart(const std::string& name, const char* type) {
        Device(name);
        fs::create_directories(sys / name);
        test::WriteBytes(sys / name / "type", type);
    }
    QString Dev(const std::string& name) const { return QString::fromStdString((dev / name).string()); }
};

TEST(SystemInfo, SerialPorts) {
    FakeSystem system;
    system.Uart("ttyS0", "4\n");
    system.Uart("ttyS1", "0\n");  // no UART behind it
    system.Device("ttyS3");       // no type known
    system.Uart("ttyS10", "4\n");
    system.Uart("ttyS2", "4\n");
    system.Device("ttyUSB1");
    system.Device("ttyUSB0");
    system.Device("ttyACM0");
    system.Device("ttyAMA0");
    system.Device("tty1");
    system.Device("ttyprintk");
    system.Device("ttyUSB");  // no number: not a port name
    fs::create_directories(system.dev / "serial/by-id");
    test::WriteBytes(system.dev / "serial/by-id/usb-FTDI_FT232R-if00-port0", "");

    EXPECT_EQ(PresentSerialPorts(system.dev, system.sys),
              QStringList({system.Dev("serial/by-id/usb-FTDI_FT232R-if00-port0"), system.Dev("ttyACM0"),
                           system.Dev("ttyAMA0"), system.Dev("ttyS0"), system.Dev("ttyS2"),
                           system.Dev("ttyS10"), system.Dev("ttyUSB0"), system.Dev("ttyUSB1")}));
}

TEST(SystemInfo, NoPorts) {
    FakeSystem system;
    EXPECT_TRUE(PresentSerialPorts(system.dev, system.sys).isEmpty());
    EXPECT_TRUE(PresentSerialPorts(system.dir / "none", system.sys).isEmpty());
}

TEST(SystemInfo, Box) {
    SystemFacts facts{"Debian GNU/Linux 12 (bookworm)", "linux 6.1.0", "x86_64", "6.4.2", "bench-pc", {}};
    platform::PromptRequest box = SystemInformationBox(facts);
    EXPECT_EQ(box.caption, QStringLiteral("Системная информация"));
    EXPECT_EQ(box.icon, platform::PromptIcon::Information);
    EXPECT_EQ(box.buttons, platform::PromptButtons::Ok);
    EXPECT_EQ(box.text, QStringLiteral("Операционная система: Debian GNU/Linux 12 (bookworm)\r\nЯдро: linux "
                                       "6.1.0\r\nАрхитектура: x86_64\r\nВерсия Qt: 6.4.2\r\nИмя компьютера: "
                                       "bench-pc\r\n\r\nПоследовательные порты:\r\n     не обнаружены\r\n"));

    facts.serialPorts = {"/dev/ttyS0", "/dev/ttyUSB0"};
    box = SystemInformationBox(facts);
    EXPECT_TRUE(box.text.endsWith(
        QStringLiteral("Последовательные порты:\r\n     /dev/ttyS0\r\n     /dev/ttyUSB0\r\n")));
}

TEST(SystemInfo, CurrentFacts) {
    const SystemFacts facts = CurrentSystemFacts();
    EXPECT_EQ(facts.qtVersion, QString::fromLatin1(qVersion()));
    EXPECT_TRUE(facts.kernel.startsWith(QStringLiteral("linux ")));
    EXPECT_FALSE(facts.os.isEmpty());
}

}  // namespace
}  // namespace qav::panel
