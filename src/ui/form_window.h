#pragma once
// One object per program window, reached from its HWND (set at WM_NCCREATE, cleared at
// WM_NCDESTROY). It builds the window and its controls from the window record and handles
// the behaviour that all program windows share: drawing, keyboard, focus, closing and the
// disabling of other windows while it is modal.
#include <windows.h>

#include <memory>
#include <vector>

#include "ui/gdi.h"
#include "ui/picture.h"
#include "ui/window_record.h"

class FormWindow;

// What a control window needs to find its record and paint itself.
struct ControlSlot {
    FormWindow* form = nullptr;
    size_t index = 0;
    HWND hwnd = nullptr;
    OwnedFont font;                     // a label's own font; otherwise the default GUI font
    std::unique_ptr<Picture> picture;   // picture boxes with a picture
};

class FormWindow {
public:
    // Creates the window hidden, with its controls; nullptr when it cannot be created.
    static FormWindow* Build(WindowState& state, HWND owner);

    // The program window that hwnd is, or that hwnd is a control of.
    static FormWindow* Containing(HWND hwnd);

    // Keyboard and mouse handling offered before dispatch; true when the message is consumed.
    static bool OfferMessage(const MSG& msg);

    HWND Hwnd() const { return hwnd_; }
    WindowState& State() const { return *state_; }
    const ControlRecord& ControlRecordAt(size_t index) const { return state_->record->controls[index]; }
    HWND ControlWindow(size_t index) const { return slots_[index]->hwnd; }

    void Show();
    void DisableOthersForModal();
    void RestoreDisabled();
    void RequestDestroy();
    bool MarkedForDestroy() const { return destroyMarked_; }
    void DestroyNow();

private:
    explicit FormWindow(WindowState& state) : state_(&state) {}

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool CreateControls();
    void SetIcons();
    void OnCommand(WPARAM wParam);
    void OnActivate(WPARAM wParam);
    void OnSetFocus();
    void OnClose();
    void OnDestroyRequest();
    bool OnKeyDown(WPARAM key);
    bool OnLeftButtonDown(const MSG& msg);
    std::optional<size_t> ControlIndexOf(HWND hwnd) const;
    void MoveFocus(bool backwards);
    HWND FirstTabStop() const;

    WindowState* state_;
    HWND hwnd_ = nullptr;
    bool built_ = false;
    std::vector<std::unique_ptr<ControlSlot>> slots_;
    OwnedIcon bigIcon_;
    OwnedIcon smallIcon_;
    HWND lastFocus_ = nullptr;
    bool modal_ = false;
    bool destroyMarked_ = false;
    struct Disabled {
        HWND hwnd;
        bool wasEnabled;
    };
    std::vector<Disabled> disabledByModal_;   // DisabledByModal
};

// Window classes of the self-painted labels and picture boxes and of the timer control.
void RegisterControlClasses();
extern const wchar_t kLabelClass[];
extern const wchar_t kPictureClass[];
extern const wchar_t kTimerClass[];
