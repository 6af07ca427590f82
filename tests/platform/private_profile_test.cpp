// Private-profile files on disk: what a read finds, and that a write changes one key and nothing else.
#include "private_profile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <optional>
#include <string>
#include <thread>

#include "temp_dir.h"

namespace qav::platform {
namespace {

using test::FileBytes;
using test::TempDir;
using test::WriteBytes;

std::string Crlf(const std::string& lf) {
    std::string out;
    for (const char c : lf) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

// Every case runs on the file as written and again with CRLF line ends.
enum class LineEnds { Lf, Crlf };

void PrintTo(LineEnds ends, std::ostream* out) {
    *out << (ends == LineEnds::Lf ? "LF" : "CRLF");
}

std::string WithLineEnds(const std::string& lf, LineEnds ends) {
    return ends == LineEnds::Lf ? lf : Crlf(lf);
}

class ProfileFiles : public testing::TestWithParam<LineEnds> {
protected:
    std::string Text(const std::string& lf) const { return WithLineEnds(lf, GetParam()); }
    TempDir dir_;
    const std::filesystem::path file_ = dir_ / "CPL_QAV510.INI";
};

INSTANTIATE_TEST_SUITE_P(LineEnds, ProfileFiles, testing::Values(LineEnds::Lf, LineEnds::Crlf),
                         [](const auto& p) { return p.param == LineEnds::Lf ? "Lf" : "Crlf"; });

const std::string kProfile =
    "; written by hand\n"
    "top=0\n"
    "[Window]\n"
    "left = 10\n"
    "system=WRONG SECTION\n"
    "\n"
    "[settings]\n"
    ";system=COMMENTED\n"
    "  System  =  LETTERS  \n"
    "url=http://host/?a=1&b=2\n"
    "quoted=\" padded \"\n"
    "empty=\n"
    "noequals\n"
    "system=SECOND\n"
    "; last comment\n"
    "\n"
    "[ Last ]\n"
    "x=y";

struct ReadCase {
    const char* name;
    const char* section;
    const char* key;
    std::optional<std::string> value;
};

TEST_P(ProfileFiles, ReadsKeysAsTheDesktopServicesDo) {
    const ReadCase cases[] = {
        {"blanks around name and value trimmed; first of two keys", "settings", "system", "LETTERS"},
        {"names without regard to letter case", "SETTINGS", "sYsTeM", "LETTERS"},
        {"value keeps every '=' after the first", "settings", "url", "http://host/?a=1&b=2"},
        {"one pair of enclosing quotes removed", "settings", "quoted", " padded "},
        {"present but empty", "settings", "empty", ""},
        {"line without '=' is no key", "settings", "noequals", std::nullopt},
        {"comment is no key", "settings", ";system", std::nullopt},
        {"section name trimmed; last line without line end", "last", "X", "y"},
        {"key of another section", "Window", "system", "WRONG SECTION"},
        {"key before any section belongs to none", "", "top", std::nullopt},
        {"missing key", "settings", "left", std::nullopt},
        {"missing section", "nowhere", "system", std::nullopt},
    };
    WriteBytes(file_, Text(kProfile));
    for (const ReadCase& c : cases) {
        EXPECT_EQ(ReadProfileString(file_, c.section, c.key), c.value) << c.name;
    }
}

TEST_P(ProfileFiles, ReadsAfterAByteOrderMark) {
    WriteBytes(file_, "\xEF\xBB\xBF" + Text("[settings]\nsystem=ABC\n"));
    EXPECT_EQ(ReadProfileString(file_, "settings", "system"), "ABC");
}

TEST(ProfileRead, MissingOrUnreadableFileHasNoKeys) {
    TempDir dir;
    EXPECT_EQ(ReadProfileString(dir / "absent.INI", "settings", "system"), std::nullopt);
    EXPECT_EQ(ReadProfileString(dir / "no-folder" / "x.INI", "settings", "system"), std::nullopt);
    EXPECT_EQ(ReadProfileString(dir.Path(), "settings", "system"), std::nullopt);
}

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

const std::string kTwoSections =
    "; profile\n"
    "[Window]\n"
    "left = 10\n"
    "\n"
    "[settings]\n"
    "  System = OLD  \n"
    "other=1\n"
    "; note\n"
    "\n"
    "\n"
    "[last]\n"
    "x=y\n";

TEST_P(ProfileFiles, WriteChangesOneKeyAndKeepsEveryOtherByte) {
    const WriteCase cases[] = {
        {"existing key: text up to the value kept, names matched without case", kTwoSections, "SETTINGS",
         "system", "NEW",
         "; profile\n[Window]\nleft = 10\n\n[settings]\n  System = NEW\nother=1\n; note\n\n\n[last]\nx=y\n"},
        {"value with '='", kTwoSections, "Window", "left", "a=b",
         "; profile\n[Window]\nleft = a=b\n\n[settings]\n  System = OLD  \nother=1\n; "
         "note\n\n\n[last]\nx=y\n"},
        {"new key after the section's last non-blank line", kTwoSections, "settings", "added", "5",
         "; profile\n[Window]\nleft = 10\n\n[settings]\n  System = OLD  \nother=1\n; note\nadded=5\n\n\n"
         "[last]\nx=y\n"},
        {"new key in the last section", kTwoSections, "last", "z", "", kTwoSections + "z=\n"},
        {"new section at the end", kTwoSections, "fresh", "k", "v", kTwoSections + "[fresh]\nk=v\n"},
        {"new section after a last line without line end", "[a]\nb=c", "settings", "system", "X",
         "[a]\nb=c\n[settings]\nsystem=X\n"},
        {"new key after a last line without line end", "[a]\nb=c", "A", "d", "e", "[a]\nb=c\nd=e\n"},
        {"key of an empty section", "[a]\n[b]\n", "a", "k", "1", "[a]\nk=1\n[b]\n"},
        {"only the first of two keys", "[s]\nk=1\nk=2\n", "s", "k", "3", "[s]\nk=3\nk=2\n"},
        {"byte-order mark kept", "\xEF\xBB\xBF[s]\nk=1\n", "s", "k", "2", "\xEF\xBB\xBF[s]\nk=2\n"},
    };
    for (const WriteCase& c : cases) {
        WriteBytes(file_, Text(c.before));
        EXPECT_TRUE(WriteProfileString(file_, c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(FileBytes(file_), Text(c.after)) << c.name;
        EXPECT_EQ(ReadProfileString(file_, c.section, c.key), c.value) << c.name;
    }
}

TEST(ProfileWrite, NewLinesFollowTheFirstLineEndOfTheFile) {
    TempDir dir;
    const auto file = dir / "p.INI";
    WriteBytes(file, "[a]\r\nb=c\nd=e\n");
    ASSERT_TRUE(WriteProfileString(file, "n", "k", "v"));
    EXPECT_EQ(FileBytes(file), "[a]\r\nb=c\nd=e\n[n]\r\nk=v\r\n");

    WriteBytes(file, "[a]");
    ASSERT_TRUE(WriteProfileString(file, "a", "k", "v"));
    EXPECT_EQ(FileBytes(file), "[a]\r\nk=v\r\n");
}

TEST(ProfileWrite, CreatesAMissingFileWithCrlf) {
    TempDir dir;
    const auto file = dir / "new.INI";
    ASSERT_TRUE(WriteProfileString(file, "settings", "system", "AB"));
    ASSERT_TRUE(WriteProfileString(file, "settings", "other", "1"));
    EXPECT_EQ(FileBytes(file), "[settings]\r\nsystem=AB\r\nother=1\r\n");
}

TEST(ProfileWrite, RefusesWhatWouldNotReadBackAndLeavesTheFile) {
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } refused[] = {
        {"", "k", "v"},   {"s]", "k", "v"},  {"s\n", "k", "v"},    {" s", "k", "v"},
        {"s", "", "v"},   {"s", "k=", "v"},  {"s", "[k", "v"},     {"s", ";k", "v"},
        {"s", "k ", "v"}, {"s", "k\r", "v"}, {"s", "k", "v\nx=1"}, {"s", "k", "v\r"},
    };
    TempDir dir;
    const auto file = dir / "p.INI";
    const std::string before = "[s]\r\nk=old\r\n";
    WriteBytes(file, before);
    for (const auto& r : refused) {
        EXPECT_FALSE(WriteProfileString(file, r.section, r.key, r.value))
            << '[' << r.section << "] " << r.key << '=' << r.value;
    }
    EXPECT_EQ(FileBytes(file), before);
}

TEST(ProfileWrite, FailsWithoutAFolderOrOnAFolder) {
    TempDir dir;
    EXPECT_FALSE(WriteProfileString(dir / "missing" / "p.INI", "s", "k", "v"));
    std::filesystem::create_directory(dir / "folder.INI");
    EXPECT_FALSE(WriteProfileString(dir / "folder.INI", "s", "k", "v"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.INI"));
}

// The files of a folder other than `keep`; temporary files left behind show up here.
std::vector<std::string> OtherFiles(const TempDir& dir, const std::string& keep) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        if (entry.path().filename() != keep) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

TEST(ProfileWrite, AFailedWriteLeavesTheOldFileWhole) {
    TempDir dir;
    const auto file = dir / "p.INI";
    const std::string before = "[settings]\r\nsystem=" + std::string(2408, 'A') + "\r\n";
    WriteBytes(file, before);

    // The disk "fills up" while the new content is written: file size limited below it.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteProfileString(file, "settings", "system", std::string(2408, 'P'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(FileBytes(file), before);
    EXPECT_TRUE(OtherFiles(dir, "p.INI").empty());
}

TEST(ProfileWrite, KeepsPermissionsAndWritesThroughALink) {
    TempDir dir;
    const auto file = dir / "real.INI";
    WriteBytes(file, "[s]\nk=1\n");
    ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
    std::filesystem::create_symlink(file, dir / "link.INI");

    ASSERT_TRUE(WriteProfileString(dir / "link.INI", "s", "k", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.INI"));
    EXPECT_EQ(FileBytes(file), "[s]\nk=2\n");
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(OtherFiles(dir, "real.INI"), std::vector<std::string>{"link.INI"});
}

TEST(ProfileWrite, ConcurrentWritersOfDifferentKeysKeepBoth) {
    TempDir dir;
    const auto file = dir / "p.INI";
    constexpr int kWrites = 100;
    auto writer = [&](const char* key) {
        for (int i = 1; i <= kWrites; ++i) {
            EXPECT_TRUE(WriteProfileString(file, "s", key, std::to_string(i)));
        }
    };
    std::thread a(writer, "a");
    std::thread b(writer, "b");
    a.join();
    b.join();
    EXPECT_EQ(ReadProfileString(file, "s", "a"), std::to_string(kWrites));
    EXPECT_EQ(ReadProfileString(file, "s", "b"), std::to_string(kWrites));
}

}  // namespace
}  // namespace qav::platform
