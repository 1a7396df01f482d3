// Input contexts, one per window that asked for one, kept until the window is destroyed, and
// the composition messages that carry a desktop input method's text to the window with the keys.
#include "platform/ui/Ime.h"

#include "platform/ui/App.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Wnd.h"

#include <memory>
#include <unordered_map>

namespace plat {

namespace {

using InputContexts = std::unordered_map<const Wnd*, std::unique_ptr<InputContext>>;

InputContexts& Contexts() { return CurrentUiContext().Get<InputContexts>(); }

Driver* CurrentDriver()
{
    WinApp* app = GetApp();
    return app != nullptr ? app->GetDriver() : nullptr;
}

void EndComposition(InputContext& context, bool keep)
{
    Wnd* window = context.window;
    CompositionString end;
    if (keep)
        end.result = std::move(context.composition.text);
    context.composition = CompositionString{};
    if (IsWindow(window))
        window->SendMessage(WM_IME_COMPOSITION, reinterpret_cast<WPARAM>(&end), GCS_COMPSTR | (keep ? GCS_RESULTSTR : 0));
    if (IsWindow(window))
        window->SendMessage(WM_IME_ENDCOMPOSITION);
    // The platform took the text or dropped it; the input method must not give it again.
    if (Driver* driver = CurrentDriver(); driver != nullptr && IsWindow(window))
        driver->CompositionEnded(*window);
}

} // namespace

HIMC ImmGetContext(Wnd* wnd)
{
    if (!IsWindow(wnd))
        return nullptr;
    std::unique_ptr<InputContext>& context = Contexts()[wnd];
    if (!context) {
        const Driver* driver = CurrentDriver();
        context = std::make_unique<InputContext>(InputContext{wnd, driver != nullptr && driver->InputMethodOpenAtStart(), true, {}});
    }
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
    if (Driver* driver = CurrentDriver(); driver != nullptr && IsWindow(window))
        driver->WindowChanged(*window);
    return TRUE;
}

void ImmAllowComposition(HIMC context, BOOL allowed)
{
    if (context == nullptr || context->allowed == (allowed != FALSE))
        return;
    // The window may go while it hears the end of its composition, and its context with it.
    Wnd* window = context->window;
    context->allowed = allowed != FALSE;
    if (!context->allowed && !context->composition.text.empty())
        EndComposition(*context, false);
    if (Driver* driver = CurrentDriver(); driver != nullptr && IsWindow(window))
        driver->WindowChanged(*window);
}

BOOL ImmNotifyIME(HIMC context, DWORD action, DWORD index, DWORD /*value*/)
{
    if (context == nullptr || action != NI_COMPOSITIONSTR || (index != CPS_COMPLETE && index != CPS_CANCEL))
        return FALSE;
    if (!context->composition.text.empty())
        EndComposition(*context, index == CPS_COMPLETE);
    return TRUE;
}

const InputContext* FindInputContext(const Wnd* wnd) noexcept
{
    const auto found = Contexts().find(wnd);
    return found == Contexts().end() ? nullptr : found->second.get();
}

void ForgetInputContext(const Wnd* wnd) noexcept { Contexts().erase(wnd); }

bool TakesComposition(Wnd* wnd)
{
    if (!IsWindow(wnd) || !wnd->IsWindowEnabled())
        return false;
    const auto* edit = dynamic_cast<const Edit*>(wnd);
    if (edit != nullptr && !edit->TakesComposedText())
        return false;
    if (const InputContext* context = FindInputContext(wnd))
        return context->open && context->allowed;
    const Driver* driver = CurrentDriver();
    return edit != nullptr && !edit->IsReadOnly() && driver != nullptr && driver->InputMethodOpenAtStart();
}

bool IsComposing(const Wnd* wnd) noexcept
{
    const InputContext* context = FindInputContext(wnd);
    return context != nullptr && !context->composition.text.empty();
}

void DeliverComposition(Wnd& wnd, const CompositionString& change)
{
    HIMC context = ImmGetContext(&wnd);
    if (context == nullptr)
        return;
    const bool starting = context->composition.text.empty();
    if (starting && change.text.empty() && change.result.empty())
        return; // nothing began and nothing is there to end
    if (!TakesComposition(&wnd)) {
        // Composed text has no place here (a cell without a text editor, a numeric field):
        // whatever the input method composed is dropped, not typed as letters.
        context->composition.text.clear();
        if (Driver* driver = CurrentDriver())
            driver->CompositionEnded(wnd);
        return;
    }
    if (starting) {
        wnd.SendMessage(WM_IME_STARTCOMPOSITION);
        // The window may have found that it cannot take composed text after all.
        if (!IsWindow(&wnd) || !TakesComposition(&wnd)) {
            if (Driver* driver = CurrentDriver(); driver != nullptr && IsWindow(&wnd))
                driver->CompositionEnded(wnd);
            return;
        }
    }
    context->composition = change;
    context->composition.result.clear();
    wnd.SendMessage(WM_IME_COMPOSITION, reinterpret_cast<WPARAM>(&change),
                    GCS_COMPSTR | (change.result.empty() ? 0 : GCS_RESULTSTR));
    if (change.text.empty() && IsWindow(&wnd))
        wnd.SendMessage(WM_IME_ENDCOMPOSITION);
}

void CompleteComposition()
{
    Wnd* focus = Wnd::GetFocus();
    if (IsComposing(focus))
        ImmNotifyIME(ImmGetContext(focus), NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
}

CompositionPlace QueryCompositionPlace(Wnd& wnd)
{
    CompositionPlace place;
    if (wnd.SendMessage(WM_IME_REQUEST, IMR_QUERYCHARPOSITION, reinterpret_cast<LPARAM>(&place)) == 0) {
        RECT window;
        wnd.GetWindowRect(&window);
        place.caret = RECT{window.left, window.top, window.left + 1, window.bottom};
    }
    return place;
}

} // namespace plat
