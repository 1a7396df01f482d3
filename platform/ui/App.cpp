// The application object, message boxes, key state, the wait cursor, and the routing of
// input events into the window tree.
#include "platform/ui/App.h"

#include "platform/resource/AppIdentity.h"
#include "platform/ui/Ime.h"
#include "platform/ui/MenuTracker.h"
#include "platform/ui/Wnd.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <utility>
#include <vector>

namespace plat {

namespace {

WinApp*& CurrentApp()
{
    static WinApp* app = nullptr;
    return app;
}

// Whether the last turn of a loop ended because memory ran out: a second such turn in a row
// means the program cannot do anything more, not even show a box.
bool g_outOfMemoryLastTurn = false;

// What an escaped exception says, copied without allocating: memory may be what ran out.
struct EscapedError {
    char what[256] = {};
    bool outOfMemory = false;
};

EscapedError CurrentError() noexcept
{
    EscapedError error;
    const char* what = "an unknown exception";
    try {
        throw;
    } catch (const std::bad_alloc&) {
        error.outOfMemory = true;
        what = "out of memory";
    } catch (const std::exception& exception) {
        what = exception.what();
    } catch (...) {
    }
    std::strncpy(error.what, what, sizeof error.what - 1);
    return error;
}

void ReportEscapedError(const EscapedError& error) noexcept
{
    WinApp* app = GetApp();
    if (error.outOfMemory && g_outOfMemoryLastTurn && app)
        app->EndAfterFailure(error.what);
    g_outOfMemoryLastTurn = error.outOfMemory;
    try {
        MessageBox(nullptr,
                   std::string("予期しないエラーが発生しました。\n") + error.what +
                       "\nこの操作は途中で止まりました。編集中のデータは残っています。",
                   {}, MB_OK | MB_ICONERROR);
    } catch (...) {
        if (app)
            app->EndAfterFailure(error.what);
    }
}

LPARAM PointParam(POINT point)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(point.x)), static_cast<WORD>(static_cast<short>(point.y)));
}

} // namespace

InputEvent InputEvent::KeyPress(int virtualKey, bool shift, bool control)
{
    InputEvent event;
    event.kind = Kind::Key;
    event.key = virtualKey;
    event.shift = shift;
    event.control = control;
    return event;
}

InputEvent InputEvent::Character(char32_t ch)
{
    InputEvent event;
    event.kind = Kind::Char;
    event.ch = ch;
    return event;
}

InputEvent InputEvent::Composition(CompositionString change)
{
    InputEvent event;
    event.kind = Kind::Composition;
    event.composition = std::make_shared<const CompositionString>(std::move(change));
    return event;
}

InputEvent InputEvent::MouseClick(POINT screen, Kind kind)
{
    InputEvent event;
    event.kind = kind;
    event.point = screen;
    return event;
}

InputEvent InputEvent::MouseDrag(POINT from, POINT to)
{
    InputEvent event;
    event.kind = Kind::Drag;
    event.point = from;
    event.to = to;
    return event;
}

InputEvent InputEvent::MouseMove(POINT screen)
{
    InputEvent event;
    event.kind = Kind::Move;
    event.point = screen;
    return event;
}

InputEvent InputEvent::MouseWheel(POINT screen, int delta)
{
    InputEvent event;
    event.kind = Kind::Wheel;
    event.point = screen;
    event.wheel = delta;
    return event;
}

WinApp::WinApp(std::string name, std::string category, Driver* driver)
    : m_name(std::move(name)), m_category(std::move(category)), m_driver(driver)
{
    SetAppIdentity(AppIdentity{m_name, m_category});
    // The windows and state made before the application become its own.
    m_context.Swap(CurrentUiContext());
    CurrentApp() = this;
}

WinApp::~WinApp()
{
    if (CurrentApp() == this) {
        CurrentApp() = nullptr;
        // Windows that outlive the application keep their state.
        m_context.Swap(ProcessUiContext());
    }
}

WinApp* GetApp() noexcept { return CurrentApp(); }

std::size_t UiContext::NextSlotIndex() noexcept
{
    static std::size_t next = 0;
    return next++;
}

UiContext& ProcessUiContext() noexcept
{
    // Never destroyed: windows and menus may still be torn down while the program exits.
    static UiContext& context = *new UiContext;
    return context;
}

UiContext& CurrentUiContext() noexcept
{
    WinApp* app = CurrentApp();
    return app ? app->GetUiContext() : ProcessUiContext();
}

int WinApp::Run()
{
    if (!m_driver)
        return 0;
    while (IsWindow(m_mainWnd))
        if (!PumpMessage(*m_driver))
            break;
    return 0;
}

bool WinApp::WriteRecovery() noexcept
{
    try {
        return m_recoveryWriter && m_recoveryWriter();
    } catch (...) {
        return false;
    }
}

void WinApp::EndAfterFailure(std::string_view why) noexcept
{
    const bool kept = WriteRecovery();
    if (m_driver)
        m_driver->ReleaseForExit();
    std::fprintf(stderr, "%s: cannot go on after an unexpected error (%.*s); %s\n", m_name.c_str(),
                 static_cast<int>(why.size()), why.data(),
                 kept ? "the unsaved changes are in the recovery copy" : "the unsaved changes could not be kept");
    // Unwinding or static destructors could meet the same fault again; what mattered is kept.
    std::_Exit(kExitAfterFailure);
}

namespace {
std::vector<void (*)() noexcept>& EscapedErrorCleanups()
{
    static std::vector<void (*)() noexcept> cleanups;
    return cleanups;
}
} // namespace

void AddEscapedErrorCleanup(void (*cleanup)() noexcept)
{
    auto& cleanups = EscapedErrorCleanups();
    if (std::find(cleanups.begin(), cleanups.end(), cleanup) == cleanups.end())
        cleanups.push_back(cleanup);
}

bool PumpMessage(Driver& driver)
{
    try {
        bool more = true;
        if (!DispatchOnePostedMessage()) {
            const std::optional<InputEvent> event = driver.NextEvent();
            if (event)
                DispatchInput(*event);
            else
                more = false;
        }
        g_outOfMemoryLastTurn = false;
        return more;
    } catch (...) {
        const EscapedError error = CurrentError();
        for (auto cleanup : EscapedErrorCleanups())
            cleanup();
        ReportEscapedError(error);
        return true;
    }
}

void WinApp::BeginWaitCursor()
{
    if (m_waitDepth++ == 0 && m_driver)
        m_driver->WaitCursorChanged(true);
}

void WinApp::EndWaitCursor()
{
    if (m_waitDepth > 0 && --m_waitDepth == 0 && m_driver)
        m_driver->WaitCursorChanged(false);
}

WaitCursor::WaitCursor()
{
    if (WinApp* app = GetApp())
        app->BeginWaitCursor();
}

WaitCursor::~WaitCursor()
{
    if (WinApp* app = GetApp())
        app->EndWaitCursor();
}

int MessageBox(Wnd* owner, std::string_view text, std::string_view caption, UINT style)
{
    WinApp* app = GetApp();
    Driver* driver = app ? app->GetDriver() : nullptr;
    if (!driver)
        return 0;
    const std::string title = caption.empty() ? app->GetName() : std::string(caption);
    return driver->MessageBox(owner ? owner : GetActiveWindow(), std::string(text), title, style);
}

int MessageBox(std::string_view text, UINT style) { return MessageBox(nullptr, text, {}, style); }

short GetKeyState(int virtualKey)
{
    WinApp* app = GetApp();
    Driver* driver = app ? app->GetDriver() : nullptr;
    return driver && driver->IsKeyDown(virtualKey) ? static_cast<short>(0x8000) : 0;
}

namespace {

struct Pointer {
    POINT position;
    int cursor = IDC_ARROW;
};

Pointer& PointerState() { return CurrentUiContext().Get<Pointer>(); }

} // namespace

int SetCursor(int cursorId)
{
    Pointer& pointer = PointerState();
    const int before = std::exchange(pointer.cursor, cursorId);
    WinApp* app = GetApp();
    if (before != cursorId && app && app->GetDriver())
        app->GetDriver()->CursorChanged(cursorId);
    return before;
}

BOOL GetCursorPos(POINT* point)
{
    if (!point)
        return FALSE;
    *point = PointerState().position;
    return TRUE;
}

// The window under a screen point inside the active window, or null.
static Wnd* WindowAt(Wnd& active, POINT screen)
{
    POINT point = screen;
    active.ScreenToClient(&point);
    RECT client;
    active.GetClientRect(&client);
    return client.Contains(point) ? active.ChildWindowFromPointDeep(point) : nullptr;
}

// A composition under way in the window with the keys meets a key or the mouse: Return takes
// it and Escape drops it, and neither goes further (the person meant the composition, not the
// window); anything else takes it first, so that the text lands where it was typed before the
// key or click moves on. True when the event is used up.
static bool EndCompositionFor(const InputEvent& event)
{
    Wnd* focus = Wnd::GetFocus();
    if (event.kind == InputEvent::Kind::Composition || event.kind == InputEvent::Kind::Wheel || event.kind == InputEvent::Kind::Move ||
        !IsComposing(focus))
        return false;
    const bool plainKey = event.kind == InputEvent::Kind::Key && !event.control && !event.alt;
    const bool cancel = plainKey && event.key == VK_ESCAPE;
    ImmNotifyIME(ImmGetContext(focus), NI_COMPOSITIONSTR, cancel ? CPS_CANCEL : CPS_COMPLETE, 0);
    return plainKey && (event.key == VK_RETURN || event.key == VK_ESCAPE);
}

void DispatchInput(const InputEvent& event)
{
    if (EndCompositionFor(event))
        return;
    Wnd* active = GetActiveWindow();
    if (!active) {
        auto windows = Wnd::GetTopLevelWindows();
        for (auto it = windows.rbegin(); it != windows.rend() && !active; ++it)
            if ((*it)->IsWindowVisible() && (*it)->IsWindowEnabled())
                active = *it;
    }
    if (!active)
        return;
    if (event.kind != InputEvent::Kind::Key && event.kind != InputEvent::Kind::Char && event.kind != InputEvent::Kind::Close &&
        event.kind != InputEvent::Kind::Composition)
        PointerState().position = event.point;
    if (event.kind == InputEvent::Kind::Move) {
        // The window under the mouse says which cursor it wants; outside the window that takes
        // the input (behind a modal dialog) it is the arrow.
        if (Wnd* target = WindowAt(*active, event.point))
            target->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(HTCLIENT, static_cast<WORD>(WM_MOUSEMOVE)));
        else
            SetCursor(IDC_ARROW);
        return;
    }
    if (TranslateMenuInput(*active, event))
        return;

    // Without a modal window the focus may be in any top-level window, not only the main one.
    Wnd* focus = Wnd::GetFocus();
    const bool modal = GetApp() == nullptr || active != GetApp()->GetMainWnd();
    const bool focusTakesKeys = focus && IsWindow(focus) && focus->IsWindowEnabled() &&
                                (focus == active || active->IsChild(focus) || !modal);
    Wnd* keyTarget = focusTakesKeys ? focus : active;
    // The window that holds the input sees it first (a dialog takes Return, Escape and Tab).
    if (active->PreTranslateInput(event) || !IsWindow(active) || !IsWindow(keyTarget))
        return;

    switch (event.kind) {
    case InputEvent::Kind::Key:
        keyTarget->SendMessage(WM_KEYDOWN, static_cast<WPARAM>(event.key), 1);
        // Keys that type a control character also give it, as the platform translates them.
        if (!event.control && IsWindow(keyTarget) &&
            (event.key == VK_BACK || event.key == VK_TAB || event.key == VK_RETURN || event.key == VK_ESCAPE))
            keyTarget->SendMessage(WM_CHAR, static_cast<WPARAM>(event.key), 1);
        if (IsWindow(keyTarget))
            keyTarget->SendMessage(WM_KEYUP, static_cast<WPARAM>(event.key), 1);
        break;
    case InputEvent::Kind::Char:
        keyTarget->SendMessage(WM_CHAR, static_cast<WPARAM>(event.ch), 1);
        break;
    case InputEvent::Kind::Click:
    case InputEvent::Kind::DoubleClick:
    case InputEvent::Kind::RightClick: {
        POINT point = event.point;
        active->ScreenToClient(&point);
        RECT client;
        active->GetClientRect(&client);
        if (!client.Contains(point))
            break;
        Wnd* target = active->ChildWindowFromPointDeep(point);
        POINT local = event.point;
        target->ScreenToClient(&local);
        if (event.kind == InputEvent::Kind::Click) {
            target->SendMessage(WM_LBUTTONDOWN, 1, PointParam(local));
            if (IsWindow(target))
                target->SendMessage(WM_LBUTTONUP, 0, PointParam(local));
        } else if (event.kind == InputEvent::Kind::DoubleClick) {
            target->SendMessage(WM_LBUTTONDBLCLK, 1, PointParam(local));
            if (IsWindow(target))
                target->SendMessage(WM_LBUTTONUP, 0, PointParam(local));
        } else {
            target->SendMessage(WM_RBUTTONDOWN, 2, PointParam(local));
            if (IsWindow(target))
                target->SendMessage(WM_RBUTTONUP, 0, PointParam(local));
        }
        break;
    }
    case InputEvent::Kind::Drag: {
        Wnd* target = WindowAt(*active, event.point);
        if (!target)
            break;
        POINT from = event.point;
        POINT to = event.to;
        target->ScreenToClient(&from);
        target->ScreenToClient(&to);
        target->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(from));
        if (IsWindow(target))
            target->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(to));
        if (IsWindow(target))
            target->SendMessage(WM_LBUTTONUP, 0, PointParam(to));
        break;
    }
    case InputEvent::Kind::Wheel:
        if (Wnd* target = WindowAt(*active, event.point))
            target->SendMessage(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(static_cast<short>(event.wheel))) << 16,
                                PointParam(event.point));
        break;
    case InputEvent::Kind::Close:
        active->SendMessage(WM_CLOSE);
        break;
    case InputEvent::Kind::Composition:
        if (event.composition)
            DeliverComposition(*keyTarget, *event.composition);
        break;
    case InputEvent::Kind::Move:
        break; // handled above
    }
}

} // namespace plat
