// Helpers for the dialog tests: controls found by their ids, a modal dialog
// run with the steps a person would take while it is open, keys pressed on
// a widget, and the shipped interface language for the length of a test.
#pragma once

#include "app/Language.h"
#include "platform/ShareFolder.h"
#include "support/QtApplication.h"
#include "support/TempFolder.h"
#include "ui/Translate.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace dialogtest {

template <typename Widget> Widget* Control(QWidget* root, unsigned id) {
    for (Widget* widget : root->findChildren<Widget*>()) {
        if (ui::ControlId(widget) == id) {
            return widget;
        }
    }
    ADD_FAILURE() << "no control " << id;
    return nullptr;
}

// Runs DoModal and, once the dialog's loop runs, the steps; steps that leave
// the dialog open fail the test and close it, so a fault never hangs it.
template <typename Dialog> int RunModal(Dialog& dialog, std::function<void()> steps) {
    QTimer::singleShot(0, &dialog, [&dialog, steps] {
        steps();
        if (dialog.isVisible()) {
            ADD_FAILURE() << "the dialog is still open";
            dialog.done(-1);
        }
    });
    return dialog.DoModal();
}

// Runs the event loop until the condition holds; false after a generous
// time-out, so a fault fails the test instead of hanging it.
inline bool WaitUntil(const std::function<bool()>& condition) {
    constexpr int kGenerousMs = 30000;
    if (condition()) {
        return true;
    }
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition()) {
            loop.quit();
        }
    });
    QTimer::singleShot(kGenerousMs, &loop, &QEventLoop::quit);
    poll.start(5);
    loop.exec();
    return condition();
}

inline void PressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(widget, &release);
}

inline constexpr app::LanguageId kNoLanguage = 0;
inline constexpr app::LanguageId kEnglish = 0x0409;
inline constexpr app::LanguageId kJapanese = 0x0411;

// The shipped language files with one of them current (or none), as the
// program's text source; the application profile lies in a fresh folder.
class LanguageScope {
public:
    explicit LanguageScope(app::LanguageId id)
        : m_config("XDG_CONFIG_HOME", m_folder.File("config")) {
        testsupport::Application();
        app::StartLanguages(platform::ShareFolder());
        if (id == kNoLanguage) {
            app::Languages().SelectLanguage(nullptr);
        } else {
            app::Languages().SelectLanguageId(id);
            EXPECT_NE(app::Languages().Current(), nullptr) << "language " << id;
        }
    }
    ~LanguageScope() { app::ReleaseLanguages(); }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;

private:
    testsupport::TempFolder m_folder;
    testsupport::ScopedEnv m_config;
};

} // namespace dialogtest
