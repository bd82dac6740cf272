// The framework's operations on the wave windows: opening a record's window
// (or bringing its open one forward) within the window limit, placing it,
// and closing, translating and enabling all of them in registration order.
#pragma once

#include "app/ECGFramework.h"

#include <functional>

class QWidget;

namespace records {
class CECGContentsData;
}

namespace ui {

class CWaveFrame;

// The wave window of a registered handle; nullptr for any other.
CWaveFrame* WaveFrameOf(app::WindowHandle window);

// 1 when the record's window is open (new, or the one already open brought
// forward), 0 after a message: the record cannot be read, or the limit of
// open windows ("MaxWaveDialog") is reached. `refreshList` goes to the new
// window; without it, a parent that is the main window is refreshed.
int OpenRecordWindow(app::CECGFramework& framework, QWidget* parent,
                     records::CECGContentsData& record, std::function<void()> refreshList = {});
// Opens the selected records in selection order, stopping at the first that
// fails; more selected records than the limit open nothing.
void OpenSelectedRecords(app::CECGFramework& framework, QWidget* parent,
                         std::function<void()> refreshList = {});
// Destroys every registered wave window.
void CloseAllRecordWindows(app::CECGFramework& framework);
// The interface language changed: every wave window follows.
void BroadcastApplyLanguage(app::CECGFramework& framework);
// The wave-window half of the busy frame.
void EnableRecordWindows(app::CECGFramework& framework, bool enable);

} // namespace ui
