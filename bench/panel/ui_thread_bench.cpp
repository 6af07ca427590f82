// The panel's user-interface thread while connected to the relay simulator at the fastest poll the link
// allows (loopback, no line pacing): its CPU time per second of wall time, the poll rate, and the program's
// resident memory. Runs on the platform QT_QPA_PLATFORM names (offscreen when unset, xcb under Xvfb).
#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "cx_label.h"
#include "main_panel_dlg.h"
#include "message_box_prompt.h"
#include "shared_settings.h"
#include "sim_process.h"
#include "temp_dir.h"

namespace {

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    qav::test::TempDir dir;
    qav::test::SimProcess sim({"--param", "151=50", "--param", "200=1", "--running"});
    sim.Command("alarm 12 380");
    qav::settings::SharedSettings settings(dir / "CPL_QAV510.INI");
    settings.Update([&](qav::settings::_tagSTRUCT_SETTINGS& s) {
        const std::u16string port = u"Modbus TCP";
        std::copy(port.begin(), port.end(), s.szPort);
        s.nIpAddress = 0x7F000001;
        s.nTcpPort = sim.TcpPort();
    });
    qav::panel::QMessageBoxPrompt prompt;
    qav::panel::CCPL_QAV508Dlg panel(settings, prompt);
    panel.show();
    panel.Controls().connect->click();
    if (!panel.IsConnected()) {
        std::fprintf(stderr, "cannot connect to the simulator\n");
        return 1;
    }
    QTest::qWait(2000);  // past the first passes and the start-up of the display

    constexpr int kSeconds = 10;
    const double cpuBefore = ThreadCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(kSeconds * 1000);
    const double cpu = ThreadCpuSeconds() - cpuBefore;
    const double seconds = static_cast<double>(wall.elapsed()) / 1000.0;

    std::printf("platform %s: UI thread %.1f %% of one core while polling at %s; resident memory %ld kB\n",
                qPrintable(QGuiApplication::platformName()), 100.0 * cpu / seconds,
                qPrintable(panel.Controls().rate->Text()), ResidentKb());
    panel.Disconnect();
    panel.AllowClose();
    panel.close();
    return 0;
}
