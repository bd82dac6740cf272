// How the program's routines tell the person something or ask a question,
// without knowing who shows it: the windows implement it with message
// boxes, the command line on the terminal, tests with a script.
#pragma once

#include <string>

namespace platform {

enum class MessageIcon { Exclamation, Hand };

// The forms of the program's own message box.
enum class PromptForm {
    OneOk,      // a single "OK"; the answer is always kIdCancel
    TwoButtons, // first button (its label given, else "OK") and "キャンセル"
    YesNo,      // "はい(&Y)" and "いいえ(&N)"
};

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

class IUserPrompts {
public:
    virtual ~IUserPrompts() = default;
    // A plain message with the program's title as caption.
    virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
    // The program's own message box with a heading: kIdOk when the first
    // button was taken, kIdCancel otherwise.
    virtual int Ask(const std::string& heading, const std::string& message, PromptForm form,
                    const std::string& firstButton = {}) = 0;
    // Which records to print: kIdOk with `choice` 0 for the records marked
    // with the print mark, 1 for the one with the focus; kIdCancel to print
    // nothing. Without a choice to offer, the marked records.
    virtual int AskPrintTarget(const std::string& heading, const std::string& message,
                               int& choice) {
        choice = 0;
        return Ask(heading, message, PromptForm::TwoButtons, "印刷");
    }
};

} // namespace platform
