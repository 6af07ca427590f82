#include "panel_layout.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <vector>

#include "c_icon_button.h"
#include "cx_label.h"
#include "cx_led.h"
#include "cx_list_ctrl.h"
#include "cx_progress_ctrl.h"
#include "heating_chart.h"
#include "panel_geometry.h"
#include "panel_texts.h"

namespace qav::panel {

namespace {

struct Container {
    QRect units;
    QWidget* widget;
};

QWidget* NewWidget(const PanelElement& e, QWidget* parent) {
    const QString text = e.text ? QString::fromUtf8(e.text) : QString();
    switch (e.kind) {
        case ElementKind::Group:
        case ElementKind::Frame:
            return new QGroupBox(text, parent);
        case ElementKind::Caption: {
            auto* label = new QLabel(text, parent);
            // Long captions wrap onto a second line where the layout gives them the height.
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            return label;
        }
        case ElementKind::Value:
            return new CXLabel(text, parent);
        case ElementKind::Bar:
            return new CXProgressCtrl(parent);
        case ElementKind::Indicator:
            return new CXLed(parent);
        case ElementKind::AlarmList:
            return new CXListCtrl(parent);
        case ElementKind::IconButton:
            return new CIconButton(parent);
        case ElementKind::Chart:
            return new CGraph(parent);
        case ElementKind::Selector: {
            auto* selector = new QComboBox(parent);
            selector->addItems(PowerSelectorEntries());
            selector->setMaxVisibleItems(selector->count());
            return selector;
        }
        case ElementKind::Button:
            return new QPushButton(text, parent);
    }
    return nullptr;
}

template <class T>
T* As(const QHash<int, QWidget*>& byId, int id) {
    return qobject_cast<T*>(byId.value(id));
}

}  // namespace

PanelLayout::PanelLayout(QWidget& content) : content_(content), base_(DialogBaseOf(content.font())) {
    content_.setFixedSize(DesignSize());
    Create();
    Bind();
    controls_.start->hide();
    controls_.stop->hide();
    controls_.alarmReset->hide();
    controls_.database->setEnabled(false);
    controls_.journal->setEnabled(false);
}

QSize PanelLayout::DesignSize() const {
    return MapDialogSize(kPanelDesignUnits, base_);
}

void PanelLayout::Create() {
    std::vector<Container> containers;
    for (const PanelElement& e : PanelElements()) {
        QRect parentUnits(QPoint(0, 0), kPanelDesignUnits);
        QWidget* parent = &content_;
        for (auto it = containers.rbegin(); it != containers.rend(); ++it) {
            if (it->units.contains(e.rect)) {
                parentUnits = it->units;
                parent = it->widget;
                break;
            }
        }
        QWidget* widget = NewWidget(e, parent);
        const QRect pixels = MapDialogRect(e.rect, base_);
        widget->setGeometry(pixels.translated(-MapDialogRect(parentUnits, base_).topLeft()));
        if (e.kind == ElementKind::Group || e.kind == ElementKind::Frame) {
            containers.push_back({e.rect, widget});
        }
        if (e.id != 0) {
            byId_.insert(e.id, widget);
        }
    }
}

void PanelLayout::Bind() {
    const auto led = [this](int id) { return As<CXLed>(byId_, id); };
    const auto label = [this](int id) { return As<CXLabel>(byId_, id); };
    const auto bar = [this](int id) { return As<CXProgressCtrl>(byId_, id); };
    const auto button = [this](int id) { return As<QPushButton>(byId_, id); };
    const auto iconButton = [this](int id) { return As<CIconButton>(byId_, id); };
    PanelControls& c = controls_;

    c.rmkup = led(1087);
    c.functionalRelay = led(1089);
    c.motorRelay = led(1088);
    c.relayMode = led(1184);

    c.alarmBanner = led(1090);
    c.autoReclose = led(1185);
    c.remoteControl = led(1186);
    c.externalInput = led(1193);
    c.alarmReset = iconButton(1214);
    c.alarmList = As<CXListCtrl>(byId_, 1076);

    c.heatingChart = As<CGraph>(byId_, 1134);
    c.heating = label(1135);

    c.phaseCurrentBar = {bar(1054), bar(1055), bar(1056)};
    c.phaseCurrent = {label(1092), label(1093), label(1094)};
    c.positiveCurrentBar = bar(1079);
    c.positiveCurrent = label(1133);
    c.zeroCurrentBar = bar(1059);
    c.zeroCurrent = label(1095);
    c.negativeCurrentBar = bar(1061);
    c.negativeCurrent = label(1105);
    c.unbalance = label(1096);
    c.cycles = label(1097);
    c.startingCurrent = label(1103);
    c.overloadCurrent = label(1104);

    c.phaseVoltageBar = {bar(1073), bar(1085), bar(1086)};
    c.phaseVoltage = {label(1114), label(1115), label(1116)};
    c.lineVoltageBar = {bar(1065), bar(1067), bar(1069)};
    c.lineVoltage = {label(1106), label(1107), label(1108)};
    c.negativeVoltageBar = bar(1072);
    c.negativeVoltage = label(1118);
    c.positiveVoltage = label(1117);
    c.zeroVoltage = label(1109);

    c.untilRecloseBar = bar(1075);
    c.untilReclose = label(1119);
    c.startTime = label(1120);
    c.beforeOverloadTrip = label(1121);
    c.afterOverloadTrip = label(1122);

    c.powerSelector = {As<QComboBox>(byId_, 1187), As<QComboBox>(byId_, 1188), As<QComboBox>(byId_, 1189)};
    c.powerValue = {label(1190), label(1191), label(1192)};

    c.sensor1 = label(1123);
    c.sensor2 = label(1124);
    c.currentInput = label(1125);
    c.voltageInput = label(1126);
    c.frequency = label(1127);
    c.insulation = label(1128);

    c.start = iconButton(1139);
    c.stop = iconButton(1198);
    c.motorPicture = led(1200);

    c.relayClock = label(1130);

    c.activity = led(1113);
    c.linkStatus = label(1112);
    c.baud = label(1111);
    c.rate = label(1131);
    c.connectionTime = label(1110);

    c.clockImage = led(1159);
    c.pcClock = label(1091);
    c.connect = button(1084);
    c.database = button(1155);
    c.settings = button(1000);
    c.parameters = button(1003);
    c.journal = button(1201);
    c.about = button(1082);
    c.exit = button(1080);
}

}  // namespace qav::panel
