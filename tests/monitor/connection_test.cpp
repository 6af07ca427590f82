// Connecting through the real link library to a scripted Modbus TCP peer: identification, every failure
// text, the password, disconnecting, and the device commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "QAV508DLL.h"
#include "connection_manager.h"
#include "connection_settings.h"
#include "device_commands.h"
#include "eventually.h"
#include "fake_relay.h"
#include "recording_views.h"
#include "scripted_prompt.h"
#include "scripted_tcp_server.h"
#include "settings_record.h"

namespace qav::monitor {
namespace {

using platform::PromptIcon;
using platform::PromptRequest;
using qav::test::Bytes;
using qav::test::ScriptedTcpServer;

// A peer that answers the identification with `identity` and `firmware` and every other read with zeros.
qav::test::Responder Relay(uint16_t identity, uint16_t firmware) {
    return [=](const Bytes& request) {
        if (request[7] == 0x06) {
            return qav::test::Send(qav::test::EchoReply(request));
        }
        Bytes data(2u * qav::test::RegisterCount(request), 0);
        if (qav::test::FirstRegister(request) == 0) {
            data[0] = static_cast<uint8_t>(identity >> 8);
            data[1] = static_cast<uint8_t>(identity);
            data[2] = static_cast<uint8_t>(firmware >> 8);
            data[3] = static_cast<uint8_t>(firmware);
        }
        return qav::test::Send(qav::test::ReadReply(request, data));
    };
}

class ConnectionTest : public ::testing::Test {
protected:
    ConnectionTest() {
        settings.port = QStringLiteral("Modbus TCP");
        settings.tcpPort = server.Port();
        settings.timeoutMs = 100;
        settings.retries = 0;
    }
    ~ConnectionTest() override { manager.Shutdown(); }

    PromptRequest Error(const char* text) const {
        return {QString::fromUtf8(text),
                QStringLiteral("Ошибка"),
                PromptIcon::Error,
                platform::PromptButtons::Ok,
                0,
                true};
    }

    ScriptedTcpServer server;
    ConnectionSettings settings;
    bool passwordAccepted = true;
    test::RecordingConnectionView view;
    qav::test::ScriptedPrompt prompt;
    test::TableSource unusedSource;
    MeasureArray measures;
    AlarmMarks marks;
    test::RecordingDisplay display;
    ConnectionState state;
    LinkRegisterSource source;
    PollerDeps deps{source, measures, marks, display, state.link, [this] { return settings.retries; }};
    Poller poller{deps};
    ConnectionManager manager{view,
                              prompt,
                              poller,
                              measures,
                              state,
                              [this] { return settings; },
                              [this] { return passwordAccepted; }};
};

TEST_F(ConnectionTest, ConnectsAndDisconnects) {
    server.SetDefault(Relay(26, 15));
    manager.Press();
    EXPECT_TRUE(prompt.Calls().empty());
    EXPECT_TRUE(state.connected.load());
    EXPECT_TRUE(poller.IsRunning());
    EXPECT_EQ(state.watchdog.load(), 5);
    EXPECT_EQ(state.firmwareVersion.load(), 15u);
    EXPECT_EQ(view.caption, QStringLiteral("Отключиться"));
    EXPECT_EQ(view.linkStatus, QStringLiteral("Подключен"));
    EXPECT_TRUE(server.WaitForRequests(20, std::chrono::seconds(5)));  // the poller is reading

    view.log.clear();
    passwordAccepted = false;  // disconnecting never asks
    manager.Press();
    EXPECT_FALSE(state.connected.load());
    EXPECT_FALSE(poller.IsRunning());
    EXPECT_EQ(TCP_IsOpen(), 0);
    const std::vector<std::string> expected = {
        "caption Подключиться", "status Отключен", "hide commands", "settings on",   "journal off",
        "scroll off",           "reset panel",     "title idle",    "idle activity",
    };
    EXPECT_EQ(view.log, expected);

    passwordAccepted = true;
    manager.Press();  // and once more: a reconnect works
    EXPECT_TRUE(state.connected.load());
    EXPECT_TRUE(poller.IsRunning());
}

// Answers the poller only once the operator has begun to disconnect, as a reply already on its way does.
class LateSource : public RegisterSource {
public:
    explicit LateSource(const ConnectionState& state) : state_(state) {}

    std::atomic<bool> waiting{false};

    int32_t Read(int32_t, int32_t, int32_t count, uint8_t* buffer, int32_t size, int32_t) override {
        waiting.store(true);
        while (state_.connected.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        const int32_t bytes = std::min(2 * count, size);
        std::fill(buffer, buffer + bytes, uint8_t{0x11});
        return bytes;
    }

private:
    const ConnectionState& state_;
};

TEST_F(ConnectionTest, AReplyLateForTheDisconnectLeavesNoValues) {
    server.SetDefault(Relay(26, 15));
    LateSource late(state);
    PollerDeps lateDeps{late, measures, marks, display, state.link, [] { return 0; }};
    Poller latePoller(lateDeps);
    ConnectionManager lateManager(
        view, prompt, latePoller, measures, state, [this] { return settings; }, [] { return true; });
    lateManager.Press();
    ASSERT_TRUE(state.connected.load());
    ASSERT_TRUE(qav::test::Eventually([&] { return late.waiting.load(); }));
    lateManager.Press();
    EXPECT_FALSE(latePoller.IsRunning());
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(measures.GetMeasure(row), 0) << row;
    }
}

TEST_F(ConnectionTest, IdentificationByFirmware) {
    struct Case {
        uint16_t identity, firmware;
        bool accepted;
    };
    for (const Case c : {Case{26, 4, false}, Case{26, 5, true}, Case{26, 15, true}, Case{26, 16, false},
                         Case{27, 10, false}}) {
        SCOPED_TRACE(c.firmware);
        server.SetDefault(Relay(c.identity, c.firmware));
        const auto boxes = prompt.Calls().size();
        manager.Press();
        EXPECT_EQ(state.connected.load(), c.accepted);
        if (c.accepted) {
            manager.Press();
            EXPECT_EQ(prompt.Calls().size(), boxes);
        } else {
            ASSERT_EQ(prompt.Calls().size(), boxes + 1);
            EXPECT_EQ(prompt.Calls().back(), Error("Ошибка идентификации устройства. \r\nПодключено не "
                                                   "поддерживаемое устройство."));
            EXPECT_EQ(TCP_IsOpen(), 0);
        }
    }
}

TEST_F(ConnectionTest, FailureTexts) {
    struct Case {
        const char* name;
        qav::test::Responder responder;
        const char* text;
    };
    const Case cases[] = {
        {"silent", [](const Bytes&) { return qav::test::Answer{}; },
         "Ошибка таймаута. Нет ответа от устройства."},
        {"exception 2", [](const Bytes& r) { return qav::test::Send(qav::test::ExceptionReply(r, 2)); },
         "Прибор вернул ошибку 'ILLEGAL DATA ADDRESS'"},
        {"gateway", [](const Bytes& r) { return qav::test::Send(qav::test::ExceptionReply(r, 11)); },
         "Шлюз вернул ошибку 'Нет ответа от устройства'"},
        {"another unit",
         [](const Bytes& r) {
             return qav::test::Send(
                 qav::test::Frame(qav::test::TransactionId(r), 9, {0x03, 0x04, 0, 26, 0, 15}));
         },
         "Принят неполный кадр или кадр содержит недопустимые символы"},
        {"too large for the buffer",
         [](const Bytes& r) { return qav::test::Send(qav::test::ReadReply(r, Bytes(12, 0))); },
         "Подключение невозможно.\r\nНет связи с устройством;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.SetDefault(c.responder);
        const auto requests = server.RequestCount();
        manager.Press();
        EXPECT_FALSE(state.connected.load());
        EXPECT_EQ(server.RequestCount() - requests, 5u);  // five identification reads, no retries set
        ASSERT_FALSE(prompt.Calls().empty());
        EXPECT_EQ(prompt.Calls().back(), Error(c.text));
        EXPECT_EQ(TCP_IsOpen(), 0);
        EXPECT_EQ(view.log.back(), "idle activity");
    }
}

TEST_F(ConnectionTest, OpenFailures) {
    settings.ipAddress = 0x7F000001;
    settings.tcpPort = 1;  // nothing listens there
    manager.Press();
    ASSERT_EQ(prompt.Calls().size(), 1u);
    EXPECT_EQ(prompt.Calls()[0], Error("TCP/IP - Невозможно подключиться к IP:127.0.0.1 узлу"));
    EXPECT_EQ(TCP_IsOpen(), 0);

    settings.port = QStringLiteral("/nonexistent/ttyQAV");
    manager.Press();
    ASSERT_EQ(prompt.Calls().size(), 2u);
    EXPECT_EQ(prompt.Calls()[1], Error("COM - Невозможно открыть порт"));
    EXPECT_FALSE(state.connected.load());
}

TEST_F(ConnectionTest, AddressTextFromTheSettingsWord) {
    settings.ipAddress = 0x7F000105;  // 127.0.1.5: loopback, and nothing listens there
    settings.tcpPort = 1;
    manager.Press();
    ASSERT_EQ(prompt.Calls().size(), 1u);
    EXPECT_EQ(prompt.Calls()[0].text, QStringLiteral("TCP/IP - Невозможно подключиться к IP:127.0.1.5 узлу"));
}

TEST_F(ConnectionTest, RefusedPasswordOpensNothing) {
    passwordAccepted = false;
    manager.Press();
    EXPECT_FALSE(state.connected.load());
    EXPECT_EQ(server.RequestCount(), 0u);
    EXPECT_FALSE(server.WaitForConnections(1, std::chrono::milliseconds(100)));
    EXPECT_TRUE(prompt.Calls().empty());
}

TEST_F(ConnectionTest, Commands) {
    server.SetDefault(Relay(26, 10));
    DeviceCommands commands(view, prompt, state, poller, [this] {
        return DeviceCommands::Target{settings.deviceAddress, settings.retries};
    });
    manager.Press();
    ASSERT_TRUE(state.connected.load());
    const auto before = server.RequestCount();
    commands.Stop();
    commands.Start();
    commands.ResetAlarms();
    EXPECT_TRUE(prompt.Calls().empty());
    std::vector<uint16_t> written;
    const auto requests = server.Requests();
    for (std::size_t i = before; i < requests.size(); ++i) {
        if (requests[i][7] == 0x06) {
            EXPECT_EQ(qav::test::FirstRegister(requests[i]), 903);
            written.push_back(static_cast<uint16_t>(requests[i][10] << 8 | requests[i][11]));
        }
    }
    EXPECT_EQ(written, (std::vector<uint16_t>{0, 2, 55}));

    server.SetDefault([](const Bytes& r) { return qav::test::Send(qav::test::ExceptionReply(r, 1)); });
    commands.Stop();
    ASSERT_EQ(prompt.Calls().size(), 1u);
    EXPECT_EQ(
        prompt.Calls()[0].text,
        QStringLiteral("Ошибка записи параметра.\r\nВозможные причины: произошла ошибка во время записи "
                       "\r\nили устройство не поддерживает данную функцию"));
    EXPECT_EQ(prompt.Calls()[0].icon, PromptIcon::Warning);

    manager.Press();  // disconnected: the buttons hide and nothing is written
    const auto afterDisconnect = server.RequestCount();
    view.log.clear();
    commands.Start();
    commands.ResetAlarms();
    EXPECT_EQ(server.RequestCount(), afterDisconnect);
    EXPECT_EQ(view.log, (std::vector<std::string>{"hide motor buttons", "hide reset button"}));
}

}  // namespace
}  // namespace qav::monitor

namespace qav::monitor {
namespace {

TEST(ConnectionSettingsFrom, TakesTheRecordBounded) {
    settings::_tagSTRUCT_SETTINGS record = settings::DefaultSettings();
    const std::u16string port = u"Modbus TCP";
    std::copy(port.begin(), port.end(), record.szPort);
    record.nIpAddress = 0xC0A80105;
    record.nTimeout = -5;  // a hand-edited profile
    record.nDevAddress = 300;
    const ConnectionSettings c = ConnectionSettingsFrom(record);
    EXPECT_TRUE(c.IsTcp());
    EXPECT_EQ(c.ipAddress, 0xC0A80105u);
    EXPECT_EQ(c.tcpPort, 502);
    EXPECT_EQ(c.retries, 3);
    EXPECT_GT(c.timeoutMs, 0);
    EXPECT_LE(c.deviceAddress, 255);
    EXPECT_EQ(c.stopBitsIndex, 1);

    std::fill(std::begin(record.szPort), std::end(record.szPort), u'X');  // no terminating NUL
    EXPECT_EQ(ConnectionSettingsFrom(record).port.size(), 260);
}

}  // namespace
}  // namespace qav::monitor
