// Choice of the program root from the environment and the executable's folder.
#include "program_root.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "temp_dir.h"

namespace qav::platform {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

TEST(ProgramRoot, ChoiceInOrder) {
    TempDir dir;
    const fs::path exe = dir / "bin";
    fs::create_directory(exe);
    const fs::path missingExe = dir / "gone";
    const std::string xdg = (dir / "xdg").string();
    const std::string home = (dir / "home").string();
    const struct {
        const char* name;
        ProgramRootInputs inputs;
        fs::path root;
    } cases[] = {
        {"QAV510_HOME first, even beside a writable executable",
         {(dir / "qh").string(), exe, xdg, home},
         dir / "qh"},
        {"writable executable folder", {"", exe, xdg, home}, exe},
        {"executable folder not writable: XDG data home",
         {"", missingExe, xdg, home},
         fs::path(xdg) / "CPL_QAV510"},
        {"executable folder unknown", {"", "", xdg, home}, fs::path(xdg) / "CPL_QAV510"},
        {"no XDG_DATA_HOME: ~/.local/share",
         {"", missingExe, "", home},
         fs::path(home) / ".local/share/CPL_QAV510"},
        {"relative XDG_DATA_HOME is ignored",
         {"", missingExe, "relative/data", home},
         fs::path(home) / ".local/share/CPL_QAV510"},
        {"no home at all: the executable folder for reading", {"", missingExe, "", ""}, missingExe},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResolveProgramRoot(c.inputs), c.root) << c.name;
        if (c.root != missingExe) {
            EXPECT_TRUE(fs::is_directory(c.root)) << c.name << ": created";
        }
    }
    EXPECT_FALSE(fs::exists(missingExe));
}

TEST(ProgramRoot, ReadOnlyExecutableFolderIsPassedOver) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write into any folder";
    }
    TempDir dir;
    const fs::path exe = dir / "bin";
    fs::create_directory(exe);
    ASSERT_EQ(::chmod(exe.c_str(), 0555), 0);
    const std::string xdg = (dir / "xdg").string();
    EXPECT_EQ(ResolveProgramRoot({"", exe, xdg, ""}), fs::path(xdg) / "CPL_QAV510");
}

TEST(ProgramRoot, ProfileLiesInTheRootNamedByTheEnvironment) {
    TempDir dir;
    const char* old = std::getenv("QAV510_HOME");
    const std::string saved = old != nullptr ? old : "";
    ::setenv("QAV510_HOME", (dir / "root").c_str(), 1);
    const fs::path profile = ProfilePath();
    if (old != nullptr) {
        ::setenv("QAV510_HOME", saved.c_str(), 1);
    } else {
        ::unsetenv("QAV510_HOME");
    }
    EXPECT_EQ(profile, dir / "root" / "CPL_QAV510.INI");
    EXPECT_TRUE(fs::is_directory(dir / "root"));
}

TEST(ProgramRoot, ExecutableFolderOfThisProcess) {
    const ProgramRootInputs inputs = CurrentProgramRootInputs();
    EXPECT_TRUE(fs::exists(inputs.executableFolder / "platform_tests"));
}

}  // namespace
}  // namespace qav::platform
