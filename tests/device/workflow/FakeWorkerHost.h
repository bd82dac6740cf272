// A worker host that records what the worker showed and answers its
// questions from a script; an action can run when a record is added.
#pragma once

#include "device/workflow/TransferWorker.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

class FakeWorkerHost : public device::IWorkerHost {
public:
    void ShowMessage(const std::string& text, platform::MessageIcon) override {
        messages.push_back(text);
    }
    int Ask(const std::string& heading, const std::string& message, platform::PromptForm,
            const std::string& firstButton) override {
        questions.push_back(heading + "|" + message + "|" + firstButton);
        if (answers.empty())
            return platform::kIdCancel;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void SetProgressRange(int upper) override { range = upper; }
    void SetProgressPosition(int position) override { this->position = position; }
    void SetLine(device::DialogLine line, const std::string& text) override { lines[line] = text; }
    void ShowOkButton(bool show) override { okShown = show; }
    void ShowCancelButton(bool show) override { cancelShown = show; }
    void ShowDialog(bool show) override { dialogShown = show; }
    void RecordAdded(const std::string& path) override {
        added.push_back(path);
        if (onAdded)
            onAdded(added.size());
    }
    void RequestClose() override { ++closeRequests; }

    std::deque<int> answers;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::map<device::DialogLine, std::string> lines;
    std::vector<std::string> added;
    std::function<void(std::size_t)> onAdded;
    int range = -1;
    int position = -1;
    bool okShown = true;
    bool cancelShown = true;
    bool dialogShown = true;
    int closeRequests = 0;
};

} // namespace testsupport
