// The window program: the start-up steps in their order, then the main
// window until the user closes it, then the exit steps.
#include "app/ECGFramework.h"
#include "app/Language.h"
#include "app/StartUp.h"
#include "platform/ProcessEnvironment.h"
#include "platform/ResourceText.h"
#include "platform/ShareFolder.h"
#include "ui/Translate.h"

#include <QApplication>
#include <QMainWindow>

#include <algorithm>

namespace {

constexpr unsigned kTextMainTitle = 62080;

} // namespace

int main(int argc, char* argv[]) {
    app::FixLocaleAndTimeZone();
    // Released at every exit, after the settings are saved.
    const app::CLanguageSession languages;
    if (app::IsSiblingRunning())
        return 0;
    const auto instanceLock = app::AcquireSingleInstance();
    if (!instanceLock)
        return 0;

    QApplication application(argc, argv);
    // Qt takes the locale from the environment when it starts; the
    // program's own choice must win.
    platform::SetJapaneseLocale();
    app::CECGFramework framework;
    app::CECGOptions& options = framework.GetOptions();
    app::LoadSettings(options);
    app::ConfigureDeviceLink(options);
    framework.LoadPlugins(platform::ShareFolder());

    QMainWindow window;
    ui::SetWindowLayout(&window, false);
    window.setWindowTitle(QString::fromStdString(platform::LoadText(kTextMainTitle)));
    window.setMinimumSize(640, 480);
    window.resize(std::max(options.listWidth, 640), std::max(options.listHeight, 480));
    window.show();
    const int status = application.exec();

    options.SetListSize(window.width(), window.height());
    options.Save();
    return status;
}
