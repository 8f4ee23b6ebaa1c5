#pragma once
// The application frame: start-up, the message loops, event delivery, exit hooks, shutdown.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

#include "ui/window_record.h"

using ExitHook = void (*)();

// The whole life of the program up to the end of its message loop; always 0.
int32_t ProgramStart();

// Start-up step one: the hidden owner, the external GetWindowRect, the records in memory.
void PrepareFrame();

// The orderly shutdown after ProgramStart has returned; gives the process exit code.
int RunShutdown();

// Adds a routine to ExitHookList unless it is there already.
void RegisterExitHook(ExitHook hook);

// Builds a program window from its record. A modal load returns after the window is gone.
bool LoadWindow(ProgramWindow window, HWND owner, bool modal);
void LoadStartupWindow(ProgramWindow window);
void RunMessageLoop();

struct EventOutcome {
    bool handled = false;
    std::optional<bool> result;
};
EventOutcome DeliverEvent(WindowState& window, const char* control, EventKind event,
                          const EventArgs& args = {});

// The fatal path: error box with no owner, exit hooks dropped, exit code -1.
[[noreturn]] void FatalError(const wchar_t* message);
[[noreturn]] void FatalOutOfMemory();   // the new-handler: exhausted memory

// Frame state that the program windows consult.
extern int32_t EventBlockCount;
extern class FormWindow* ModalWindowMark;
HWND HiddenOwnerWindow();
WindowState& StateOf(ProgramWindow window);
std::span<WindowState> ProgramWindowStates();

// Called by a program window as it is finally destroyed.
void OnProgramWindowDestroyed(WindowState& state);

// The modal loop for a window that LoadWindow has built and shown.
void RunModalLoop(class FormWindow& window);
