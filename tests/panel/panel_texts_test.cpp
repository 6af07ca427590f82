// The panel's value texts, thresholds and selector entries.
#include <gtest/gtest.h>

#include "panel_texts.h"

namespace qav::panel {
namespace {

QString U(const char* text) {
    return QString::fromUtf8(text);
}

TEST(PanelTexts, ValueFormats) {
    EXPECT_EQ(AmpsText(520), U("52.0 А"));
    EXPECT_EQ(AmpsText(0), U("0.0 А"));
    EXPECT_EQ(VoltsText(398), U("398 В"));
    EXPECT_EQ(TenthsText(500, U("Гц")), U("50.0 Гц"));
    EXPECT_EQ(RateText(20.0f), U("20.00пар./сек"));
    EXPECT_EQ(BaudText(0), U("9600 бит/сек"));
    EXPECT_EQ(BaudText(1), U("19200 бит/сек"));
    EXPECT_EQ(BaudText(7), U("9600 бит/сек"));
}

TEST(PanelTexts, TimerThresholds) {
    struct Case {
        int32_t seconds;
        const char* reclose;
        int32_t position;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {599, "599 сек", 599, "599 сек", "599 сек"}, {600, "600 сек", 600, "600 сек", "600 сек"},
        {601, "601 сек", 601, "Нет", "601 сек"},     {899, "899 сек", 899, "Нет", "899 сек"},
        {900, "Нет", 0, "Нет", "900 сек"},           {901, "Нет", 0, "Нет", "Нет"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(UntilRecloseText(c.seconds), U(c.reclose));
        EXPECT_EQ(UntilReclosePosition(c.seconds), c.position);
        EXPECT_EQ(BeforeOverloadTripText(c.seconds), U(c.before));
        EXPECT_EQ(AfterOverloadTripText(c.seconds), U(c.after));
    }
}

TEST(PanelTexts, Sensors) {
    EXPECT_EQ(SensorText(1000), U("К.З."));
    EXPECT_EQ(SensorText(990), U("990 *C"));
    EXPECT_EQ(SensorText(2000), U("Обрыв"));
    EXPECT_EQ(SensorText(5000), U("Откл."));
    EXPECT_EQ(SensorText(0xFFEC), U("-20 *C"));
}

TEST(PanelTexts, PowerSelectors) {
    ASSERT_EQ(PowerSelectorEntries().size(), 18);
    EXPECT_EQ(PowerSelectorEntries()[0], U("Энергия полная"));
    EXPECT_EQ(PowerSelectorEntries()[17], U("Фаза 3 Косинус Фи"));

    monitor::PowerValues p;
    p.apparent = 12345;
    p.reactive = 5;
    p.cosPhi = {870, 0, 1000};
    p.phaseActive = {0, 184, 0};
    p.phaseReactive = {0, 0, 138};
    EXPECT_EQ(PowerEntryText(3, p), U("123.45 кВА"));
    EXPECT_EQ(PowerEntryText(5, p), U("0.05 кВАр"));
    EXPECT_EQ(PowerEntryText(10, p), U("1.84 кВт"));
    EXPECT_EQ(PowerEntryText(14, p), U("1.38 кВАр"));
    EXPECT_EQ(PowerEntryText(15, p), U("0.87"));
    EXPECT_EQ(PowerEntryText(17, p), U("1.00"));
    EXPECT_FALSE(PowerEntryText(0, p));  // an energy: the energies block writes it
    EXPECT_FALSE(PowerEntryText(-1, p));

    const monitor::EnergyValues e{4567, 10, 0};
    EXPECT_EQ(EnergyEntryText(0, e), U("456.7 кВА/ч"));
    EXPECT_EQ(EnergyEntryText(1, e), U("1.0 кВт/ч"));
    EXPECT_EQ(EnergyEntryText(2, e), U("0.0 кВАр/ч"));
    EXPECT_FALSE(EnergyEntryText(3, e));
}

TEST(PanelTexts, Clocks) {
    monitor::RelayClock c;
    c.hours = 7;
    c.minutes = 5;
    c.seconds = 9;
    c.day = 1;
    c.month = 2;
    c.year = 2026;
    EXPECT_EQ(RelayClockText(c), U("07 : 05 : 09\r\n01.02.2026"));
    EXPECT_EQ(RelayClockText({}), U("00 : 00 : 00\r\n00.00.2000"));
    EXPECT_EQ(ConnectionClockText(0), U("00 : 00 : 00"));
    EXPECT_EQ(ConnectionClockText(3661), U("01 : 01 : 01"));
    EXPECT_EQ(ConnectionClockText(86400 + 5), U("00 : 00 : 05"));
    const QDateTime t(QDate(2026, 12, 10), QTime(14, 3, 7));
    EXPECT_EQ(PcClockText(t), U("14 : 03 : 07\r\n10.12.2026"));
    EXPECT_EQ(AlarmTimeText(t), U("14:03:07"));
    EXPECT_EQ(AlarmDateText(t), U("10.12.2026"));
}

TEST(PanelTexts, Caption) {
    const QString connected = PanelCaption(true, 1, 0, 1, 12);
    EXPECT_TRUE(connected.startsWith(
        U("Панель Управления КАВ-510 (1.0) - Адрес [1] - Версия микропрограммы [12] - ")));
    const QString idle = PanelCaption(false, 1, 0, 1, 12);
    EXPECT_TRUE(idle.startsWith(U("Панель Управления КАВ-510 (1.0) - ")));
    EXPECT_FALSE(idle.contains(U("Адрес")));
}

}  // namespace
}  // namespace qav::panel
