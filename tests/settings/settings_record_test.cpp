// The settings record's byte image, field by field, and its built-in values.
#include "settings_record.h"

#include <gtest/gtest.h>

#include "settings_letters.h"
#include "settings_store.h"

namespace qav::settings {
namespace {

using test::WordAt;

using Setter = void (*)(_tagSTRUCT_SETTINGS&, uint32_t);

// Two text units hold one 32-bit value, low unit first, as the little-endian image would.
void SetUnits(char16_t* units, uint32_t value) {
    units[0] = static_cast<char16_t>(value);
    units[1] = static_cast<char16_t>(value >> 16);
}

int32_t Signed(uint32_t value) {
    return static_cast<int32_t>(value);
}

struct FieldCase {
    const char* name;
    std::size_t offset;
    Setter set;
};

const FieldCase kFields[] = {
    {"nColorBack", 0, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nColorBack = v; }},
    {"nColorText", 4, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nColorText = v; }},
    {"nColorParam", 8, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nColorParam = v; }},
    {"nDevAddress", 12, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nDevAddress = Signed(v); }},
    {"nTcpPort", 16, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nTcpPort = Signed(v); }},
    {"nIpAddress", 20, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nIpAddress = v; }},
    {"szPort first units", 24, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { SetUnits(&s.szPort[0], v); }},
    {"szPort last units", 540, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { SetUnits(&s.szPort[258], v); }},
    {"nBaudIndex", 544, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nBaudIndex = Signed(v); }},
    {"nDataBitsIndex", 548, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nDataBitsIndex = Signed(v); }},
    {"nParityIndex", 552, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nParityIndex = Signed(v); }},
    {"nStopBitsIndex", 556, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nStopBitsIndex = Signed(v); }},
    {"nProtocol", 560, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nProtocol = Signed(v); }},
    {"nTimeout", 564, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nTimeout = Signed(v); }},
    {"nRetries", 568, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nRetries = Signed(v); }},
    {"bTopMost", 572, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.bTopMost = Signed(v); }},
    {"bAutoStart", 576, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.bAutoStart = Signed(v); }},
    {"nTheme", 580, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nTheme = Signed(v); }},
    {"bPassword", 584, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.bPassword = Signed(v); }},
    {"szPassword first units", 588,
     [](_tagSTRUCT_SETTINGS& s, uint32_t v) { SetUnits(&s.szPassword[0], v); }},
    {"szPassword last units", 1104,
     [](_tagSTRUCT_SETTINGS& s, uint32_t v) { SetUnits(&s.szPassword[258], v); }},
    {"bAutoConnect", 1108, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.bAutoConnect = Signed(v); }},
    {"nPasswordFlags", 1112, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nPasswordFlags = v; }},
    {"nPowerView[0]", 1116, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nPowerView[0] = Signed(v); }},
    {"nPowerView[1]", 1120, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nPowerView[1] = Signed(v); }},
    {"nPowerView[2]", 1124, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nPowerView[2] = Signed(v); }},
    {"nChartChannel[0]", 1128, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nChartChannel[0] = Signed(v); }},
    {"nChartChannel[4]", 1144, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nChartChannel[4] = Signed(v); }},
    {"bChartChannelOn[0]", 1148,
     [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.bChartChannelOn[0] = Signed(v); }},
    {"bChartChannelOn[4]", 1164,
     [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.bChartChannelOn[4] = Signed(v); }},
    {"nLineWidth", 1168, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nLineWidth = Signed(v); }},
    {"bAutoRecord", 1172, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.bAutoRecord = Signed(v); }},
    {"nRecordInterval", 1176, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nRecordInterval = Signed(v); }},
    {"nRefreshInterval", 1180, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nRefreshInterval = Signed(v); }},
    {"nChartColor[0]", 1184, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nChartColor[0] = v; }},
    {"nChartColor[4]", 1200, [](_tagSTRUCT_SETTINGS& s, uint32_t v) { s.nChartColor[4] = v; }},
};

// Each field alone, set in an otherwise zero record, lands in the stored image at its offset, little-endian,
// and nowhere else.
TEST(SettingsRecord, EveryFieldAtItsOffsetInTheStoredImage) {
    constexpr uint32_t kValue = 0xF1E2D3C4;
    for (const FieldCase& field : kFields) {
        _tagSTRUCT_SETTINGS record{};
        field.set(record, kValue);
        const std::string letters = EncodeSettings(record);
        ASSERT_EQ(letters.size(), 2408u);
        EXPECT_EQ(WordAt(letters, field.offset), kValue) << field.name;
        std::string others = letters;
        others.replace(2 * field.offset, 8, 8, 'A');
        EXPECT_EQ(others, std::string(2408, 'A')) << field.name << " touches other bytes";
    }
}

TEST(SettingsRecord, BuiltInValues) {
    const _tagSTRUCT_SETTINGS s = DefaultSettings();
    EXPECT_EQ(s.nColorBack, 0x00A89486u);
    EXPECT_EQ(s.nColorText, 0x00000000u);
    EXPECT_EQ(s.nColorParam, 0x00FF0000u);
    EXPECT_EQ(s.nDevAddress, 1);
    EXPECT_EQ(s.nTcpPort, 502);
    EXPECT_EQ(s.nIpAddress, 0x7F000001u);
    EXPECT_EQ(std::u16string(s.szPort, 260), std::u16string(260, u'\0'));
    EXPECT_EQ(s.nBaudIndex, 0);
    EXPECT_EQ(s.nDataBitsIndex, 1);
    EXPECT_EQ(s.nParityIndex, 0);
    EXPECT_EQ(s.nStopBitsIndex, 1);
    EXPECT_EQ(s.nProtocol, 0);
    EXPECT_EQ(s.nTimeout, 500);
    EXPECT_EQ(s.nRetries, 3);
    EXPECT_EQ(s.bTopMost, 0);
    EXPECT_EQ(s.bAutoStart, 0);
    EXPECT_EQ(s.nTheme, 1) << "the styled theme";
    EXPECT_EQ(s.bPassword, 0) << "no password protection";
    EXPECT_EQ(std::u16string(s.szPassword, 260), std::u16string(260, u'\0'));
    EXPECT_EQ(s.bAutoConnect, 0);
    EXPECT_EQ(s.nPasswordFlags, 0u);
    EXPECT_EQ((std::vector<int32_t>(s.nPowerView, s.nPowerView + 3)), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ((std::vector<int32_t>(s.nChartChannel, s.nChartChannel + 5)), std::vector<int32_t>(5, 0));
    EXPECT_EQ((std::vector<int32_t>(s.bChartChannelOn, s.bChartChannelOn + 5)), std::vector<int32_t>(5, 0));
    EXPECT_EQ(s.nLineWidth, 1);
    EXPECT_EQ(s.bAutoRecord, 0);
    EXPECT_EQ(s.nRecordInterval, 1);
    EXPECT_EQ(s.nRefreshInterval, 10);
    EXPECT_EQ((std::vector<uint32_t>(s.nChartColor, s.nChartColor + 5)),
              (std::vector<uint32_t>{0x0043B251, 0x003034DC, 0x0030AFE3, 0x00EBE743, 0x00393A6F}));
}

}  // namespace
}  // namespace qav::settings
