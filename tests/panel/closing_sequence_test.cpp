// The closing sequence's decisions, answered by the scripted prompt.
#include "closing_sequence.h"

#include <gtest/gtest.h>

#include <string>

#include "scripted_prompt.h"

namespace qav::panel {
namespace {

using platform::PromptAnswer;

TEST(ClosingSequence, Question) {
    const platform::PromptRequest q = ExitWhileConnectedQuestion();
    EXPECT_EQ(q.text, QStringLiteral(
                          "Внимание: КАВ подключен, вы действительно хотите выйти и разорвать соединение?"));
    EXPECT_EQ(q.caption, QStringLiteral("Внимание"));
    EXPECT_EQ(q.icon, platform::PromptIcon::Warning);
    EXPECT_EQ(q.buttons, platform::PromptButtons::YesNo);
    EXPECT_TRUE(q.topMost);
}

struct Case {
    const char* name;
    bool connected;
    std::optional<PromptAnswer> answer;  // nothing: no question expected
    ClosingDecision decision;
    std::string steps;  // R recorder ended, C connection asked, D disconnected
};

TEST(ClosingSequence, Decisions) {
    const Case cases[] = {
        {"not connected", false, std::nullopt, ClosingDecision::Close, "RC"},
        {"connected, Yes", true, PromptAnswer::Yes, ClosingDecision::Close, "RCD"},
        {"connected, No", true, PromptAnswer::No, ClosingDecision::KeepRunning, "RC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScriptedPrompt prompt;
        if (c.answer) {
            prompt.Script({*c.answer});
        }
        std::string steps;
        const ClosingSteps closing{[&] { steps += 'R'; },
                                   [&] {
                                       steps += 'C';
                                       return c.connected;
                                   },
                                   [&] { steps += 'D'; }};
        EXPECT_EQ(RunClosingSequence(closing, prompt), c.decision);
        EXPECT_EQ(steps, c.steps);
        ASSERT_EQ(prompt.Calls().size(), c.answer ? 1u : 0u);
        if (c.answer) {
            EXPECT_EQ(prompt.Calls()[0], ExitWhileConnectedQuestion());
        }
        EXPECT_EQ(prompt.Unused(), 0u);
    }
}

TEST(ClosingSequence, WithoutARecorder) {
    test::ScriptedPrompt prompt;
    bool disconnected = false;
    const ClosingSteps closing{{}, [] { return false; }, [&] { disconnected = true; }};
    EXPECT_EQ(RunClosingSequence(closing, prompt), ClosingDecision::Close);
    EXPECT_FALSE(disconnected);
}

}  // namespace
}  // namespace qav::panel
