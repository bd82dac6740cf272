// The framework object that ties the windows together: the settings, the
// record lists the main window works on, the paths a running import added,
// the device state, the display sensitivity, the busy frame and the plugin
// scan. The windows it drives are reached through IWindowHost.
#pragma once

#include "app/ECGOptions.h"
#include "device/DeviceInfo.h"
#include "platform/UserPrompts.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace records {
class CECGContentsData;
}

namespace app {

// An opaque token for a window, as the window side hands it out.
using WindowHandle = const void*;

// What the framework needs of the windows: the foreground window, enabling
// the main frame and every wave window (with their toolbar buttons), and
// giving a window the keyboard focus.
class IWindowHost {
public:
    virtual ~IWindowHost() = default;
    virtual WindowHandle ForegroundWindow() = 0;
    virtual void EnableWindows(bool enable) = 0;
    virtual void FocusWindow(WindowHandle window) = 0;
};

// A plugin module found by the scan. No module interface is defined, so
// Load reports failure for every file and none stays loaded.
class CECGPlugin {
public:
    virtual ~CECGPlugin() = default;
    int Load(const std::string& path);
};

class CECGFramework {
public:
    using RecordList = std::vector<records::CECGContentsData*>;

    CECGFramework() = default;
    // Plugins are released in the reverse order of their loading.
    ~CECGFramework();
    CECGFramework(const CECGFramework&) = delete;
    CECGFramework& operator=(const CECGFramework&) = delete;

    void SetWindowHost(IWindowHost* host) { m_pWindowHost = host; }
    void SetPrompts(platform::IUserPrompts* prompts) { m_pPrompts = prompts; }
    platform::IUserPrompts* GetPrompts() const { return m_pPrompts; }

    // Record lists; the framework borrows the records, the list view owns
    // them. Element access gives nullptr for an index out of range.
    void AppendSelected(records::CECGContentsData* record) { m_selected.push_back(record); }
    void ClearSelected() { m_selected.clear(); }
    int GetSelectedCount() const { return static_cast<int>(m_selected.size()); }
    records::CECGContentsData* GetSelected(int index) const { return At(m_selected, index); }
    void AppendListed(records::CECGContentsData* record) { m_listed.push_back(record); }
    void ClearListed() { m_listed.clear(); }
    int GetListedCount() const { return static_cast<int>(m_listed.size()); }
    records::CECGContentsData* GetListed(int index) const { return At(m_listed, index); }
    void AppendPrint(records::CECGContentsData* record) { m_printList.push_back(record); }
    void ClearPrint() { m_printList.clear(); }
    int GetPrintCount() const { return static_cast<int>(m_printList.size()); }
    records::CECGContentsData* GetPrint(int index) const { return At(m_printList, index); }

    // Paths of the record files the running import added.
    void AppendNewPath(const std::string& path) { m_newPaths.push_back(path); }
    void ClearNewPaths() { m_newPaths.clear(); }
    // Exact, case-sensitive comparison.
    bool IsNewPath(const std::string& path) const;

    // The busy frame: 1 when done, 0 when a call is already running (then
    // nothing changes). Disabling remembers the foreground window.
    int EnableAllWindows(bool enable);
    // Whether the windows are disabled for an operation right now.
    bool IsBusy() const { return m_bDisabled; }
    WindowHandle GetFrontWindow() const { return m_hFrontWindow; }

    // Asks, then deletes the selected records' files; 1 when the user
    // confirmed, 0 otherwise. The caller refreshes the list.
    int DeleteSelectedRecords(WindowHandle window);
    // Deletes one record's file (the caller has asked); the delete routine's
    // code, with its message shown for a failure.
    int DeleteRecord(const std::string& path);

    // The registry of open wave windows, keyed by their titles: the
    // program's name, "：" and the record's file name.
    static std::string RecordWindowKey(const records::CECGContentsData& record);
    // False (nothing changes) when a window with that key is registered.
    bool RegisterWindow(const std::string& key, WindowHandle window);
    // The number of windows left registered.
    int UnregisterWindow(const std::string& key);
    WindowHandle FindRecordWindow(const records::CECGContentsData& record) const;
    int GetRecordWindowCount() const { return static_cast<int>(m_registry.size()); }
    // The registered windows in registration order.
    std::vector<WindowHandle> RecordWindows() const {
        std::vector<WindowHandle> windows;
        for (const auto& entry : m_registry)
            windows.push_back(entry.second);
        return windows;
    }

    // Scans <shareFolder>/Plugin for "*.so" files.
    void LoadPlugins(const std::string& shareFolder);
    int GetPluginCount() const { return static_cast<int>(m_plugins.size()); }

    // A print job runs: the print commands stay disabled meanwhile.
    void SetPrinting(bool printing) { m_bPrinting = printing; }
    bool IsPrinting() const { return m_bPrinting; }

    CECGOptions& GetOptions() { return m_options; }
    const CECGOptions& GetOptions() const { return m_options; }
    device::DeviceState& GetDeviceState() { return m_deviceState; }
    // 0 = 20 mm/mV, 1 = 10 mm/mV, 2 = 5 mm/mV.
    int GetSensitivity() const { return m_nSensitivity; }
    void SetSensitivity(int index) { m_nSensitivity = index; }

private:
    static records::CECGContentsData* At(const RecordList& list, int index);
    void ShowDeleteFailure(int code, int count);

    int m_bBusy = 0;
    WindowHandle m_hFrontWindow = nullptr;
    // Kept beside the front window: there may be no foreground window to
    // remember, and the windows are disabled all the same.
    bool m_bDisabled = false;
    bool m_bPrinting = false;
    CECGOptions m_options;
    RecordList m_printList;
    RecordList m_selected;
    RecordList m_listed;
    std::vector<std::unique_ptr<CECGPlugin>> m_plugins;
    std::vector<std::string> m_newPaths;
    // Registration order, which the broadcasts to the windows follow.
    std::vector<std::pair<std::string, WindowHandle>> m_registry;
    device::DeviceState m_deviceState;
    int m_nSensitivity = 1;
    IWindowHost* m_pWindowHost = nullptr;
    platform::IUserPrompts* m_pPrompts = nullptr;
};

} // namespace app
