// Settings as the program uses them. The record keeps what the profile held, damaged or hand-edited values
// included, so that saving writes them back unchanged; every reader goes through these helpers, which bound
// each value to what its user can take.
#pragma once

#include <cstdint>
#include <string_view>

#include "settings_record.h"

namespace qav::settings {

// The texts up to their first NUL, at most the 260 units of their buffers.
std::u16string_view PortText(const _tagSTRUCT_SETTINGS& s);
std::u16string_view PasswordText(const _tagSTRUCT_SETTINGS& s);

// Device address 0 to 255: the link library sends the low byte, and a larger value would silently address
// another device.
int32_t DevAddress(const _tagSTRUCT_SETTINGS& s);
// TCP port 1 to 65535.
int32_t TcpPort(const _tagSTRUCT_SETTINGS& s);
// Response time-out 1 to 60000 ms: a negative value would become a wait of weeks in the link library.
uint32_t Timeout(const _tagSTRUCT_SETTINGS& s);
// Retries 0 to 10: every request may take (retries + 1) time-outs.
int32_t Retries(const _tagSTRUCT_SETTINGS& s);

// Positions in the settings dialog's two-entry lists, 0 or 1. A stored value outside them means what the
// link library makes of it: 9600 bit/s, 8 data bits, no parity, 2 stop bits, RTU; and the system colours.
int32_t BaudIndex(const _tagSTRUCT_SETTINGS& s);
int32_t DataBitsIndex(const _tagSTRUCT_SETTINGS& s);
int32_t ParityIndex(const _tagSTRUCT_SETTINGS& s);
int32_t StopBitsIndex(const _tagSTRUCT_SETTINGS& s);
int32_t Protocol(const _tagSTRUCT_SETTINGS& s);
int32_t Theme(const _tagSTRUCT_SETTINGS& s);

// Selection of main-panel selector k (0 to 2) in its 18-entry list, 0 to 17.
int32_t PowerView(const _tagSTRUCT_SETTINGS& s, int k);
// Quantity of database chart channel k (0 to 4): 0 for none, 1 to 55 for a measurement row plus one.
int32_t ChartChannel(const _tagSTRUCT_SETTINGS& s, int k);
// Database chart line width 1 to 5.
int32_t LineWidth(const _tagSTRUCT_SETTINGS& s);
// Recording interval 1 to 86400 s: never 0 or negative, which would record as fast as the disk allows.
int32_t RecordIntervalSeconds(const _tagSTRUCT_SETTINGS& s);
// Database refresh interval 1 to 300 s.
int32_t RefreshIntervalSeconds(const _tagSTRUCT_SETTINGS& s);

}  // namespace qav::settings
