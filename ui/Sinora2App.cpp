#include "ui/Sinora2App.h"

#include "app/Language.h"
#include "app/StartUp.h"
#include "platform/ShareFolder.h"
#include "ui/Artwork.h"
#include "ui/DemoDevice.h"
#include "ui/InstanceChannel.h"
#include "ui/MainFrame.h"

#include <QIcon>

#include <cstdio>

namespace ui {

namespace {

// The heart of the thumbnails stands for the program where the desktop
// has no icon of it (a program run from its build folder).
constexpr unsigned kArtProgram = 279;
// The desktop entry, the AppStream metadata and the icon are named after it.
constexpr const char* kDesktopId = "com.torvane.Rhythmora";

} // namespace

CSinora2App::CSinora2App(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Rhythmora");
    setOrganizationName("Torvane");
    setApplicationVersion(RHYTHMORA_VERSION);
    setDesktopFileName(kDesktopId);
    setWindowIcon(QIcon::fromTheme(kDesktopId, ArtworkIcon(kArtProgram, QSize(64, 64))));
}

CSinora2App::~CSinora2App() {
    // The windows go before the framework they borrow.
    m_pMainFrame.reset();
    if (m_bLanguagesStarted)
        app::ReleaseLanguages();
}

bool CSinora2App::StartUp(const StartOptions& startOptions) {
    // Qt took the locale from the environment when it started; the
    // program's own choice must win.
    app::FixLocaleAndTimeZone();
    app::StartLanguages();
    m_bLanguagesStarted = true;
    if (app::IsSiblingRunning())
        return false;
    m_hMutex = app::AcquireSingleInstance();
    if (!m_hMutex) {
        CInstanceChannel::RequestActivation(app::kInstanceLockName);
        return false;
    }

    app::CECGOptions& options = m_framework.GetOptions();
    app::LoadSettings(options);
    app::ConfigureDeviceLink(options);
    m_framework.LoadPlugins(platform::ShareFolder());

    m_pMainFrame = std::make_unique<CMainFrame>(m_framework);
    m_pChannel = std::make_unique<CInstanceChannel>(app::kInstanceLockName);
    connect(m_pChannel.get(), &CInstanceChannel::ActivationRequested, this,
            &CSinora2App::ActivateMainFrame);
    // Without the channel a second start still ends at once; it just
    // cannot bring this window forward.
    m_pChannel->Listen();

    m_pMainFrame->ApplyLanguage();
    m_pMainFrame->show();
    if (startOptions.demo) {
        // The window's connection watcher finds it at its next tick and
        // imports, as it would the real device.
        m_pDemo = std::make_unique<CDemoDevice>();
        if (!m_pDemo->Plug())
            std::fputs("rhythmora: the demonstration device cannot be plugged in (no "
                       "pseudo-terminal or runtime folder).\n",
                       stderr);
    }
    return true;
}

void CSinora2App::ActivateMainFrame() {
    if (!m_pMainFrame)
        return;
    m_pMainFrame->FocusWindow(m_pMainFrame.get());
}

int CSinora2App::ShutDown(int status) {
    if (m_pMainFrame)
        m_framework.GetOptions().Save();
    m_pMainFrame.reset();
    m_pDemo.reset();
    m_pChannel.reset();
    if (m_bLanguagesStarted) {
        app::ReleaseLanguages();
        m_bLanguagesStarted = false;
    }
    m_hMutex.reset();
    return status;
}

} // namespace ui
