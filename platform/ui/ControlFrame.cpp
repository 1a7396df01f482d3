// A framed control's interior, the frame as thick as the driver draws it.
#include "platform/ui/ControlFrame.h"

#include "platform/ui/App.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/TextMeasure.h"
#include "platform/ui/Wnd.h"

#include <algorithm>

namespace plat {

bool HasControlFrame(const Wnd& wnd)
{
    return (wnd.GetStyle() & WS_BORDER) != 0 || (wnd.GetExStyle() & WS_EX_CLIENTEDGE) != 0 ||
           dynamic_cast<const Dialog*>(wnd.GetParent()) != nullptr;
}

RECT ControlInterior(const Wnd& wnd)
{
    RECT client;
    wnd.GetClientRect(&client);
    if (!HasControlFrame(wnd))
        return client;
    const WinApp* app = GetApp();
    const Driver* driver = app != nullptr ? app->GetDriver() : nullptr;
    const SIZE edge = driver != nullptr ? driver->ControlFrameEdge() : SIZE{CellTextMeasure::kColumnWidth, CellTextMeasure::kLineHeight};
    // A control too small for its frame keeps its rows rather than lose them to it.
    if (client.Width() <= 2 * edge.cx || client.Height() <= 2 * edge.cy)
        return client;
    return RECT{client.left + edge.cx, client.top + edge.cy, client.right - edge.cx, client.bottom - edge.cy};
}

} // namespace plat
