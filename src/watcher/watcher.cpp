#include "watcher/watcher.h"

#include <windows.h>

#include <string>

#include "app/frame.h"
#include "platform/desktop.h"
#include "platform/text.h"
#include "ui/properties.h"
#include "ui/resources.h"
#include "watcher/conversions.h"
#include "watcher/scan_tick_handler.h"

WatcherState Watcher;

namespace {

WindowState& MainWindow() { return StateOf(ProgramWindow::主窗口); }

SnapshotList ListWindows(void*) { return ListVisibleTopLevelWindows(); }
bool Measure(void*, int32_t handle, Rect& rect) { return ExternalGetWindowRect(handle, rect); }
void Raise(void*) { RaiseSignInCount(); }
void Click(void*, int32_t x, int32_t y) { SimulateLeftClick(x, y); }
void Append(void*) { AppendSignInLog(); }
void Chime(void*) { PlaySignInChime(); }

const ScanSeam kDesktopSeam{nullptr, ListWindows, Measure, Raise, Click, Append, Chime};

}  // namespace

const ScanSeam& DesktopSeam() { return kDesktopSeam; }

void InitWindowSnapshot() { Watcher.windowSnapshot = SnapshotList(); }

void ReleaseWindowSnapshot() { Watcher.windowSnapshot = SnapshotList(); }

std::optional<bool> ScanTickHandler(const EventArgs&)
{
    ScanTick(DesktopSeam(), Watcher);
    return std::nullopt;
}

void RaiseSignInCount()
{
    // The caption is the only store of the count: whatever it holds is read as a number.
    std::string caption = GetCaption(MainWindow(), "标签4");
    double next = static_cast<double>(TextToInteger(caption.c_str())) + 1.0;
    SetCaption(MainWindow(), "标签4", NumberToText(next));
}

void AppendSignInLog()
{
    std::string line = SignInLogLine(CurrentDateTime());
    HWND list = ControlWindow(MainWindow(), "列表框1");
    if (list == nullptr)
        return;
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    int32_t data = TextToInteger(static_cast<double>(count) + 1.0);
    LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(line.c_str()).c_str()));
    if (index < 0)
        return;     // LB_ERR or LB_ERRSPACE: the line is lost, silently
    SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

void PlaySignInChime()
{
    // Resources live as long as the module: look the clip up once, not at every sign-in.
    static const std::span<const uint8_t> clip = ResourceBytes("SIGN_IN_CHIME");
    PlayWaveFromMemory(clip.data(), static_cast<uint32_t>(clip.size()), false);
}
