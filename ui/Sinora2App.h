// The window program's application object: the start-up steps in their
// order (language, the refusals to run twice, settings, device link,
// plugins, the main window), and the exit steps.
#pragma once

#include "app/ECGFramework.h"
#include "platform/NamedLock.h"
#include "ui/StartOptions.h"

#include <QApplication>

#include <memory>

namespace ui {

class CDemoDevice;
class CInstanceChannel;
class CMainFrame;

class CSinora2App : public QApplication {
    Q_OBJECT
public:
    CSinora2App(int& argc, char** argv);
    ~CSinora2App() override;

    // False when the program must end at once without a window: the
    // sibling program runs, or another copy does (which is then asked to
    // come forward).
    bool StartUp(const StartOptions& options);
    // Saves the settings and releases the language and the lock; returns
    // the status to exit with.
    int ShutDown(int status);

    app::CECGFramework& Framework() { return m_framework; }
    CMainFrame* MainFrame() { return m_pMainFrame.get(); }

private:
    void ActivateMainFrame();

    app::CECGFramework m_framework;
    std::unique_ptr<platform::CNamedLock> m_hMutex;
    std::unique_ptr<CInstanceChannel> m_pChannel;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<CDemoDevice> m_pDemo;
    bool m_bLanguagesStarted = false;
};

} // namespace ui
