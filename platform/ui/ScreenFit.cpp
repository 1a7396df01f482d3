// Moving the top-level windows into a screen that changed size.
#include "platform/ui/ScreenFit.h"

#include "platform/ui/App.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/Wnd.h"

#include <algorithm>

namespace plat {

void FitWindowsToScreen(SIZE screen, SIZE dialogFrame)
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
        const bool boxed = dynamic_cast<Dialog*>(top) != nullptr || dynamic_cast<PropertySheet*>(top) != nullptr;
        const SIZE frame = boxed ? dialogFrame : SIZE{};
        const LONG outerWidth = place.Width() + 2 * frame.cx;
        const LONG outerHeight = place.Height() + 2 * frame.cy;
        const LONG left = std::max<LONG>(0, std::min<LONG>(place.left - frame.cx, screen.cx - outerWidth)) + frame.cx;
        const LONG topEdge = std::max<LONG>(0, std::min<LONG>(place.top - frame.cy, screen.cy - outerHeight)) + frame.cy;
        if (left != place.left || topEdge != place.top)
            top->MoveWindow(left, topEdge, place.Width(), place.Height());
    }
}

} // namespace plat
