#include "ui/wave/RecordWindows.h"

#include "platform/ResourceText.h"
#include "records/ECGContentsData.h"
#include "ui/MainFrame.h"
#include "ui/WindowTools.h"
#include "ui/wave/WaveFrame.h"
#include "ui/wave/WaveView.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QStyle>

namespace ui {

namespace {

constexpr unsigned kTextInvalidFile = 10019;
constexpr unsigned kTextWindowLimit = 10020;
constexpr unsigned kTextFileNotFound = 61448;
constexpr QSize kCascadedSize{900, 550};

void Tell(app::CECGFramework& framework, unsigned textId, platform::MessageIcon icon) {
    if (platform::IUserPrompts* prompts = framework.GetPrompts())
        prompts->ShowMessage(platform::LoadText(textId), icon);
}

// The n-th window's corner: one caption height further right and down from
// the parent's corner per open window, starting again near the work area's
// corner when the next step would leave it.
QPoint CascadePosition(const QWidget* parent, int count) {
    const int caption = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QScreen* screen = parent != nullptr ? parent->screen() : QApplication::primaryScreen();
    const QRect work = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
    QPoint corner = parent != nullptr ? parent->frameGeometry().topLeft() : work.topLeft();
    for (int i = 0; i < count; ++i) {
        const int previousX = corner.x();
        corner += QPoint(caption, caption);
        if (previousX + 2 * caption > work.right() || corner.y() + caption > work.bottom())
            corner = work.topLeft() + QPoint(caption, caption);
    }
    return corner;
}

std::function<void()> MainListRefresh(QWidget* parent) {
    QPointer<CMainFrame> main = qobject_cast<CMainFrame*>(parent);
    if (main.isNull())
        return {};
    return [main] {
        if (!main.isNull())
            main->RefreshList();
    };
}

int MaxWindows(const app::CECGFramework& framework) {
    return framework.GetOptions().maxWaveDialog;
}

} // namespace

CWaveFrame* WaveFrameOf(app::WindowHandle window) {
    auto* widget = const_cast<QWidget*>(static_cast<const QWidget*>(window));
    return qobject_cast<CWaveFrame*>(widget);
}

int OpenRecordWindow(app::CECGFramework& framework, QWidget* parent,
                     records::CECGContentsData& record, std::function<void()> refreshList) {
    if (!record.IsLoaded())
        record.Load();
    if (!record.IsLoaded()) {
        Tell(framework, kTextInvalidFile, platform::MessageIcon::Hand);
        return 0;
    }
    if (CWaveFrame* open = WaveFrameOf(framework.FindRecordWindow(record))) {
        // Inside an operation the windows are disabled; the open one is let
        // through just long enough to take the focus.
        const bool busy = framework.IsBusy();
        if (busy)
            framework.EnableAllWindows(true);
        BringWindowForward(open);
        open->View().setFocus();
        if (busy)
            framework.EnableAllWindows(false);
        return 1;
    }
    if (framework.GetRecordWindowCount() >= MaxWindows(framework)) {
        Tell(framework, kTextWindowLimit, platform::MessageIcon::Exclamation);
        return 0;
    }
    if (!refreshList)
        refreshList = MainListRefresh(parent);
    auto* frame = new CWaveFrame(framework, record, std::move(refreshList));
    if (!frame->Record().IsLoaded() || !frame->Register()) {
        delete frame;
        Tell(framework, kTextFileNotFound, platform::MessageIcon::Hand);
        return 0;
    }
    if (framework.IsBusy())
        frame->EnableForBusy(false);
    if (framework.GetSelectedCount() == 1) {
        frame->showMaximized();
    } else {
        frame->resize(kCascadedSize);
        frame->move(CascadePosition(parent, framework.GetRecordWindowCount()));
        frame->show();
    }
    frame->raise();
    frame->activateWindow();
    return 1;
}

void OpenSelectedRecords(app::CECGFramework& framework, QWidget* parent,
                         std::function<void()> refreshList) {
    if (framework.GetSelectedCount() > MaxWindows(framework)) {
        Tell(framework, kTextWindowLimit, platform::MessageIcon::Exclamation);
        return;
    }
    // A window opened on the way may refresh the list, which empties the
    // selection; the records chosen now are the ones to open.
    std::vector<records::CECGContentsData*> chosen;
    for (int i = 0; i < framework.GetSelectedCount(); ++i)
        chosen.push_back(framework.GetSelected(i));
    for (records::CECGContentsData* record : chosen) {
        if (OpenRecordWindow(framework, parent, *record, refreshList) == 0)
            return;
    }
}

void CloseAllRecordWindows(app::CECGFramework& framework) {
    for (const app::WindowHandle window : framework.RecordWindows())
        delete WaveFrameOf(window);
}

void BroadcastApplyLanguage(app::CECGFramework& framework) {
    for (const app::WindowHandle window : framework.RecordWindows()) {
        if (CWaveFrame* frame = WaveFrameOf(window))
            frame->ApplyLanguage();
    }
}

void EnableRecordWindows(app::CECGFramework& framework, bool enable) {
    for (const app::WindowHandle window : framework.RecordWindows()) {
        if (CWaveFrame* frame = WaveFrameOf(window))
            frame->EnableForBusy(enable);
    }
}

} // namespace ui
