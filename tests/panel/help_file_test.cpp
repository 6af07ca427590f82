// Finding the operator's guide beside the program.
#include "help_file.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace qav::panel {
namespace {

TEST(HelpFile, FoundOnlyWhenThere) {
    test::TempDir dir;
    EXPECT_TRUE(HelpFileUrl(dir.Path()).isEmpty());

    std::filesystem::create_directory(dir / "CPL_QAV510.html");  // not a file
    EXPECT_TRUE(HelpFileUrl(dir.Path()).isEmpty());
    std::filesystem::remove(dir / "CPL_QAV510.html");

    test::WriteBytes(dir / "CPL_QAV510.html", "<html></html>");
    const QUrl url = HelpFileUrl(dir.Path());
    EXPECT_TRUE(url.isLocalFile());
    EXPECT_EQ(url.toLocalFile().toStdString(), (dir / "CPL_QAV510.html").string());
}

TEST(HelpFile, ProgramFolderIsTheExecutablesFolder) {
    EXPECT_EQ(ProgramFolder(), std::filesystem::read_symlink("/proc/self/exe").parent_path());
}

}  // namespace
}  // namespace qav::panel
