// Input contexts, one per window that asked for one, kept until the window is destroyed.
#include "platform/ui/Ime.h"

#include "platform/ui/App.h"
#include "platform/ui/Wnd.h"

#include <memory>
#include <unordered_map>

namespace plat {

namespace {

using InputContexts = std::unordered_map<const Wnd*, std::unique_ptr<InputContext>>;

InputContexts& Contexts() { return CurrentUiContext().Get<InputContexts>(); }

} // namespace

HIMC ImmGetContext(Wnd* wnd)
{
    if (!IsWindow(wnd))
        return nullptr;
    std::unique_ptr<InputContext>& context = Contexts()[wnd];
    if (!context)
        context = std::make_unique<InputContext>(InputContext{wnd, false});
    return context.get();
}

BOOL ImmReleaseContext(Wnd* wnd, HIMC context) noexcept { return wnd != nullptr && context != nullptr; }

BOOL ImmGetOpenStatus(HIMC context) noexcept { return context != nullptr && context->open ? TRUE : FALSE; }

BOOL ImmSetOpenStatus(HIMC context, BOOL open)
{
    if (context == nullptr || !IsWindow(context->window))
        return FALSE;
    const bool wanted = open != FALSE;
    if (context->open == wanted)
        return TRUE;
    context->open = wanted;
    Wnd* window = context->window;
    window->SendMessage(WM_IME_NOTIFY, IMN_SETOPENSTATUS, 0);
    if (WinApp* app = GetApp(); app && app->GetDriver() && IsWindow(window))
        app->GetDriver()->WindowChanged(*window);
    return TRUE;
}

const InputContext* FindInputContext(const Wnd* wnd) noexcept
{
    const auto found = Contexts().find(wnd);
    return found == Contexts().end() ? nullptr : found->second.get();
}

void ForgetInputContext(const Wnd* wnd) noexcept { Contexts().erase(wnd); }

} // namespace plat
