// The settings record in a profile on disk: its letters, what is taken, what is ignored, what is kept.
#include "settings_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "private_profile.h"
#include "settings_letters.h"
#include "temp_dir.h"

namespace qav::settings {
namespace {

using qav::test::FileBytes;
using qav::test::TempDir;
using qav::test::WriteBytes;
using test::Letters;

// A record whose bytes are all different from their neighbours, so that any shift or swap shows.
_tagSTRUCT_SETTINGS Patterned() {
    unsigned char bytes[sizeof(_tagSTRUCT_SETTINGS)];
    for (std::size_t i = 0; i < sizeof bytes; ++i) {
        bytes[i] = static_cast<unsigned char>(i * 37 + 11);
    }
    _tagSTRUCT_SETTINGS record;
    std::memcpy(&record, bytes, sizeof record);
    return record;
}

TEST(SettingsLetters, LowFourBitsFirstAndRoundTrip) {
    _tagSTRUCT_SETTINGS record{};
    record.nColorBack = 0x4B;
    const std::string letters = EncodeSettings(record);
    EXPECT_EQ(letters.substr(0, 8), "LEAAAAAA");

    const _tagSTRUCT_SETTINGS patterned = Patterned();
    const std::string encoded = EncodeSettings(patterned);
    ASSERT_EQ(encoded.size(), 2408u);
    EXPECT_EQ(encoded.find_first_not_of("ABCDEFGHIJKLMNOP"), std::string::npos);
    EXPECT_EQ(DecodeSettings(encoded), patterned);
}

TEST(SettingsLetters, PortTextAtItsPlace) {
    _tagSTRUCT_SETTINGS record{};
    std::u16string_view(u"COM3").copy(record.szPort, 4);
    const std::string letters = EncodeSettings(record);
    EXPECT_EQ(letters.substr(48, 4), "DEAA") << "the unit 0x0043 as the bytes 0x43, 0x00";
    EXPECT_EQ(letters.substr(48, 20), "DEAAPEAANEAADDAAAAAA");
}

TEST(SettingsLetters, ValuesOfOtherSizesOrWithOtherCharactersAreNotRecords) {
    const std::string good = EncodeSettings(Patterned());
    std::string withQ = good;
    withQ[1000] = 'Q';
    std::string lower = good;
    lower[7] = 'a';
    std::string digit = good;
    digit[2407] = '0';
    const struct {
        const char* name;
        std::string letters;
    } cases[] = {
        {"1203 bytes", good.substr(0, 2406)},
        {"1205 bytes", good + "AB"},
        {"odd number of letters", good.substr(0, 2407)},
        {"empty", ""},
        {"letter past P", withQ},
        {"small letter", lower},
        {"digit", digit},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeSettings(c.letters), std::nullopt) << c.name;
    }
}

TEST(SettingsProfile, SaveKeepsTheRestOfTheProfileAndLoadsBack) {
    TempDir dir;
    const auto profile = dir / "CPL_QAV510.INI";
    const std::string head = "; operator's notes\r\n[Recent]\r\nFile1=/tmp/a.qav510\r\n\r\n[settings]\r\n";
    const std::string tail = "\r\nother=keep\r\n";
    WriteBytes(profile, head + "system=OLD" + tail);

    const _tagSTRUCT_SETTINGS record = Patterned();
    ASSERT_TRUE(SaveSettings(profile, record));
    EXPECT_EQ(FileBytes(profile), head + "system=" + EncodeSettings(record) + tail);
    EXPECT_EQ(LoadSettings(profile), record);
}

TEST(SettingsProfile, NothingStoredWithoutFileSectionOrKey) {
    TempDir dir;
    EXPECT_EQ(LoadSettings(dir / "absent.INI"), std::nullopt);
    WriteBytes(dir / "other.INI", "[other]\r\nsystem=" + EncodeSettings(DefaultSettings()) + "\r\n");
    EXPECT_EQ(LoadSettings(dir / "other.INI"), std::nullopt);
    WriteBytes(dir / "nokey.INI", "[settings]\r\nsys=" + EncodeSettings(DefaultSettings()) + "\r\n");
    EXPECT_EQ(LoadSettings(dir / "nokey.INI"), std::nullopt);
    WriteBytes(dir / "empty.INI", "[settings]\r\nsystem=\r\n");
    EXPECT_EQ(LoadSettings(dir / "empty.INI"), std::nullopt);
}

TEST(SettingsProfile, WrongSizesAndDamagedValuesAreIgnored) {
    TempDir dir;
    const auto profile = dir / "CPL_QAV510.INI";
    const std::string good = EncodeSettings(Patterned());
    for (const std::string& value : {good.substr(0, 2406), good + "AA", good.substr(0, 2407) + "Z"}) {
        WriteBytes(profile, "[settings]\r\nsystem=" + value + "\r\n");
        EXPECT_EQ(LoadSettings(profile), std::nullopt) << value.size() << " letters";
    }
}

// A profile written by hand or by another program, with its own spelling, spacing and line ends.
TEST(SettingsProfile, ForeignProfileIsTakenAsItStands) {
    std::vector<uint8_t> bytes(1204, 0);
    auto put = [&](std::size_t offset, uint32_t value) {
        for (std::size_t i = 0; i < 4; ++i) {
            bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
        }
    };
    put(12, 17);             // nDevAddress
    put(20, 0xC0A80A05);     // nIpAddress 192.168.10.5
    put(24, 0x004F0043);     // szPort "CO"
    put(28, 0x0037004D);     // "M7"
    put(564, 1000);          // nTimeout
    put(584, 1);             // bPassword
    put(588, 0x00000051);    // szPassword "Q"
    put(1112, 0x10 | 0x04);  // nPasswordFlags
    put(1176, 60);           // nRecordInterval
    put(1200, 0x00123456);   // nChartColor[4]
    const std::string text =
        "\xEF\xBB\xBF; exported by the plant's configuration tool\r\n"
        "[SETTINGS]\r\n"
        "  System = " +
        Letters(bytes) +
        "\r\n"
        "[Other]\r\n"
        "system=AAAA\r\n";
    TempDir dir;
    const auto profile = dir / "CPL_QAV510.INI";
    WriteBytes(profile, text);

    const std::optional<_tagSTRUCT_SETTINGS> loaded = LoadSettings(profile);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->nDevAddress, 17);
    EXPECT_EQ(loaded->nIpAddress, 0xC0A80A05u);
    EXPECT_EQ(std::u16string(loaded->szPort), u"COM7");
    EXPECT_EQ(loaded->nTimeout, 1000);
    EXPECT_EQ(loaded->bPassword, 1);
    EXPECT_EQ(std::u16string(loaded->szPassword), u"Q");
    EXPECT_EQ(loaded->nPasswordFlags, 0x14u);
    EXPECT_EQ(loaded->nRecordInterval, 60);
    EXPECT_EQ(loaded->nChartColor[4], 0x00123456u);
    EXPECT_EQ(loaded->nTheme, 0) << "a zero in the stored image stays zero, not the built-in 1";
    EXPECT_EQ(FileBytes(profile), text) << "reading never writes";
}

}  // namespace
}  // namespace qav::settings
