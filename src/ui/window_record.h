#pragma once
// Window records: the constant description of each program window and its controls.
// One builder (form_window.cpp) turns any record into a window; no window is built by
// code of its own. Texts are code page 936 bytes.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

enum class ProgramWindow { 主窗口, 作者窗口, 彩蛋窗口 };

enum class EventKind {
    Created,
    Moved,
    Resized,
    Clicked,
    LeftButtonDown,
    Periodic,
    Notification,
    QueryClose,
    QueryUnload,
};

struct EventArgs {
    int32_t x = 0;
    int32_t y = 0;
    int32_t keys = 0;   // 1 Ctrl, 2 Shift, 4 Alt
};

// A handler may give a result (only "false" ever changes what the frame does).
using Handler = std::optional<bool> (*)(const EventArgs& args);

struct Binding {
    const char* control;    // nullptr: the window itself
    EventKind event;
    Handler handler;
};

enum class ControlKind { Label, Button, ListBox, PictureBox, Timer };
enum class Align { Left, Centre, Right };

struct FontSpec {
    int32_t heightPx;       // character height, as a negative LOGFONT height
    int32_t weight;
};

struct ControlRecord {
    ControlKind kind;
    const char* name;
    int32_t left, top, width, height;
    bool visible;
    bool tabStop;
    int32_t tabIndex;
    const char* caption = "";
    Align align = Align::Left;
    bool wordWrap = false;
    const FontSpec* font = nullptr;     // nullptr: the default GUI font
    const char* picture = nullptr;      // RCDATA name of a PNG file
    int32_t periodMs = 0;               // timers only; 0 or less never ticks
};

struct WindowRecord {
    ProgramWindow id;
    const char* name;
    const char* caption;
    int32_t outerWidth, outerHeight;
    const char* iconFile;               // RCDATA name of an ICO file, or nullptr
    bool visible;
    std::span<const ControlRecord> controls;
    std::span<const Binding> bindings;
};

const WindowRecord& RecordOf(ProgramWindow window);

// The in-memory copy of a record: run-time property changes land here as well as in the
// live window, and destroying the window puts the copy back as it was read.
struct ControlState {
    std::string caption;
    bool visible = false;
};

struct WindowState {
    const WindowRecord* record = nullptr;
    int32_t outerHeight = 0;
    std::vector<ControlState> controls;
    class FormWindow* live = nullptr;

    void ReadFromRecord();
    std::optional<size_t> IndexOf(const char* controlName) const;
};
