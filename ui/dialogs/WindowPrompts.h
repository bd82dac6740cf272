// How the program's routines tell and ask the person at the screen when the
// windows run: plain messages as the standard message box, questions as the
// program's own MsgBoxDlg, both owned by the active window. A worker thread
// may call it too: the box then opens on the interface thread and the
// worker waits for the answer.
#pragma once

#include "platform/UserPrompts.h"

namespace ui {

class CWindowPrompts : public platform::IUserPrompts {
public:
    // Caption: the program's title (string 57344); Exclamation shows the
    // warning icon, Hand the critical one.
    void ShowMessage(const std::string& text, platform::MessageIcon icon) override;
    // OneOk: the one-button form (the answer is always kIdCancel);
    // TwoButtons: `firstButton` (else "OK") and "キャンセル"; YesNo.
    int Ask(const std::string& heading, const std::string& message, platform::PromptForm form,
            const std::string& firstButton = {}) override;
    // The print-choice form, with the marked records offered first.
    int AskPrintTarget(const std::string& heading, const std::string& message,
                       int& choice) override;
};

// The prompts a dialog uses: those it was given, else the framework's, else
// the window prompts it holds.
platform::IUserPrompts& PickPrompts(platform::IUserPrompts* given,
                                    platform::IUserPrompts* framework, CWindowPrompts& windows);

} // namespace ui
