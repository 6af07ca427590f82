#include "panel_display.h"

#include <QComboBox>

#include "QAV508DLL.h"
#include "c_icon_button.h"
#include "cx_label.h"
#include "cx_led.h"
#include "cx_list_ctrl.h"
#include "cx_progress_ctrl.h"
#include "heating_chart.h"
#include "panel_texts.h"
#include "ui_thread.h"

namespace qav::panel {

namespace {

constexpr controls::ColorRef kRed = 0x0000FF;
constexpr controls::ColorRef kYellow = 0x00FFFF;
constexpr int kModeUnavailable = 4;

// Status word bits that light the indicators.
constexpr uint16_t kMotorRelayBit = 0x02;
constexpr uint16_t kFunctionalRelayBit = 0x04;
constexpr uint16_t kAutoRecloseBit = 0x08;
constexpr uint16_t kRmkupBit = 0x40;
constexpr uint16_t kExternalInputBit = 0x100;

int On(uint16_t status, uint16_t bit) {
    return (status & bit) != 0 ? 1 : 0;
}

QString Number(int32_t value) {
    return QString::number(value);
}

}  // namespace

PanelDisplay::PanelDisplay(const PanelControls& controls, QObject* context,
                           std::function<void(int)> setRelayMode)
    : c_(controls), context_(context), setRelayMode_(std::move(setRelayMode)) {
    for (std::size_t k = 0; k < selection_.size(); ++k) {
        selection_[k].store(-1);
    }
}

void PanelDisplay::SetPowerSelection(int k, int entry) {
    if (k >= 0 && k < 3) {
        selection_[static_cast<std::size_t>(k)].store(entry);
    }
}

template <class F>
void PanelDisplay::BeforeNextReset(F&& f) {
    controls::OnUiThread(context_, [this, reset = resets_.load(), f = std::forward<F>(f)] {
        if (reset == resets_.load()) {
            f();
        }
    });
}

void PanelDisplay::SetVisible(QWidget* widget, bool visible) {
    BeforeNextReset([widget, visible] {
        if (widget->isVisibleTo(widget->parentWidget()) != visible) {
            widget->setVisible(visible);
        }
    });
}

void PanelDisplay::ShowCurrents(const monitor::CurrentValues& v) {
    for (std::size_t i = 0; i < 3; ++i) {
        c_.phaseCurrent[i]->SetText(AmpsText(v.phase[i]));
        c_.phaseCurrentBar[i]->SetPos(v.phase[i]);
    }
    c_.positiveCurrent->SetText(AmpsText(v.positive));
    c_.positiveCurrentBar->SetPos(v.positive);
    c_.zeroCurrent->SetText(AmpsText(v.zero));
    c_.zeroCurrentBar->SetPos(v.zero);
    c_.negativeCurrent->SetText(AmpsText(v.negative));
    c_.negativeCurrentBar->SetPos(v.negative);
}

void PanelDisplay::ShowVoltages(const monitor::VoltageValues& v) {
    for (std::size_t i = 0; i < 3; ++i) {
        c_.phaseVoltage[i]->SetText(VoltsText(v.phase[i]));
        c_.phaseVoltageBar[i]->SetPos(v.phase[i]);
        c_.lineVoltage[i]->SetText(VoltsText(v.line[i]));
        c_.lineVoltageBar[i]->SetPos(v.line[i]);
    }
    c_.positiveVoltage->SetText(VoltsText(v.positive));
    c_.negativeVoltage->SetText(VoltsText(v.negative));
    c_.negativeVoltageBar->SetPos(v.negative);
    c_.zeroVoltage->SetText(VoltsText(v.zero));
}

void PanelDisplay::ShowPowers(const monitor::PowerValues& v) {
    for (std::size_t k = 0; k < 3; ++k) {
        if (const auto text = PowerEntryText(selection_[k].load(), v)) {
            c_.powerValue[k]->SetText(*text);
        }
    }
}

void PanelDisplay::ShowEnergies(const monitor::EnergyValues& v) {
    for (std::size_t k = 0; k < 3; ++k) {
        if (const auto text = EnergyEntryText(selection_[k].load(), v)) {
            c_.powerValue[k]->SetText(*text);
        }
    }
}

void PanelDisplay::ShowBalance(int32_t unbalance, int32_t cyclesPerMinute) {
    c_.unbalance->SetText(Number(unbalance));
    c_.cycles->SetText(Number(cyclesPerMinute));
}

void PanelDisplay::ShowRelayClock(const monitor::RelayClock& clock) {
    c_.relayClock->SetText(RelayClockText(clock));
}

void PanelDisplay::ShowAverages(const monitor::AverageValues& v) {
    c_.startingCurrent->SetText(AmpsText(v.startingCurrent));
    c_.overloadCurrent->SetText(AmpsText(v.overloadCurrent));
    c_.startTime->SetText(SecondsText(v.startTime));
}

void PanelDisplay::ShowTimes(const monitor::TimeValues& v) {
    c_.insulation->SetText(TenthsText(v.insulation, QStringLiteral("МОм")));
    c_.frequency->SetText(TenthsText(v.frequency, QStringLiteral("Гц")));
    c_.untilReclose->SetText(UntilRecloseText(v.untilReclose));
    c_.untilRecloseBar->SetPos(UntilReclosePosition(v.untilReclose));
    c_.beforeOverloadTrip->SetText(BeforeOverloadTripText(v.beforeOverloadTrip));
    c_.afterOverloadTrip->SetText(AfterOverloadTripText(v.afterOverloadTrip));
}

void PanelDisplay::ShowSensors(const monitor::SensorValues& v) {
    c_.sensor1->SetText(SensorText(v.raw1));
    c_.sensor2->SetText(SensorText(v.raw2));
    c_.currentInput->SetText(TenthsText(v.currentInput, QStringLiteral("мА")));
    c_.voltageInput->SetText(TenthsText(v.voltageInput, QStringLiteral("В")));
}

void PanelDisplay::ShowHeating(uint32_t accumulator, int32_t) {
    const int percent = c_.heatingChart->AddValue(accumulator);
    c_.heating->SetText(Number(percent) + QLatin1Char('%'));
}

void PanelDisplay::ShowStatus(uint16_t status) {
    c_.rmkup->SetState(On(status, kRmkupBit));
    c_.motorRelay->SetState(On(status, kMotorRelayBit));
    c_.functionalRelay->SetState(On(status, kFunctionalRelayBit));
    c_.autoReclose->SetState(On(status, kAutoRecloseBit));
    c_.externalInput->SetState(On(status, kExternalInputBit));
    const int mode = status >> 4 & 3;
    BeforeNextReset([this, mode] { setRelayMode_(mode); });
}

void PanelDisplay::InsertAlarmRow(const monitor::AlarmRow& row) {
    const _tagSTRUCT_ERR_INFO& info = dll_nErrInfo[row.alarm];
    c_.alarmList->InsertRowAtTop(
        {QString::fromUtf16(info.szDescription), QString::fromUtf16(info.szShortName), row.value,
         AlarmTimeText(row.listed), AlarmDateText(row.listed)},
        row.alarm);
}

void PanelDisplay::RemoveAlarmRows(int alarm) {
    c_.alarmList->DeleteRowsByData(alarm);
}

void PanelDisplay::RemoveAllAlarmRows() {
    c_.alarmList->DeleteAllItems();
}

void PanelDisplay::ShowAlarmBanner(int state) {
    c_.alarmBanner->SetState(state);
}

void PanelDisplay::ShowAlarmReset(bool visible) {
    SetVisible(c_.alarmReset, visible);
}

void PanelDisplay::SetRecloseRange(int32_t range) {
    c_.untilRecloseBar->SetRange(0, range);
}

void PanelDisplay::ShowRatedCurrent(int32_t amps) {
    // The stored currents count tenths of an ampere: the phase bars span 0 to 150 % of the rated current
    // with the mark at 100 %. Without a rated current any current fills them red. The range comes first:
    // the marks are scaled by it.
    const bool rated = amps != 0;
    const int maximum = rated ? amps * 15 : 1;
    for (CXProgressCtrl* bar : c_.phaseCurrentBar) {
        bar->SetRange(0, maximum);
        bar->SetHighColor(rated ? kYellow : kRed);
        bar->SetMarks(rated ? amps * 10 : 1, rated ? 0 : 1);
    }
    for (CXProgressCtrl* bar : {c_.negativeCurrentBar, c_.positiveCurrentBar, c_.zeroCurrentBar}) {
        bar->SetRange(0, maximum);
    }
}

void PanelDisplay::ShowVoltageLimits(int32_t lower, int32_t upper) {
    for (CXProgressCtrl* bar : c_.lineVoltageBar) {
        bar->SetMarks(upper, lower);
    }
}

void PanelDisplay::ShowRemoteControl(bool allowed) {
    SetVisible(c_.motorPicture, !allowed);
    SetVisible(c_.start, allowed);
    SetVisible(c_.stop, allowed);
    c_.remoteControl->SetState(allowed ? 1 : 0);
}

void PanelDisplay::ResetPanel(monitor::MeasureArray& measures) {
    resets_.fetch_add(1);
    measures.ClearMeasures();
    const QString amps = AmpsText(0);
    for (CXLabel* label : {c_.phaseCurrent[0], c_.phaseCurrent[1], c_.phaseCurrent[2], c_.positiveCurrent,
                           c_.zeroCurrent, c_.startingCurrent, c_.overloadCurrent, c_.negativeCurrent}) {
        label->SetText(amps);
    }
    for (CXProgressCtrl* bar : {c_.phaseCurrentBar[0], c_.phaseCurrentBar[1], c_.phaseCurrentBar[2],
                                c_.positiveCurrentBar, c_.zeroCurrentBar, c_.negativeCurrentBar}) {
        bar->SetPos(0);
    }
    c_.unbalance->SetText(QStringLiteral("0 %"));
    c_.cycles->SetText(QStringLiteral("0"));
    c_.startTime->SetText(SecondsText(0));
    const QString volts = VoltsText(0);
    for (CXLabel* label :
         {c_.phaseVoltage[0], c_.phaseVoltage[1], c_.phaseVoltage[2], c_.lineVoltage[0], c_.lineVoltage[1],
          c_.lineVoltage[2], c_.positiveVoltage, c_.negativeVoltage, c_.zeroVoltage}) {
        label->SetText(volts);
    }
    for (CXProgressCtrl* bar :
         {c_.phaseVoltageBar[0], c_.phaseVoltageBar[1], c_.phaseVoltageBar[2], c_.lineVoltageBar[0],
          c_.lineVoltageBar[1], c_.lineVoltageBar[2], c_.negativeVoltageBar}) {
        bar->SetPos(0);
    }
    c_.sensor1->SetText(QStringLiteral("0 *C"));
    c_.sensor2->SetText(QStringLiteral("0 *C"));
    c_.currentInput->SetText(TenthsText(0, QStringLiteral("мА")));
    c_.voltageInput->SetText(TenthsText(0, QStringLiteral("В")));
    c_.frequency->SetText(TenthsText(0, QStringLiteral("Гц")));
    c_.beforeOverloadTrip->SetText(QStringLiteral("Нет"));
    c_.afterOverloadTrip->SetText(QStringLiteral("Нет"));
    c_.untilReclose->SetText(QStringLiteral("Откл."));
    c_.untilRecloseBar->SetPos(0);
    c_.untilRecloseBar->SetRange(0, 900);
    c_.insulation->SetText(TenthsText(0, QStringLiteral("МОм")));
    c_.heating->SetText(Number(c_.heatingChart->AddValue(0)) + QLatin1Char('%'));
    for (CXLabel* label : c_.powerValue) {
        label->SetText(QStringLiteral("0"));
    }
    c_.relayClock->SetText(QStringLiteral("00 : 00 : 00\r\n00.00.0000"));
    for (CXLed* led : {c_.rmkup, c_.motorRelay, c_.functionalRelay, c_.alarmBanner, c_.autoReclose,
                       c_.remoteControl, c_.externalInput}) {
        led->SetState(0);
    }
    setRelayMode_(kModeUnavailable);
    c_.alarmList->DeleteAllItems();
    c_.alarmList->ClearMarks();
    for (CXProgressCtrl* bar : c_.phaseCurrentBar) {
        bar->SetRange(0, 1);
        bar->SetMarks(1, 1);
        bar->SetHighColor(kRed);
    }
    c_.negativeCurrentBar->SetRange(0, 1);
    for (CXProgressCtrl* bar : c_.lineVoltageBar) {
        bar->SetMarks(380, 100);
    }
}

}  // namespace qav::panel
