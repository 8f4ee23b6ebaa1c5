#include "ui/form_window.h"

#include "app/frame.h"
#include "platform/text.h"
#include "ui/ico_directory.h"
#include "ui/layout.h"
#include "ui/resources.h"

namespace {

constexpr wchar_t kFormClass[] = L"VarnelForm";
constexpr UINT kDestroyRequest = WM_APP + 1;    // posted by RequestDestroy

HFONT DefaultGuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

int32_t KeyFlags()
{
    int32_t keys = 0;
    if (GetKeyState(VK_CONTROL) < 0)
        keys |= 1;
    if (GetKeyState(VK_SHIFT) < 0)
        keys |= 2;
    if (GetKeyState(VK_MENU) < 0)
        keys |= 4;
    return keys;
}

HICON IconFromIcoImage(const IcoImage& image)
{
    return CreateIconFromResourceEx(const_cast<PBYTE>(image.bytes), image.size, TRUE, 0x00030000,
                                    image.width, image.height, LR_DEFAULTCOLOR);
}

}  // namespace

FormWindow* FormWindow::Build(WindowState& state, HWND owner)
{
    static bool classReady = false;
    if (!classReady) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kFormClass;
        RegisterClassExW(&wc);
        RegisterControlClasses();
        classReady = true;
    }

    const WindowRecord& record = *state.record;
    const int32_t width = record.outerWidth;
    const int32_t height = state.outerHeight;
    const int32_t x = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), width);
    const int32_t y = CentredOrigin(GetSystemMetrics(SM_CYSCREEN), height);
    const DWORD style = WS_OVERLAPPED | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

    std::unique_ptr<FormWindow> form(new FormWindow(state));
    HWND hwnd = CreateWindowExW(0, kFormClass, Widen(record.caption).c_str(), style, x, y, width,
                                height, owner, nullptr, GetModuleHandleW(nullptr), form.get());
    if (hwnd == nullptr)
        return nullptr;

    RECT outer;
    GetWindowRect(hwnd, &outer);
    if (outer.right - outer.left != width || outer.bottom - outer.top != height)
        SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    FormWindow* built = form.release();     // from here the window owns it
    state.live = built;
    built->built_ = true;
    built->SetIcons();
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultGuiFont()), FALSE);
    if (!built->CreateControls()) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    return built;
}

void FormWindow::SetIcons()
{
    const WindowRecord& record = *state_->record;
    if (record.iconFile != nullptr) {
        // The window's own ICO copy: entry 2 (32 x 32, 16 colours) big, entry 1 small.
        std::span<const uint8_t> ico = ResourceBytes(record.iconFile);
        std::vector<IcoImage> images = ReadIcoDirectory(ico.data(), ico.size());
        if (images.size() >= 2) {
            bigIcon_.Reset(IconFromIcoImage(images[1]));
            smallIcon_.Reset(IconFromIcoImage(images[0]));
        }
    } else {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        bigIcon_.Reset(static_cast<HICON>(LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, 32, 32, 0)));
        smallIcon_.Reset(static_cast<HICON>(LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, 16, 16, 0)));
    }
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
}

bool FormWindow::CreateControls()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto& controls = state_->record->controls;
    for (size_t i = 0; i < controls.size(); ++i) {
        const ControlRecord& control = controls[i];
        auto slot = std::make_unique<ControlSlot>();
        slot->form = this;
        slot->index = i;
        const wchar_t* className = kLabelClass;
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (control.tabStop ? WS_TABSTOP : 0);
        DWORD exStyle = 0;
        switch (control.kind) {
        case ControlKind::Label:
            if (control.font != nullptr) {
                LOGFONTW font{};
                font.lfHeight = -control.font->heightPx;
                font.lfWeight = control.font->weight;
                font.lfCharSet = DEFAULT_CHARSET;
                slot->font.Reset(CreateFontIndirectW(&font));
            }
            break;
        case ControlKind::Button:
            className = L"BUTTON";
            style |= BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER;
            break;
        case ControlKind::ListBox:
            className = L"LISTBOX";
            style |= LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::PictureBox:
            className = kPictureClass;
            if (control.picture != nullptr)
                slot->picture = std::make_unique<Picture>(control.picture);
            break;
        case ControlKind::Timer:
            className = kTimerClass;
            break;
        }
        slots_.push_back(std::move(slot));
        ControlSlot* placed = slots_.back().get();
        placed->hwnd = CreateWindowExW(
            exStyle, className, Widen(state_->controls[i].caption.c_str()).c_str(), style,
            control.left, control.top, control.width, control.height, hwnd_,
            reinterpret_cast<HMENU>(static_cast<intptr_t>(i + 1)), instance, placed);
        if (placed->hwnd == nullptr)
            return false;
        if (control.kind == ControlKind::Button || control.kind == ControlKind::ListBox)
            SendMessageW(placed->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultGuiFont()), FALSE);
    }

    // Record order is stacking order: the first control on top, each later one below.
    HWND above = HWND_TOP;
    for (auto& slot : slots_) {
        SetWindowPos(slot->hwnd, above, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        above = slot->hwnd;
    }
    for (size_t i = 0; i < slots_.size(); ++i) {
        if (controls[i].kind != ControlKind::Timer && state_->controls[i].visible)
            ShowWindow(slots_[i]->hwnd, SW_SHOWNA);
    }
    return true;
}

void FormWindow::Show()
{
    ShowWindow(hwnd_, SW_SHOW);
}

FormWindow* FormWindow::Containing(HWND hwnd)
{
    while (hwnd != nullptr) {
        wchar_t className[32];
        if (GetClassNameW(hwnd, className, 32) && lstrcmpW(className, kFormClass) == 0)
            return reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
            return nullptr;
        hwnd = GetParent(hwnd);
    }
    return nullptr;
}

std::optional<size_t> FormWindow::ControlIndexOf(HWND hwnd) const
{
    for (size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i]->hwnd == hwnd)
            return i;
    }
    return std::nullopt;
}

bool FormWindow::OfferMessage(const MSG& msg)
{
    FormWindow* form = Containing(msg.hwnd);
    if (form == nullptr)
        return false;
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // Key messages for a disabled window are left alone.
        return IsWindowEnabled(form->hwnd_) && form->OnKeyDown(msg.wParam);
    case WM_LBUTTONDOWN:
        return form->OnLeftButtonDown(msg);
    default:
        return false;
    }
}

bool FormWindow::OnKeyDown(WPARAM key)
{
    if (key == VK_ESCAPE) {
        SendMessageW(hwnd_, WM_CLOSE, 0, 0);
        return true;
    }
    if (key == VK_TAB && ControlIndexOf(GetFocus())) {
        MoveFocus(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    return false;
}

bool FormWindow::OnLeftButtonDown(const MSG& msg)
{
    std::optional<size_t> index = ControlIndexOf(msg.hwnd);
    const char* control = index ? ControlRecordAt(*index).name : nullptr;
    if (!index && msg.hwnd != hwnd_)
        return false;
    EventArgs args{LOWORD(msg.lParam), HIWORD(msg.lParam), KeyFlags()};
    EventOutcome outcome = DeliverEvent(*state_, control, EventKind::LeftButtonDown, args);
    // Only a handler that ran and said false keeps the press from the control.
    return outcome.handled && outcome.result.has_value() && !*outcome.result;
}

static std::vector<TabStopInfo> TabStopsOf(const FormWindow& form, size_t count)
{
    std::vector<TabStopInfo> stops;
    for (size_t i = 0; i < count; ++i) {
        const ControlRecord& control = form.ControlRecordAt(i);
        HWND hwnd = form.ControlWindow(i);
        stops.push_back({control.tabStop, IsWindowVisible(hwnd) != FALSE,
                         IsWindowEnabled(hwnd) != FALSE, control.tabIndex});
    }
    return stops;
}

void FormWindow::MoveFocus(bool backwards)
{
    std::optional<size_t> current = ControlIndexOf(GetFocus());
    std::vector<TabStopInfo> stops = TabStopsOf(*this, slots_.size());
    std::optional<size_t> next = NextInTabOrder(stops, current.value_or(slots_.size()), backwards);
    if (next)
        SetFocus(slots_[*next]->hwnd);
}

HWND FormWindow::FirstTabStop() const
{
    std::vector<TabStopInfo> stops = TabStopsOf(*this, slots_.size());
    std::vector<size_t> order = TabOrder(stops);
    return order.empty() ? nullptr : slots_[order.front()]->hwnd;
}

void FormWindow::DisableOthersForModal()
{
    modal_ = true;
    for (WindowState& other : ProgramWindowStates()) {
        if (other.live == nullptr || other.live == this)
            continue;
        HWND hwnd = other.live->Hwnd();
        if (GetParent(hwnd) != nullptr)
            continue;
        disabledByModal_.push_back({hwnd, IsWindowEnabled(hwnd) != FALSE});
        EnableWindow(hwnd, FALSE);
    }
}

void FormWindow::RestoreDisabled()
{
    for (const Disabled& entry : disabledByModal_) {
        if (IsWindow(entry.hwnd))
            EnableWindow(entry.hwnd, entry.wasEnabled);
    }
    disabledByModal_.clear();
    modal_ = false;
}

void FormWindow::RequestDestroy()
{
    destroyMarked_ = true;
    PostMessageW(hwnd_, kDestroyRequest, 0, 0);
}

void FormWindow::DestroyNow()
{
    destroyMarked_ = false;
    // Enable the owner again first, so that the system can hand the activation back to it.
    RestoreDisabled();
    DestroyWindow(hwnd_);
}

void FormWindow::OnDestroyRequest()
{
    if (destroyMarked_)
        DestroyNow();
}

void FormWindow::OnClose()
{
    for (EventKind query : {EventKind::QueryClose, EventKind::QueryUnload}) {
        EventOutcome outcome = DeliverEvent(*state_, nullptr, query);
        if (outcome.handled && outcome.result.has_value() && !*outcome.result)
            return;
    }
    DestroyNow();
}

void FormWindow::OnCommand(WPARAM wParam)
{
    size_t id = LOWORD(wParam);
    if (HIWORD(wParam) != BN_CLICKED || id == 0 || id > slots_.size())
        return;
    const ControlRecord& control = ControlRecordAt(id - 1);
    if (control.kind == ControlKind::Button)
        DeliverEvent(*state_, control.name, EventKind::Clicked);
}

void FormWindow::OnActivate(WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (ControlIndexOf(focus))
            lastFocus_ = focus;
        return;
    }
    // Activated while disabled (from the taskbar, say): hand the activation to the modal window.
    if (!IsWindowEnabled(hwnd_) && GetParent(hwnd_) == nullptr && ModalWindowMark != nullptr &&
        ModalWindowMark != this) {
        HWND modal = ModalWindowMark->Hwnd();
        if (IsWindowVisible(modal) && IsWindowEnabled(modal))
            SetActiveWindow(modal);
    }
}

void FormWindow::OnSetFocus()
{
    if (lastFocus_ != nullptr && IsWindow(lastFocus_) && ControlIndexOf(lastFocus_)) {
        SetFocus(lastFocus_);
        return;
    }
    if (HWND first = FirstTabStop())
        SetFocus(first);
}

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* form = static_cast<FormWindow*>(create->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        if (form->built_)
            OnProgramWindowDestroyed(form->State());   // deletes form
        return result;
    }
    return form->HandleMessage(message, wParam, lParam);
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        OnCommand(wParam);
        return 0;
    case WM_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_ACTIVATE:
        OnActivate(wParam);
        break;
    case WM_SETFOCUS:
        OnSetFocus();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case kDestroyRequest:
        OnDestroyRequest();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}
