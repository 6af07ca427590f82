// The command line: only the first argument counts, compared exactly.
#include "command_line.h"

#include <gtest/gtest.h>

namespace qav::panel {
namespace {

struct Case {
    QStringList arguments;  // after the program
    bool copies;
    bool debug;
    bool usage;
};

TEST(CommandLine, FirstArgumentDecides) {
    const Case cases[] = {
        {{}, false, false, false},
        {{"-copy"}, true, false, false},
        {{"-debug"}, false, true, false},
        {{"-COPY"}, false, false, true},
        {{"-Debug"}, false, false, true},
        {{"-copy", "-x"}, true, false, false},
        {{"-debug", "-copy"}, false, true, false},
        {{"-x", "-copy"}, false, false, true},
        {{"copy"}, false, false, true},
        {{"-copy "}, false, false, true},
        {{"--copy"}, false, false, true},
        {{""}, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CommandLine parsed = ParseCommandLine(QStringList{"/opt/qav/CPL_QAV510"} + c.arguments);
        EXPECT_EQ(parsed.copiesAllowed, c.copies);
        EXPECT_EQ(parsed.debug, c.debug);
        EXPECT_EQ(parsed.showUsage, c.usage);
    }
}

TEST(CommandLine, NoArgumentsAtAllIsANormalStart) {
    const CommandLine parsed = ParseCommandLine({});
    EXPECT_FALSE(parsed.copiesAllowed || parsed.debug || parsed.showUsage);
}

TEST(CommandLine, UsageBox) {
    const platform::PromptRequest box = UsageBox();
    EXPECT_EQ(
        box.text,
        QStringLiteral("Использование:\r\n     cpl_qav510.exe [-комманда]\r\n\r\nКомманды:\r\n     -copy : "
                       "позволяет запускать несколько копий программы;\r\n     -debug : активировать "
                       "режим отладки;\r\n"));
    EXPECT_EQ(box.caption, QStringLiteral("CPL_QAV510"));
    EXPECT_EQ(box.icon, platform::PromptIcon::Information);
    EXPECT_EQ(box.buttons, platform::PromptButtons::Ok);
}

}  // namespace
}  // namespace qav::panel
