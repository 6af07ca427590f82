// The process-wide settings: first start, load, save, reset, and several threads at once.
#include "shared_settings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "private_profile.h"
#include "settings_store.h"
#include "temp_dir.h"

namespace qav::settings {
namespace {

using qav::test::FileBytes;
using qav::test::TempDir;
using qav::test::WriteBytes;

class SharedSettingsTest : public testing::Test {
protected:
    TempDir dir_;
    const std::filesystem::path profile_ = dir_ / "CPL_QAV510.INI";
};

TEST_F(SharedSettingsTest, FirstStartWithoutProfileHasTheBuiltInSettings) {
    SharedSettings settings(profile_);
    EXPECT_FALSE(settings.Load());
    EXPECT_EQ(settings.Snapshot(), DefaultSettings());
    EXPECT_FALSE(std::filesystem::exists(profile_)) << "loading creates nothing";
}

TEST_F(SharedSettingsTest, StoredValueOfTheWrongSizeLeavesTheRecordUntouched) {
    SharedSettings settings(profile_);
    settings.Update([](_tagSTRUCT_SETTINGS& s) { s.nDevAddress = 42; });
    const _tagSTRUCT_SETTINGS before = settings.Snapshot();
    const std::string letters = EncodeSettings(DefaultSettings());
    for (const std::string& value :
         {letters.substr(0, 2406), letters + "AA", letters.substr(0, 2407) + "q"}) {
        WriteBytes(profile_, "[settings]\r\nsystem=" + value + "\r\n");
        EXPECT_FALSE(settings.Load()) << value.size() << " letters";
        EXPECT_EQ(settings.Snapshot(), before);
    }
}

TEST_F(SharedSettingsTest, SaveAndLoadTheWholeRecord) {
    SharedSettings writer(profile_);
    writer.Update([](_tagSTRUCT_SETTINGS& s) {
        s.nDevAddress = 9;
        std::u16string_view(u"COM3").copy(s.szPort, 4);
        s.nChartColor[2] = 0x00102030;
    });
    ASSERT_TRUE(writer.Save());

    SharedSettings reader(profile_);
    ASSERT_TRUE(reader.Load());
    EXPECT_EQ(reader.Snapshot(), writer.Snapshot());
}

TEST_F(SharedSettingsTest, ResetChangesMemoryOnlyUntilTheNextSave) {
    SharedSettings settings(profile_);
    settings.Update([](_tagSTRUCT_SETTINGS& s) {
        s.bPassword = 1;
        s.nPasswordFlags = PASSWORD_ON_START;
    });
    ASSERT_TRUE(settings.Save());
    const std::string saved = FileBytes(profile_);

    settings.ResetToDefaults();
    EXPECT_EQ(settings.Snapshot(), DefaultSettings()) << "protection off at once";
    EXPECT_EQ(FileBytes(profile_), saved);

    // Any later writer stores the whole record, defaults included.
    settings.Update([](_tagSTRUCT_SETTINGS& s) { s.nChartColor[0] = 0x00ABCDEF; });
    ASSERT_TRUE(settings.Save());
    _tagSTRUCT_SETTINGS expected = DefaultSettings();
    expected.nChartColor[0] = 0x00ABCDEF;
    EXPECT_EQ(LoadSettings(profile_), expected);
}

TEST_F(SharedSettingsTest, SaveFailureIsReported) {
    SharedSettings settings(dir_ / "no-such-folder" / "CPL_QAV510.INI");
    EXPECT_FALSE(settings.Save());
}

// The database thread counts one field up while the user-interface thread counts another and both save: no
// change is lost, and a reader never sees a field half-written.
TEST_F(SharedSettingsTest, ConcurrentWritersLoseNothing) {
    SharedSettings settings(profile_);
    settings.Update([](_tagSTRUCT_SETTINGS& s) { s.nChartColor[1] = 0; });
    constexpr int kRounds = 2000;
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!done) {
            const uint32_t colour = settings.Snapshot().nChartColor[1];
            // The writer stores four equal bytes; anything else would be a mix of two writes.
            if (colour != (colour & 0xFF) * 0x01010101u) {
                ++torn;
            }
        }
    });
    auto count = [&](auto field, bool alsoColour) {
        for (int i = 1; i <= kRounds; ++i) {
            settings.Update([&](_tagSTRUCT_SETTINGS& s) {
                ++(s.*field)[0];
                if (alsoColour) {
                    s.nChartColor[1] = static_cast<uint32_t>(i & 0xFF) * 0x01010101u;
                }
            });
            if (i % 200 == 0) {
                EXPECT_TRUE(settings.Save());
            }
        }
    };
    std::thread database(count, &_tagSTRUCT_SETTINGS::nChartChannel, true);
    std::thread panel(count, &_tagSTRUCT_SETTINGS::nPowerView, false);
    database.join();
    panel.join();
    done = true;
    reader.join();

    const _tagSTRUCT_SETTINGS s = settings.Snapshot();
    EXPECT_EQ(s.nChartChannel[0], kRounds);
    EXPECT_EQ(s.nPowerView[0], kRounds);
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(LoadSettings(profile_), s) << "the last save holds the last record";
}

}  // namespace
}  // namespace qav::settings
