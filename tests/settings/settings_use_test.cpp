// Damaged or hand-edited settings are harmless where they are used, and stay in the record as they were.
#include "settings_use.h"

#include <gtest/gtest.h>

#include <climits>

#include "settings_store.h"
#include "shared_settings.h"
#include "temp_dir.h"

namespace qav::settings {
namespace {

using qav::test::TempDir;

TEST(SettingsUse, TextsEndAtTheirFirstNulOrTheirBuffer) {
    _tagSTRUCT_SETTINGS s = DefaultSettings();
    EXPECT_EQ(PortText(s), u"");
    EXPECT_EQ(PasswordText(s), u"");

    std::fill(std::begin(s.szPort), std::end(s.szPort), u'X');  // no NUL anywhere
    std::fill(std::begin(s.szPassword), std::end(s.szPassword), u'p');
    s.bAutoConnect = 0x00000041;  // what follows the password buffer is not taken as text
    EXPECT_EQ(PortText(s), std::u16string(260, u'X'));
    EXPECT_EQ(PasswordText(s), std::u16string(260, u'p'));

    s.szPort[4] = u'\0';
    s.szPassword[0] = u'\0';
    EXPECT_EQ(PortText(s), u"XXXX");
    EXPECT_EQ(PasswordText(s), u"");
}

struct ClampCase {
    const char* name;
    void (*store)(_tagSTRUCT_SETTINGS&, int32_t);
    int64_t (*use)(const _tagSTRUCT_SETTINGS&);
    std::vector<std::pair<int32_t, int64_t>> storedToUsed;
};

TEST(SettingsUse, EveryNumberBoundedToWhatItsUserTakes) {
    const ClampCase cases[] = {
        {"RecordIntervalSeconds",
         [](auto& s, int32_t v) { s.nRecordInterval = v; },
         [](const auto& s) -> int64_t { return RecordIntervalSeconds(s); },
         {{INT_MIN, 1},
          {-5, 1},
          {0, 1},
          {1, 1},
          {3600, 3600},
          {86400, 86400},
          {86401, 86400},
          {INT_MAX, 86400}}},
        {"RefreshIntervalSeconds",
         [](auto& s, int32_t v) { s.nRefreshInterval = v; },
         [](const auto& s) -> int64_t { return RefreshIntervalSeconds(s); },
         {{-1, 1}, {0, 1}, {10, 10}, {300, 300}, {301, 300}}},
        {"Timeout",
         [](auto& s, int32_t v) { s.nTimeout = v; },
         [](const auto& s) -> int64_t { return Timeout(s); },
         {{INT_MIN, 1}, {-1, 1}, {0, 1}, {500, 500}, {60000, 60000}, {60001, 60000}, {INT_MAX, 60000}}},
        {"Retries",
         [](auto& s, int32_t v) { s.nRetries = v; },
         [](const auto& s) -> int64_t { return Retries(s); },
         {{INT_MIN, 0}, {-1, 0}, {0, 0}, {3, 3}, {10, 10}, {11, 10}, {INT_MAX, 10}}},
        {"DevAddress",
         [](auto& s, int32_t v) { s.nDevAddress = v; },
         [](const auto& s) -> int64_t { return DevAddress(s); },
         {{-1, 0}, {0, 0}, {1, 1}, {247, 247}, {255, 255}, {257, 255}}},
        {"TcpPort",
         [](auto& s, int32_t v) { s.nTcpPort = v; },
         [](const auto& s) -> int64_t { return TcpPort(s); },
         {{-502, 1}, {0, 1}, {502, 502}, {65535, 65535}, {65536, 65535}}},
        {"BaudIndex",
         [](auto& s, int32_t v) { s.nBaudIndex = v; },
         [](const auto& s) -> int64_t { return BaudIndex(s); },
         {{-1, 0}, {0, 0}, {1, 1}, {2, 0}, {INT_MAX, 0}}},
        {"DataBitsIndex",
         [](auto& s, int32_t v) { s.nDataBitsIndex = v; },
         [](const auto& s) -> int64_t { return DataBitsIndex(s); },
         {{INT_MIN, 1}, {0, 0}, {1, 1}, {8, 1}}},
        {"ParityIndex",
         [](auto& s, int32_t v) { s.nParityIndex = v; },
         [](const auto& s) -> int64_t { return ParityIndex(s); },
         {{-7, 0}, {1, 1}, {2, 0}}},
        {"StopBitsIndex",
         [](auto& s, int32_t v) { s.nStopBitsIndex = v; },
         [](const auto& s) -> int64_t { return StopBitsIndex(s); },
         {{-1, 1}, {0, 0}, {1, 1}, {2, 1}}},
        {"Protocol",
         [](auto& s, int32_t v) { s.nProtocol = v; },
         [](const auto& s) -> int64_t { return Protocol(s); },
         {{-1, 0}, {0, 0}, {1, 1}, {2, 0}}},
        {"Theme",
         [](auto& s, int32_t v) { s.nTheme = v; },
         [](const auto& s) -> int64_t { return Theme(s); },
         {{-1, 0}, {0, 0}, {1, 1}, {7, 0}}},
        {"PowerView(2)",
         [](auto& s, int32_t v) { s.nPowerView[2] = v; },
         [](const auto& s) -> int64_t { return PowerView(s, 2); },
         {{-1, 0}, {0, 0}, {17, 17}, {18, 17}, {INT_MAX, 17}}},
        {"ChartChannel(4)",
         [](auto& s, int32_t v) { s.nChartChannel[4] = v; },
         [](const auto& s) -> int64_t { return ChartChannel(s, 4); },
         {{-1, 0}, {0, 0}, {55, 55}, {56, 55}}},
        {"LineWidth",
         [](auto& s, int32_t v) { s.nLineWidth = v; },
         [](const auto& s) -> int64_t { return LineWidth(s); },
         {{0, 1}, {1, 1}, {5, 5}, {6, 5}}},
    };
    for (const ClampCase& c : cases) {
        for (const auto& [stored, used] : c.storedToUsed) {
            _tagSTRUCT_SETTINGS s = DefaultSettings();
            c.store(s, stored);
            const _tagSTRUCT_SETTINGS before = s;
            EXPECT_EQ(c.use(s), used) << c.name << " of " << stored;
            EXPECT_EQ(s, before) << c.name << " changed the record";
        }
    }
}

TEST(SettingsUse, SelectorsAndChannelsAreBoundedOneByOne) {
    _tagSTRUCT_SETTINGS s = DefaultSettings();
    s.nPowerView[0] = 99;
    s.nChartChannel[1] = -4;
    EXPECT_EQ(PowerView(s, 0), 17);
    EXPECT_EQ(PowerView(s, 1), 1);
    EXPECT_EQ(PowerView(s, 2), 2);
    EXPECT_EQ(ChartChannel(s, 0), 0);
    EXPECT_EQ(ChartChannel(s, 1), 0);
}

// A damaged record loads without harm, is used within bounds, and goes back to the profile byte for byte.
TEST(SettingsUse, DamagedRecordIsKeptAsStored) {
    _tagSTRUCT_SETTINGS damaged = DefaultSettings();
    std::fill(std::begin(damaged.szPort), std::end(damaged.szPort), u'Z');
    std::fill(std::begin(damaged.szPassword), std::end(damaged.szPassword), u'\xFFFF');
    damaged.nRecordInterval = 0;
    damaged.nRefreshInterval = -30;
    damaged.nTimeout = -1;
    damaged.nRetries = INT_MAX;
    damaged.nBaudIndex = 1'000'000;
    damaged.nPowerView[1] = INT_MIN;
    damaged.nChartChannel[3] = 4096;
    TempDir dir;
    const auto profile = dir / "CPL_QAV510.INI";
    ASSERT_TRUE(SaveSettings(profile, damaged));
    const std::string stored = EncodeSettings(damaged);

    SharedSettings settings(profile);
    ASSERT_TRUE(settings.Load());
    const _tagSTRUCT_SETTINGS s = settings.Snapshot();
    EXPECT_EQ(PortText(s).size(), 260u);
    EXPECT_EQ(PasswordText(s).size(), 260u);
    EXPECT_EQ(RecordIntervalSeconds(s), 1);
    EXPECT_EQ(RefreshIntervalSeconds(s), 1);
    EXPECT_EQ(Timeout(s), 1u);
    EXPECT_EQ(Retries(s), 10);
    EXPECT_EQ(BaudIndex(s), 0);  // the link runs at 9600 bit/s for any index but 1
    EXPECT_EQ(PowerView(s, 1), 0);
    EXPECT_EQ(ChartChannel(s, 3), 55);

    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(LoadSettings(profile), damaged);
    EXPECT_EQ(EncodeSettings(*LoadSettings(profile)), stored);
}

}  // namespace
}  // namespace qav::settings
