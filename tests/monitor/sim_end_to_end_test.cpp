// Connecting and polling the relay simulator through the link library, over Modbus TCP and over its
// pseudo-terminal in RTU and ASCII: identification, decoded values, alarms, a silent or vanished relay,
// disconnecting while polling, reconnecting.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <functional>
#include <thread>

#include "QAV508DLL.h"
#include "connection_manager.h"
#include "device_commands.h"
#include "eventually.h"
#include "fake_relay.h"
#include "recording_views.h"
#include "scripted_prompt.h"
#include "sim_process.h"

namespace qav::monitor {
namespace {

using namespace std::chrono_literals;
using qav::test::SimProcess;

using qav::test::Eventually;

// A connected panel's monitoring side without a window.
struct Monitor {
    explicit Monitor(ConnectionSettings s) : settings(std::move(s)) {}
    ~Monitor() { manager.Shutdown(); }

    ConnectionSettings settings;
    test::RecordingConnectionView view;
    qav::test::ScriptedPrompt prompt;
    MeasureArray measures;
    AlarmMarks marks;
    test::LockedDisplay display;
    ConnectionState state;
    LinkRegisterSource source;
    PollerDeps deps{source, measures, marks, display, state.link, [this] { return settings.retries; }};
    Poller poller{deps};
    ConnectionManager manager{
        view, prompt, poller, measures, state, [this] { return settings; }, [] { return true; }};
    DeviceCommands commands{view, prompt, state, poller, [this] {
                                return DeviceCommands::Target{settings.deviceAddress, settings.retries};
                            }};

    std::vector<AlarmRow> Rows() const {
        return display.Read([](const test::RecordingDisplay& d) { return d.rows; });
    }
};

ConnectionSettings TcpSettings(const SimProcess& sim) {
    ConnectionSettings s;
    s.port = QStringLiteral("Modbus TCP");
    s.ipAddress = 0x7F000001;
    s.tcpPort = sim.TcpPort();
    s.timeoutMs = 300;
    s.retries = 1;
    return s;
}

ConnectionSettings SerialSettings(const SimProcess& sim, int protocol) {
    ConnectionSettings s;
    s.port = QString::fromStdString(sim.SerialPath());
    s.protocol = protocol;
    s.baudIndex = 1;
    s.timeoutMs = 300;
    s.retries = 1;
    return s;
}

enum class Transport { kTcp, kRtu, kAscii };

class EndToEnd : public ::testing::TestWithParam<Transport> {
protected:
    std::unique_ptr<SimProcess> StartSim(std::vector<std::string> args = {}) {
        args.insert(args.end(), {"--param", "151=50"});
        const SimProcess::Serial serial = GetParam() == Transport::kRtu     ? SimProcess::Serial::kRtu
                                          : GetParam() == Transport::kAscii ? SimProcess::Serial::kAscii
                                                                            : SimProcess::Serial::kNone;
        return std::make_unique<SimProcess>(args, serial);
    }

    ConnectionSettings Settings(const SimProcess& sim) {
        switch (GetParam()) {
            case Transport::kTcp:
                return TcpSettings(sim);
            case Transport::kRtu:
                return SerialSettings(sim, 0);
            case Transport::kAscii:
                return SerialSettings(sim, 1);
        }
        return {};
    }
};

TEST_P(EndToEnd, PollsValuesAndAlarms) {
    auto sim = StartSim();
    Monitor m(Settings(*sim));
    ASSERT_EQ(sim->Command("set 45 231").rfind("ok", 0), 0u);
    ASSERT_EQ(sim->Command("set 30 123").rfind("ok", 0), 0u);
    m.manager.Press();
    ASSERT_TRUE(m.state.connected.load())
        << (m.prompt.Calls().empty() ? "" : m.prompt.Calls()[0].text.toStdString());
    EXPECT_EQ(m.state.firmwareVersion.load(), 15u);

    // Parameter 150 is 100 A, so after the first settings block the relay's currents count tenths.
    EXPECT_TRUE(
        Eventually([&] { return m.measures.GetMeasure(15) == 231 && m.measures.GetMeasure(0) == 123; }));
    EXPECT_TRUE(Eventually([&] { return m.state.link.rate.load() > 0.0f; }));

    ASSERT_EQ(sim->Command("alarm 12 380").rfind("ok", 0), 0u);
    EXPECT_TRUE(Eventually([&] { return m.marks.IsMarked(12); }));
    const auto rows = m.Rows();
    ASSERT_EQ(std::count_if(rows.begin(), rows.end(), [](const AlarmRow& r) { return r.alarm == 12; }), 1);
    EXPECT_EQ(rows.front().value, QString::fromUtf8("380 В"));

    m.commands.ResetAlarms();  // the relay clears its alarms; the row goes on the next status read
    EXPECT_TRUE(m.prompt.Calls().empty());
    EXPECT_TRUE(Eventually([&] { return !m.marks.IsMarked(12); }));
    EXPECT_TRUE(Eventually([&] { return m.Rows().empty(); }));

    const auto before = std::chrono::steady_clock::now();
    m.manager.Press();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 3s);  // the poller's read is cut short
    EXPECT_FALSE(m.poller.IsRunning());
    EXPECT_EQ(m.measures.GetMeasure(15), 0);

    m.manager.Press();
    EXPECT_TRUE(m.state.connected.load());
    EXPECT_TRUE(Eventually([&] { return m.measures.GetMeasure(15) == 231; }));
}

TEST_P(EndToEnd, SilentThenVanishedRelay) {
    auto sim = StartSim();
    Monitor m(Settings(*sim));
    ASSERT_EQ(sim->Command("set 45 231").rfind("ok", 0), 0u);
    m.manager.Press();
    ASSERT_TRUE(m.state.connected.load());
    ASSERT_TRUE(Eventually([&] { return m.measures.GetMeasure(15) == 231; }));

    ASSERT_EQ(sim->Command("drop 1").rfind("ok", 0), 0u);
    EXPECT_TRUE(Eventually([&] { return m.state.link.linkActivity.load() == 0; }));
    EXPECT_EQ(m.measures.GetMeasure(15), 231);  // a failed read keeps the last values
    ASSERT_EQ(sim->Command("drop 0").rfind("ok", 0), 0u);
    EXPECT_TRUE(Eventually([&] { return m.state.link.linkActivity.load() == 1; }));

    sim->Signal(SIGKILL);
    EXPECT_TRUE(Eventually([&] { return m.state.link.linkActivity.load() == 0; }));
    EXPECT_TRUE(m.poller.IsRunning());  // it never gives up by itself
    m.manager.Press();
    EXPECT_FALSE(m.state.connected.load());
    EXPECT_FALSE(m.poller.IsRunning());
}

INSTANTIATE_TEST_SUITE_P(Transports, EndToEnd,
                         ::testing::Values(Transport::kTcp, Transport::kRtu, Transport::kAscii),
                         [](const auto& param) {
                             switch (param.param) {
                                 case Transport::kTcp:
                                     return "Tcp";
                                 case Transport::kRtu:
                                     return "Rtu";
                                 case Transport::kAscii:
                                     return "Ascii";
                             }
                             return "";
                         });

TEST(Identification, ByIdentityAndFirmware) {
    struct Case {
        std::vector<std::string> args;
        bool accepted;
    };
    const Case cases[] = {
        {{"--firmware", "4"}, false},  {{"--firmware", "5"}, true},   {{"--firmware", "15"}, true},
        {{"--firmware", "16"}, false}, {{"--identity", "27"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        SimProcess sim(c.args);
        Monitor m(TcpSettings(sim));
        m.manager.Press();
        EXPECT_EQ(m.state.connected.load(), c.accepted);
        if (!c.accepted) {
            ASSERT_EQ(m.prompt.Calls().size(), 1u);
            EXPECT_EQ(m.prompt.Calls()[0].text,
                      QString::fromUtf8(
                          "Ошибка идентификации устройства. \r\nПодключено не поддерживаемое устройство."));
            EXPECT_EQ(TCP_IsOpen(), 0);
        }
    }
}

TEST(Identification, SilentSerialRelayTimesOut) {
    SimProcess sim({"--address", "7"}, SimProcess::Serial::kRtu);  // answers address 7 only
    ConnectionSettings s = SerialSettings(sim, 0);
    s.timeoutMs = 50;
    Monitor m(s);
    m.manager.Press();
    EXPECT_FALSE(m.state.connected.load());
    ASSERT_EQ(m.prompt.Calls().size(), 1u);
    EXPECT_EQ(m.prompt.Calls()[0].text, QString::fromUtf8("Ошибка таймаута. Нет ответа от устройства."));
    EXPECT_EQ(COM_IsOpen(), 0);
}

}  // namespace
}  // namespace qav::monitor
