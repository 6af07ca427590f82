// The main window on the offscreen platform, connected to the relay simulator: what the operator reads,
// the selectors kept in the settings, alarm rows and their reset button, the silent link, disconnecting.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "c_icon_button.h"
#include "cx_label.h"
#include "cx_list_ctrl.h"
#include "main_panel_dlg.h"
#include "scripted_prompt.h"
#include "settings_store.h"
#include "sim_process.h"
#include "temp_dir.h"

namespace qav::panel {
namespace {

using namespace std::chrono_literals;

QString U(const char* text) {
    return QString::fromUtf8(text);
}

bool WaitFor(const std::function<bool()>& condition, int ms = 10000) {
    return QTest::qWaitFor(condition, ms);
}

class MainPanelTest : public ::testing::Test {
protected:
    MainPanelTest() : sim({"--param", "151=50"}), settings(dir / "CPL_QAV510.INI") {
        settings.Update([this](settings::_tagSTRUCT_SETTINGS& s) {
            const std::u16string port = u"Modbus TCP";
            std::copy(port.begin(), port.end(), s.szPort);
            s.nIpAddress = 0x7F000001;
            s.nTcpPort = sim.TcpPort();
            s.nTimeout = 300;
            s.nRetries = 0;
        });
        panel = std::make_unique<CCPL_QAV508Dlg>(settings, prompt);
        panel->show();
    }
    ~MainPanelTest() override {
        panel->AllowClose();
        panel->close();
    }

    const PanelControls& C() const { return panel->Controls(); }
    void Connect() {
        C().connect->click();
        ASSERT_TRUE(panel->IsConnected())
            << (prompt.Calls().empty() ? "" : prompt.Calls()[0].text.toStdString());
    }

    qav::test::TempDir dir;
    qav::test::SimProcess sim;
    settings::SharedSettings settings;
    qav::test::ScriptedPrompt prompt;
    std::unique_ptr<CCPL_QAV508Dlg> panel;
};

TEST_F(MainPanelTest, ShowsTheRelayLive) {
    sim.Command("set 45 231");
    sim.Command("set 48 402");
    sim.Command("set 56 499");
    sim.Command("set 69 5000");
    sim.Command("set 70 65516");
    sim.Command("set 57 900");
    EXPECT_EQ(C().connect->text(), U("Подключиться"));
    Connect();
    EXPECT_EQ(C().connect->text(), U("Отключиться"));
    EXPECT_EQ(C().linkStatus->Text(), U("Подключен"));
    EXPECT_TRUE(panel->windowTitle().contains(U("Адрес [1] - Версия микропрограммы [15]")));
    EXPECT_FALSE(C().settings->isEnabled());
    EXPECT_TRUE(C().journal->isEnabled());

    EXPECT_TRUE(WaitFor([&] { return C().phaseVoltage[0]->Text() == U("231 В"); }));
    EXPECT_TRUE(WaitFor([&] { return C().lineVoltage[0]->Text() == U("402 В"); }));
    EXPECT_TRUE(WaitFor([&] { return C().frequency->Text() == U("49.9 Гц"); }));
    EXPECT_TRUE(WaitFor([&] { return C().sensor1->Text() == U("Откл."); }));
    EXPECT_TRUE(WaitFor([&] { return C().sensor2->Text() == U("-20 *C"); }));
    EXPECT_TRUE(WaitFor([&] { return C().untilReclose->Text() == U("Нет"); }));
    EXPECT_TRUE(C().phaseCurrent[0]->Text().endsWith(U(" А")));
    EXPECT_TRUE(WaitFor(
        [&] { return C().rate->Text().endsWith(U("пар./сек")) && !C().rate->Text().startsWith("0.00"); },
        3000));
    // Remote control is forbidden by default: the motor picture stays in place of the buttons.
    EXPECT_FALSE(C().start->isVisible());
    EXPECT_TRUE(prompt.Calls().empty());

    C().connect->click();
    EXPECT_FALSE(panel->IsConnected());
    EXPECT_EQ(C().phaseVoltage[0]->Text(), U("0 В"));
    EXPECT_EQ(C().untilReclose->Text(), U("Откл."));
    EXPECT_EQ(C().linkStatus->Text(), U("Отключен"));
    EXPECT_FALSE(panel->windowTitle().contains(U("Адрес")));
    EXPECT_TRUE(C().settings->isEnabled());
}

TEST_F(MainPanelTest, PowerSelectorsAreKept) {
    EXPECT_EQ(C().powerSelector[0]->currentIndex(), 0);
    EXPECT_EQ(C().powerSelector[2]->currentIndex(), 2);
    C().powerSelector[1]->setCurrentIndex(15);
    EXPECT_EQ(settings.Snapshot().nPowerView[1], 15);
    const auto stored = settings::LoadSettings(settings.Profile());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->nPowerView[1], 15);

    sim.Command("set 66 870");  // cos phi of phase 1
    Connect();
    EXPECT_TRUE(WaitFor([&] { return C().powerValue[1]->Text() == U("0.87"); }));
    EXPECT_TRUE(WaitFor([&] { return C().powerValue[0]->Text().endsWith(U("кВА/ч")); }));
}

TEST_F(MainPanelTest, AlarmRowsAndTheirReset) {
    sim.Command("set 200 1");  // remote control allowed
    Connect();
    EXPECT_TRUE(WaitFor([&] { return C().start->isVisible() && C().stop->isVisible(); }));
    EXPECT_FALSE(C().motorPicture->isVisible());

    sim.Command("alarm 12 380");
    sim.Command("alarm 13 440");
    ASSERT_TRUE(WaitFor([&] { return C().alarmList->rowCount() == 2; }));
    EXPECT_EQ(C().alarmList->ItemText(0, 0), U("Максимальное линейное напряжение"));
    EXPECT_EQ(C().alarmList->ItemText(0, 1), U("Umax"));
    EXPECT_EQ(C().alarmList->ItemText(0, 2), U("440 В"));
    EXPECT_EQ(C().alarmList->ItemText(1, 2), U("380 В"));
    EXPECT_TRUE(WaitFor([&] { return C().alarmReset->isVisible(); }));

    C().alarmReset->click();
    EXPECT_TRUE(WaitFor([&] { return C().alarmList->rowCount() == 0 && !C().alarmReset->isVisible(); }));
    EXPECT_TRUE(prompt.Calls().empty());
}

TEST_F(MainPanelTest, SilentLinkResetsThePanelAfterTheWatchdog) {
    sim.Command("set 45 231");
    Connect();
    ASSERT_TRUE(WaitFor([&] { return C().phaseVoltage[0]->Text() == U("231 В"); }));
    sim.Command("drop 1");
    EXPECT_TRUE(WaitFor([&] { return C().phaseVoltage[0]->Text() == U("0 В"); }, 12000));
    EXPECT_TRUE(panel->IsConnected());  // the panel only shows the loss; it keeps trying
    sim.Command("drop 0");
    EXPECT_TRUE(WaitFor([&] { return C().phaseVoltage[0]->Text() == U("231 В"); }));
}

TEST_F(MainPanelTest, RefusedConnectionSaysWhy) {
    sim.Stop();
    C().connect->click();
    EXPECT_FALSE(panel->IsConnected());
    ASSERT_EQ(prompt.Calls().size(), 1u);
    EXPECT_EQ(prompt.Calls()[0].text, U("TCP/IP - Невозможно подключиться к IP:127.0.0.1 узлу"));
    EXPECT_EQ(C().connect->text(), U("Подключиться"));
}

}  // namespace
}  // namespace qav::panel
