#include "app/frame.h"

#include <cfenv>
#include <new>
#include <vector>

#include "platform/desktop.h"
#include "ui/form_window.h"
#include "watcher/watcher.h"

int32_t EventBlockCount = 0;
FormWindow* ModalWindowMark = nullptr;

namespace {

std::vector<ExitHook> ExitHookList;
bool LoopStarted = false;
int quitCode = 0;
HWND hiddenOwner = nullptr;
WindowState windowStates[3];

constexpr wchar_t kOwnerClass[] = L"VarnelHiddenOwner";

// A tool window that is never shown: owning the modal windows keeps them off the taskbar.
HWND CreateHiddenOwner()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kOwnerClass;
    RegisterClassExW(&wc);
    return CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

}  // namespace

void PrepareFrame()
{
    hiddenOwner = CreateHiddenOwner();
    PrepareExternalGetWindowRect();
    for (int i = 0; i < 3; ++i) {
        windowStates[i].record = &RecordOf(static_cast<ProgramWindow>(i));
        windowStates[i].ReadFromRecord();
    }
}

namespace {

bool AnyProgramWindowLeft()
{
    for (const WindowState& state : windowStates) {
        if (state.live != nullptr)
            return true;
    }
    return false;
}

void DispatchOne(MSG& msg)
{
    if (!FormWindow::OfferMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Dispatches what is already queued; a quit message stays queued for the loop to see.
void DispatchWaiting()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            break;
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        DispatchOne(msg);
    }
}

// The steps of the shutdown that the fatal path shares with the orderly end.
void ReleaseFrame()
{
    ReleaseExternalGetWindowRect();
    if (hiddenOwner != nullptr) {
        DestroyWindow(hiddenOwner);
        hiddenOwner = nullptr;
    }
    StopAllWaves();
}

void RunLoop(bool modal)
{
    MSG msg;
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quitCode = static_cast<int>(msg.wParam);
            // A nested loop hands the quit message on, so that every loop ends.
            if (modal)
                PostQuitMessage(quitCode);
            return;
        }
        if (got == -1)
            return;
        DispatchOne(msg);
        if (modal && ModalWindowMark == nullptr)
            return;
    }
}

}  // namespace

HWND HiddenOwnerWindow() { return hiddenOwner; }

WindowState& StateOf(ProgramWindow window) { return windowStates[static_cast<size_t>(window)]; }

std::span<WindowState> ProgramWindowStates() { return windowStates; }

void RegisterExitHook(ExitHook hook)
{
    for (ExitHook existing : ExitHookList) {
        if (existing == hook)
            return;
    }
    ExitHookList.push_back(hook);
}

EventOutcome DeliverEvent(WindowState& window, const char* control, EventKind event,
                          const EventArgs& args)
{
    if (EventBlockCount > 0)
        return {};
    for (const Binding& binding : window.record->bindings) {
        bool sameControl = (binding.control == nullptr || control == nullptr)
                               ? binding.control == control
                               : std::string_view(binding.control) == control;
        if (sameControl && binding.event == event)
            return {true, binding.handler(args)};
    }
    return {};
}

bool LoadWindow(ProgramWindow window, HWND owner, bool modal)
{
    WindowState& state = StateOf(window);
    if (state.live != nullptr) {
        if (!state.live->MarkedForDestroy()) {
            HWND existing = state.live->Hwnd();
            if (IsIconic(existing))
                ShowWindow(existing, SW_RESTORE);
            else
                SetActiveWindow(existing);
            return true;
        }
        state.live->DestroyNow();
    }

    DispatchWaiting();
    ++EventBlockCount;
    FormWindow* form = FormWindow::Build(state, modal ? hiddenOwner : owner);
    DispatchWaiting();
    --EventBlockCount;
    if (form == nullptr)
        return false;

    for (EventKind event : {EventKind::Created, EventKind::Moved, EventKind::Resized}) {
        if (state.live != form)
            break;
        DeliverEvent(state, nullptr, event);
    }
    if (state.live != form)
        return true;
    if (state.record->visible)
        form->Show();
    if (modal) {
        form->DisableOthersForModal();
        RunModalLoop(*form);
    }
    return true;
}

void RunModalLoop(FormWindow& window)
{
    FormWindow* saved = ModalWindowMark;
    ModalWindowMark = &window;
    RunLoop(true);
    ModalWindowMark = saved;
}

void LoadStartupWindow(ProgramWindow window)
{
    if (!LoadWindow(window, nullptr, false))
        FatalError(L"无法创建程序窗口。");
}

void RunMessageLoop()
{
    LoopStarted = true;
    if (!AnyProgramWindowLeft())
        return;
    RunLoop(false);
}

void OnProgramWindowDestroyed(WindowState& state)
{
    if (ModalWindowMark == state.live)
        ModalWindowMark = nullptr;
    delete state.live;
    state.live = nullptr;
    state.ReadFromRecord();
    if (!AnyProgramWindowLeft() && LoopStarted)
        PostQuitMessage(0);
}

int32_t ProgramStart()
{
    std::set_new_handler(FatalOutOfMemory);
    PrepareFrame();
    std::fesetenv(FE_DFL_ENV);
    InitWindowSnapshot();
    RegisterExitHook(ReleaseWindowSnapshot);
    LoadStartupWindow(ProgramWindow::主窗口);
    RunMessageLoop();
    return 0;
}

int RunShutdown()
{
    ++EventBlockCount;
    for (ExitHook hook : ExitHookList)
        hook();
    ExitHookList.clear();
    ReleaseFrame();
    return quitCode;
}

void FatalError(const wchar_t* message)
{
    // Nothing here may allocate through operator new: this runs when the heap said no.
    std::set_new_handler(nullptr);
    ++EventBlockCount;
    // No owner: the box must not depend on a program window that may be half built.
    MessageBoxW(nullptr, message, L"Varnel自动签到", MB_OK | MB_ICONERROR);
    ExitHookList.clear();
    ReleaseFrame();
    ExitProcess(static_cast<UINT>(-1));
}

void FatalOutOfMemory()
{
    FatalError(L"内存不足，程序无法继续运行。");
}
