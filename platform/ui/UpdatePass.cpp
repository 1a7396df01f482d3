// The update pass: WM_PAINT handlers run here, between input and painting.
#include "platform/ui/UpdatePass.h"

#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Frames.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/Wnd.h"

#include <algorithm>
#include <vector>

namespace plat {

namespace {

// A handler that keeps invalidating windows would otherwise hold the screen still forever.
constexpr int kMaxRounds = 4;

// Invalidated, or never drawn and not yet asked in this pass (an owner-drawn button that
// draws nothing shows as a push button, and is not asked again and again).
bool NeedsPaint(Wnd& wnd, const std::vector<Wnd*>& asked)
{
    if (!wnd.GetInvalidations().empty())
        return true;
    return wnd.GetDrawing().empty() && std::find(asked.begin(), asked.end(), &wnd) == asked.end();
}

void CollectDirty(Wnd& wnd, const std::vector<Wnd*>& asked, std::vector<Wnd*>& dirty)
{
    if (!(wnd.GetStyle() & WS_VISIBLE))
        return;
    if (DrawsItself(wnd) && NeedsPaint(wnd, asked))
        dirty.push_back(&wnd);
    for (Wnd* child : wnd.GetChildren())
        if (IsWindow(child))
            CollectDirty(*child, asked, dirty);
}

} // namespace

bool DrawsItself(Wnd& wnd)
{
    if (auto* button = dynamic_cast<Button*>(&wnd))
        return button->GetButtonStyle() == BS_OWNERDRAW;
    return !dynamic_cast<FrameWnd*>(&wnd) && !dynamic_cast<Dialog*>(&wnd) && !dynamic_cast<PropertySheet*>(&wnd) &&
           !dynamic_cast<Edit*>(&wnd) && !dynamic_cast<ComboBox*>(&wnd) && !dynamic_cast<ListBox*>(&wnd) &&
           !dynamic_cast<ListView*>(&wnd) && !dynamic_cast<ProgressCtrl*>(&wnd) && !dynamic_cast<Static*>(&wnd);
}

void UpdateWindows()
{
    std::vector<Wnd*> asked;
    for (int round = 0; round < kMaxRounds; ++round) {
        std::vector<Wnd*> dirty;
        for (Wnd* top : Wnd::GetTopLevelWindows())
            if (IsWindow(top))
                CollectDirty(*top, asked, dirty);
        if (dirty.empty())
            return;
        asked.insert(asked.end(), dirty.begin(), dirty.end());
        for (Wnd* wnd : dirty) {
            // An earlier handler may have closed it.
            if (!IsWindow(wnd))
                continue;
            wnd->SendMessage(WM_PAINT);
            if (IsWindow(wnd))
                wnd->ValidateRect(); // a window that does not paint is not asked again and again
        }
    }
}

} // namespace plat
