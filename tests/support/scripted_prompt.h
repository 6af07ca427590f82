// A Prompt for tests: records every box exactly as asked and answers from a script.
// Header-only; a test that includes it links qav_prompt (Qt Core).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <initializer_list>
#include <mutex>
#include <ostream>
#include <vector>

#include "prompt.h"

namespace qav::platform {

// Readable failure messages for requests compared in tests.
inline void PrintTo(const PromptRequest& r, std::ostream* out) {
    *out << "{text \"" << r.text.toStdString() << "\", caption \"" << r.caption.toStdString() << "\", icon "
         << static_cast<int>(r.icon) << ", buttons " << static_cast<int>(r.buttons) << ", default "
         << r.defaultButton << (r.topMost ? ", topmost}" : "}");
}

}  // namespace qav::platform

namespace qav::test {

// A box with a single button is answered with it without using the script. A box with a choice takes the next
// scripted answer; an unscripted box, or a scripted answer the box does not offer, fails the running test.
// Thread-safe, so code under test may ask from its worker threads.
class ScriptedPrompt final : public platform::Prompt {
public:
    void Script(std::initializer_list<platform::PromptAnswer> answers) {
        const std::lock_guard lock(mutex_);
        script_.insert(script_.end(), answers);
    }

    platform::PromptAnswer Ask(const platform::PromptRequest& request) override {
        const std::lock_guard lock(mutex_);
        calls_.push_back(request);
        const auto offered = platform::AnswersOf(request.buttons);
        if (offered.size() == 1) {
            return offered.front();
        }
        if (script_.empty()) {
            ADD_FAILURE() << "unscripted prompt: " << testing::PrintToString(request);
            return offered[static_cast<std::size_t>(
                std::clamp(request.defaultButton, 0, static_cast<int>(offered.size()) - 1))];
        }
        const platform::PromptAnswer answer = script_.front();
        script_.pop_front();
        if (std::find(offered.begin(), offered.end(), answer) == offered.end()) {
            ADD_FAILURE() << "scripted answer " << static_cast<int>(answer)
                          << " is not a button of: " << testing::PrintToString(request);
        }
        return answer;
    }

    // Every box asked so far, in order.
    std::vector<platform::PromptRequest> Calls() const {
        const std::lock_guard lock(mutex_);
        return calls_;
    }

    // Scripted answers not used yet.
    std::size_t Unused() const {
        const std::lock_guard lock(mutex_);
        return script_.size();
    }

private:
    mutable std::mutex mutex_;
    std::deque<platform::PromptAnswer> script_;
    std::vector<platform::PromptRequest> calls_;
};

}  // namespace qav::test
