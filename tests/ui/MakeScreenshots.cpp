// Draws the pictures of the windows shown in the README: the main window,
// a wave window and the memo dialog, offscreen on a data folder of
// simulator recordings, in English and in Japanese.
// Usage: rhythmora-screenshots <output folder>
#include "app/ECGFramework.h"
#include "app/Language.h"
#include "app/StartUp.h"
#include "support/SimRecordings.h"
#include "support/TempFolder.h"
#include "ui/MainFrame.h"
#include "ui/RecordListView.h"
#include "ui/dialogs/UserMemo.h"
#include "ui/wave/WaveFrame.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTimer>

#include <cstdio>
#include <string>

namespace {

// 2026-11-26 18:30 in UTC+9.
constexpr std::int64_t kNewest = 1795685400;

// The main window, a wave window and the memo dialog of the first record,
// as <out>/main-window<suffix>.png and so on.
bool Shoot(const std::string& folder, const char* language, const QString& out,
           const QString& suffix) {
    setenv("LANG", language, 1);
    app::StartLanguages();
    app::CECGFramework framework;
    framework.GetOptions().dirHdd = folder;
    framework.GetOptions().listWidth = 1100;
    framework.GetOptions().listHeight = 720;
    ui::CMainFrame frame(framework);
    frame.ApplyLanguage();
    frame.show();
    // The first record selected (its summary in the status bar) and the
    // third marked for printing.
    ui::CSinora2View& list = frame.List();
    if (records::CECGContentsData* marked = list.Model().Record(2)) {
        marked->ToggleChecked();
        list.Thumbnails().Redraw(*marked);
    }
    QApplication::processEvents();
    bool saved = frame.grab().save(out + "/main-window" + suffix + ".png");

    if (records::CECGContentsData* first = list.Model().Record(0)) {
        ui::CWaveFrame wave(framework, *first, {});
        wave.resize(1100, 720);
        wave.show();
        QApplication::processEvents();
        saved = wave.grab().save(out + "/wave-window" + suffix + ".png") && saved;

        ui::CUserMemo memo(*first);
        bool memoSaved = false;
        QTimer::singleShot(0, &memo, [&] {
            memoSaved = memo.grab().save(out + "/memo-dialog" + suffix + ".png");
            memo.reject();
        });
        memo.DoModal();
        saved = memoSaved && saved;
    }
    app::ReleaseLanguages();
    return saved;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: rhythmora-screenshots <output folder>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app::FixLocaleAndTimeZone();
    QApplication application(argc, argv);
    app::FixLocaleAndTimeZone();
    const testsupport::TempFolder data;
    testsupport::WriteSimRecordings(data.Path(), 12, kNewest);
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    const bool ok =
        Shoot(data.Path(), "en_US.UTF-8", out, "") && Shoot(data.Path(), "ja_JP.UTF-8", out, "-ja");
    return ok ? 0 : 1;
}
