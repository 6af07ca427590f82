// The About box's numbered texts.
#include "about_texts.h"

#include <gtest/gtest.h>

namespace qav::panel {
namespace {

TEST(AboutTexts, Firmware) {
    EXPECT_EQ(FirmwareRangeText(5, 15), QStringLiteral("Версия прошивки с 5 по 15"));
}

TEST(AboutTexts, Program) {
    EXPECT_EQ(ProgramVersionText({1, 0}), QStringLiteral("Версия программы 1.0"));
    EXPECT_EQ(ProgramVersionText({2, 13}), QStringLiteral("Версия программы 2.13"));
}

// The version the program reports is the one the project is built as.
TEST(AboutTexts, CurrentVersionIsTheProjects) {
    const ProgramVersion v = CurrentProgramVersion();
    EXPECT_EQ(v.major, QAV_PROJECT_VERSION_MAJOR);
    EXPECT_EQ(v.minor, QAV_PROJECT_VERSION_MINOR);
}

}  // namespace
}  // namespace qav::panel
