// The three program windows as data.
#include "ui/window_record.h"

#include <cstring>

#include "ui/handlers.h"
#include "watcher/scan_tick_handler.h"

namespace {

constexpr FontSpec kCountFont{19, 700};

// Controls are listed in record order: the first lies on top, and for equal tab-order
// numbers the last tab stop comes first when tabbing.
constexpr ControlRecord kMainControls[] = {
    {ControlKind::ListBox, "列表框1", 8, 120, 264, 144, true, true, 0},
    {ControlKind::Button, "按钮2", 160, 80, 80, 32, true, true, 0, "运行日志"},
    {ControlKind::Button, "按钮1", 240, 80, 32, 32, true, true, 0, "作者"},
    {ControlKind::PictureBox, "图片框1", 16, 8, 72, 112, true, false, 0, "", Align::Left, false,
     nullptr, "MAIN_PICTURE"},
    {ControlKind::PictureBox, "图片框2", 112, 80, 8, 8, true, false, 0},
    {ControlKind::Timer, "时钟1检测周期", 208, 16, 48, 24, false, false, 0, "", Align::Left, false,
     nullptr, nullptr, ScanPeriod},
    {ControlKind::Label, "标签4", 200, 48, 40, 24, true, false, 0, "0", Align::Left, false,
     &kCountFont},
    {ControlKind::Label, "标签2", 128, 48, 64, 24, true, false, 0, "签到次数：", Align::Right},
    {ControlKind::Label, "标签1", 96, 16, 152, 24, true, false, 0, "自动签到正在运行", Align::Centre},
};

constexpr Binding kMainBindings[] = {
    {nullptr, EventKind::Created, DoNothing},
    {"按钮2", EventKind::Clicked, ToggleLogPanel},
    {"按钮1", EventKind::Clicked, OpenAuthorWindow},
    {"图片框1", EventKind::LeftButtonDown, OpenHiddenWindow},
    {"时钟1检测周期", EventKind::Periodic, ScanTickHandler},
};

constexpr ControlRecord kAuthorControls[] = {
    {ControlKind::Label, "标签2", 88, 40, 88, 24, true, false, 0, "Morvale", Align::Left},
    {ControlKind::Label, "标签1", 96, 16, 80, 16, true, false, 0, "Kestrin", Align::Centre},
    {ControlKind::PictureBox, "图片框1", 8, 8, 64, 64, true, false, 0, "", Align::Left, false,
     nullptr, "AUTHOR_PICTURE"},
};

constexpr Binding kAuthorBindings[] = {
    {"标签2", EventKind::Notification, DoNothing},
    {"图片框1", EventKind::LeftButtonDown, DoNothing},
};

constexpr ControlRecord kHiddenControls[] = {
    {ControlKind::Button, "按钮2", 176, 8, 32, 32, true, true, 0, "取消"},
    {ControlKind::Button, "按钮1", 136, 8, 40, 32, true, true, 0, "同意"},
    {ControlKind::Label, "标签1", 16, 8, 112, 32, true, false, 0,
     "呦，都找到这来啦？\r\n那就加个QQ吧～", Align::Left, true},
};

constexpr Binding kHiddenBindings[] = {
    {"按钮1", EventKind::Clicked, OpenHiddenPage},
    {"按钮2", EventKind::Clicked, CloseHiddenWindow},
};

constexpr WindowRecord kRecords[] = {
    {ProgramWindow::主窗口, "主窗口", "Varnel自动签到", 284, CollapsedHeight, "APP_ICON_FILE", true,
     kMainControls, kMainBindings},
    {ProgramWindow::作者窗口, "作者窗口", "Hi～", 197, 98, nullptr, true, kAuthorControls,
     kAuthorBindings},
    {ProgramWindow::彩蛋窗口, "彩蛋窗口", "隐藏彩蛋", 223, 73, nullptr, true, kHiddenControls,
     kHiddenBindings},
};

}  // namespace

const WindowRecord& RecordOf(ProgramWindow window)
{
    return kRecords[static_cast<size_t>(window)];
}

void WindowState::ReadFromRecord()
{
    outerHeight = record->outerHeight;
    controls.clear();
    for (const ControlRecord& control : record->controls)
        controls.push_back({control.caption, control.visible});
}

std::optional<size_t> WindowState::IndexOf(const char* controlName) const
{
    for (size_t i = 0; i < record->controls.size(); ++i) {
        if (std::strcmp(record->controls[i].name, controlName) == 0)
            return i;
    }
    return std::nullopt;
}
