// The wave window: one record's waveform on screen paper with its own menu,
// large-button toolbar, zoom and sensitivity toolbar and status bar, and
// the record commands print, delete and user memo.
#pragma once

#include "app/ECGFramework.h"
#include "render/PrintJob.h"
#include "ui/PrintRecords.h"
#include "ui/dialogs/WindowPrompts.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QToolBar;

namespace records {
class CECGContentsData;
}

namespace ui {

class CWaveView;

// The wave window's command ids.
namespace wave {
inline constexpr unsigned kCmdZoomSmall = 32871;
inline constexpr unsigned kCmdZoomStandard = 32887;
inline constexpr unsigned kCmdZoomLarge = 32870;
inline constexpr unsigned kCmdSensitivity20 = 32897;
inline constexpr unsigned kCmdSensitivity10 = 32898;
inline constexpr unsigned kCmdSensitivity5 = 32899;
inline constexpr unsigned kCmdPreviousPage = 32873;
inline constexpr unsigned kCmdNextPage = 32874;
inline constexpr unsigned kCmdPrint = 252;
inline constexpr unsigned kCmdPrintButton = 32889;
inline constexpr unsigned kCmdMemo = 32877;
inline constexpr unsigned kCmdMemoButton = 32862;
inline constexpr unsigned kCmdDelete = 32885;
inline constexpr unsigned kCmdHelp = 204;
inline constexpr unsigned kCmdClose = 258;
inline constexpr unsigned kCmdLineDown = 256;
inline constexpr unsigned kCmdLineUp = 257;
inline constexpr unsigned kCmdPageDown = 254;
inline constexpr unsigned kCmdPageUp = 255;
inline constexpr unsigned kCmdScrollLeft = 32890;
inline constexpr unsigned kCmdScrollRight = 32891;
// The sensitivity list of the scale toolbar and its label.
inline constexpr unsigned kSensitivityList = 295;
inline constexpr unsigned kSensitivityLabel = 32892;
} // namespace wave

class CWaveFrame : public QMainWindow {
    Q_OBJECT
public:
    // The window of one record. It keeps its own copy, read from the
    // record's file, so a refill of the list cannot pull the record away
    // under it; Record().IsLoaded() tells whether that read worked.
    // `refreshList` is called after the window deleted its record or
    // changed its memo, so the main list follows.
    CWaveFrame(app::CECGFramework& framework, const records::CECGContentsData& record,
               std::function<void()> refreshList, QWidget* parent = nullptr);
    ~CWaveFrame() override;

    records::CECGContentsData& Record() { return *m_pRecord; }
    // The registry key and title: the program's name, "：" and the file name.
    const std::string& Key() const { return m_key; }
    // Registers the window under its key; false when another has it.
    bool Register();

    // Re-applies the interface language to menus, toolbars and panes.
    void ApplyLanguage();
    // The busy frame's part for this window: disabled, its buttons greyed.
    void EnableForBusy(bool enable);
    // Runs one command of the table, as the menu, toolbars, accelerators
    // and context menu do; a disabled command does nothing.
    void OnCommand(unsigned command);
    bool IsCommandEnabled(unsigned command) const;
    QString StatusText(int pane) const;
    void SetPrompts(platform::IUserPrompts* prompts);
    void SetPrinterChooser(PrinterChooser chooser) { m_chooser = std::move(chooser); }

    CWaveView& View() { return *m_pView; }
    QAction* Action(unsigned command) const;
    QComboBox& SensitivityList() { return *m_pSensitivity; }
    QToolBar& ToolBar() { return *m_pToolBar; }
    QToolBar& ScaleBar() { return *m_pScaleBar; }
    // The context menu of the view, translated.
    QMenu* BuildContextMenu();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateStatusBar();
    void ApplyButtonTexts();
    void UpdateCommandStates();
    void UpdateStatus();
    void ShowText(unsigned textId, platform::MessageIcon icon);

    void SetZoom(int percent);
    void SetSensitivity(int index);
    void PrintRecord();
    void DeleteRecord();
    void EditMemo();
    // The memo dialog on this window's record; true when it saved.
    bool RunMemoDialog();
    void OpenHelp();

    app::CECGFramework& m_framework;
    std::unique_ptr<records::CECGContentsData> m_pRecord;
    std::function<void()> m_refreshList;
    std::string m_key;
    bool m_bRegistered = false;
    CWaveView* m_pView = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QToolBar* m_pScaleBar = nullptr;
    QLabel* m_pSensitivityLabel = nullptr;
    QComboBox* m_pSensitivity = nullptr;
    std::array<QLabel*, 4> m_panes{};
    std::map<unsigned, QAction*> m_actions;
    CWindowPrompts m_windowPrompts;
    platform::IUserPrompts* m_pPrompts = &m_windowPrompts;
    render::CPrintManager m_printManager;
    PrinterChooser m_chooser = ShowPrintDialog;
};

} // namespace ui
