#include "main_panel_dlg.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include "c_icon_button.h"
#include "connection_manager.h"
#include "connection_settings.h"
#include "cx_label.h"
#include "cx_led.h"
#include "cx_list_ctrl.h"
#include "device_commands.h"
#include "heating_chart.h"
#include "link_watchdog.h"
#include "live_wait.h"
#include "panel_display.h"
#include "panel_images.h"
#include "panel_layout.h"
#include "panel_setup.h"
#include "panel_texts.h"
#include "password.h"
#include "password_ask.h"
#include "settings_use.h"

namespace qav::panel {

namespace {

constexpr int kDisplayPeriodMs = 1000;

ImageRole ActivityRole(ActivityImage image) {
    switch (image) {
        case ActivityImage::Exchange:
            return ImageRole::ActivityExchange;
        case ActivityImage::NoAnswer:
            return ImageRole::ActivityNoAnswer;
        case ActivityImage::Idle:
            break;
    }
    return ImageRole::ActivityIdle;
}

}  // namespace

struct CCPL_QAV508Dlg::Impl final : monitor::ConnectionView, monitor::CommandView {
    Impl(CCPL_QAV508Dlg* window, settings::SharedSettings& sharedSettings, platform::Prompt& messages);
    ~Impl() override { manager.Shutdown(); }

    // ConnectionView
    void SetConnectCaption(const QString& caption) override { c.connect->setText(caption); }
    void SetLinkStatus(const QString& text) override { c.linkStatus->SetText(text); }
    void HideCommandButtons() override {
        HideMotorButtons();
        HideAlarmResetButton();
    }
    void SetSettingsEnabled(bool enabled) override { c.settings->setEnabled(enabled); }
    void SetJournalEnabled(bool enabled) override { c.journal->setEnabled(enabled); }
    void ResetHeatingChart() override { c.heatingChart->ResetValue(); }
    void EnableHeatingScroll(bool enabled) override { c.heatingChart->EnableScroll(enabled); }
    void ResetPanel() override { display.ResetPanel(measures); }
    void UpdateCaption(bool connected) override;
    void ShowIdleActivity() override { ShowActivity(ActivityImage::Idle); }
    void CloseProgram() override;

    // CommandView
    void HideMotorButtons() override {
        c.start->hide();
        c.stop->hide();
        c.motorPicture->show();
    }
    void HideAlarmResetButton() override { c.alarmReset->hide(); }

    void ShowActivity(ActivityImage image) {
        c.activity->SetIcons(PanelImage(ActivityRole(image)));
        c.activity->SetState(1);
    }
    void Tick();
    void SelectPower(int k, int entry);
    void Connect();

    CCPL_QAV508Dlg* q;
    settings::SharedSettings& settings;
    platform::Prompt& prompt;
    QScrollArea* scroll;
    QWidget* content;
    PanelLayout layout;
    const PanelControls& c;
    monitor::MeasureArray measures;
    monitor::ConnectionState state;
    monitor::LinkRegisterSource source;
    PanelDisplay display;
    monitor::Poller poller;
    monitor::ConnectionManager manager;
    monitor::DeviceCommands commands;
    QTimer displayTimer;
    bool closeAllowed = false;
};

CCPL_QAV508Dlg::Impl::Impl(CCPL_QAV508Dlg* window, settings::SharedSettings& sharedSettings,
                           platform::Prompt& messages)
    : q(window),
      settings(sharedSettings),
      prompt(messages),
      scroll(new QScrollArea(window)),
      content(new QWidget),
      layout(*content),
      c(layout.Controls()),
      display(c, window, [this](int mode) { SetRelayModeImage(*c.relayMode, mode); }),
      poller({source, measures, c.alarmList->Marks(), display, state.link,
              [this] { return settings::Retries(settings.Snapshot()); }}),
      manager(
          *this, prompt, poller, measures, state,
          [this] { return monitor::ConnectionSettingsFrom(settings.Snapshot()); },
          [this] {
              return settings::CheckPassword(settings.Snapshot(), settings::PASSWORD_ON_CONNECT,
                                             PasswordAsker(prompt, q));
          },
          RunKeepingWindowAlive),
      commands(
          *this, prompt, state, poller,
          [this] {
              const settings::_tagSTRUCT_SETTINGS s = settings.Snapshot();
              return monitor::DeviceCommands::Target{settings::DevAddress(s), settings::Retries(s)};
          },
          RunKeepingWindowAlive) {}

void CCPL_QAV508Dlg::Impl::UpdateCaption(bool connected) {
    q->setWindowTitle(PanelCaption(connected, CPL_VERSION_MAJOR, CPL_VERSION_MINOR,
                                   settings::DevAddress(settings.Snapshot()),
                                   static_cast<int>(state.firmwareVersion.load())));
}

void CCPL_QAV508Dlg::Impl::CloseProgram() {
    closeAllowed = true;
    QTimer::singleShot(0, q, [this] { q->close(); });
}

void CCPL_QAV508Dlg::Impl::Tick() {
    c.pcClock->SetText(PcClockText(QDateTime::currentDateTime()));
    if (state.connected.load()) {
        c.connectionTime->SetText(ConnectionClockText(++state.connectedSeconds));
        c.rate->SetText(RateText(state.link.rate.load()));
        const WatchdogVerdict verdict = LinkWatchdogTick(state);
        if (verdict.resetPanel) {
            ResetPanel();
        }
        if (verdict.activity) {
            ShowActivity(*verdict.activity);
        }
    }
    emit q->displayTick();
}

void CCPL_QAV508Dlg::Impl::SelectPower(int k, int entry) {
    display.SetPowerSelection(k, entry);
    if (entry < 0 || entry == settings::PowerView(settings.Snapshot(), k)) {
        return;
    }
    settings.Update([k, entry](settings::_tagSTRUCT_SETTINGS& s) { s.nPowerView[k] = entry; });
    settings.Save();  // a failed save of a selection is not worth a message
}

void CCPL_QAV508Dlg::Impl::Connect() {
    c.connect->setEnabled(false);
    manager.Press();
    c.connect->setEnabled(true);
    c.connect->setFocus();
}

CCPL_QAV508Dlg::CCPL_QAV508Dlg(settings::SharedSettings& settings, platform::Prompt& prompt, QWidget* parent)
    : QWidget(parent), d_(std::make_unique<Impl>(this, settings, prompt)) {
    const PanelControls& c = d_->c;
    setWindowIcon(ImageIcon(ImageRole::WindowIcon));
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(d_->scroll);
    d_->scroll->setWidget(d_->content);
    d_->scroll->setFrameShape(QFrame::NoFrame);
    d_->scroll->setAlignment(Qt::AlignCenter);
    resize(d_->layout.DesignSize());

    const settings::_tagSTRUCT_SETTINGS s = settings.Snapshot();
    d_->UpdateCaption(false);
    setWindowFlag(Qt::WindowStaysOnTopHint, s.bTopMost != 0);
    InitialiseControls(*d_->content, c, s);
    d_->ShowIdleActivity();
    c.pcClock->SetText(PcClockText(QDateTime::currentDateTime()));

    connect(c.connect, &QPushButton::clicked, this, [this] { d_->Connect(); });
    connect(c.start, &CIconButton::clicked, this, [this] { d_->commands.Start(); });
    connect(c.stop, &CIconButton::clicked, this, [this] { d_->commands.Stop(); });
    connect(c.alarmReset, &CIconButton::clicked, this, [this] { d_->commands.ResetAlarms(); });
    connect(c.database, &QPushButton::clicked, this, &CCPL_QAV508Dlg::databaseRequested);
    connect(c.settings, &QPushButton::clicked, this, &CCPL_QAV508Dlg::settingsRequested);
    connect(c.parameters, &QPushButton::clicked, this, &CCPL_QAV508Dlg::parametersRequested);
    connect(c.journal, &QPushButton::clicked, this, &CCPL_QAV508Dlg::journalRequested);
    connect(c.about, &QPushButton::clicked, this, &CCPL_QAV508Dlg::aboutRequested);
    connect(c.exit, &QPushButton::clicked, this, &CCPL_QAV508Dlg::exitRequested);

    // The database dialog exists for the whole run, so its button is usable once the panel is up.
    c.database->setEnabled(true);
    for (int k = 0; k < 3; ++k) {
        QComboBox* selector = c.powerSelector[static_cast<std::size_t>(k)];
        selector->setCurrentIndex(settings::PowerView(s, k));
        d_->SelectPower(k, selector->currentIndex());
        connect(selector, &QComboBox::currentIndexChanged, this,
                [this, k](int entry) { d_->SelectPower(k, entry); });
    }
    connect(&d_->displayTimer, &QTimer::timeout, this, [this] { d_->Tick(); });
    d_->displayTimer.start(kDisplayPeriodMs);
}

CCPL_QAV508Dlg::~CCPL_QAV508Dlg() = default;

void CCPL_QAV508Dlg::Start() {
    if (d_->settings.Snapshot().bAutoConnect == 1) {
        d_->Connect();
    }
}

bool CCPL_QAV508Dlg::IsConnected() const {
    return d_->state.connected.load();
}

void CCPL_QAV508Dlg::Disconnect() {
    if (IsConnected()) {
        d_->Connect();
    }
}

void CCPL_QAV508Dlg::ApplySettings() {
    const settings::_tagSTRUCT_SETTINGS s = d_->settings.Snapshot();
    const bool topMost = s.bTopMost != 0;
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != topMost) {
        setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
        show();
    }
    ShowBaud(*d_->c.baud, s);
}

void CCPL_QAV508Dlg::AllowClose() {
    d_->closeAllowed = true;
}

const PanelControls& CCPL_QAV508Dlg::Controls() const {
    return d_->c;
}

void CCPL_QAV508Dlg::closeEvent(QCloseEvent* event) {
    if (d_->closeAllowed) {
        d_->displayTimer.stop();
        event->accept();
        return;
    }
    event->ignore();
    emit exitRequested();
}

void CCPL_QAV508Dlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_F1:
            emit aboutRequested();
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            break;  // the panel is not closed or triggered by them
        default:
            QWidget::keyPressEvent(event);
    }
}

}  // namespace qav::panel
