// The program's settings record. Its bytes, in this order, are what the profile stores, so the layout is
// fixed.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace qav::settings {

// The actions the password may guard (bits of nPasswordFlags).
inline constexpr uint32_t PASSWORD_ON_START = 0x02;
inline constexpr uint32_t PASSWORD_ON_SETTINGS = 0x04;
inline constexpr uint32_t PASSWORD_ON_PARAMS = 0x08;
inline constexpr uint32_t PASSWORD_ON_CONNECT = 0x10;
inline constexpr uint32_t PASSWORD_ON_DATABASE = 0x20;

inline constexpr std::size_t kTextUnits = 260;

// Integers are 32-bit little-endian; b* fields are 0 or 1 as 32-bit integers; colours are 0x00BBGGRR; texts
// are UTF-16 and NUL-terminated when the record is sound. Fields are used as stored; read them through the
// helpers of settings_use.h, which make damaged values harmless, and share the record between threads through
// SharedSettings.
struct _tagSTRUCT_SETTINGS {
    uint32_t nColorBack;
    uint32_t nColorText;
    uint32_t nColorParam;
    int32_t nDevAddress;
    int32_t nTcpPort;
    uint32_t nIpAddress;  // first octet in the most significant byte
    char16_t szPort[kTextUnits];
    int32_t nBaudIndex;      // 0 = 9600, 1 = 19200 bit/s
    int32_t nDataBitsIndex;  // 0 = 7, 1 = 8
    int32_t nParityIndex;    // 0 = none, 1 = on
    int32_t nStopBitsIndex;  // 0 = 1, 1 = 2
    int32_t nProtocol;       // 0 = RTU, 1 = ASCII
    int32_t nTimeout;        // milliseconds
    int32_t nRetries;
    int32_t bTopMost;
    int32_t bAutoStart;
    int32_t nTheme;  // 0 = system colours, 1 = the three colours above
    int32_t bPassword;
    char16_t szPassword[kTextUnits];
    int32_t bAutoConnect;
    uint32_t nPasswordFlags;
    int32_t nPowerView[3];
    int32_t nChartChannel[5];  // 0 = none, k = measurement row k - 1
    int32_t bChartChannelOn[5];
    int32_t nLineWidth;
    int32_t bAutoRecord;
    int32_t nRecordInterval;   // seconds
    int32_t nRefreshInterval;  // seconds
    uint32_t nChartColor[5];

    bool operator==(const _tagSTRUCT_SETTINGS&) const = default;
};

static_assert(std::endian::native == std::endian::little,
              "the stored record is the little-endian byte image");
static_assert(std::is_standard_layout_v<_tagSTRUCT_SETTINGS> &&
              std::is_trivially_copyable_v<_tagSTRUCT_SETTINGS>);
static_assert(sizeof(_tagSTRUCT_SETTINGS) == 1204);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nColorBack) == 0);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nColorText) == 4);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nColorParam) == 8);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nDevAddress) == 12);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nTcpPort) == 16);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nIpAddress) == 20);
static_assert(offsetof(_tagSTRUCT_SETTINGS, szPort) == 24);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nBaudIndex) == 544);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nDataBitsIndex) == 548);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nParityIndex) == 552);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nStopBitsIndex) == 556);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nProtocol) == 560);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nTimeout) == 564);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nRetries) == 568);
static_assert(offsetof(_tagSTRUCT_SETTINGS, bTopMost) == 572);
static_assert(offsetof(_tagSTRUCT_SETTINGS, bAutoStart) == 576);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nTheme) == 580);
static_assert(offsetof(_tagSTRUCT_SETTINGS, bPassword) == 584);
static_assert(offsetof(_tagSTRUCT_SETTINGS, szPassword) == 588);
static_assert(offsetof(_tagSTRUCT_SETTINGS, bAutoConnect) == 1108);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nPasswordFlags) == 1112);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nPowerView) == 1116);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nChartChannel) == 1128);
static_assert(offsetof(_tagSTRUCT_SETTINGS, bChartChannelOn) == 1148);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nLineWidth) == 1168);
static_assert(offsetof(_tagSTRUCT_SETTINGS, bAutoRecord) == 1172);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nRecordInterval) == 1176);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nRefreshInterval) == 1180);
static_assert(offsetof(_tagSTRUCT_SETTINGS, nChartColor) == 1184);

// The built-in settings: every byte defined, texts empty.
_tagSTRUCT_SETTINGS DefaultSettings();

}  // namespace qav::settings
