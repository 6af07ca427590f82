// How the main panel writes each value: text formats, the "none" thresholds of the relay's timers, the
// temperature sensor texts, the power selectors and the clocks.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "monitor_display.h"
#include "register_codec.h"

namespace qav::panel {

// Tenths of an ampere as "12.3 А".
QString AmpsText(int32_t tenths);
QString VoltsText(int32_t volts);
QString SecondsText(int32_t seconds);
// One decimal of a value kept in tenths, with its unit: "50.0 Гц".
QString TenthsText(int32_t tenths, const QString& unit);

// The relay reports "no auto-reclose pending" as 900 s or more, "no overload trip coming" above 600 s and
// "no wait after an overload trip" above 900 s.
QString UntilRecloseText(int32_t seconds);
int32_t UntilReclosePosition(int32_t seconds);
QString BeforeOverloadTripText(int32_t seconds);
QString AfterOverloadTripText(int32_t seconds);

// A temperature register as the operator reads it: "К.З.", "Обрыв", "Откл." or "21 *C".
QString SensorText(uint16_t raw);

// The 18 entries of each power selector.
QStringList PowerSelectorEntries();
// What selector entry `entry` shows after the powers block, or after the energies block; empty when that
// block does not refresh the entry.
std::optional<QString> PowerEntryText(int entry, const monitor::PowerValues& powers);
std::optional<QString> EnergyEntryText(int entry, const monitor::EnergyValues& energies);

QString RelayClockText(const monitor::RelayClock& clock);
QString PcClockText(const QDateTime& now);
// Time since connecting; wraps after a day.
QString ConnectionClockText(int64_t seconds);
QString RateText(float registersPerSecond);
QString BaudText(int32_t baudIndex);

// Window caption of the main panel, with the relay's address and firmware while connected.
QString PanelCaption(bool connected, int versionMajor, int versionMinor, int deviceAddress, int firmware);

// Time and date columns of an alarm row.
QString AlarmTimeText(const QDateTime& listed);
QString AlarmDateText(const QDateTime& listed);

}  // namespace qav::panel
