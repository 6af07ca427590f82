#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <limits>
#include <memory>
#include <utility>

#include "c_icon_button.h"
#include "cx_label.h"
#include "cx_led.h"
#include "cx_list_ctrl.h"
#include "cx_progress_ctrl.h"
#include "heating_chart.h"
#include "panel_images.h"
#include "panel_layout.h"
#include "panel_setup.h"
#include "panel_texts.h"
#include "qt_color.h"
#include "settings_record.h"
#include "widget_check.h"

namespace qav::panel {
namespace {

using controls::FromColorRef;

settings::_tagSTRUCT_SETTINGS Settings(int theme) {
    settings::_tagSTRUCT_SETTINGS s = settings::DefaultSettings();
    s.nColorBack = 0x00302010;   // rgb(16, 32, 48)
    s.nColorText = 0x00E0D0C0;   // rgb(192, 208, 224)
    s.nColorParam = 0x0000FFFF;  // yellow
    s.nTheme = theme;
    return s;
}

struct Panel {
    QWidget content;
    std::unique_ptr<PanelLayout> layout;
    const PanelControls* c = nullptr;

    explicit Panel(const settings::_tagSTRUCT_SETTINGS& s = Settings(1)) {
        layout = std::make_unique<PanelLayout>(content);
        c = &layout->Controls();
        InitialiseControls(content, *c, s);
    }
};

// Every control by role, listed here rather than taken from the library so that a role the layout forgets
// shows up.
std::vector<std::pair<const char*, QWidget*>> AllControls(const PanelControls& c) {
    return {
        {"rmkup", c.rmkup},
        {"functionalRelay", c.functionalRelay},
        {"motorRelay", c.motorRelay},
        {"relayMode", c.relayMode},
        {"alarmBanner", c.alarmBanner},
        {"autoReclose", c.autoReclose},
        {"remoteControl", c.remoteControl},
        {"externalInput", c.externalInput},
        {"alarmReset", c.alarmReset},
        {"alarmList", c.alarmList},
        {"heatingChart", c.heatingChart},
        {"heating", c.heating},
        {"phaseCurrentBar0", c.phaseCurrentBar[0]},
        {"phaseCurrentBar1", c.phaseCurrentBar[1]},
        {"phaseCurrentBar2", c.phaseCurrentBar[2]},
        {"phaseCurrent0", c.phaseCurrent[0]},
        {"phaseCurrent1", c.phaseCurrent[1]},
        {"phaseCurrent2", c.phaseCurrent[2]},
        {"positiveCurrentBar", c.positiveCurrentBar},
        {"positiveCurrent", c.positiveCurrent},
        {"zeroCurrentBar", c.zeroCurrentBar},
        {"zeroCurrent", c.zeroCurrent},
        {"negativeCurrentBar", c.negativeCurrentBar},
        {"negativeCurrent", c.negativeCurrent},
        {"unbalance", c.unbalance},
        {"cycles", c.cycles},
        {"startingCurrent", c.startingCurrent},
        {"overloadCurrent", c.overloadCurrent},
        {"phaseVoltageBar0", c.phaseVoltageBar[0]},
        {"phaseVoltageBar1", c.phaseVoltageBar[1]},
        {"phaseVoltageBar2", c.phaseVoltageBar[2]},
        {"phaseVoltage0", c.phaseVoltage[0]},
        {"phaseVoltage1", c.phaseVoltage[1]},
        {"phaseVoltage2", c.phaseVoltage[2]},
        {"lineVoltageBar0", c.lineVoltageBar[0]},
        {"lineVoltageBar1", c.lineVoltageBar[1]},
        {"lineVoltageBar2", c.lineVoltageBar[2]},
        {"lineVoltage0", c.lineVoltage[0]},
        {"lineVoltage1", c.lineVoltage[1]},
        {"lineVoltage2", c.lineVoltage[2]},
        {"negativeVoltageBar", c.negativeVoltageBar},
        {"negativeVoltage", c.negativeVoltage},
        {"positiveVoltage", c.positiveVoltage},
        {"zeroVoltage", c.zeroVoltage},
        {"untilRecloseBar", c.untilRecloseBar},
        {"untilReclose", c.untilReclose},
        {"startTime", c.startTime},
        {"beforeOverloadTrip", c.beforeOverloadTrip},
        {"afterOverloadTrip", c.afterOverloadTrip},
        {"powerSelector0", c.powerSelector[0]},
        {"powerSelector1", c.powerSelector[1]},
        {"powerSelector2", c.powerSelector[2]},
        {"powerValue0", c.powerValue[0]},
        {"powerValue1", c.powerValue[1]},
        {"powerValue2", c.powerValue[2]},
        {"sensor1", c.sensor1},
        {"sensor2", c.sensor2},
        {"currentInput", c.currentInput},
        {"voltageInput", c.voltageInput},
        {"frequency", c.frequency},
        {"insulation", c.insulation},
        {"start", c.start},
        {"stop", c.stop},
        {"motorPicture", c.motorPicture},
        {"relayClock", c.relayClock},
        {"activity", c.activity},
        {"linkStatus", c.linkStatus},
        {"baud", c.baud},
        {"rate", c.rate},
        {"connectionTime", c.connectionTime},
        {"clockImage", c.clockImage},
        {"pcClock", c.pcClock},
        {"connect", c.connect},
        {"database", c.database},
        {"settings", c.settings},
        {"parameters", c.parameters},
        {"journal", c.journal},
        {"about", c.about},
        {"exit", c.exit},
    };
}

TEST(PanelLayout, EveryControlExistsOnceInsideThePanel) {
    Panel p;
    QSet<QWidget*> seen;
    for (const auto& [name, widget] : AllControls(*p.c)) {
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_TRUE(p.content.isAncestorOf(widget)) << name;
        EXPECT_FALSE(seen.contains(widget)) << name << " shares its widget with another role";
        seen.insert(widget);
    }
}

QGroupBox* GroupTitled(QWidget& content, const QString& title) {
    for (QGroupBox* group : content.findChildren<QGroupBox*>()) {
        if (group->title() == title) {
            return group;
        }
    }
    return nullptr;
}

// Static captions of a group in reading order (the order they were laid out in), frames' captions at
// the frame's place.
QStringList CaptionsOf(const QGroupBox& group) {
    QStringList texts;
    for (const QObject* child : group.findChildren<QObject*>()) {
        if (const auto* frame = qobject_cast<const QGroupBox*>(child)) {
            texts << "[" + frame->title() + "]";
        } else if (const auto* label = qobject_cast<const QLabel*>(child)) {
            texts << label->text();
        }
    }
    return texts;
}

TEST(PanelLayout, GroupsHoldTheirCaptionsInReadingOrder) {
    Panel p;
    const std::pair<QString, QStringList> groups[] = {
        {"СОСТОЯНИЕ КАВ:", {"РМКУП", "Функциональное реле", "Реле двигателя", "[Режим работы функц. реле:]"}},
        {"СОСТОЯНИЕ АВАРИИ КАВ:", {}},
        {"ТОК ( Ампер )",
         {"[Действующие значения фазных токов:]", "Фаза 1:", "Фаза 2:", "Фаза 3:",
          "Ток прямой последовательности:", "Ток нулевой последовательности:",
          "Ток обратной последовательности:", "Коэффициент\nнеуравновешенности, %:", "Число циклов в мин:",
          "Пусковой ток двигателя:", "Ток перегрузки:"}},
        {"НАПРЯЖЕНИЕ ( Вольт )",
         {"[Действующие значения фазных напряжений:]",
          "Фаза 1:", "Фаза 2:", "Фаза 3:", "[Действующие значения линейных напряжений:]",
          "AB:", "BC:", "CA:", "[Напряжение обратной последовательности:]",
          "Напряжение прямой последовательности:", "Напряжение нулевой последовательности:"}},
        {"ВРЕМЯ ( секунды )",
         {"[Время до АПВ]", "Время пуска:", "Время до отключения по перегрузке:",
          "Время ожидания после отключения по перегрузке:"}},
        {"МОЩНОСТИ:", {}},
        {"ДОПОЛНИТЕЛЬНО:",
         {"Температура датчика 1:", "Температура датчика 2:", "Токовый вход:", "Аналоговый вход:",
          "Частота сети:", "Сопротивление изоляции:"}},
        {"ДВИГАТЕЛЬ", {}},
        {"ВРЕМЯ КАВ", {}},
        {"СОСТОЯНИЕ СВЯЗИ С КАВ:", {"Активность:", "Состояние:", "Скорость:", "Время подключения:"}},
    };
    for (const auto& [title, captions] : groups) {
        const QGroupBox* group = GroupTitled(p.content, title);
        ASSERT_NE(group, nullptr) << title.toStdString();
        EXPECT_EQ(group->parentWidget(), &p.content) << title.toStdString();
        EXPECT_EQ(CaptionsOf(*group), captions) << title.toStdString();
    }
    // The heating chart's caption sits on the panel itself, above the chart.
    const QLabel* heating = nullptr;
    for (const QLabel* label : p.content.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        heating = label->text() == "Нагрев:" ? label : heating;
    }
    ASSERT_NE(heating, nullptr);
    EXPECT_LT(heating->geometry().bottom(), p.c->heatingChart->geometry().top());
}

TEST(PanelLayout, ControlsSitInTheirGroups) {
    Panel p;
    const std::pair<QString, std::vector<QWidget*>> groups[] = {
        {"СОСТОЯНИЕ КАВ:", {p.c->rmkup, p.c->functionalRelay, p.c->motorRelay, p.c->relayMode}},
        {"СОСТОЯНИЕ АВАРИИ КАВ:",
         {p.c->alarmBanner, p.c->autoReclose, p.c->remoteControl, p.c->externalInput, p.c->alarmReset,
          p.c->alarmList}},
        {"ТОК ( Ампер )",
         {p.c->phaseCurrentBar[2], p.c->phaseCurrent[0], p.c->negativeCurrentBar, p.c->unbalance,
          p.c->overloadCurrent}},
        {"НАПРЯЖЕНИЕ ( Вольт )", {p.c->lineVoltageBar[1], p.c->negativeVoltage, p.c->zeroVoltage}},
        {"ВРЕМЯ ( секунды )", {p.c->untilRecloseBar, p.c->untilReclose, p.c->afterOverloadTrip}},
        {"МОЩНОСТИ:", {p.c->powerSelector[0], p.c->powerSelector[2], p.c->powerValue[1]}},
        {"ДОПОЛНИТЕЛЬНО:", {p.c->sensor1, p.c->insulation}},
        {"ДВИГАТЕЛЬ", {p.c->start, p.c->stop, p.c->motorPicture}},
        {"ВРЕМЯ КАВ", {p.c->relayClock}},
        {"СОСТОЯНИЕ СВЯЗИ С КАВ:",
         {p.c->activity, p.c->linkStatus, p.c->baud, p.c->rate, p.c->connectionTime}},
    };
    for (const auto& [title, members] : groups) {
        const QGroupBox* group = GroupTitled(p.content, title);
        ASSERT_NE(group, nullptr);
        for (const QWidget* member : members) {
            EXPECT_TRUE(group->isAncestorOf(member)) << title.toStdString();
        }
    }
    for (const QWidget* bottom : {static_cast<QWidget*>(p.c->clockImage), static_cast<QWidget*>(p.c->pcClock),
                                  static_cast<QWidget*>(p.c->connect), static_cast<QWidget*>(p.c->exit),
                                  static_cast<QWidget*>(p.c->heatingChart)}) {
        EXPECT_EQ(bottom->parentWidget(), &p.content);
    }
}

TEST(PanelLayout, ValuesAndButtonsShowTheirStartingTexts) {
    Panel p;
    const PanelControls& c = *p.c;
    const std::pair<CXLabel*, QString> values[] = {
        {c.heating, "0 %"},
        {c.phaseCurrent[0], "0.0 А"},
        {c.phaseCurrent[1], "0.0 А"},
        {c.phaseCurrent[2], "0.0 А"},
        {c.positiveCurrent, "0.0 А"},
        {c.zeroCurrent, "0.0 А"},
        {c.negativeCurrent, "0.0 А"},
        {c.unbalance, "0"},
        {c.cycles, "0"},
        {c.startingCurrent, "0.0 А"},
        {c.overloadCurrent, "0.0 А"},
        {c.phaseVoltage[0], "0 В"},
        {c.phaseVoltage[1], "0 В"},
        {c.phaseVoltage[2], "0 В"},
        {c.lineVoltage[0], "0 В"},
        {c.lineVoltage[1], "0 В"},
        {c.lineVoltage[2], "0 В"},
        {c.negativeVoltage, "0 В"},
        {c.positiveVoltage, "0 В"},
        {c.zeroVoltage, "0 В"},
        {c.untilReclose, "Откл."},
        {c.startTime, "0 сек"},
        {c.beforeOverloadTrip, "Нет"},
        {c.afterOverloadTrip, "Нет"},
        {c.powerValue[0], "0"},
        {c.powerValue[1], "0"},
        {c.powerValue[2], "0"},
        {c.sensor1, "0 *C"},
        {c.sensor2, "0 *C"},
        {c.currentInput, "0.0 мА"},
        {c.voltageInput, "0.0 В"},
        {c.frequency, "0.0 Гц"},
        {c.insulation, "0.0 МОм"},
        {c.relayClock, "00 : 00 : 00\n00.00.0000"},
        {c.linkStatus, "Отключен"},
        {c.rate, "0 пар./сек"},
        {c.connectionTime, "00 : 00 : 00"},
        {c.pcClock, "00 : 00 : 00\n00.00.0000"},
    };
    for (const auto& [label, text] : values) {
        EXPECT_EQ(label->Text(), text);
    }
    const std::pair<QPushButton*, QString> buttons[] = {
        {c.connect, "Подключиться"},
        {c.database, "База данных"},
        {c.settings, "Настройки"},
        {c.parameters, "Параметры КАВ"},
        {c.journal, "Журнал аварий КАВ"},
        {c.about, "О Программе..."},
        {c.exit, "Выход"},
    };
    for (const auto& [button, text] : buttons) {
        EXPECT_EQ(button->text(), text);
    }
    // Left to right along the bottom edge, in that order.
    for (size_t i = 1; i < std::size(buttons); ++i) {
        EXPECT_LT(buttons[i - 1].first->x(), buttons[i].first->x());
    }
}

TEST(PanelLayout, StartsWithTheMotorPictureAndWithoutDatabaseAndJournal) {
    Panel p;
    EXPECT_TRUE(p.c->start->isHidden());
    EXPECT_TRUE(p.c->stop->isHidden());
    EXPECT_TRUE(p.c->alarmReset->isHidden());
    EXPECT_FALSE(p.c->motorPicture->isHidden());
    EXPECT_FALSE(p.c->database->isEnabled());
    EXPECT_FALSE(p.c->journal->isEnabled());
    for (const QPushButton* enabled : {p.c->connect, p.c->settings, p.c->parameters, p.c->about, p.c->exit}) {
        EXPECT_TRUE(enabled->isEnabled()) << enabled->text().toStdString();
    }
}

TEST(PanelLayout, PowerSelectorsOfferTheEighteenEntries) {
    Panel p;
    for (const QComboBox* selector : p.c->powerSelector) {
        QStringList entries;
        for (int i = 0; i < selector->count(); ++i) {
            entries << selector->itemText(i);
        }
        EXPECT_EQ(entries, PowerSelectorEntries());
        EXPECT_EQ(entries.size(), 18);
        EXPECT_FALSE(selector->isEditable());
    }
}

TEST(PanelLayout, TheAlarmListHasItsColumnsAndIsEmpty) {
    Panel p;
    CXListCtrl& list = *p.c->alarmList;
    struct Column {
        QString heading;
        int width;
        Qt::Alignment alignment;
    };
    const Column columns[] = {{"Наименование", 210, Qt::AlignLeft},
                              {"###", 70, Qt::AlignHCenter},
                              {"Значение", 65, Qt::AlignHCenter},
                              {"Время", 65, Qt::AlignHCenter},
                              {"Дата", 0, Qt::AlignHCenter}};
    ASSERT_EQ(list.columnCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list.horizontalHeaderItem(i)->text(), columns[i].heading);
        EXPECT_EQ(list.isColumnHidden(i), columns[i].width == 0) << i;
        if (columns[i].width > 0) {
            EXPECT_EQ(list.columnWidth(i), columns[i].width) << i;
        }
        const auto alignment = Qt::Alignment(list.horizontalHeaderItem(i)->textAlignment());
        EXPECT_EQ(alignment & Qt::AlignHorizontal_Mask, columns[i].alignment) << i;
    }
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_FALSE(list.HasMarks());
    EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(list.showGrid());
}

TEST(PanelLayout, InitialisingAgainEmptiesTheListAndKeepsItsColumns) {
    Panel p;
    p.c->alarmList->InsertRowAtTop({"Перегрузка", "I>", "12.0 А", "10:00:00", "01.01.2024"}, 7);
    p.c->alarmList->SetMark(7);
    InitialiseControls(p.content, *p.c, Settings(1));
    EXPECT_EQ(p.c->alarmList->rowCount(), 0);
    EXPECT_FALSE(p.c->alarmList->HasMarks());
    EXPECT_EQ(p.c->alarmList->columnCount(), 5);
}

// The theme decides the panel's colours; the alarm list always has the record's.
TEST(PanelLayout, ThemeColours) {
    const QPalette system = QApplication::palette();
    const QColor back = FromColorRef(0x00302010);
    const QColor text = FromColorRef(0x00E0D0C0);
    const QColor value = FromColorRef(0x0000FFFF);
    const QColor systemText = system.color(QPalette::WindowText);
    const QColor systemFace = system.color(QPalette::Button);
    struct Case {
        int theme;
        PanelColors colors;
    };
    const Case cases[] = {
        {1, {text, back, value}},
        {0, {systemText, systemFace, systemText}},
        {-1, {systemText, systemFace, systemText}},
    };
    for (const auto& [theme, colors] : cases) {
        SCOPED_TRACE(theme);
        Panel p(Settings(theme));
        EXPECT_EQ(PanelColorsFor(Settings(theme), system), colors);
        EXPECT_EQ(p.content.palette().color(QPalette::Window), colors.background);
        EXPECT_EQ(p.content.palette().color(QPalette::WindowText), colors.text);
        EXPECT_TRUE(p.content.autoFillBackground());
        for (const CXLabel* label : {p.c->phaseCurrent[0], p.c->pcClock, p.c->heating, p.c->baud}) {
            EXPECT_EQ(label->TextColor(), colors.value);
            EXPECT_EQ(label->BackgroundColor(), colors.background);
        }
        EXPECT_EQ(p.c->powerSelector[1]->palette().color(QPalette::Text), colors.value);
        EXPECT_EQ(p.c->powerSelector[1]->palette().color(QPalette::Base), colors.background);
        // Captions draw in the text colour.
        const QLabel* caption = p.content.findChild<QLabel*>();
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(caption->palette().color(QPalette::WindowText), colors.text);

        EXPECT_EQ(p.c->alarmList->palette().color(QPalette::Base), back);
        EXPECT_EQ(p.c->alarmList->palette().color(QPalette::Text), value);
        // Push buttons keep the system's look.
        EXPECT_EQ(p.c->connect->palette().color(QPalette::Button), systemFace);
    }
}

TEST(PanelLayout, IconButtonsHaveTheirImagesTheRecordBackgroundAndAHandCursor) {
    Panel p(Settings(0));
    for (CIconButton* button : {p.c->start, p.c->stop, p.c->alarmReset}) {
        EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(button->sizeHint(), ImageSize(ImageRole::StartButton) + QSize(4, 4));
        // The face around the image is the record's background even with the system theme.
        button->resize(button->sizeHint() + QSize(10, 10));
        EXPECT_EQ(test::PixelAt(test::Render(*button), 1, 1), FromColorRef(0x00302010));
    }
}

TEST(PanelLayout, IndicatorsHaveTheirImagesSizesAndRhythm) {
    Panel p;
    const PanelControls& c = *p.c;
    struct Case {
        const char* name;
        CXLed* led;
        ImageRole on;
        int state;
        bool blinking;
    };
    const Case cases[] = {
        {"rmkup", c.rmkup, ImageRole::LampOn, 0, false},
        {"functionalRelay", c.functionalRelay, ImageRole::LampOn, 0, false},
        {"motorRelay", c.motorRelay, ImageRole::LampOn, 0, false},
        {"alarmBanner", c.alarmBanner, ImageRole::AlarmBright, 0, true},
        {"autoReclose", c.autoReclose, ImageRole::AutoRecloseOn, 0, false},
        {"remoteControl", c.remoteControl, ImageRole::RemoteControlOn, 0, false},
        {"externalInput", c.externalInput, ImageRole::ExternalInputOn, 0, true},
        {"relayMode", c.relayMode, ImageRole::ModeUnavailable, 1, false},
        {"activity", c.activity, ImageRole::ActivityIdle, 1, false},
        {"clockImage", c.clockImage, ImageRole::Clock, 1, false},
        {"motorPicture", qobject_cast<CXLed*>(c.motorPicture), ImageRole::Motor, 1, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        ASSERT_NE(k.led, nullptr);
        EXPECT_EQ(k.led->size(), ImageSize(k.on));
        EXPECT_EQ(k.led->State(), k.state);
        EXPECT_EQ(k.led->IsBlinking(), k.blinking);
    }
}

QImage Painted(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// Sum of the channel differences; text may be smoothed a little differently on another surface, so
// pictures are told apart by which is nearest rather than by equality.
qint64 Distance(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return std::numeric_limits<qint64>::max();
    }
    qint64 sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    }
    return sum;
}

TEST(PanelLayout, RelayModeImageShowsTheModeAndAnyOtherValueAsUnavailable) {
    Panel p;
    CXLed& led = *p.c->relayMode;
    const ImageRole modes[] = {ImageRole::ModeAlarmRelay, ImageRole::ModeTimeRelay, ImageRole::ModeStarDelta,
                               ImageRole::ModeUnbalance, ImageRole::ModeUnavailable};
    const std::pair<int, ImageRole> cases[] = {
        {0, ImageRole::ModeAlarmRelay}, {1, ImageRole::ModeTimeRelay},   {2, ImageRole::ModeStarDelta},
        {3, ImageRole::ModeUnbalance},  {4, ImageRole::ModeUnavailable}, {7, ImageRole::ModeUnavailable},
        {0, ImageRole::ModeAlarmRelay},
    };
    for (const auto& [mode, role] : cases) {
        SetRelayModeImage(led, mode);
        EXPECT_EQ(led.State(), 1) << mode;
        const QImage shown = Painted(led);
        ImageRole nearest = modes[0];
        for (const ImageRole candidate : modes) {
            const QImage image = ImagePixmap(candidate, 1.0).toImage();
            if (Distance(shown, image) < Distance(shown, ImagePixmap(nearest, 1.0).toImage())) {
                nearest = candidate;
            }
        }
        EXPECT_EQ(nearest, role) << "mode " << mode;
    }
}

TEST(PanelLayout, BaudLabelFollowsTheRateTheLinkUses) {
    const std::pair<int, QString> cases[] = {
        {0, "9600 бит/сек"}, {1, "19200 бит/сек"}, {-1, "9600 бит/сек"}, {2, "9600 бит/сек"}};
    for (const auto& [index, text] : cases) {
        settings::_tagSTRUCT_SETTINGS s = Settings(1);
        s.nBaudIndex = index;
        Panel p(s);
        EXPECT_EQ(p.c->baud->Text(), text) << index;
        // Applied again after the settings change.
        s.nBaudIndex = index == 1 ? 0 : 1;
        ShowBaud(*p.c->baud, s);
        EXPECT_EQ(p.c->baud->Text(), index == 1 ? "9600 бит/сек" : "19200 бит/сек");
    }
}

TEST(PanelLayout, ValueLabelsAreBoldWithLargerPhaseAndSequenceValues) {
    Panel p;
    const PanelControls& c = *p.c;
    const int dialogPoints = p.content.font().pointSize();
    const QSet<CXLabel*> large = {c.phaseCurrent[0], c.phaseCurrent[1], c.phaseCurrent[2], c.lineVoltage[0],
                                  c.lineVoltage[1],  c.lineVoltage[2],  c.phaseVoltage[0], c.phaseVoltage[1],
                                  c.phaseVoltage[2], c.negativeVoltage, c.untilReclose};
    const QSet<CXLabel*> sequence = {c.negativeCurrent, c.positiveCurrent, c.zeroCurrent};
    const QList<CXLabel*> labels = p.content.findChildren<CXLabel*>();
    EXPECT_EQ(labels.size(), 39);
    for (CXLabel* label : labels) {
        SCOPED_TRACE(label->Text().toStdString());
        EXPECT_TRUE(label->font().bold());
        const int expected = large.contains(label) ? 11 : sequence.contains(label) ? 9 : dialogPoints;
        EXPECT_EQ(label->font().pointSize(), expected);
    }
}

TEST(PanelLayout, BarsStartWithTheirRangesAndMarks) {
    Panel p;
    const PanelControls& c = *p.c;
    struct Case {
        const char* name;
        CXProgressCtrl* bar;
        int maximum;
        int upper;
        int lower;
    };
    const Case cases[] = {
        {"phase current 1", c.phaseCurrentBar[0], 1, 1, 1},
        {"phase current 2", c.phaseCurrentBar[1], 1, 1, 1},
        {"phase current 3", c.phaseCurrentBar[2], 1, 1, 1},
        {"negative current", c.negativeCurrentBar, 2000, 0, 0},
        {"positive current", c.positiveCurrentBar, 50, 0, 0},
        {"zero current", c.zeroCurrentBar, 50, 0, 0},
        {"line AB", c.lineVoltageBar[0], 475, 380, 100},
        {"line BC", c.lineVoltageBar[1], 475, 380, 100},
        {"line CA", c.lineVoltageBar[2], 475, 380, 100},
        {"phase voltage 1", c.phaseVoltageBar[0], 300, 220, 0},
        {"phase voltage 2", c.phaseVoltageBar[1], 300, 220, 0},
        {"phase voltage 3", c.phaseVoltageBar[2], 300, 220, 0},
        {"negative voltage", c.negativeVoltageBar, 300, 0, 0},
        {"until reclose", c.untilRecloseBar, 900, 0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const controls::ProgressModel m = k.bar->Model();
        EXPECT_EQ(m.Minimum(), 0);
        EXPECT_EQ(m.Maximum(), k.maximum);
        EXPECT_EQ(m.UpperMark(), k.upper);
        EXPECT_EQ(m.LowerMark(), k.lower);
        EXPECT_EQ(m.Pos(), 0);
    }
    for (const CXProgressCtrl* bar : c.phaseCurrentBar) {
        EXPECT_EQ(bar->Model().HighColor(), 0x0000FFu) << "red until the rated current is known";
    }
    EXPECT_EQ(c.lineVoltageBar[0]->Model().HighColor(), controls::ProgressModel::kHigh);
}

}  // namespace
}  // namespace qav::panel
