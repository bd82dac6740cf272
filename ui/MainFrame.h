// The main window: menu bar, large-button toolbar, status bar with the
// focused record's summary, and the main view as its client. Every command
// given from it is handled here, inside the framework's busy frame.
#pragma once

#include "app/ECGFramework.h"
#include "app/MainCommands.h"
#include "device/workflow/ConnectionWatcher.h"
#include "render/PrintJob.h"
#include "ui/PrintRecords.h"
#include "ui/Sinora2Doc.h"
#include "ui/dialogs/WindowPrompts.h"

#include <QMainWindow>

#include <array>
#include <map>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace records {
class CECGContentsData;
}

namespace ui {

class CSinoraView;
class CSinora2View;

class CMainFrame : public QMainWindow, public app::IWindowHost {
    Q_OBJECT
public:
    static constexpr int kMinWidth = 640;
    static constexpr int kMinHeight = 480;

    explicit CMainFrame(app::CECGFramework& framework, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Runs one command of the table, as the menu, toolbar, accelerators and
    // context menu do; a disabled command does nothing.
    void OnCommand(unsigned command);
    bool IsCommandEnabled(unsigned command) const;
    app::MainCommandState CommandState() const;

    // Refills the list, recounts the selection and clears the status bar
    // when no record is listed.
    void RefreshList();
    void SetStatusRecord(const records::CECGContentsData& record);
    QString StatusText(int pane) const;
    // Re-applies the interface language to the whole window.
    void ApplyLanguage();

    CSinoraView& View() { return *m_pView; }
    CSinora2View& List();
    QAction* Action(unsigned command) const;
    QToolBar& ToolBar() { return *m_pToolBar; }
    // The context menu the main view shows, translated (with "DeveloperMode"
    // the longer one).
    QMenu* BuildContextMenu();
    // Where the prompts of this window's commands go; the window's message
    // boxes unless replaced (tests script them).
    void SetPrompts(platform::IUserPrompts* prompts);
    // How the printer is chosen; the printer dialog unless replaced (tests
    // choose a PDF file).
    void SetPrinterChooser(PrinterChooser chooser) { m_chooser = std::move(chooser); }

    // One tick of the connection watcher: a device plugged in alone is
    // imported from at once.
    void OnDeviceTimer();

    // IWindowHost
    app::WindowHandle ForegroundWindow() override;
    void EnableWindows(bool enable) override;
    void FocusWindow(app::WindowHandle window) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void UpdateCommandStates();
    void ClearStatus();
    void FocusList();
    void ShowText(unsigned textId, platform::MessageIcon icon = platform::MessageIcon::Exclamation);

    // The commands.
    void DeleteRecords();
    void OpenRecords();
    void PrintFlow();
    void EditMemo();
    // The device settings command: the port, the status read, the dialog.
    void DeviceSettings();
    // The option dialog; true when the data folder may have changed.
    bool ShowOptions();
    // The import command: the device or its card; 1 when an import dialog
    // ran, 2 after a refusal.
    int StartImport();
    // The records to print into the framework's print list; false (after a
    // message and a refill) when one of them cannot be read any more.
    bool FillPrintList(bool marked);
    void OpenHelp();
    void ShowInformation(int templateId);
    // The first selected record (or every one) with an open wave window:
    // tells the person, brings that window forward and answers true.
    bool RefuseOpenWindows(bool allSelected);

    app::CECGFramework& m_framework;
    CSinora2Doc m_document;
    CSinoraView* m_pView;
    QToolBar* m_pToolBar = nullptr;
    std::array<QLabel*, 4> m_panes{};
    std::map<unsigned, QAction*> m_actions;
    QAction* m_pPrintButton = nullptr;
    CWindowPrompts m_windowPrompts;
    platform::IUserPrompts* m_pPrompts = &m_windowPrompts;
    render::CPrintManager m_printManager;
    device::CConnectionWatcher m_watcher;
    PrinterChooser m_chooser = ShowPrintDialog;
    int m_bRelayout = 1;
};

} // namespace ui
