// The private control classes: self-painted labels and picture boxes, and the timer
// control's hidden window. Each control window reaches its ControlSlot via GWLP_USERDATA.
#include <windows.h>

#include "app/frame.h"
#include "platform/text.h"
#include "ui/form_window.h"

const wchar_t kLabelClass[] = L"VarnelLabel";
const wchar_t kPictureClass[] = L"VarnelPicture";
const wchar_t kTimerClass[] = L"VarnelTimer";

namespace {

constexpr UINT_PTR kTimerId = 1;

ControlSlot* SlotOf(HWND hwnd)
{
    return reinterpret_cast<ControlSlot*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

const ControlRecord& RecordOf(const ControlSlot& slot)
{
    return slot.form->ControlRecordAt(slot.index);
}

// Ties the window to its slot from the creation parameters, and unties it as the window
// goes, so that no late message reaches a slot through a dead window.
void TrackSlot(HWND hwnd, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    }
}

UINT LabelFormat(const ControlRecord& label)
{
    UINT align = label.align == Align::Centre  ? DT_CENTER
                 : label.align == Align::Right ? DT_RIGHT
                                               : DT_LEFT;
    // With word wrap DT_VCENTER has no effect, so wrapped lines start at the top.
    return DT_NOCLIP | DT_VCENTER | align | (label.wordWrap ? DT_WORDBREAK : DT_SINGLELINE);
}

void PaintLabel(HWND hwnd, HDC dc)
{
    ControlSlot* slot = SlotOf(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (slot == nullptr)
        return;
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(hwnd, text.data(), length + 1);
    HFONT font = slot->font ? slot->font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SelectScope select(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, text.c_str(), length, &client, LabelFormat(RecordOf(*slot)));
}

void PaintPicture(HWND hwnd, HDC dc)
{
    ControlSlot* slot = SlotOf(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    if (slot != nullptr && slot->picture)
        slot->picture->Paint(dc, client, GetSysColor(COLOR_BTNFACE));
    else
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
}

// One paint routine per kind, shared by WM_PAINT and WM_PRINTCLIENT.
LRESULT SelfPaintedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                        void (*paint)(HWND, HDC))
{
    TrackSlot(hwnd, message, lParam);
    switch (message) {
    case WM_PAINT: {
        PaintScope scope(hwnd);
        paint(hwnd, scope.Dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        paint(hwnd, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;   // the paint fills the whole client area
    case WM_SETTEXT: {
        // Whoever changes the caption, the label shows it.
        LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SelfPaintedProc(hwnd, message, wParam, lParam, PaintLabel);
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SelfPaintedProc(hwnd, message, wParam, lParam, PaintPicture);
}

// The timer control: a hidden child window that carries the platform timer.
LRESULT CALLBACK TimerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TrackSlot(hwnd, message, lParam);
    ControlSlot* slot = SlotOf(hwnd);
    switch (message) {
    case WM_CREATE:
        if (slot != nullptr && RecordOf(*slot).periodMs > 0)
            SetTimer(hwnd, kTimerId, static_cast<UINT>(RecordOf(*slot).periodMs), nullptr);
        return 0;
    case WM_TIMER: {
        LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        if (slot != nullptr && wParam == kTimerId)
            DeliverEvent(slot->form->State(), RecordOf(*slot).name, EventKind::Periodic);
        return result;
    }
    case WM_DESTROY:
        KillTimer(hwnd, kTimerId);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterControlClass(const wchar_t* name, WNDPROC proc)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

}  // namespace

void RegisterControlClasses()
{
    RegisterControlClass(kLabelClass, LabelProc);
    RegisterControlClass(kPictureClass, PictureProc);
    RegisterControlClass(kTimerClass, TimerProc);
}
