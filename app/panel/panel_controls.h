// Every control of the main panel by its role, as the layout creates them and the display fills them.
#pragma once

#include <array>

class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace qav::controls {
class CIconButton;
class CXLabel;
class CXLed;
class CXListCtrl;
class CXProgressCtrl;
}  // namespace qav::controls

namespace qav::panel {

class CGraph;

using controls::CIconButton;
using controls::CXLabel;
using controls::CXLed;
using controls::CXListCtrl;
using controls::CXProgressCtrl;

struct PanelControls {
    // "СОСТОЯНИЕ КАВ:"
    CXLed* rmkup = nullptr;            // "РМКУП"
    CXLed* functionalRelay = nullptr;  // "Функциональное реле"
    CXLed* motorRelay = nullptr;       // "Реле двигателя"
    CXLed* relayMode = nullptr;        // image of the functional relay's mode

    // "СОСТОЯНИЕ АВАРИИ КАВ:"
    CXLed* alarmBanner = nullptr;    // АВАРИЯ
    CXLed* autoReclose = nullptr;    // АПВ
    CXLed* remoteControl = nullptr;  // ДУ
    CXLed* externalInput = nullptr;  // Вн.Вх.
    CIconButton* alarmReset = nullptr;
    CXListCtrl* alarmList = nullptr;

    // Heating, top right
    CGraph* heatingChart = nullptr;
    CXLabel* heating = nullptr;

    // "ТОК ( Ампер )"
    std::array<CXProgressCtrl*, 3> phaseCurrentBar{};
    std::array<CXLabel*, 3> phaseCurrent{};
    CXProgressCtrl* positiveCurrentBar = nullptr;
    CXLabel* positiveCurrent = nullptr;
    CXProgressCtrl* zeroCurrentBar = nullptr;
    CXLabel* zeroCurrent = nullptr;
    CXProgressCtrl* negativeCurrentBar = nullptr;
    CXLabel* negativeCurrent = nullptr;
    CXLabel* unbalance = nullptr;
    CXLabel* cycles = nullptr;
    CXLabel* startingCurrent = nullptr;
    CXLabel* overloadCurrent = nullptr;

    // "НАПРЯЖЕНИЕ ( Вольт )"
    std::array<CXProgressCtrl*, 3> phaseVoltageBar{};
    std::array<CXLabel*, 3> phaseVoltage{};
    std::array<CXProgressCtrl*, 3> lineVoltageBar{};  // AB, BC, CA
    std::array<CXLabel*, 3> lineVoltage{};
    CXProgressCtrl* negativeVoltageBar = nullptr;
    CXLabel* negativeVoltage = nullptr;
    CXLabel* positiveVoltage = nullptr;
    CXLabel* zeroVoltage = nullptr;

    // "ВРЕМЯ ( секунды )"
    CXProgressCtrl* untilRecloseBar = nullptr;
    CXLabel* untilReclose = nullptr;
    CXLabel* startTime = nullptr;
    CXLabel* beforeOverloadTrip = nullptr;
    CXLabel* afterOverloadTrip = nullptr;

    // "МОЩНОСТИ:"
    std::array<QComboBox*, 3> powerSelector{};
    std::array<CXLabel*, 3> powerValue{};

    // "ДОПОЛНИТЕЛЬНО:"
    CXLabel* sensor1 = nullptr;
    CXLabel* sensor2 = nullptr;
    CXLabel* currentInput = nullptr;
    CXLabel* voltageInput = nullptr;
    CXLabel* frequency = nullptr;
    CXLabel* insulation = nullptr;

    // "ДВИГАТЕЛЬ"
    CIconButton* start = nullptr;
    CIconButton* stop = nullptr;
    QWidget* motorPicture = nullptr;  // shown instead of the buttons while remote control is off

    // "ВРЕМЯ КАВ"
    CXLabel* relayClock = nullptr;

    // "СОСТОЯНИЕ СВЯЗИ С КАВ:"
    CXLed* activity = nullptr;  // idle, exchange and no-answer images
    CXLabel* linkStatus = nullptr;
    CXLabel* baud = nullptr;
    CXLabel* rate = nullptr;
    CXLabel* connectionTime = nullptr;

    // Bottom row
    CXLed* clockImage = nullptr;
    CXLabel* pcClock = nullptr;
    QPushButton* connect = nullptr;
    QPushButton* database = nullptr;
    QPushButton* settings = nullptr;
    QPushButton* parameters = nullptr;
    QPushButton* journal = nullptr;
    QPushButton* about = nullptr;
    QPushButton* exit = nullptr;
};

}  // namespace qav::panel
