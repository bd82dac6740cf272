// A stand-in for the person at the screen: records every message and
// question and answers questions from a script.
#pragma once

#include "platform/UserPrompts.h"

#include <deque>
#include <string>
#include <vector>

namespace testsupport {

class ScriptedPrompts : public platform::IUserPrompts {
public:
    struct Shown {
        std::string heading; // empty for a plain message
        std::string text;
        platform::MessageIcon icon = platform::MessageIcon::Exclamation;
    };

    void ShowMessage(const std::string& text, platform::MessageIcon icon) override {
        shown.push_back({"", text, icon});
    }
    int Ask(const std::string& heading, const std::string& message, platform::PromptForm,
            const std::string& = {}) override {
        shown.push_back({heading, message, platform::MessageIcon::Exclamation});
        if (answers.empty())
            return platform::kIdCancel;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    int AskPrintTarget(const std::string& heading, const std::string& message,
                       int& choice) override {
        choice = printChoice;
        return Ask(heading, message, platform::PromptForm::TwoButtons, "印刷");
    }

    std::deque<int> answers;
    int printChoice = 0;
    std::vector<Shown> shown;
};

} // namespace testsupport
