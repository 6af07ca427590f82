// The small-screen question.
#include "screen_check.h"

#include <gtest/gtest.h>

namespace qav::panel {
namespace {

TEST(ScreenCheck, AskedWhenEitherSideIsSmaller) {
    struct Case {
        QSize screen;
        bool asked;
    };
    const Case cases[] = {
        {{1024, 768}, false}, {{1920, 1080}, false}, {{1280, 720}, true}, {{1023, 768}, true},
        {{1024, 767}, true},  {{800, 600}, true},    {{2560, 700}, true}, {{0, 0}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.screen.width() << "x" << c.screen.height());
        EXPECT_EQ(SmallScreenQuestion(c.screen).has_value(), c.asked);
    }
}

TEST(ScreenCheck, Question) {
    const auto q = SmallScreenQuestion({1280, 720});
    ASSERT_TRUE(q.has_value());
    EXPECT_EQ(q->text, QStringLiteral("Внимание: текущее разрешение экрана (1280 x 720).\r\n\nДля комфортной "
                                      "работы необходимо разрешение (1024 x 768).\r\n\nВы всеравно хотите "
                                      "запустить программу?"));
    EXPECT_EQ(q->caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(q->icon, platform::PromptIcon::Warning);
    EXPECT_EQ(q->buttons, platform::PromptButtons::YesNo);
}

}  // namespace
}  // namespace qav::panel
