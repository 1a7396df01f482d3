// Moving the top-level windows into a screen that changed size.
#include "platform/ui/ScreenFit.h"

#include "platform/ui/App.h"
#include "platform/ui/Wnd.h"

#include <algorithm>

namespace plat {

void FitWindowsToScreen(SIZE screen)
{
    WinApp* app = GetApp();
    Wnd* mainWnd = app != nullptr ? app->GetMainWnd() : nullptr;
    if (IsWindow(mainWnd) && !(mainWnd->GetStyle() & WS_CHILD))
        mainWnd->MoveWindow(0, 0, screen.cx, screen.cy);
    for (Wnd* top : Wnd::GetTopLevelWindows()) {
        if (top == mainWnd || !IsWindow(top) || !top->IsWindowVisible())
            continue;
        RECT place;
        top->GetWindowRect(&place);
        const LONG left = std::max<LONG>(0, std::min<LONG>(place.left, screen.cx - place.Width()));
        const LONG topEdge = std::max<LONG>(0, std::min<LONG>(place.top, screen.cy - place.Height()));
        if (left != place.left || topEdge != place.top)
            top->MoveWindow(left, topEdge, place.Width(), place.Height());
    }
}

} // namespace plat
