#include "ui/MainFrame.h"

#include "app/Language.h"
#include "app/MemoEdit.h"
#include "app/StatusTexts.h"
#include "device/DeviceInfo.h"
#include "device/DevicePorts.h"
#include "device/workflow/ImportStart.h"
#include "platform/NamedLock.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "records/ECGContentsData.h"
#include "records/RecordList.h"
#include "ui/ExportRecords.h"
#include "ui/RecordListView.h"
#include "ui/SinoraView.h"
#include "ui/Translate.h"
#include "ui/WindowTools.h"
#include "ui/dialogs/CommonDlg.h"
#include "ui/dialogs/CopyExecDlg.h"
#include "ui/dialogs/EcgDeviceDlg.h"
#include "ui/dialogs/ManualPath.h"
#include "ui/dialogs/SetupDlg.h"
#include "ui/dialogs/UIFontTable.h"
#include "ui/dialogs/UserMemo.h"
#include "ui/wave/RecordWindows.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <vector>

namespace ui {

namespace {

constexpr unsigned kTextTitle = 62080;
constexpr unsigned kTextDataNotFound = 51012;
constexpr unsigned kTextOperationError = 51015;
constexpr unsigned kTextSelectError = 51018;
constexpr unsigned kTextCannotOpenDocument = 62401;
constexpr unsigned kTextManual = 62325;
constexpr unsigned kTextFileNotFound = 61448;
constexpr unsigned kTextComErrorHeading = 52026;
constexpr unsigned kTextComError = 51026;
constexpr unsigned kTextPrintHeading = 52030;
constexpr unsigned kTextPrintQuestion = 51030;
constexpr int kFontFrame = 0;

struct MenuItem {
    unsigned id; // 0: a separator
    const char* text;
    QKeySequence shortcut;
};

struct Popup {
    const char* text;
    std::vector<MenuItem> items;
};

const std::vector<Popup>& MainMenu() {
    static const std::vector<Popup> menu{
        {"&File",
         {{app::kCmdImportSd, "Copy From &SD Card", {}},
          {app::kCmdOpen, "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O)},
          {app::kCmdPrint, "&Print...", QKeySequence(Qt::CTRL | Qt::Key_P)},
          {app::kCmdExportEdf, "Export as &EDF+...", {}},
          {app::kCmdExportCsv, "Export as &CSV...", {}},
          {0, nullptr, {}},
          {app::kCmdDelete, "&Delete file...", QKeySequence(Qt::Key_Delete)},
          {0, nullptr, {}},
          {app::kCmdExit, "E&xit...", {}}}},
        {"&Edit", {{app::kCmdMemo, "&Visible Memo...", QKeySequence(Qt::CTRL | Qt::Key_M)}}},
        {"&Option",
         {{app::kCmdDeviceSettings, "&Device Setting...", QKeySequence(Qt::CTRL | Qt::Key_S)},
          {app::kCmdOptions, "&Option...", QKeySequence(Qt::Key_F12)}}},
        {"&Help",
         {{app::kCmdHelp, "Show &Help...", QKeySequence(Qt::Key_F1)},
          {app::kCmdVariousInfo, "&Various Informationt", {}},
          {app::kCmdRegulatoryInfo, "&Regulatory Information", {}}}},
    };
    return menu;
}

// The toolbar: command, picture and the label's string id.
struct ToolButton {
    unsigned command;
    unsigned picture;
    unsigned label;
};

constexpr ToolButton kToolButtons[] = {
    {app::kCmdImportSd, 303, 62290},    {app::kCmdOpen, 269, 62291},
    {app::kCmdPrintButton, 270, 62104}, {app::kCmdDeviceSettings, 298, 62324},
    {app::kCmdHelp, 267, 62293},        {app::kCmdExit, 277, 62314},
};

// The panes' widths in "0" characters; the last one stretches.
constexpr int kPaneDigits[] = {30, 18, 18, 48};
constexpr unsigned kPaneIds[] = {62294, 62322, 62295, 62296};

QString Text(unsigned id) {
    return QString::fromStdString(platform::LoadText(id));
}

// The file may have gone, or changed, since the list was filled.
bool IsReadable(const std::string& path) {
    records::CECGContentsData fresh;
    fresh.SetPath(path);
    if (!fresh.IsValidFile())
        return false;
    fresh.Load();
    return fresh.IsLoaded();
}

// A status read that fails is told with the program's own box.
class CComErrorReporter : public device::IDeviceErrorReporter {
public:
    explicit CComErrorReporter(platform::IUserPrompts& prompts) : m_prompts(prompts) {}
    void ReportDeviceError(std::string_view, const std::string& message) override {
        m_prompts.Ask(platform::LoadText(kTextComErrorHeading), message,
                      platform::PromptForm::OneOk);
    }

private:
    platform::IUserPrompts& m_prompts;
};

} // namespace

CMainFrame::CMainFrame(app::CECGFramework& framework, QWidget* parent)
    : QMainWindow(parent), m_framework(framework), m_document(this),
      m_watcher([this](const std::string& port) {
          CComErrorReporter reporter(*m_pPrompts);
          return device::ReadDeviceInfo(port, m_framework.GetDeviceState(), &reporter);
      }) {
    const app::CECGOptions& options = framework.GetOptions();
    setMinimumSize(kMinWidth, kMinHeight);
    resize(std::max(options.listWidth, kMinWidth), std::max(options.listHeight, kMinHeight));
    setWindowTitle(Text(kTextTitle));

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    ApplyUIFont(this, kFontFrame, true);

    m_pView = new CSinoraView(framework, m_document, this);
    setCentralWidget(m_pView);
    CSinora2View& list = m_pView->List();
    connect(&m_document, &CSinora2Doc::ViewsUpdated, &list, &CSinora2View::Refill);
    connect(&list, &CSinora2View::SelectionUpdated, this,
            [this](const records::CECGContentsData* single) {
                ClearStatus();
                if (single != nullptr)
                    SetStatusRecord(*single);
                UpdateCommandStates();
            });
    connect(&list, &CSinora2View::MarksChanged, this, &CMainFrame::UpdateCommandStates);
    connect(&list, &CSinora2View::OpenRecord, this, [this](records::CECGContentsData* record) {
        if (m_framework.EnableAllWindows(false) == 0)
            return;
        OpenRecordWindow(m_framework, &List(), *record, [this] { RefreshList(); });
        m_framework.EnableAllWindows(true);
    });
    connect(&list, &CSinora2View::OpenSelected, this, [this] {
        if (m_framework.EnableAllWindows(false) == 0)
            return;
        OpenSelectedRecords(m_framework, this, [this] { RefreshList(); });
        m_framework.EnableAllWindows(true);
    });
    connect(m_pView, &CSinoraView::DeviceTimer, this, &CMainFrame::OnDeviceTimer);
    m_framework.SetWindowHost(this);
    m_framework.SetPrompts(m_pPrompts);
}

CMainFrame::~CMainFrame() {
    if (!m_framework.IsPrinting())
        CloseAllRecordWindows(m_framework);
    m_framework.SetWindowHost(nullptr);
    m_framework.SetPrompts(nullptr);
}

void CMainFrame::SetPrompts(platform::IUserPrompts* prompts) {
    m_pPrompts = prompts != nullptr ? prompts : &m_windowPrompts;
    m_framework.SetPrompts(m_pPrompts);
}

void CMainFrame::CreateActions() {
    auto add = [this](unsigned id, const QString& text, const QKeySequence& shortcut) {
        auto* action = new QAction(text, this);
        SetControlId(action, id);
        if (!shortcut.isEmpty()) {
            action->setShortcut(shortcut);
            action->setShortcutContext(Qt::WindowShortcut);
        }
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        addAction(action);
        m_actions[id] = action;
        return action;
    };
    for (const Popup& popup : MainMenu()) {
        for (const MenuItem& item : popup.items) {
            if (item.id != 0)
                add(item.id, QString::fromUtf8(item.text), item.shortcut);
        }
    }
    add(app::kCmdSortAscending, "Sort by time(ASC)", {});
    add(app::kCmdSortDescending, "Sort by time(DESC)", {});
    add(app::kCmdConvertEcg, "Convert to &ECG", {});
    add(app::kCmdConvertText, "Convert to &TXT", {});
    m_pPrintButton = add(app::kCmdPrintButton, Text(62104), {});
}

QAction* CMainFrame::Action(unsigned command) const {
    const auto found = m_actions.find(command);
    return found == m_actions.end() ? nullptr : found->second;
}

void CMainFrame::CreateMenus() {
    for (const Popup& popup : MainMenu()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(popup.text));
        for (const MenuItem& item : popup.items) {
            if (item.id == 0)
                menu->addSeparator();
            else
                menu->addAction(Action(item.id));
        }
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    }
}

void CMainFrame::CreateToolBar() {
    std::vector<LargeButton> buttons;
    for (const ToolButton& button : kToolButtons)
        buttons.push_back({Action(button.command), button.command, button.picture});
    m_pToolBar = AddLargeButtonToolBar(*this, "MainToolBar", buttons);
}

void CMainFrame::CreateStatusBar() {
    const QFontMetrics metrics(UIFont(kFontFrame));
    for (std::size_t i = 0; i < m_panes.size(); ++i) {
        auto* pane = new QLabel(this);
        SetControlId(pane, kPaneIds[i]);
        pane->setFrameStyle(QFrame::Panel | QFrame::Raised);
        pane->setMinimumWidth(metrics.horizontalAdvance(QString(kPaneDigits[i], '0')));
        pane->setTextInteractionFlags(Qt::TextSelectableByMouse);
        statusBar()->addWidget(pane, i + 1 == m_panes.size() ? 1 : 0);
        m_panes[i] = pane;
    }
    statusBar()->setSizeGripEnabled(true);
}

CSinora2View& CMainFrame::List() {
    return m_pView->List();
}

app::MainCommandState CMainFrame::CommandState() const {
    CSinora2View& list = m_pView->List();
    app::MainCommandState state;
    state.listCount = list.RecordCount();
    state.listSelection = list.SelectedItemCount();
    state.selectedCount = m_framework.GetSelectedCount();
    state.anyMarked = list.AnyMarked();
    state.printDialogOpen = IsPrintDialogFree() == 0;
    state.printing = m_framework.IsPrinting();
    return state;
}

bool CMainFrame::IsCommandEnabled(unsigned command) const {
    return app::IsMainCommandEnabled(command, CommandState());
}

void CMainFrame::UpdateCommandStates() {
    const app::MainCommandState state = CommandState();
    for (const auto& [id, action] : m_actions)
        action->setEnabled(app::IsMainCommandEnabled(id, state));
}

void CMainFrame::OnCommand(unsigned command) {
    app::CLanguages& languages = app::Languages();
    if (languages.IsLanguageCommand(command)) {
        if (languages.OnLanguageCommand(command, true))
            ApplyLanguage();
        return;
    }
    if (!IsCommandEnabled(command))
        return;
    switch (command) {
    case app::kCmdExit:
        close();
        return;
    case app::kCmdVariousInfo:
        ShowInformation(CommonDlg::kVarious);
        return;
    case app::kCmdRegulatoryInfo:
        ShowInformation(CommonDlg::kRegulatory);
        return;
    case app::kCmdSortAscending:
        List().Sort(records::kSortByTime, true);
        return;
    case app::kCmdSortDescending:
        List().Sort(records::kSortByTimeDescending, true);
        return;
    default:
        break;
    }
    if (m_framework.EnableAllWindows(false) == 0)
        return;
    switch (command) {
    case app::kCmdDelete:
        DeleteRecords();
        break;
    case app::kCmdOpen:
        OpenRecords();
        break;
    case app::kCmdHelp:
        OpenHelp();
        FocusList();
        break;
    case app::kCmdPrint:
    case app::kCmdPrintButton:
        PrintFlow();
        FocusList();
        break;
    case app::kCmdMemo:
        EditMemo();
        break;
    case app::kCmdExportEdf:
    case app::kCmdExportCsv: {
        std::vector<const records::CECGContentsData*> selected;
        for (int i = 0; i < m_framework.GetSelectedCount(); ++i)
            selected.push_back(m_framework.GetSelected(i));
        ExportRecords(this, selected, ExportFormatFor(command), *m_pPrompts);
        FocusList();
        break;
    }
    case app::kCmdDeviceSettings:
        DeviceSettings();
        FocusList();
        break;
    case app::kCmdOptions:
        if (ShowOptions())
            RefreshList();
        else
            FocusList();
        break;
    case app::kCmdImportSd:
        if (StartImport() == 1)
            RefreshList();
        else
            FocusList();
        break;
    default:
        break;
    }
    m_framework.EnableAllWindows(true);
}

void CMainFrame::ShowText(unsigned textId, platform::MessageIcon icon) {
    m_pPrompts->ShowMessage(platform::LoadText(textId), icon);
}

bool CMainFrame::RefuseOpenWindows(bool allSelected) {
    const int count =
        allSelected ? m_framework.GetSelectedCount() : std::min(1, m_framework.GetSelectedCount());
    for (int i = 0; i < count; ++i) {
        const app::WindowHandle window = m_framework.FindRecordWindow(*m_framework.GetSelected(i));
        if (window == nullptr)
            continue;
        ShowText(kTextOperationError);
        // The windows are disabled; the open one is let through just long
        // enough to take the focus.
        m_framework.EnableAllWindows(true);
        FocusWindow(window);
        m_framework.EnableAllWindows(false);
        return true;
    }
    return false;
}

void CMainFrame::DeleteRecords() {
    if (RefuseOpenWindows(true))
        return;
    if (m_framework.DeleteSelectedRecords(this) != 0)
        RefreshList();
}

void CMainFrame::OpenRecords() {
    if (m_framework.GetSelectedCount() == 0) {
        ShowText(kTextSelectError);
        return;
    }
    OpenSelectedRecords(m_framework, this, [this] { RefreshList(); });
}

int CMainFrame::StartImport() {
    std::vector<std::string> ports;
    device::FindDevicePorts(ports);
    const app::CECGOptions& options = m_framework.GetOptions();
    const std::optional<device::ImportPlan> plan =
        device::PrepareImport(ports, options.dirSd, options.dirHdd, *m_pPrompts);
    if (!plan)
        return 2;
    CCopyExecDlg dialog(m_framework, this);
    if (plan->card) {
        dialog.SetCardCopy(*plan->card);
    } else if (!dialog.SetPortAndFolder(plan->port, plan->folder)) {
        return 2;
    }
    dialog.DoModal();
    return 1;
}

void CMainFrame::OnDeviceTimer() {
    std::vector<std::string> ports;
    device::FindDevicePorts(ports);
    const std::optional<std::string> port = m_watcher.OnDeviceTimer(ports, m_framework.IsBusy());
    if (!port)
        return;
    // The automatic import runs inside the busy frame like any command, so
    // no second one can start while it runs.
    if (m_framework.EnableAllWindows(false) == 0)
        return;
    CCopyExecDlg dialog(m_framework, this);
    if (dialog.SetPortAndFolder(*port, m_framework.GetOptions().dirHdd) &&
        dialog.DoModal() == platform::kIdOk)
        RefreshList();
    m_framework.EnableAllWindows(true);
}

void CMainFrame::DeviceSettings() {
    std::vector<std::string> ports;
    device::FindDevicePorts(ports);
    const std::optional<std::string> port = device::ChooseDevicePort(ports, *m_pPrompts);
    if (!port)
        return;
    CComErrorReporter reporter(*m_pPrompts);
    if (!device::ReadDeviceInfo(*port, m_framework.GetDeviceState(), &reporter))
        return;
    CEcgDeviceDlg dialog(m_framework, *port, this);
    dialog.SetPrompts(m_pPrompts);
    const int result = dialog.DoModal();
    if (result == platform::kIdOk)
        RefreshList();
    else if (result == -1)
        reporter.ReportDeviceError({}, platform::LoadText(kTextComError));
}

bool CMainFrame::ShowOptions() {
    CSetupDlg dialog(m_framework.GetOptions(), this);
    dialog.SetPrompts(m_pPrompts);
    return dialog.DoModal() == platform::kIdOk;
}

void CMainFrame::PrintFlow() {
    if (RefuseOpenWindows(false))
        return;
    const bool anyMarked = List().AnyMarked();
    bool marked = anyMarked;
    if (List().SelectedItemCount() == 0) {
        if (!anyMarked)
            return;
    } else if (anyMarked) {
        int choice = 0;
        if (m_pPrompts->AskPrintTarget(platform::LoadText(kTextPrintHeading),
                                       platform::LoadText(kTextPrintQuestion),
                                       choice) != platform::kIdOk)
            return;
        marked = choice == 0;
    }
    if (FillPrintList(marked) && m_framework.GetPrintCount() > 0)
        PrintRecords(this, m_framework, m_printManager, m_chooser);
}

bool CMainFrame::FillPrintList(bool marked) {
    m_framework.ClearPrint();
    std::vector<records::CECGContentsData*> candidates;
    if (marked) {
        // The folder's order, which the framework keeps.
        for (int i = 0; i < m_framework.GetListedCount(); ++i)
            if (m_framework.GetListed(i)->IsChecked())
                candidates.push_back(m_framework.GetListed(i));
    } else {
        for (int i = 0; i < m_framework.GetSelectedCount(); ++i)
            candidates.push_back(m_framework.GetSelected(i));
    }
    for (records::CECGContentsData* record : candidates) {
        if (!IsReadable(record->GetPath())) {
            m_framework.ClearPrint();
            ShowText(marked ? kTextFileNotFound : kTextDataNotFound, platform::MessageIcon::Hand);
            RefreshList();
            return false;
        }
        m_framework.AppendPrint(record);
    }
    return true;
}

void CMainFrame::EditMemo() {
    if (RefuseOpenWindows(false)) {
        FocusList();
        return;
    }
    records::CECGContentsData* record = m_framework.GetSelected(0);
    record->Load();
    if (const unsigned refusal = app::CheckRecordWritable(record->GetPath()); refusal != 0) {
        ShowText(refusal, refusal == kTextDataNotFound ? platform::MessageIcon::Hand
                                                       : platform::MessageIcon::Exclamation);
        return;
    }
    CUserMemo dialog(*record, this);
    dialog.SetPrompts(m_pPrompts);
    if (dialog.DoModal() == platform::kIdOk) {
        List().Thumbnails().Redraw(*record);
        List().viewport()->update();
    }
}

void CMainFrame::OpenHelp() {
    const std::string path = BuildManualPath(kTextManual);
    if (!OpenDocument(path)) {
        m_pPrompts->ShowMessage(platform::FormatText(platform::LoadText(kTextCannotOpenDocument),
                                                     {std::string_view(path)}),
                                platform::MessageIcon::Exclamation);
    }
}

void CMainFrame::ShowInformation(int templateId) {
    CommonDlg dialog(templateId, this);
    dialog.SetPrompts(m_pPrompts);
    dialog.DoModal();
}

void CMainFrame::FocusList() {
    List().setFocus();
}

void CMainFrame::RefreshList() {
    m_document.UpdateAllViews();
    m_pView->UpdateSelectionCount();
    if (List().RecordCount() == 0)
        ClearStatus();
    UpdateCommandStates();
}

void CMainFrame::ClearStatus() {
    for (QLabel* pane : m_panes)
        pane->clear();
}

void CMainFrame::SetStatusRecord(const records::CECGContentsData& record) {
    const auto texts = app::StatusPaneTexts(record);
    for (std::size_t i = 0; i < m_panes.size(); ++i)
        m_panes[i]->setText(QString::fromStdString(texts[i]));
}

QString CMainFrame::StatusText(int pane) const {
    if (pane < 0 || pane >= static_cast<int>(m_panes.size()))
        return {};
    return m_panes[static_cast<std::size_t>(pane)]->text();
}

void CMainFrame::ApplyLanguage() {
    SetWindowLayout(this, false);
    SetWindowLayout(statusBar(), false);
    TranslateMenu(menuBar());
    ApplyCommandTexts(this);
    for (const ToolButton& button : kToolButtons)
        Action(button.command)->setIconText(Text(button.label));
    m_pPrintButton->setText(Text(62104));
    m_pView->ApplyLanguage();
    BroadcastApplyLanguage(m_framework);
    setWindowTitle(Text(kTextTitle));
    RefreshList();
}

QMenu* CMainFrame::BuildContextMenu() {
    auto* menu = new QMenu(this);
    menu->addAction(Action(app::kCmdOpen));
    menu->addAction(Action(app::kCmdMemo));
    menu->addAction(Action(app::kCmdPrint));
    menu->addAction(Action(app::kCmdDelete));
    if (m_framework.GetOptions().developerMode != 0) {
        menu->addSeparator();
        menu->addAction(Action(app::kCmdSortAscending));
        menu->addAction(Action(app::kCmdSortDescending));
        menu->addSeparator();
        menu->addAction(Action(app::kCmdConvertEcg));
        menu->addAction(Action(app::kCmdConvertText));
    }
    TranslateMenu(menu);
    UpdateCommandStates();
    return menu;
}

void CMainFrame::contextMenuEvent(QContextMenuEvent* event) {
    if (!PopupContextMenu(*m_pView, *event, [this] { return BuildContextMenu(); }))
        QMainWindow::contextMenuEvent(event);
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    FocusList();
    // While a dialog or a wave window works with the main window disabled,
    // it stays in front.
    if (const app::WindowHandle front = m_framework.GetFrontWindow();
        front != nullptr && front != this)
        FocusWindow(front);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_framework.IsBusy()) {
        event->ignore();
        return;
    }
    m_framework.GetOptions().SetListSize(width(), height());
    QMainWindow::closeEvent(event);
}

app::WindowHandle CMainFrame::ForegroundWindow() {
    QWidget* active = QApplication::activeWindow();
    return active != nullptr ? static_cast<QWidget*>(active) : static_cast<QWidget*>(this);
}

void CMainFrame::EnableWindows(bool enable) {
    setEnabled(enable);
    EnableRecordWindows(m_framework, enable);
    if (enable)
        UpdateCommandStates();
}

void CMainFrame::FocusWindow(app::WindowHandle window) {
    auto* widget = const_cast<QWidget*>(static_cast<const QWidget*>(window));
    if (widget == nullptr)
        return;
    BringWindowForward(widget);
    widget->setFocus();
}

} // namespace ui
