// Windows, message dispatch through the maps, posted messages, registered message numbers,
// and the application's window state (which windows exist, which has the focus).
#include "platform/ui/Wnd.h"

#include "platform/text/Utf8.h"
#include "platform/ui/App.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Ime.h"
#include "platform/ui/PictureChange.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <unordered_map>

namespace plat {

namespace {

struct PostedMessage {
    Wnd* wnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct WindowState {
    // Each existing window with the number of its life: numbers are never reused, so a
    // WndRef to a destroyed window fails even when the address is taken again.
    std::unordered_map<const Wnd*, std::uint64_t> live;
    std::uint64_t lastLife = 0;
    std::vector<Wnd*> topLevel;
    std::deque<PostedMessage> posted;
    Wnd* focus = nullptr;
    std::vector<Wnd*> modalStack;
};

WindowState& State() { return CurrentUiContext().Get<WindowState>(); }

const MessageMapEntry* FindEntry(const MessageMap* map, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (; map; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry* entry = map->entries; entry->kind != MessageMapEntry::Kind::End; ++entry) {
            switch (entry->kind) {
            case MessageMapEntry::Kind::Message:
                if (entry->message == message)
                    return entry;
                break;
            case MessageMapEntry::Kind::Registered:
                if (*entry->registered != 0 && *entry->registered == message)
                    return entry;
                break;
            case MessageMapEntry::Kind::Command:
                if (message == WM_COMMAND && HIWORD(wParam) == entry->code && LOWORD(wParam) >= entry->firstId &&
                    LOWORD(wParam) <= entry->lastId)
                    return entry;
                break;
            case MessageMapEntry::Kind::Notify:
                if (message == WM_NOTIFY && lParam != 0) {
                    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
                    if (header->code == entry->code && header->idFrom >= entry->firstId && header->idFrom <= entry->lastId)
                        return entry;
                }
                break;
            case MessageMapEntry::Kind::End:
                break;
            }
        }
    }
    return nullptr;
}

// FNV-1a over the name with ASCII letters folded, so that a name's number does not depend on
// the process that registers it.
UINT HashName(std::string_view name)
{
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : name) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<unsigned char>(c - 'a' + 'A');
        hash = (hash ^ c) * 16777619u;
    }
    return kFirstRegisteredMessage + hash % (kLastRegisteredMessage - kFirstRegisteredMessage + 1);
}

std::string FoldAscii(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return folded;
}

} // namespace

// ---- the application's window state ----

bool IsWindow(const Wnd* wnd) noexcept { return wnd && State().live.count(wnd) != 0; }

WndRef::WndRef(Wnd* wnd) noexcept
{
    const auto& live = State().live;
    if (const auto found = wnd ? live.find(wnd) : live.end(); found != live.end()) {
        m_wnd = wnd;
        m_life = found->second;
    }
}

Wnd* WndRef::Get() const noexcept
{
    if (m_life == 0)
        return nullptr;
    const auto& live = State().live;
    const auto found = live.find(m_wnd);
    return found != live.end() && found->second == m_life ? m_wnd : nullptr;
}

bool IsWindow(const WndRef& wnd) noexcept { return wnd.Get() != nullptr; }

std::vector<Wnd*> Wnd::GetTopLevelWindows() { return State().topLevel; }

Wnd* Wnd::GetFocus() noexcept { return State().focus; }

Wnd* GetActiveWindow() noexcept
{
    auto& state = State();
    if (!state.modalStack.empty())
        return state.modalStack.back();
    WinApp* app = GetApp();
    return app && plat::IsWindow(app->GetMainWnd()) ? app->GetMainWnd() : nullptr;
}

UINT RegisterWindowMessage(std::string_view name)
{
    if (name.empty())
        return 0;
    static std::map<std::string, UINT> byName;
    static std::map<UINT, std::string> byNumber;
    std::string folded = FoldAscii(name);
    if (auto it = byName.find(folded); it != byName.end())
        return it->second;
    // Every number taken: the registration fails, as the system's does, rather than probing
    // a full range forever.
    if (byNumber.size() > kLastRegisteredMessage - kFirstRegisteredMessage)
        return 0;
    UINT number = HashName(name);
    while (byNumber.count(number))
        number = number == kLastRegisteredMessage ? kFirstRegisteredMessage : number + 1;
    byNumber.emplace(number, folded);
    byName.emplace(std::move(folded), number);
    return number;
}

bool DispatchOnePostedMessage()
{
    auto& posted = State().posted;
    if (posted.empty())
        return false;
    PostedMessage message = posted.front();
    posted.pop_front();
    if (plat::IsWindow(message.wnd))
        message.wnd->SendMessage(message.message, message.wParam, message.lParam);
    return true;
}

bool DispatchPostedMessages()
{
    bool any = false;
    while (DispatchOnePostedMessage())
        any = true;
    return any;
}

std::size_t PostedMessageCount() noexcept { return State().posted.size(); }

// ---- Wnd ----

Wnd::Wnd() = default;

Wnd::~Wnd()
{
    // The object is going away whoever owns it: never delete it a second time.
    m_autoDelete = false;
    DestroyWindow();
}

const MessageMap* Wnd::GetThisMessageMap()
{
    static const MessageMapEntry entries[] = {MessageMapEntry{}};
    static const MessageMap map{nullptr, entries};
    return &map;
}

const MessageMap* Wnd::GetMessageMap() const { return GetThisMessageMap(); }

BOOL Wnd::PreCreateWindow(CREATESTRUCT&) { return TRUE; }

BOOL Wnd::CreateEx(DWORD exStyle, std::string_view className, std::string_view text, DWORD style,
                   const RECT& rect, Wnd* parent, UINT id, void* createParam)
{
    if (m_created)
        return FALSE;
    const std::string classText(className);
    const std::string nameText(text);
    CREATESTRUCT cs;
    cs.lpCreateParams = createParam;
    cs.hwndParent = parent;
    cs.hMenu = id;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.style = style;
    cs.lpszName = nameText.c_str();
    cs.lpszClass = classText.c_str();
    cs.dwExStyle = exStyle;
    if (!PreCreateWindow(cs))
        return FALSE;
    if ((cs.style & WS_CHILD) && !plat::IsWindow(cs.hwndParent))
        return FALSE;

    m_className = cs.lpszClass ? cs.lpszClass : "";
    m_text = cs.lpszName ? cs.lpszName : "";
    m_style = cs.style;
    m_exStyle = cs.dwExStyle;
    m_id = cs.hMenu;
    m_rect = RECT{cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy};
    auto& state = State();
    if (cs.style & WS_CHILD) {
        m_parent = cs.hwndParent;
        m_parent->m_children.push_back(this); // new children go to the bottom of the z-order
    } else {
        SetOwner(cs.hwndParent);
        state.topLevel.push_back(this);
    }
    Register();

    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow();
        return FALSE;
    }
    if ((m_style & WS_VISIBLE) && GetApp() && GetApp()->GetDriver())
        GetApp()->GetDriver()->WindowChanged(*this);
    return TRUE;
}

void Wnd::Register() noexcept
{
    auto& state = State();
    state.live[this] = ++state.lastLife;
    m_created = true;
    m_createdMap = GetMessageMap();
}

bool Wnd::SkipsDestroyHandler() const noexcept
{
    // The maps of the classes already destroyed are those between the map the window was
    // made with and the one the object answers with now.
    const MessageMap* now = GetMessageMap();
    for (const MessageMap* map = m_createdMap; map && map != now; map = map->base ? map->base() : nullptr)
        for (const MessageMapEntry* entry = map->entries; entry->kind != MessageMapEntry::Kind::End; ++entry)
            if (entry->kind == MessageMapEntry::Kind::Message && entry->message == WM_DESTROY)
                return true;
    return false;
}

void Wnd::Unlink() noexcept
{
    auto& state = State();
    if (m_parent) {
        auto& siblings = m_parent->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        m_parent = nullptr;
    } else {
        state.topLevel.erase(std::remove(state.topLevel.begin(), state.topLevel.end(), this), state.topLevel.end());
    }
}

void Wnd::DestroyTree()
{
    if (SkipsDestroyHandler()) {
        std::fprintf(stderr, "window of class '%s' destroyed after the part of it that handles WM_DESTROY\n",
                     m_className.c_str());
        std::abort();
    }
    m_destroying = true;
    SendMessage(WM_DESTROY);
    // A WM_DESTROY handler may have handed children elsewhere; destroy those still here. A
    // child already being destroyed (its own handler destroys this window) just leaves.
    while (!m_children.empty()) {
        Wnd* child = m_children.back();
        if (!child->DestroyWindow())
            child->Unlink();
    }
}

BOOL Wnd::DestroyWindow()
{
    if (!m_created || m_destroying)
        return FALSE;
    auto& state = State();
    DropFocusWithin();
    DestroyTree();
    Unlink();
    m_created = false;
    m_destroying = false;
    m_inModalLoop = false;
    state.live.erase(this);
    ForgetInputContext(this);
    state.posted.erase(std::remove_if(state.posted.begin(), state.posted.end(),
                                      [this](const PostedMessage& m) { return m.wnd == this; }),
                       state.posted.end());
    state.modalStack.erase(std::remove(state.modalStack.begin(), state.modalStack.end(), this),
                           state.modalStack.end());
    // Only a window that was named an owner makes the others be looked through.
    if (m_ownsOthers)
        for (const auto& entry : state.live)
            if (entry.first->m_owner == this)
                const_cast<Wnd*>(entry.first)->m_owner = nullptr;
    if (WinApp* app = GetApp(); app && app->GetMainWnd() == this)
        app->SetMainWnd(nullptr);
    m_invalid.clear();
    PostNcDestroy();
    return TRUE;
}

void Wnd::PostNcDestroy()
{
    if (m_autoDelete)
        delete this;
}

BOOL Wnd::SubclassDlgItem(UINT id, Wnd* parent)
{
    Wnd* old = parent ? parent->GetDlgItem(static_cast<int>(id)) : nullptr;
    if (old == this)
        return TRUE;
    if (!old || m_created)
        return FALSE;
    m_className = old->m_className;
    m_text = old->m_text;
    m_style = old->m_style;
    m_exStyle = old->m_exStyle;
    m_id = old->m_id;
    m_rect = old->m_rect;
    m_font = old->m_font;
    SetOwner(old->m_owner);
    m_parent = parent;
    auto& siblings = parent->m_children;
    *std::find(siblings.begin(), siblings.end(), old) = this;
    old->m_parent = nullptr;
    auto& state = State();
    Register();
    const bool hadFocus = state.focus == old;
    if (hadFocus)
        state.focus = this;
    // The replaced object leaves quietly: it is no longer in the tree.
    old->m_created = false;
    state.live.erase(old);
    old->PostNcDestroy();
    return TRUE;
}

// ---- messages ----

LRESULT Wnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const UINT savedMessage = m_curMessage;
    const WPARAM savedW = m_curWParam;
    const LPARAM savedL = m_curLParam;
    m_curMessage = message;
    m_curWParam = wParam;
    m_curLParam = lParam;
    const LRESULT result = WindowProc(message, wParam, lParam);
    // The handler may have destroyed the window, and an auto-delete window is gone then.
    if (State().live.count(this)) {
        m_curMessage = savedMessage;
        m_curWParam = savedW;
        m_curLParam = savedL;
    }
    return result;
}

BOOL Wnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_created)
        return FALSE;
    State().posted.push_back({this, message, wParam, lParam});
    return TRUE;
}

void Wnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, bool deep)
{
    const std::vector<Wnd*> children = m_children;
    for (Wnd* child : children) {
        if (!plat::IsWindow(child))
            continue;
        child->SendMessage(message, wParam, lParam);
        if (deep && plat::IsWindow(child))
            child->SendMessageToDescendants(message, wParam, lParam, true);
    }
}

LRESULT Wnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const MessageMapEntry* entry = FindEntry(GetMessageMap(), message, wParam, lParam);
    // A command from a menu or an accelerator travels the command route, unless the window
    // takes every WM_COMMAND itself.
    if (message == WM_COMMAND && lParam == 0 && HIWORD(wParam) == 0 &&
        !(entry && entry->kind == MessageMapEntry::Kind::Message) &&
        RouteCommand(*this, LOWORD(wParam), CN_COMMAND, nullptr))
        return 0;
    if (entry)
        return entry->handler(*this, wParam, lParam);
    return DefWindowProc(message, wParam, lParam);
}

BOOL Wnd::OnCmdMsg(UINT id, int code, CmdUI* cmdUI, bool probe)
{
    const UINT wanted = code == CN_UPDATE_COMMAND_UI ? kUpdateCommandCode : 0;
    if (wanted == kUpdateCommandCode && !cmdUI && !probe)
        return FALSE;
    for (const MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry* entry = map->entries; entry->kind != MessageMapEntry::Kind::End; ++entry) {
            if (entry->kind != MessageMapEntry::Kind::Command || entry->code != wanted || id < entry->firstId ||
                id > entry->lastId)
                continue;
            if (probe)
                return TRUE;
            if (wanted == kUpdateCommandCode) {
                cmdUI->m_continueRouting = false;
                entry->handler(*this, MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(wanted)),
                               reinterpret_cast<LPARAM>(cmdUI));
                return cmdUI->m_continueRouting ? FALSE : TRUE;
            }
            entry->handler(*this, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT Wnd::Default() { return DefWindowProc(m_curMessage, m_curWParam, m_curLParam); }

LRESULT Wnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETTEXT:
        m_text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        return TRUE;
    case WM_GETTEXT:
        // The text goes into the std::string that lParam points to.
        if (lParam)
            *reinterpret_cast<std::string*>(lParam) = m_text;
        return static_cast<LRESULT>(m_text.size());
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(m_text.size());
    case WM_SETFONT:
        m_font = reinterpret_cast<Font*>(wParam);
        if (LOWORD(static_cast<std::uintptr_t>(lParam)))
            Invalidate();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (pos && !(pos->flags & SWP_NOSIZE))
            SendMessage(WM_SIZE, 0, MAKELPARAM(static_cast<WORD>(pos->cx), static_cast<WORD>(pos->cy)));
        if (pos && !(pos->flags & SWP_NOMOVE))
            SendMessage(WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(pos->x), static_cast<WORD>(pos->y)));
        return 0;
    }
    case WM_IME_COMPOSITION:
        // A window that knows nothing of compositions takes the finished text as typing.
        if ((lParam & GCS_RESULTSTR) != 0 && wParam != 0) {
            const std::string& result = reinterpret_cast<const CompositionString*>(wParam)->result;
            for (std::size_t pos = 0; pos < result.size() && plat::IsWindow(this);)
                SendMessage(WM_CHAR, static_cast<WPARAM>(DecodeUtf8(result, pos)), 1);
        }
        return 0;
    case WM_SETCURSOR:
        // The parent may want its own cursor over its children (TRUE: it set one); else the arrow.
        if (m_parent && m_parent->SendMessage(message, wParam, lParam))
            return TRUE;
        SetCursor(IDC_ARROW);
        return FALSE;
    case WM_MOUSEWHEEL:
        // A window that does not scroll passes the wheel on to the one that holds it.
        return m_parent ? m_parent->SendMessage(message, wParam, lParam) : 0;
    case WM_RBUTTONUP: {
        POINT point{static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lParam))),
                    static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam)))};
        ClientToScreen(&point);
        SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(this), MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
        return 0;
    }
    case WM_CONTEXTMENU:
        // Unhandled, it goes up to the parent, as the platform passes it on.
        if (m_parent && (m_style & WS_CHILD))
            return m_parent->SendMessage(WM_CONTEXTMENU, wParam, lParam);
        return 0;
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    default:
        return 0;
    }
}

bool Wnd::PreTranslateInput(const InputEvent&) { return false; }

void Wnd::NotifyParent(UINT code)
{
    if (m_parent)
        m_parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(m_id), static_cast<WORD>(code)),
                              reinterpret_cast<LPARAM>(this));
}

LRESULT Wnd::NotifyParent(NMHDR& header, UINT code)
{
    header.hwndFrom = this;
    header.idFrom = m_id;
    header.code = code;
    return m_parent ? m_parent->SendMessage(WM_NOTIFY, m_id, reinterpret_cast<LPARAM>(&header)) : 0;
}

// ---- tree ----

void Wnd::SetOwner(Wnd* owner) noexcept
{
    m_owner = owner;
    if (owner)
        owner->m_ownsOthers = true;
}

Wnd* Wnd::SetParent(Wnd* newParent)
{
    Wnd* old = m_parent;
    if (!m_created || newParent == this || (newParent && IsChild(newParent)))
        return old;
    if (newParent == old)
        return old;
    Unlink();
    if (newParent) {
        m_parent = newParent;
        newParent->m_children.insert(newParent->m_children.begin(), this); // to the top
    } else {
        State().topLevel.push_back(this);
    }
    return old;
}

// ---- text, font, style, state ----

void Wnd::SetWindowText(std::string_view text)
{
    const std::string copy(text);
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

std::string Wnd::GetWindowText() const
{
    std::string text;
    const_cast<Wnd*>(this)->SendMessage(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(&text));
    return text;
}

void Wnd::SetFont(Font* font, BOOL redraw) { SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw); }

Font* Wnd::GetFont() const { return reinterpret_cast<Font*>(const_cast<Wnd*>(this)->SendMessage(WM_GETFONT)); }

BOOL Wnd::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    const DWORD old = m_style;
    const DWORD wanted = (m_style & ~remove) | add;
    if (wanted == old)
        return FALSE;
    if ((wanted ^ old) & WS_VISIBLE)
        ShowWindow(wanted & WS_VISIBLE ? SW_SHOW : SW_HIDE);
    if ((wanted ^ old) & WS_DISABLED)
        EnableWindow((wanted & WS_DISABLED) == 0);
    m_style = wanted;
    if (flags)
        SetWindowPos(nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
    return TRUE;
}

BOOL Wnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags)
{
    const DWORD wanted = (m_exStyle & ~remove) | add;
    if (wanted == m_exStyle)
        return FALSE;
    m_exStyle = wanted;
    if (flags)
        SetWindowPos(nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
    return TRUE;
}

BOOL Wnd::ShowWindow(int command)
{
    const bool wasVisible = (m_style & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    if (!m_created || wasVisible == show)
        return wasVisible;
    SendMessage(WM_SHOWWINDOW, show, 0);
    if (show)
        m_style |= WS_VISIBLE;
    else
        m_style &= ~WS_VISIBLE;
    if (!show)
        DropFocusWithin();
    SendPosChanged(SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (m_parent)
        m_parent->InvalidateRect(&m_rect, TRUE);
    if (GetApp() && GetApp()->GetDriver())
        GetApp()->GetDriver()->WindowChanged(*this);
    return wasVisible;
}

bool Wnd::IsWindowVisible() const noexcept
{
    for (const Wnd* wnd = this; wnd; wnd = wnd->m_parent)
        if (!wnd->m_created || !(wnd->m_style & WS_VISIBLE))
            return false;
    return true;
}

BOOL Wnd::EnableWindow(BOOL enable)
{
    const bool wasDisabled = (m_style & WS_DISABLED) != 0;
    if (wasDisabled == !enable)
        return wasDisabled;
    if (enable)
        m_style &= ~WS_DISABLED;
    else
        m_style |= WS_DISABLED;
    if (!enable)
        DropFocusWithin();
    SendMessage(WM_ENABLE, enable, 0);
    Invalidate(FALSE);
    return wasDisabled;
}

void Wnd::DropFocusWithin()
{
    auto& state = State();
    if (state.focus && (state.focus == this || IsChild(state.focus))) {
        Wnd* old = state.focus;
        state.focus = nullptr;
        old->SendMessage(WM_KILLFOCUS, 0);
    }
}

Wnd* Wnd::SetFocus()
{
    auto& state = State();
    Wnd* old = state.focus;
    if (!m_created || old == this)
        return old;
    state.focus = this;
    if (plat::IsWindow(old))
        old->SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(this));
    if (state.focus == this)
        SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(plat::IsWindow(old) ? old : nullptr));
    return old;
}

// ---- invalidation and drawing ----

void Wnd::Invalidate(BOOL erase) { InvalidateRect(nullptr, erase); }

void Wnd::InvalidateRect(const RECT* rect, BOOL erase)
{
    if (!m_created)
        return;
    // A window that is not painted for a long time (a hidden editor whose text a paste sets
    // for every cell) would gather one entry per change without end: an area already waiting
    // is not added again, and a long list becomes the whole window.
    constexpr std::size_t kMaxInvalidations = 64;
    const RECT whole{0, 0, m_rect.Width(), m_rect.Height()};
    const Invalidation next{rect ? *rect : whole, erase != FALSE};
    const auto covers = [&next](const Invalidation& waiting) {
        return waiting.rect.left <= next.rect.left && waiting.rect.top <= next.rect.top &&
               waiting.rect.right >= next.rect.right && waiting.rect.bottom >= next.rect.bottom &&
               (waiting.erase || !next.erase);
    };
    if (!m_pictureChange)
        m_pictureChange = std::make_unique<PictureChange>();
    m_pictureChange->Redraw(next.rect);
    if (std::none_of(m_invalid.begin(), m_invalid.end(), covers)) {
        if (m_invalid.size() < kMaxInvalidations) {
            m_invalid.push_back(next);
        } else {
            const bool anyErase = next.erase || std::any_of(m_invalid.begin(), m_invalid.end(), [](const Invalidation& waiting) { return waiting.erase; });
            m_invalid.assign(1, Invalidation{whole, anyErase});
        }
    }
    if (GetApp() && GetApp()->GetDriver())
        GetApp()->GetDriver()->WindowChanged(*this);
}

void Wnd::ScrollWindow(int dx, int dy, const RECT* area)
{
    if (!m_created)
        return;
    const RECT client{0, 0, m_rect.Width(), m_rect.Height()};
    RECT moving = area ? RECT{std::max(area->left, client.left), std::max(area->top, client.top),
                              std::min(area->right, client.right), std::min(area->bottom, client.bottom)}
                       : client;
    if (moving.IsEmpty() || (dx == 0 && dy == 0))
        return;
    if (std::abs(dx) >= moving.Width() || std::abs(dy) >= moving.Height()) {
        InvalidateRect(&moving, FALSE);
        return;
    }
    if (!m_pictureChange)
        m_pictureChange = std::make_unique<PictureChange>();
    m_pictureChange->Scroll(moving, dx, dy);
    // The strips the pixels left behind.
    if (dy != 0) {
        const RECT strip = dy < 0 ? RECT{moving.left, moving.bottom + dy, moving.right, moving.bottom}
                                  : RECT{moving.left, moving.top, moving.right, moving.top + dy};
        InvalidateRect(&strip, FALSE);
    }
    if (dx != 0) {
        const RECT strip = dx < 0 ? RECT{moving.right + dx, moving.top, moving.right, moving.bottom}
                                  : RECT{moving.left, moving.top, moving.left + dx, moving.bottom};
        InvalidateRect(&strip, FALSE);
    }
}

PictureChange Wnd::TakePictureChange()
{
    PictureChange taken;
    if (m_pictureChange)
        taken = *m_pictureChange;
    else
        m_pictureChange = std::make_unique<PictureChange>();
    m_pictureChange->Clear();
    return taken;
}

const std::vector<DrawOp>& Wnd::GetDrawing() const noexcept
{
    static const std::vector<DrawOp> none;
    return m_drawing ? *m_drawing : none;
}

void Wnd::AppendDrawing(const std::vector<DrawOp>& ops, bool replace)
{
    if (!m_drawing)
        m_drawing = std::make_unique<std::vector<DrawOp>>();
    if (replace)
        m_drawing->clear();
    else if (!ops.empty() && m_pictureChange)
        m_pictureChange->LoseAll(); // drawn outside a paint: no waiting area says where
    m_drawing->insert(m_drawing->end(), ops.begin(), ops.end());
}

// ---- modal loop ----

int Wnd::RunModalLoop(const std::function<void()>& onStart)
{
    WinApp* app = GetApp();
    Driver* driver = app ? app->GetDriver() : nullptr;
    if (!driver || !m_created)
        return -1;
    auto& state = State();
    m_inModalLoop = true;
    m_modalResult = -1;
    state.modalStack.push_back(this);
    // However the loop is left, this window no longer takes the input.
    struct LeaveLoop {
        Wnd& wnd;
        std::vector<Wnd*>& stack;
        ~LeaveLoop()
        {
            wnd.m_inModalLoop = false;
            stack.erase(std::remove(stack.begin(), stack.end(), &wnd), stack.end());
        }
    } leave{*this, state.modalStack};
    if (onStart)
        onStart();
    while (m_inModalLoop && plat::IsWindow(this)) {
        if (!PumpMessage(*driver)) {
            OnInputEnded();
            if (m_inModalLoop && plat::IsWindow(this))
                EndModalLoop(IDCANCEL);
            break;
        }
    }
    return m_modalResult;
}

void Wnd::EndModalLoop(int result)
{
    m_modalResult = result;
    m_inModalLoop = false;
}

void Wnd::OnInputEnded() { SendMessage(WM_CLOSE); }

} // namespace plat
