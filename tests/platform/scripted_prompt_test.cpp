// The scripted prompt that tests of the program's messages rely on.
#include "scripted_prompt.h"

#include <gtest/gtest-spi.h>

namespace qav::test {
namespace {

using platform::PromptAnswer;
using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;

const PromptRequest kInfo{"Готово.", "КАВ-510", PromptIcon::Information, PromptButtons::Ok};
const PromptRequest kQuestion{"Повторить?", "Ошибка", PromptIcon::Error, PromptButtons::YesNo, 0, true};
const PromptRequest kTriple{
    "Ошибка сохранения", "Внимание", PromptIcon::Warning, PromptButtons::CancelTryContinue, 1, true};

TEST(ScriptedPrompt, RecordsEveryBoxAndAnswersChoicesInOrder) {
    ScriptedPrompt prompt;
    prompt.Script({PromptAnswer::No, PromptAnswer::Continue});
    EXPECT_EQ(prompt.Ask(kInfo), PromptAnswer::Ok);
    EXPECT_EQ(prompt.Ask(kQuestion), PromptAnswer::No);
    EXPECT_EQ(prompt.Ask(kTriple), PromptAnswer::Continue);
    EXPECT_EQ(prompt.Calls(), (std::vector<PromptRequest>{kInfo, kQuestion, kTriple}));
    EXPECT_EQ(prompt.Unused(), 0u);
}

TEST(ScriptedPrompt, UnexpectedBoxesFailTheTest) {
    ScriptedPrompt prompt;
    PromptAnswer answer{};
    EXPECT_NONFATAL_FAILURE(answer = prompt.Ask(kTriple), "unscripted prompt");
    EXPECT_EQ(answer, PromptAnswer::TryAgain) << "the default button";

    prompt.Script({PromptAnswer::Retry});
    EXPECT_NONFATAL_FAILURE(prompt.Ask(kQuestion), "is not a button of");
}

}  // namespace
}  // namespace qav::test
