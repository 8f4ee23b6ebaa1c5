// The desktop operations against real windows, and the sign-in record on a real 主窗口.
#include <gtest/gtest.h>

#include <string>

#include "app/frame.h"
#include "driver.h"
#include "platform/desktop.h"
#include "platform/text.h"
#include "ui/form_window.h"
#include "ui/picture.h"
#include "ui/properties.h"
#include "ui/resources.h"
#include "watcher/conversions.h"
#include "watcher/watcher.h"

using namespace std::chrono_literals;

namespace {

struct ClickRecord {
    int downs = 0;
    int ups = 0;
    POINT down{-1, -1};
    POINT up{-1, -1};
};

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* record = reinterpret_cast<ClickRecord*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (record != nullptr && message == WM_LBUTTONDOWN) {
        ++record->downs;
        record->down = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    } else if (record != nullptr && message == WM_LBUTTONUP) {
        ++record->ups;
        record->up = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND MakeRecordingWindow(ClickRecord& record, int x, int y, int width, int height)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ClickRecorder";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassW(&wc);
        registered = true;
    }
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, L"ClickRecorder", L"recorder", WS_POPUP | WS_VISIBLE, x, y,
                                width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
    return hwnd;
}

void PumpFor(std::chrono::milliseconds duration, const std::function<bool()>& done = [] { return false; })
{
    auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end && !done()) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

}  // namespace

TEST(Desktop, ClickLandsAtTheExactPointAndLeavesTheCursorThere)
{
    ClickRecord record;
    HWND target = MakeRecordingWindow(record, 300, 300, 200, 200);
    SetForegroundWindow(target);
    PumpFor(300ms);

    SimulateLeftClick(400, 420);
    PumpFor(3s, [&] { return record.ups > 0; });

    EXPECT_EQ(1, record.downs);
    EXPECT_EQ(1, record.ups);
    EXPECT_EQ(100, record.down.x);
    EXPECT_EQ(120, record.down.y);
    EXPECT_EQ(100, record.up.x);
    EXPECT_EQ(120, record.up.y);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(400, cursor.x);
    EXPECT_EQ(420, cursor.y);
    DestroyWindow(target);
}

TEST(Desktop, ExternalGetWindowRectMeasuresLiveWindowsAndLeavesTheRecordOnFailure)
{
    PrepareExternalGetWindowRect();
    ClickRecord record;
    HWND window = MakeRecordingWindow(record, 123, 45, 300, 322);
    auto handle = static_cast<int32_t>(reinterpret_cast<intptr_t>(window));

    Rect rect;
    ASSERT_TRUE(ExternalGetWindowRect(handle, rect));
    EXPECT_EQ(123, rect.left);
    EXPECT_EQ(45, rect.top);
    EXPECT_EQ(423, rect.right);
    EXPECT_EQ(367, rect.bottom);

    DestroyWindow(window);
    Rect before{1, 2, 3, 4};
    rect = before;
    EXPECT_FALSE(ExternalGetWindowRect(handle, rect));
    EXPECT_EQ(before.left, rect.left);
    EXPECT_EQ(before.bottom, rect.bottom);
    EXPECT_FALSE(ExternalGetWindowRect(0, rect));
    ReleaseExternalGetWindowRect();
}

TEST(Desktop, TheSnapshotListsVisibleTopLevelWindowsOnly)
{
    ClickRecord record;
    HWND visible = MakeRecordingWindow(record, 10, 10, 50, 50);
    HWND hidden = CreateWindowExW(0, L"ClickRecorder", L"hidden", WS_POPUP, 0, 0, 300, 322, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    SnapshotList list = ListVisibleTopLevelWindows();
    auto has = [&](HWND hwnd) {
        std::string text = std::to_string(static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd)));
        for (size_t i = 0; i < list.Count(); ++i) {
            if (text == list.Item(i))
                return true;
        }
        return false;
    };
    EXPECT_TRUE(has(visible));
    EXPECT_FALSE(has(hidden));
    DestroyWindow(visible);
    DestroyWindow(hidden);
}

TEST(Desktop, OpenWebAddressReachesTheShell)
{
    // Wine's shell hands web addresses to the first program listed under WineBrowser.
    std::string record = std::string(BROWSER_RECORD);
    DeleteFileW(driver::ToWindowsPath(record).c_str());
    driver::UseBrowser(BROWSER_RECORDER);

    OpenWebAddress("https://www.example.com/varnel/测试?a=1&b=2");
    std::string seen;
    EXPECT_TRUE(driver::WaitFor([&] { return !(seen = driver::ReadWholeFile(record)).empty(); }, 20s));
    // The recorder is a Unix program: it sees the address in UTF-8.
    EXPECT_EQ(reinterpret_cast<const char*>(u8"https://www.example.com/varnel/测试?a=1&b=2\n"), seen.substr(0, seen.find('\n') + 1))
        << "the address reached the browser as sent";
}

TEST(SignInRecord, CountAndLogOnARealMainWindow)
{
    PrepareFrame();
    ASSERT_TRUE(LoadWindow(ProgramWindow::主窗口, nullptr, false));
    WindowState& main = StateOf(ProgramWindow::主窗口);
    HWND list = ControlWindow(main, "列表框1");
    HWND count = ControlWindow(main, "标签4");
    ASSERT_TRUE(list && count);

    for (int i = 1; i <= 10; ++i) {
        double before = CurrentDateTime();
        RaiseSignInCount();
        AppendSignInLog();
        double after = CurrentDateTime();
        EXPECT_EQ(Widen(std::to_string(i).c_str()), driver::Text(count));
        ASSERT_EQ(i, SendMessageW(list, LB_GETCOUNT, 0, 0));
        EXPECT_EQ(i, SendMessageW(list, LB_GETITEMDATA, i - 1, 0)) << "the n-th line carries n";
        wchar_t line[128] = {};
        SendMessageW(list, LB_GETTEXT, i - 1, reinterpret_cast<LPARAM>(line));
        EXPECT_TRUE(line == Widen(SignInLogLine(before).c_str()) || line == Widen(SignInLogLine(after).c_str()))
            << "the line is the local date text followed by 自动签到";
    }
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETCURSEL, 0, 0)) << "nothing is selected";
    EXPECT_EQ(0, SendMessageW(list, LB_GETTOPINDEX, 0, 0)) << "the list does not scroll by itself";

    // Whatever the caption holds is the count, also when another process wrote it.
    const struct {
        const wchar_t* caption;
        const wchar_t* next;
    } cases[] = {
        {L"abc", L"1"},
        {L"", L"1"},
        {L"9", L"10"},
        {L"2147483647", L"2147483648"},
        {L"2147483648", L"-2147483647"},
    };
    for (const auto& c : cases) {
        SendMessageW(count, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.caption));
        RaiseSignInCount();
        EXPECT_EQ(c.next, driver::Text(count)) << "after " << Narrow(c.caption, lstrlenW(c.caption));
    }
    DestroyWindow(main.live->Hwnd());
    EXPECT_EQ(nullptr, main.live);
}

TEST(Pictures, MainPictureDecodesOpaqueAgainstTheBackgroundAndBadBytesGiveNoPicture)
{
    std::span<const uint8_t> png = ResourceBytes("MAIN_PICTURE");
    ASSERT_FALSE(png.empty());
    const COLORREF face = RGB(212, 208, 200);
    int width = 0, height = 0;
    OwnedBitmap bitmap = DecodePngToBitmap(png, face, width, height);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(1072, width);
    EXPECT_EQ(1500, height);
    DIBSECTION dib{};
    ASSERT_EQ(static_cast<int>(sizeof(dib)), GetObjectW(bitmap.Get(), sizeof(dib), &dib));
    auto* pixels = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    // The transparent margin shows the background; every pixel is opaque.
    EXPECT_EQ(200, pixels[0]);
    EXPECT_EQ(208, pixels[1]);
    EXPECT_EQ(212, pixels[2]);
    bool allOpaque = true;
    for (size_t i = 3; i < static_cast<size_t>(width) * height * 4; i += 4)
        allOpaque = allOpaque && pixels[i] == 255;
    EXPECT_TRUE(allOpaque);

    // Bytes the decoder refuses give no picture, whatever they are.
    std::vector<uint8_t> truncated(png.begin(), png.begin() + png.size() / 2);
    std::vector<uint8_t> garbage(4096, 0x5a);
    for (const std::vector<uint8_t>* bytes : {&truncated, &garbage}) {
        OwnedBitmap none = DecodePngToBitmap(*bytes, face, width, height);
        EXPECT_FALSE(none);
    }
    EXPECT_FALSE(DecodePngToBitmap({}, face, width, height));
}

namespace {

// A list box that has run out of room: every LB_ADDSTRING is refused, and whatever else
// arrives is noted.
WNDPROC listDefault = nullptr;
int itemDataRequests = 0;

LRESULT CALLBACK RefusingList(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LB_ADDSTRING)
        return LB_ERRSPACE;
    if (message == LB_SETITEMDATA)
        ++itemDataRequests;
    return CallWindowProcW(listDefault, hwnd, message, wParam, lParam);
}

}  // namespace

TEST(SignInRecord, AListThatRefusesALineLosesItQuietlyAndTheCountGoesOn)
{
    PrepareFrame();
    ASSERT_TRUE(LoadWindow(ProgramWindow::主窗口, nullptr, false));
    WindowState& main = StateOf(ProgramWindow::主窗口);
    HWND list = ControlWindow(main, "列表框1");
    listDefault = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingList)));

    for (int i = 0; i < 3; ++i) {
        RaiseSignInCount();
        AppendSignInLog();
    }
    EXPECT_EQ(L"3", driver::Text(ControlWindow(main, "标签4")));
    EXPECT_EQ(0, SendMessageW(list, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(0, itemDataRequests) << "no item data is set for a refused line";

    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listDefault));
    AppendSignInLog();
    EXPECT_EQ(1, SendMessageW(list, LB_GETCOUNT, 0, 0)) << "a line is added again once there is room";
    EXPECT_EQ(1, SendMessageW(list, LB_GETITEMDATA, 0, 0));
    DestroyWindow(main.live->Hwnd());
}
