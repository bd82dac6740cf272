#include "ui/wave/WaveFrame.h"

#include "app/MainCommands.h"
#include "app/StatusTexts.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "records/ECGContentsData.h"
#include "records/RecordFileOps.h"
#include "ui/Artwork.h"
#include "ui/ExportRecords.h"
#include "ui/Translate.h"
#include "ui/WindowTools.h"
#include "ui/dialogs/ManualPath.h"
#include "ui/dialogs/UIFontTable.h"
#include "ui/dialogs/UserMemo.h"
#include "ui/wave/WaveView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>

#include <cerrno>
#include <span>
#include <unistd.h>
#include <vector>

namespace ui {

using namespace wave;

namespace {

constexpr unsigned kTextDataNotFound = 51012;
constexpr unsigned kTextDeleteQuestion = 51014;
constexpr unsigned kTextWriteError = 51017;
constexpr unsigned kTextAverageHeartRate = 62092;
constexpr unsigned kTextManual = 62325;
constexpr unsigned kTextCannotOpenDocument = 62401;
constexpr const char* kDeleteHeading = "データ削除";
constexpr const char* kSensitivityCaption = "感度：";
constexpr int kFontFrame = 0;
constexpr int kLowestHeartRate = 30;
constexpr int kHighestHeartRate = 200;
constexpr QSize kScaleIconSize{24, 24};
constexpr int kScaleBarHeight = 48;

struct MenuItem {
    unsigned id; // 0: a separator
    const char* text;
};

struct Popup {
    const char* text;
    std::vector<MenuItem> items;
    // A popup inside the popup, after the items.
    const char* subText = nullptr;
    std::vector<MenuItem> subItems = {};
};

const std::vector<Popup>& WaveMenu() {
    static const std::vector<Popup> menu{
        {"&File",
         {{kCmdPrint, "&Print..."},
          {app::kCmdExportEdf, "Export as &EDF+..."},
          {app::kCmdExportCsv, "Export as &CSV..."},
          {kCmdDelete, "&Delete file..."},
          {0, nullptr},
          {kCmdClose, "&Close..."}}},
        {"&Edit", {{kCmdMemo, "&Visible Memo..."}}},
        {"&View",
         {{kCmdZoomSmall, "&Small..."},
          {kCmdZoomStandard, "&Standrad..."},
          {kCmdZoomLarge, "&Big..."},
          {0, nullptr}},
         "&Sensitivity setting",
         {{kCmdSensitivity20, "20mm/mV"},
          {kCmdSensitivity10, "10mm/mV"},
          {kCmdSensitivity5, "5mm/mV"}}},
        {"&Help", {{kCmdHelp, "&Show Help..."}}},
    };
    return menu;
}

// A toolbar button: command, picture, the label's and the tooltip's string
// ids.
struct ToolButton {
    unsigned command;
    unsigned picture;
    unsigned label;
    unsigned tooltip;
};

constexpr ToolButton kToolButtons[] = {
    {kCmdMemoButton, 271, 62103, 32862},
    {kCmdPrintButton, 270, 62104, 62320},
    {kCmdHelp, 267, 62293, 62321},
    {kCmdClose, 277, 62318, 62319},
};

constexpr ToolButton kScaleButtons[] = {
    {kCmdZoomSmall, 222, 62315, 32875},
    {kCmdZoomStandard, 233, 62316, 62316},
    {kCmdZoomLarge, 234, 62317, 32872},
};

struct ZoomCommand {
    unsigned command;
    int zoom;
};

constexpr ZoomCommand kZoomCommands[] = {
    {kCmdZoomSmall, 100}, {kCmdZoomStandard, 150}, {kCmdZoomLarge, 200}};

constexpr unsigned kSensitivityCommands[] = {kCmdSensitivity20, kCmdSensitivity10,
                                             kCmdSensitivity5};
constexpr const char* kSensitivityItems[] = {"20mm/mV", "10mm/mV", "5mm/mV"};

struct ScrollKey {
    unsigned command;
    Qt::Key key;
};

constexpr ScrollKey kScrollKeys[] = {
    {kCmdLineDown, Qt::Key_Down}, {kCmdLineUp, Qt::Key_Up},       {kCmdPageDown, Qt::Key_PageDown},
    {kCmdPageUp, Qt::Key_PageUp}, {kCmdScrollLeft, Qt::Key_Left}, {kCmdScrollRight, Qt::Key_Right},
};

// The first three panes' widths in "0" characters, as the main window's;
// the last one takes the rest.
constexpr int kPaneDigits[] = {30, 18, 18};
constexpr unsigned kPaneIds[] = {62294, 62322, 62295, 62296};

QString Text(unsigned id) {
    return QString::fromStdString(platform::LoadText(id));
}

// The file may have gone, or changed, since the window read it.
bool IsReadable(const std::string& path) {
    records::CECGContentsData fresh;
    fresh.SetPath(path);
    if (!fresh.IsValidFile())
        return false;
    fresh.Load();
    return fresh.IsLoaded();
}

QFont ScaleFont() {
    QFont font(QStringLiteral("IPAexゴシック"));
    font.setPixelSize(14);
    return font;
}

} // namespace

CWaveFrame::CWaveFrame(app::CECGFramework& framework, const records::CECGContentsData& record,
                       std::function<void()> refreshList, QWidget* parent)
    : QMainWindow(parent), m_framework(framework),
      m_pRecord(std::make_unique<records::CECGContentsData>()),
      m_refreshList(std::move(refreshList)), m_key(app::CECGFramework::RecordWindowKey(record)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("WaveFrame");
    setWindowTitle(QString::fromStdString(m_key));
    m_pRecord->SetPath(record.GetPath());
    m_pRecord->Load();

    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateStatusBar();

    m_pView = new CWaveView(framework, this);
    setCentralWidget(m_pView);
    m_pView->SetRecord(*m_pRecord);
    // The scroll keys belong to the paper: elsewhere (the sensitivity
    // list) the arrows keep their own meaning.
    for (const ScrollKey& scroll : kScrollKeys)
        m_pView->addAction(Action(scroll.command));
    ApplyUIFont(this, kFontFrame, true);
    m_pSensitivityLabel->setFont(ScaleFont());
    m_pSensitivity->setFont(ScaleFont());

    TranslateMenu(menuBar());
    ApplyCommandTexts(this);
    ApplyButtonTexts();
    SetSensitivity(m_framework.GetSensitivity());
    UpdateStatus();
    UpdateCommandStates();
    m_pView->setFocus();
}

CWaveFrame::~CWaveFrame() {
    if (m_bRegistered)
        m_framework.UnregisterWindow(m_key);
}

bool CWaveFrame::Register() {
    if (!m_bRegistered)
        m_bRegistered = m_framework.RegisterWindow(m_key, static_cast<const QWidget*>(this));
    return m_bRegistered;
}

void CWaveFrame::SetPrompts(platform::IUserPrompts* prompts) {
    m_pPrompts = prompts != nullptr ? prompts : &m_windowPrompts;
}

void CWaveFrame::CreateActions() {
    auto add = [this](unsigned id, const QString& text, const QList<QKeySequence>& shortcuts,
                      Qt::ShortcutContext context = Qt::WindowShortcut) {
        auto* action = new QAction(text, this);
        SetControlId(action, id);
        if (!shortcuts.isEmpty()) {
            action->setShortcuts(shortcuts);
            action->setShortcutContext(context);
        }
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        if (context == Qt::WindowShortcut)
            addAction(action);
        m_actions[id] = action;
        return action;
    };
    auto ctrl = [](Qt::Key key) {
        return QList<QKeySequence>{
            QKeySequence(Qt::CTRL | key),
            QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, key))};
    };
    for (const Popup& popup : WaveMenu()) {
        for (const MenuItem& item : popup.items) {
            if (item.id != 0)
                add(item.id, QString::fromUtf8(item.text), {});
        }
        for (const MenuItem& item : popup.subItems)
            add(item.id, QString::fromUtf8(item.text), {})->setCheckable(true);
    }
    Action(kCmdPrint)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Action(kCmdDelete)->setShortcut(QKeySequence(Qt::Key_Delete));
    Action(kCmdMemo)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    Action(kCmdHelp)->setShortcut(QKeySequence(Qt::Key_F1));
    Action(kCmdZoomSmall)->setShortcuts(ctrl(Qt::Key_1));
    Action(kCmdZoomStandard)->setShortcuts(ctrl(Qt::Key_2));
    Action(kCmdZoomLarge)->setShortcuts(ctrl(Qt::Key_3));

    add(kCmdPreviousPage, "Previous page", {QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
    add(kCmdNextPage, "Next page", {QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    add(kCmdMemoButton, Text(62103), {});
    add(kCmdPrintButton, Text(62104), {});
    for (const ScrollKey& scroll : kScrollKeys)
        add(scroll.command, QString(), {QKeySequence(scroll.key)}, Qt::WidgetWithChildrenShortcut);
}

QAction* CWaveFrame::Action(unsigned command) const {
    const auto found = m_actions.find(command);
    return found == m_actions.end() ? nullptr : found->second;
}

void CWaveFrame::CreateMenus() {
    auto fill = [this](QMenu* menu, const std::vector<MenuItem>& items) {
        for (const MenuItem& item : items) {
            if (item.id == 0)
                menu->addSeparator();
            else
                menu->addAction(Action(item.id));
        }
        connect(menu, &QMenu::aboutToShow, this, &CWaveFrame::UpdateCommandStates);
    };
    for (const Popup& popup : WaveMenu()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(popup.text));
        fill(menu, popup.items);
        if (popup.subText != nullptr)
            fill(menu->addMenu(QString::fromUtf8(popup.subText)), popup.subItems);
    }
}

void CWaveFrame::CreateToolBars() {
    std::vector<LargeButton> buttons;
    for (const ToolButton& button : kToolButtons)
        buttons.push_back({Action(button.command), button.command, button.picture});
    m_pToolBar = AddLargeButtonToolBar(*this, "WaveToolBar", buttons);

    addToolBarBreak();
    m_pScaleBar = addToolBar(QString());
    m_pScaleBar->setObjectName("WaveScaleBar");
    m_pScaleBar->setMovable(false);
    m_pScaleBar->setFloatable(false);
    m_pScaleBar->setIconSize(kScaleIconSize);
    m_pScaleBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_pScaleBar->setFixedHeight(kScaleBarHeight);
    m_pScaleBar->toggleViewAction()->setEnabled(false);
    for (const ToolButton& button : kScaleButtons) {
        QAction* action = Action(button.command);
        action->setIcon(ArtworkIcon(button.picture, kScaleIconSize));
        m_pScaleBar->addAction(action);
        if (QWidget* widget = m_pScaleBar->widgetForAction(action))
            SetControlId(widget, button.command);
    }
    m_pScaleBar->addSeparator();

    m_pSensitivityLabel = new QLabel(QString::fromUtf8(kSensitivityCaption), m_pScaleBar);
    SetControlId(m_pSensitivityLabel, kSensitivityLabel);
    m_pSensitivityLabel->setContentsMargins(12, 0, 4, 0);
    m_pSensitivity = new QComboBox(m_pScaleBar);
    SetControlId(m_pSensitivity, kSensitivityList);
    for (const char* item : kSensitivityItems)
        m_pSensitivity->addItem(QString::fromUtf8(item));
    m_pSensitivity->setFocusPolicy(Qt::StrongFocus);
    m_pSensitivityLabel->setBuddy(m_pSensitivity);
    m_pScaleBar->addWidget(m_pSensitivityLabel);
    m_pScaleBar->addWidget(m_pSensitivity);
    connect(m_pSensitivity, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            SetSensitivity(index);
    });
}

void CWaveFrame::CreateStatusBar() {
    const QFontMetrics metrics(UIFont(kFontFrame));
    for (std::size_t i = 0; i < m_panes.size(); ++i) {
        auto* pane = new QLabel(this);
        SetControlId(pane, kPaneIds[i]);
        pane->setFrameStyle(QFrame::Panel | QFrame::Raised);
        const bool last = i + 1 == m_panes.size();
        // The window opens 900 wide, narrower than the four panes: the last
        // one gives way rather than the others overlapping.
        if (!last)
            pane->setMinimumWidth(metrics.horizontalAdvance(QString(kPaneDigits[i], '0')));
        pane->setTextInteractionFlags(Qt::TextSelectableByMouse);
        statusBar()->addWidget(pane, last ? 1 : 0);
        m_panes[i] = pane;
    }
    statusBar()->setSizeGripEnabled(true);
}

void CWaveFrame::ApplyButtonTexts() {
    for (const auto& buttons :
         {std::span<const ToolButton>(kToolButtons), std::span<const ToolButton>(kScaleButtons)}) {
        for (const ToolButton& button : buttons) {
            QAction* action = Action(button.command);
            action->setIconText(Text(button.label));
            action->setToolTip(Text(button.tooltip));
        }
    }
}

void CWaveFrame::UpdateStatus() {
    auto texts = app::StatusPaneTexts(*m_pRecord);
    texts[1] = app::kDeviceModel;
    const int rate = m_pRecord->GetHeartRate();
    texts[2] =
        rate >= kLowestHeartRate && rate <= kHighestHeartRate
            ? platform::FormatText(platform::LoadText(kTextAverageHeartRate), {std::int64_t{rate}})
            : std::string("--");
    for (std::size_t i = 0; i < m_panes.size(); ++i)
        m_panes[i]->setText(QString::fromStdString(texts[i]));
}

QString CWaveFrame::StatusText(int pane) const {
    if (pane < 0 || pane >= static_cast<int>(m_panes.size()))
        return {};
    return m_panes[static_cast<std::size_t>(pane)]->text();
}

bool CWaveFrame::IsCommandEnabled(unsigned command) const {
    // While an operation runs every window waits for it.
    if (m_framework.IsBusy())
        return false;
    const int zoom = m_pView->Paper().GetZoom();
    switch (command) {
    case kCmdZoomSmall:
        return zoom > 100;
    case kCmdZoomStandard:
        return zoom != 150;
    case kCmdZoomLarge:
        return zoom < 200;
    case kCmdPreviousPage:
        return m_pView->HasPreviousPage();
    case kCmdNextPage:
        return m_pView->HasNextPage();
    case kCmdPrintButton:
        return IsPrintDialogFree() == 1 && !m_framework.IsPrinting();
    default:
        return m_actions.contains(command);
    }
}

void CWaveFrame::UpdateCommandStates() {
    for (const auto& [id, action] : m_actions)
        action->setEnabled(IsCommandEnabled(id));
    const int sensitivity = m_pView->Paper().GetSensitivity();
    for (std::size_t i = 0; i < std::size(kSensitivityCommands); ++i)
        Action(kSensitivityCommands[i])->setChecked(static_cast<int>(i) == sensitivity);
}

void CWaveFrame::OnCommand(unsigned command) {
    if (!IsCommandEnabled(command))
        return;
    for (const ZoomCommand& zoom : kZoomCommands) {
        if (zoom.command == command) {
            SetZoom(zoom.zoom);
            return;
        }
    }
    for (std::size_t i = 0; i < std::size(kSensitivityCommands); ++i) {
        if (kSensitivityCommands[i] == command) {
            SetSensitivity(static_cast<int>(i));
            return;
        }
    }
    switch (command) {
    case kCmdPreviousPage:
        m_pView->PreviousPage();
        break;
    case kCmdNextPage:
        m_pView->NextPage();
        break;
    case kCmdLineDown:
        m_pView->ScrollLines(1);
        break;
    case kCmdLineUp:
        m_pView->ScrollLines(-1);
        break;
    case kCmdPageDown:
        m_pView->ScrollPages(1);
        break;
    case kCmdPageUp:
        m_pView->ScrollPages(-1);
        break;
    case kCmdScrollLeft:
        m_pView->ScrollColumns(-5);
        break;
    case kCmdScrollRight:
        m_pView->ScrollColumns(5);
        break;
    case kCmdClose:
        close();
        return;
    case kCmdPrint:
    case kCmdPrintButton:
        PrintRecord();
        break;
    case kCmdMemo:
    case kCmdMemoButton:
        EditMemo();
        break;
    case kCmdDelete:
        DeleteRecord();
        return;
    case app::kCmdExportEdf:
    case app::kCmdExportCsv:
        if (m_framework.EnableAllWindows(false) != 0) {
            const records::CECGContentsData* const shown[] = {m_pRecord.get()};
            ExportRecords(this, shown, ExportFormatFor(command), *m_pPrompts);
            m_framework.EnableAllWindows(true);
        }
        break;
    case kCmdHelp:
        OpenHelp();
        break;
    default:
        break;
    }
    UpdateCommandStates();
}

void CWaveFrame::SetZoom(int percent) {
    m_pView->SetZoom(percent);
    UpdateCommandStates();
}

void CWaveFrame::SetSensitivity(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kSensitivityItems)))
        return;
    m_pView->SetSensitivity(index);
    const QSignalBlocker quiet(m_pSensitivity);
    m_pSensitivity->setCurrentIndex(index);
    UpdateCommandStates();
}

void CWaveFrame::ShowText(unsigned textId, platform::MessageIcon icon) {
    m_pPrompts->ShowMessage(platform::LoadText(textId), icon);
}

void CWaveFrame::PrintRecord() {
    if (m_framework.EnableAllWindows(false) == 0)
        return;
    if (IsReadable(m_pRecord->GetPath())) {
        m_framework.ClearPrint();
        m_framework.AppendPrint(m_pRecord.get());
        // Every wave window's paper leaves its sensitivity in the framework
        // when it draws; the print takes this window's.
        m_framework.SetSensitivity(m_pView->Paper().GetSensitivity());
        PrintRecords(this, m_framework, m_printManager, m_chooser);
        m_framework.ClearPrint();
    } else {
        ShowText(kTextDataNotFound, platform::MessageIcon::Hand);
    }
    m_framework.EnableAllWindows(true);
}

void CWaveFrame::EditMemo() {
    if (m_framework.EnableAllWindows(false) == 0)
        return;
    if (::access(m_pRecord->GetPath().c_str(), W_OK) != 0) {
        if (errno == ENOENT)
            ShowText(kTextDataNotFound, platform::MessageIcon::Hand);
        else
            ShowText(kTextWriteError, platform::MessageIcon::Exclamation);
    } else if (RunMemoDialog()) {
        m_pView->UpdateMemo();
        if (m_refreshList)
            m_refreshList();
    }
    m_framework.EnableAllWindows(true);
}

bool CWaveFrame::RunMemoDialog() {
    CUserMemo dialog(*m_pRecord, this);
    dialog.SetPrompts(m_pPrompts);
    return dialog.DoModal() == platform::kIdOk;
}

void CWaveFrame::DeleteRecord() {
    if (m_framework.EnableAllWindows(false) == 0)
        return;
    bool deleted = false;
    if (m_pPrompts->Ask(kDeleteHeading, platform::LoadText(kTextDeleteQuestion),
                        platform::PromptForm::YesNo) == platform::kIdOk)
        deleted = m_framework.DeleteRecord(m_pRecord->GetPath()) == records::kRecordFileDone;
    m_framework.EnableAllWindows(true);
    if (!deleted) {
        UpdateCommandStates();
        return;
    }
    // The window goes first, so the refreshed list has no window that
    // shows a deleted file.
    const std::function<void()> refresh = m_refreshList;
    close();
    if (refresh)
        refresh();
}

void CWaveFrame::OpenHelp() {
    const std::string path = BuildManualPath(kTextManual);
    if (!OpenDocument(path)) {
        m_pPrompts->ShowMessage(platform::FormatText(platform::LoadText(kTextCannotOpenDocument),
                                                     {std::string_view(path)}),
                                platform::MessageIcon::Exclamation);
    }
}

void CWaveFrame::EnableForBusy(bool enable) {
    setEnabled(enable);
    UpdateCommandStates();
}

void CWaveFrame::ApplyLanguage() {
    SetWindowLayout(this, false);
    SetWindowLayout(statusBar(), false);
    TranslateMenu(menuBar());
    ApplyCommandTexts(this);
    ApplyButtonTexts();
    ApplyUIFont(this, kFontFrame, true);
    m_pSensitivityLabel->setFont(ScaleFont());
    m_pSensitivity->setFont(ScaleFont());
    UpdateStatus();
    UpdateCommandStates();
}

QMenu* CWaveFrame::BuildContextMenu() {
    auto* menu = new QMenu(this);
    menu->addAction(Action(kCmdMemo));
    menu->addAction(Action(kCmdPrint));
    menu->addAction(Action(kCmdDelete));
    TranslateMenu(menu);
    UpdateCommandStates();
    return menu;
}

void CWaveFrame::contextMenuEvent(QContextMenuEvent* event) {
    if (!PopupContextMenu(*m_pView, *event, [this] { return BuildContextMenu(); }))
        QMainWindow::contextMenuEvent(event);
}

void CWaveFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    UpdateCommandStates();
    // While an operation's dialog works with the windows disabled, it
    // stays in front.
    const app::WindowHandle front = m_framework.GetFrontWindow();
    if (front == nullptr || front == static_cast<const QWidget*>(this))
        return;
    BringWindowForward(const_cast<QWidget*>(static_cast<const QWidget*>(front)));
}

void CWaveFrame::closeEvent(QCloseEvent* event) {
    if (m_framework.IsBusy()) {
        event->ignore();
        return;
    }
    // Unregistered at once: the window itself goes when the event loop
    // next runs.
    if (m_bRegistered)
        m_framework.UnregisterWindow(m_key);
    m_bRegistered = false;
    QMainWindow::closeEvent(event);
}

} // namespace ui
