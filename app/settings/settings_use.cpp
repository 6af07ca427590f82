// Bounding stored settings at the points of use.
#include "settings_use.h"

#include <algorithm>
#include <cassert>

namespace qav::settings {
namespace {

std::u16string_view Text(const char16_t (&buffer)[kTextUnits]) {
    const char16_t* end = std::find(buffer, buffer + kTextUnits, u'\0');
    return {buffer, static_cast<std::size_t>(end - buffer)};
}

}  // namespace

std::u16string_view PortText(const _tagSTRUCT_SETTINGS& s) {
    return Text(s.szPort);
}

std::u16string_view PasswordText(const _tagSTRUCT_SETTINGS& s) {
    return Text(s.szPassword);
}

int32_t DevAddress(const _tagSTRUCT_SETTINGS& s) {
    return std::clamp(s.nDevAddress, 0, 255);
}

int32_t TcpPort(const _tagSTRUCT_SETTINGS& s) {
    return std::clamp(s.nTcpPort, 1, 65535);
}

uint32_t Timeout(const _tagSTRUCT_SETTINGS& s) {
    return static_cast<uint32_t>(std::clamp(s.nTimeout, 1, 60000));
}

int32_t Retries(const _tagSTRUCT_SETTINGS& s) {
    return std::clamp(s.nRetries, 0, 10);
}

int32_t BaudIndex(const _tagSTRUCT_SETTINGS& s) {
    return s.nBaudIndex == 1 ? 1 : 0;
}

int32_t DataBitsIndex(const _tagSTRUCT_SETTINGS& s) {
    return s.nDataBitsIndex == 0 ? 0 : 1;
}

int32_t ParityIndex(const _tagSTRUCT_SETTINGS& s) {
    return s.nParityIndex == 1 ? 1 : 0;
}

int32_t StopBitsIndex(const _tagSTRUCT_SETTINGS& s) {
    return s.nStopBitsIndex == 0 ? 0 : 1;
}

int32_t Protocol(const _tagSTRUCT_SETTINGS& s) {
    return s.nProtocol == 1 ? 1 : 0;
}

int32_t Theme(const _tagSTRUCT_SETTINGS& s) {
    return s.nTheme == 1 ? 1 : 0;
}

int32_t PowerView(const _tagSTRUCT_SETTINGS& s, int k) {
    assert(k >= 0 && k < 3);
    return std::clamp(s.nPowerView[k], 0, 17);
}

int32_t ChartChannel(const _tagSTRUCT_SETTINGS& s, int k) {
    assert(k >= 0 && k < 5);
    return std::clamp(s.nChartChannel[k], 0, 55);
}

int32_t LineWidth(const _tagSTRUCT_SETTINGS& s) {
    return std::clamp(s.nLineWidth, 1, 5);
}

int32_t RecordIntervalSeconds(const _tagSTRUCT_SETTINGS& s) {
    return std::clamp(s.nRecordInterval, 1, 86400);
}

int32_t RefreshIntervalSeconds(const _tagSTRUCT_SETTINGS& s) {
    return std::clamp(s.nRefreshInterval, 1, 300);
}

}  // namespace qav::settings
