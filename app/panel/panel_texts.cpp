#include "panel_texts.h"

#include "maker.h"

namespace qav::panel {

namespace {

QString Fixed(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

}  // namespace

QString AmpsText(int32_t tenths) {
    return TenthsText(tenths, QStringLiteral("А"));
}

QString VoltsText(int32_t volts) {
    return QString::number(volts) + QStringLiteral(" В");
}

QString SecondsText(int32_t seconds) {
    return QString::number(seconds) + QStringLiteral(" сек");
}

QString TenthsText(int32_t tenths, const QString& unit) {
    return Fixed(tenths / 10.0, 1) + QLatin1Char(' ') + unit;
}

QString UntilRecloseText(int32_t seconds) {
    return seconds < 900 ? SecondsText(seconds) : QStringLiteral("Нет");
}

int32_t UntilReclosePosition(int32_t seconds) {
    return seconds < 900 ? seconds : 0;
}

QString BeforeOverloadTripText(int32_t seconds) {
    return seconds > 600 ? QStringLiteral("Нет") : SecondsText(seconds);
}

QString AfterOverloadTripText(int32_t seconds) {
    return seconds > 900 ? QStringLiteral("Нет") : SecondsText(seconds);
}

QString SensorText(uint16_t raw) {
    const monitor::SensorReading reading = monitor::DecodeSensor(raw);
    switch (reading.state) {
        case monitor::SensorState::ShortCircuit:
            return QStringLiteral("К.З.");
        case monitor::SensorState::Break:
            return QStringLiteral("Обрыв");
        case monitor::SensorState::Off:
            return QStringLiteral("Откл.");
        case monitor::SensorState::Temperature:
            break;
    }
    return QString::number(reading.celsius) + QStringLiteral(" *C");
}

QStringList PowerSelectorEntries() {
    return {
        QStringLiteral("Энергия полная"),
        QStringLiteral("Энергия активная"),
        QStringLiteral("Энергия реактивная"),
        QStringLiteral("Полная мощность"),
        QStringLiteral("Активная мощность"),
        QStringLiteral("Реактивная мощность"),
        QStringLiteral("Фаза 1 Полная мощность"),
        QStringLiteral("Фаза 2 Полная мощность"),
        QStringLiteral("Фаза 3 Полная мощность"),
        QStringLiteral("Фаза 1 Активная мощность"),
        QStringLiteral("Фаза 2 Активная мощность"),
        QStringLiteral("Фаза 3 Активная мощность"),
        QStringLiteral("Фаза 1 Реактивная мощность"),
        QStringLiteral("Фаза 2 Реактивная мощность"),
        QStringLiteral("Фаза 3 Реактивная мощность"),
        QStringLiteral("Фаза 1 Косинус Фи"),
        QStringLiteral("Фаза 2 Косинус Фи"),
        QStringLiteral("Фаза 3 Косинус Фи"),
    };
}

std::optional<QString> PowerEntryText(int entry, const monitor::PowerValues& p) {
    const auto hundredths = [](int32_t value, const char* unit) {
        return Fixed(value / 100.0, 2) + QLatin1Char(' ') + QString::fromUtf8(unit);
    };
    if (entry >= 3 && entry <= 5) {
        const int32_t totals[] = {p.apparent, p.active, p.reactive};
        const char* units[] = {"кВА", "кВт", "кВАр"};
        return hundredths(totals[entry - 3], units[entry - 3]);
    }
    if (entry >= 6 && entry <= 14) {
        const auto phase = static_cast<std::size_t>((entry - 6) % 3);
        switch ((entry - 6) / 3) {
            case 0:
                return hundredths(p.phaseApparent[phase], "кВА");
            case 1:
                return hundredths(p.phaseActive[phase], "кВт");
            default:
                return hundredths(p.phaseReactive[phase], "кВАр");
        }
    }
    if (entry >= 15 && entry <= 17) {
        return Fixed(p.cosPhi[static_cast<std::size_t>(entry - 15)] / 1000.0, 2);
    }
    return std::nullopt;
}

std::optional<QString> EnergyEntryText(int entry, const monitor::EnergyValues& e) {
    switch (entry) {
        case 0:
            return TenthsText(e.apparent, QStringLiteral("кВА/ч"));
        case 1:
            return TenthsText(e.active, QStringLiteral("кВт/ч"));
        case 2:
            return TenthsText(e.reactive, QStringLiteral("кВАр/ч"));
        default:
            return std::nullopt;
    }
}

QString RelayClockText(const monitor::RelayClock& c) {
    return QString::asprintf("%.2d : %.2d : %.2d\r\n%.2d.%.2d.%.4d", c.hours, c.minutes, c.seconds, c.day,
                             c.month, c.year);
}

QString PcClockText(const QDateTime& now) {
    return now.toString(QStringLiteral("HH : mm : ss\r\ndd.MM.yyyy"));
}

QString ConnectionClockText(int64_t seconds) {
    const int64_t ofDay = (seconds % 86400 + 86400) % 86400;
    return QString::asprintf("%.2d : %.2d : %.2d", static_cast<int>(ofDay / 3600),
                             static_cast<int>(ofDay / 60 % 60), static_cast<int>(ofDay % 60));
}

QString RateText(float registersPerSecond) {
    return Fixed(registersPerSecond, 2) + QStringLiteral("пар./сек");
}

QString BaudText(int32_t baudIndex) {
    return baudIndex == 1 ? QStringLiteral("19200 бит/сек") : QStringLiteral("9600 бит/сек");
}

QString PanelCaption(bool connected, int versionMajor, int versionMinor, int deviceAddress, int firmware) {
    static const QString kBase = QStringLiteral("Панель Управления КАВ-510");
    static const QString kSite = QString::fromUtf8(kMakerSite);
    if (connected) {
        return QStringLiteral("%1 (%2.%3) - Адрес [%4] - Версия микропрограммы [%5] - %6")
            .arg(kBase)
            .arg(versionMajor)
            .arg(versionMinor)
            .arg(deviceAddress)
            .arg(firmware)
            .arg(kSite);
    }
    return QStringLiteral("%1 (%2.%3) - %4").arg(kBase).arg(versionMajor).arg(versionMinor).arg(kSite);
}

QString AlarmTimeText(const QDateTime& listed) {
    return listed.toString(QStringLiteral("HH:mm:ss"));
}

QString AlarmDateText(const QDateTime& listed) {
    return listed.toString(QStringLiteral("dd.MM.yyyy"));
}

}  // namespace qav::panel
