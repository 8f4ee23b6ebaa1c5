#include "ui/handlers.h"

#include "app/frame.h"
#include "platform/desktop.h"
#include "ui/properties.h"

int32_t LogPanelShown = 0;

// A neutral page on the reserved example domain.
const char HiddenPageAddress[] = "https://www.example.com/varnel/hidden-page.html";

std::optional<bool> DoNothing(const EventArgs&)
{
    return std::nullopt;
}

std::optional<bool> ToggleLogPanel(const EventArgs&)
{
    // The flag alone decides; the window's actual height is not read.
    WindowState& main = StateOf(ProgramWindow::主窗口);
    if (LogPanelShown == 0) {
        SetOuterHeight(main, ExpandedHeight);
        LogPanelShown = 1;
        SetControlVisible(main, "列表框1", true);
    } else {
        SetOuterHeight(main, CollapsedHeight);
        LogPanelShown = 0;
        SetControlVisible(main, "列表框1", false);
    }
    return std::nullopt;
}

std::optional<bool> OpenAuthorWindow(const EventArgs&)
{
    LoadWindow(ProgramWindow::作者窗口, nullptr, true);
    return std::nullopt;
}

std::optional<bool> OpenHiddenWindow(const EventArgs&)
{
    // No result: the press always goes on to the picture box.
    LoadWindow(ProgramWindow::彩蛋窗口, nullptr, true);
    return std::nullopt;
}

std::optional<bool> OpenHiddenPage(const EventArgs&)
{
    OpenWebAddress(HiddenPageAddress);
    return std::nullopt;
}

std::optional<bool> CloseHiddenWindow(const EventArgs&)
{
    RequestWindowDestroy(StateOf(ProgramWindow::彩蛋窗口));
    return std::nullopt;
}
