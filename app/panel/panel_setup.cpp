#include "panel_setup.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QWidget>

#include "c_icon_button.h"
#include "cx_label.h"
#include "cx_led.h"
#include "cx_list_ctrl.h"
#include "cx_progress_ctrl.h"
#include "panel_images.h"
#include "panel_texts.h"
#include "qt_color.h"
#include "settings_use.h"

namespace qav::panel {

namespace {

using controls::FromColorRef;

constexpr controls::ColorRef kRed = 0x0000FF;
constexpr int kLargeValuePoints = 11;
constexpr int kSequenceCurrentPoints = 9;

// An indicator is as large as its image, centred where the layout placed it.
void FitToImage(CXLed& led, QSize image) {
    QRect fitted(QPoint(0, 0), image);
    fitted.moveCenter(led.geometry().center());
    led.setGeometry(fitted);
}

void LoadIndicator(CXLed& led, ImageRole on, ImageRole off, bool blink = false) {
    led.LoadIcons(PanelImage(on), PanelImage(off));
    led.SetBlink(blink);
    FitToImage(led, ImageSize(on));
}

// A picture is an indicator that is always lit and has no dark image.
void ShowPicture(CXLed& led, ImageRole role) {
    led.LoadIcons(PanelImage(role), {});
    led.SetState(1);
    FitToImage(led, ImageSize(role));
}

void PrepareAlarmList(CXListCtrl& list, const settings::_tagSTRUCT_SETTINGS& s) {
    list.DeleteAllItems();
    // The list keeps the record's colours whatever the theme.
    list.SetColors(FromColorRef(s.nColorParam), FromColorRef(s.nColorBack));
    if (list.columnCount() == 0) {
        list.InsertColumn(0, QStringLiteral("Наименование"), Qt::AlignLeft, 210);
        list.InsertColumn(1, QStringLiteral("###"), Qt::AlignHCenter, 70);
        list.InsertColumn(2, QStringLiteral("Значение"), Qt::AlignHCenter, 65);
        list.InsertColumn(3, QStringLiteral("Время"), Qt::AlignHCenter, 65);
        // The date is kept with each row but not shown.
        list.InsertColumn(4, QStringLiteral("Дата"), Qt::AlignHCenter, 0);
    }
    list.ClearMarks();
}

void LoadImages(const PanelControls& c) {
    for (CXLed* lamp : {c.rmkup, c.motorRelay, c.functionalRelay}) {
        LoadIndicator(*lamp, ImageRole::LampOn, ImageRole::LampOff);
    }
    LoadIndicator(*c.alarmBanner, ImageRole::AlarmBright, ImageRole::AlarmDim, true);
    LoadIndicator(*c.autoReclose, ImageRole::AutoRecloseOn, ImageRole::AutoRecloseOff);
    LoadIndicator(*c.remoteControl, ImageRole::RemoteControlOn, ImageRole::RemoteControlOff);
    LoadIndicator(*c.externalInput, ImageRole::ExternalInputOn, ImageRole::ExternalInputOff, true);
    ShowPicture(*c.clockImage, ImageRole::Clock);
    ShowPicture(*c.activity, ImageRole::ActivityIdle);
    ShowPicture(*qobject_cast<CXLed*>(c.motorPicture), ImageRole::Motor);
}

void PrepareIconButtons(const PanelControls& c, const settings::_tagSTRUCT_SETTINGS& s) {
    const std::pair<CIconButton*, ImageRole> buttons[] = {{c.start, ImageRole::StartButton},
                                                          {c.stop, ImageRole::StopButton},
                                                          {c.alarmReset, ImageRole::AlarmResetButton}};
    for (const auto& [button, image] : buttons) {
        button->LoadIcons(PanelImage(image));
        button->SetBackColor(s.nColorBack);
        button->SetCursorImage(QCursor(Qt::PointingHandCursor));
    }
}

void PrepareValueLabels(QWidget& content, const PanelControls& c, const PanelColors& colors) {
    for (CXLabel* label : content.findChildren<CXLabel*>()) {
        label->SetColors(colors.value, colors.background);
        label->SetBold(true);
    }
    for (CXLabel* label : {c.phaseCurrent[0], c.phaseCurrent[1], c.phaseCurrent[2], c.lineVoltage[0],
                           c.lineVoltage[1], c.lineVoltage[2], c.phaseVoltage[0], c.phaseVoltage[1],
                           c.phaseVoltage[2], c.negativeVoltage, c.untilReclose}) {
        label->SetFontSize(kLargeValuePoints);
    }
    for (CXLabel* label : {c.negativeCurrent, c.positiveCurrent, c.zeroCurrent}) {
        label->SetFontSize(kSequenceCurrentPoints);
    }
}

void PrepareBars(const PanelControls& c) {
    // Until the rated current is known any current fills the phase bars in red.
    for (CXProgressCtrl* bar : c.phaseCurrentBar) {
        bar->SetRange(0, 1);
        bar->SetHighColor(kRed);
        bar->SetMarks(1, 1);
        bar->SetPos(0);
    }
    const auto range = [](CXProgressCtrl* bar, int maximum) {
        bar->SetRange(0, maximum);
        bar->SetPos(0);
    };
    range(c.negativeCurrentBar, 2000);
    range(c.positiveCurrentBar, 50);
    range(c.zeroCurrentBar, 50);
    for (CXProgressCtrl* bar : c.lineVoltageBar) {
        range(bar, 475);
        bar->SetMarks(380, 100);
    }
    for (CXProgressCtrl* bar : c.phaseVoltageBar) {
        range(bar, 300);
        bar->SetMarks(220, 0);
    }
    range(c.negativeVoltageBar, 300);
    range(c.untilRecloseBar, 900);
}

}  // namespace

PanelColors PanelColorsFor(const settings::_tagSTRUCT_SETTINGS& s, const QPalette& system) {
    if (settings::Theme(s) == 1) {
        return {FromColorRef(s.nColorText), FromColorRef(s.nColorBack), FromColorRef(s.nColorParam)};
    }
    const QColor text = system.color(QPalette::Active, QPalette::WindowText);
    return {text, system.color(QPalette::Active, QPalette::Button), text};
}

void ApplyPanelColors(QWidget& content, const PanelColors& colors) {
    QPalette panel = content.palette();
    panel.setColor(QPalette::Window, colors.background);
    panel.setColor(QPalette::WindowText, colors.text);
    content.setPalette(panel);
    content.setAutoFillBackground(true);
    for (QComboBox* list : content.findChildren<QComboBox*>()) {
        QPalette p = list->palette();
        p.setColor(QPalette::Base, colors.background);
        p.setColor(QPalette::Text, colors.value);
        p.setColor(QPalette::Button, colors.background);
        p.setColor(QPalette::ButtonText, colors.value);
        list->setPalette(p);
    }
}

void InitialiseControls(QWidget& content, const PanelControls& c, const settings::_tagSTRUCT_SETTINGS& s) {
    PrepareAlarmList(*c.alarmList, s);
    const PanelColors colors = PanelColorsFor(s, QApplication::palette());
    ApplyPanelColors(content, colors);
    LoadImages(c);
    PrepareIconButtons(c, s);
    SetRelayModeImage(*c.relayMode, 4);
    // Every mode's image has the same size.
    FitToImage(*c.relayMode, ImageSize(RelayModeImage(4)));
    PrepareValueLabels(content, c, colors);
    PrepareBars(c);
    ShowBaud(*c.baud, s);
}

void SetRelayModeImage(CXLed& led, int mode) {
    led.SetIcons(PanelImage(RelayModeImage(mode)));
    led.SetState(1);
}

void ShowBaud(CXLabel& label, const settings::_tagSTRUCT_SETTINGS& s) {
    // Bounded as the link bounds it, so that the label shows the rate the link uses.
    label.SetText(BaudText(settings::BaudIndex(s)));
}

}  // namespace qav::panel
