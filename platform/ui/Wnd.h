// A window: the node of the window tree that every control, dialog, frame and grid is, and
// the message maps through which it answers numbered messages. A handle and a window object
// are the same thing here: Wnd*.
#pragma once

#include "platform/ui/Constants.h"
#include "platform/ui/Types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class CmdUI;
class Font;
class Menu;
class Wnd;
struct DrawOp;
struct InputEvent;
class PictureChange;

// One row of a message map. Rows are built with the ON_* macros below.
struct MessageMapEntry {
    enum class Kind : BYTE { End, Message, Registered, Command, Notify };
    Kind kind = Kind::End;
    UINT message = 0;                 // Message: its number
    const UINT* registered = nullptr; // Registered: where the registered number is kept; read
                                      // at dispatch, so the map may be built before registration
    UINT code = 0;                    // Command: notification code; Notify: WM_NOTIFY code
    UINT firstId = 0;                 // Command and Notify: control identifiers, inclusive
    UINT lastId = 0;
    LRESULT (*handler)(Wnd& wnd, WPARAM wParam, LPARAM lParam) = nullptr;
};

// A class's table of handlers and the way to its base class's table.
struct MessageMap {
    const MessageMap* (*base)() = nullptr;
    const MessageMapEntry* entries = nullptr; // ends with a Kind::End row
};

namespace detail {
template <class T>
struct MemberOf;
template <class C, class R, class... A>
struct MemberOf<R (C::*)(A...)> {
    using Class = C;
};
template <auto Method>
using ClassOf = typename MemberOf<decltype(Method)>::Class;

template <auto Method> // LRESULT (C::*)(WPARAM, LPARAM)
LRESULT CallMessage(Wnd& wnd, WPARAM wParam, LPARAM lParam)
{
    return (static_cast<ClassOf<Method>&>(wnd).*Method)(wParam, lParam);
}
template <auto Method> // void (C::*)()
LRESULT CallCommand(Wnd& wnd, WPARAM, LPARAM)
{
    (static_cast<ClassOf<Method>&>(wnd).*Method)();
    return 0;
}
template <auto Method> // void (C::*)(CmdUI*)
LRESULT CallUpdate(Wnd& wnd, WPARAM, LPARAM lParam)
{
    (static_cast<ClassOf<Method>&>(wnd).*Method)(reinterpret_cast<CmdUI*>(lParam));
    return 0;
}
template <auto Method> // void (C::*)(NMHDR*, LRESULT*)
LRESULT CallNotify(Wnd& wnd, WPARAM, LPARAM lParam)
{
    LRESULT result = 0;
    (static_cast<ClassOf<Method>&>(wnd).*Method)(reinterpret_cast<NMHDR*>(lParam), &result);
    return result;
}
} // namespace detail

template <auto Method>
constexpr MessageMapEntry MessageEntry(UINT message)
{
    return {MessageMapEntry::Kind::Message, message, nullptr, 0, 0, 0, &detail::CallMessage<Method>};
}
template <auto Method>
constexpr MessageMapEntry RegisteredMessageEntry(const UINT* registered)
{
    return {MessageMapEntry::Kind::Registered, 0, registered, 0, 0, 0, &detail::CallMessage<Method>};
}
template <auto Method>
constexpr MessageMapEntry CommandEntry(UINT code, UINT firstId, UINT lastId)
{
    return {MessageMapEntry::Kind::Command, 0, nullptr, code, firstId, lastId, &detail::CallCommand<Method>};
}
// An update handler is a command row with this code, which no control notification uses.
inline constexpr UINT kUpdateCommandCode = 0xFFFF;
template <auto Method>
constexpr MessageMapEntry UpdateCommandEntry(UINT firstId, UINT lastId)
{
    return {MessageMapEntry::Kind::Command, 0, nullptr, kUpdateCommandCode, firstId, lastId, &detail::CallUpdate<Method>};
}
template <auto Method>
constexpr MessageMapEntry NotifyEntry(UINT code, UINT firstId, UINT lastId)
{
    return {MessageMapEntry::Kind::Notify, 0, nullptr, code, firstId, lastId, &detail::CallNotify<Method>};
}

// Where a window is invalidated, as the renderer and tests see it.
struct Invalidation {
    RECT rect;   // client coordinates
    bool erase;  // the background is to be erased first
};

class Wnd {
public:
    Wnd();
    virtual ~Wnd();
    Wnd(const Wnd&) = delete;
    Wnd& operator=(const Wnd&) = delete;

    // Creation: PreCreateWindow may adjust the request; WM_CREATE answering -1 fails it.
    // A child's rectangle is in its parent's client coordinates, a top-level one on screen.
    BOOL CreateEx(DWORD exStyle, std::string_view className, std::string_view text, DWORD style,
                  const RECT& rect, Wnd* parent, UINT id, void* createParam = nullptr);
    BOOL Create(std::string_view className, std::string_view text, DWORD style, const RECT& rect,
                Wnd* parent, UINT id, void* createParam = nullptr)
    {
        return CreateEx(0, className, text, style, rect, parent, id, createParam);
    }
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // WM_DESTROY reaches the window before its children (so that it may still hand a
    // borrowed child back to its owner); the children are then destroyed, each finishing
    // before its parent does. A class that handles WM_DESTROY calls DestroyWindow in its own
    // destructor, while its handler can still run: a window destroyed after such a class's
    // part of the object is gone stops the process rather than skip the handler unseen.
    BOOL DestroyWindow();
    [[nodiscard]] bool IsWindow() const noexcept { return m_created; }
    [[nodiscard]] const std::string& GetClassName() const noexcept { return m_className; }
    // Makes this object take the place of a parent's existing child (a dialog's template
    // control), keeping its identifier, text, styles, font, rectangle and z-order.
    BOOL SubclassDlgItem(UINT id, Wnd* parent);
    // Destroying the window deletes the object (windows that their creator does not own).
    void SetAutoDelete(bool autoDelete) noexcept { m_autoDelete = autoDelete; }

    // Messages. WM_SETTEXT carries a NUL-terminated UTF-8 text in lParam; WM_GETTEXT, like
    // LB_GETTEXT and CB_GETLBTEXT, writes into the std::string that lParam points to.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, bool deep = true);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default handling of the message being handled now.
    LRESULT Default();
    virtual const MessageMap* GetMessageMap() const;
    // A command (CN_COMMAND) or an update (CN_UPDATE_COMMAND_UI) offered to this window's
    // own map; probe only asks whether a handler exists. A frame first offers it to the
    // window with the focus inside it. A WM_COMMAND from a menu or a key (no control in
    // lParam) goes this way, and on to the frame that contains the window.
    virtual BOOL OnCmdMsg(UINT id, int code, CmdUI* cmdUI, bool probe);
    // The menu bar; only frames have one.
    [[nodiscard]] virtual Menu* GetMenu() const { return nullptr; }
    // Lets the window act on input before it reaches the focus (a dialog's Return, Escape
    // and Tab); true when the input was used up.
    virtual bool PreTranslateInput(const InputEvent& event);

    // The tree.
    [[nodiscard]] Wnd* GetParent() const noexcept { return m_parent; }
    Wnd* SetParent(Wnd* newParent);
    // The stored owner when set, else the parent.
    [[nodiscard]] Wnd* GetOwner() const noexcept { return m_owner ? m_owner : m_parent; }
    void SetOwner(Wnd* owner) noexcept;
    [[nodiscard]] Wnd* GetTopLevelParent() const noexcept;
    // Children in z-order, topmost first.
    [[nodiscard]] const std::vector<Wnd*>& GetChildren() const noexcept { return m_children; }
    [[nodiscard]] Wnd* GetNextSibling() const noexcept;
    [[nodiscard]] Wnd* GetPrevSibling() const noexcept;
    [[nodiscard]] Wnd* GetDlgItem(int id) const noexcept;
    [[nodiscard]] int GetDlgCtrlID() const noexcept { return static_cast<int>(m_id); }
    int SetDlgCtrlID(int id) noexcept;
    [[nodiscard]] bool IsChild(const Wnd* wnd) const noexcept; // any descendant
    // Every descendant, depth first in z-order.
    void ForEachDescendant(const std::function<void(Wnd&)>& visit) const;
    // The deepest visible, enabled, hit-testable descendant under a client point, or this.
    [[nodiscard]] Wnd* ChildWindowFromPointDeep(POINT clientPoint);

    // Text and font.
    void SetWindowText(std::string_view text);
    [[nodiscard]] std::string GetWindowText() const;
    void SetFont(Font* font, BOOL redraw = TRUE);
    [[nodiscard]] Font* GetFont() const;

    // Styles. Adding or removing WS_VISIBLE or WS_DISABLED shows, hides, enables, disables.
    [[nodiscard]] DWORD GetStyle() const noexcept { return m_style; }
    [[nodiscard]] DWORD GetExStyle() const noexcept { return m_exStyle; }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

    // State.
    BOOL ShowWindow(int command);
    [[nodiscard]] bool IsWindowVisible() const noexcept; // this and every ancestor
    BOOL EnableWindow(BOOL enable = TRUE);
    [[nodiscard]] bool IsWindowEnabled() const noexcept { return (m_style & WS_DISABLED) == 0; }
    Wnd* SetFocus();
    [[nodiscard]] static Wnd* GetFocus() noexcept;
    // When the focus is in this window or below it, no window of ours has it any more (the
    // host's own widget took the keyboard).
    void DropFocusWithin();

    // Geometry in pixels.
    void GetWindowRect(RECT* rect) const noexcept; // screen coordinates
    void GetClientRect(RECT* rect) const noexcept;
    [[nodiscard]] RECT GetRectInParent() const noexcept { return m_rect; }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const RECT& rect, BOOL repaint = TRUE);
    // insertAfter: the sibling to follow in z-order, or null for the top (SWP_NOZORDER keeps it).
    BOOL SetWindowPos(const Wnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void ClientToScreen(POINT* point) const noexcept;
    void ClientToScreen(RECT* rect) const noexcept;
    void ScreenToClient(POINT* point) const noexcept;
    void ScreenToClient(RECT* rect) const noexcept;

    // Invalidation, recorded until painted.
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
    [[nodiscard]] const std::vector<Invalidation>& GetInvalidations() const noexcept { return m_invalid; }
    void ValidateRect() noexcept { m_invalid.clear(); }
    // Moves the pixels of the client (or of an area of it) and invalidates only the part
    // that comes into view; a front end that keeps its pixels moves them instead of painting.
    void ScrollWindow(int dx, int dy, const RECT* area = nullptr);
    // What changed in the picture since the last call; the record starts anew.
    [[nodiscard]] PictureChange TakePictureChange();

    // What the window's device contexts drew since its last paint began.
    [[nodiscard]] const std::vector<DrawOp>& GetDrawing() const noexcept;
    void AppendDrawing(const std::vector<DrawOp>& ops, bool replace);

    // A pointer the window keeps for whoever extends it.
    void SetExtension(void* extension) noexcept { m_extension = extension; }
    [[nodiscard]] void* GetExtension() const noexcept { return m_extension; }

    // A modal loop on this window: takes input from the application's driver until
    // EndModalLoop; returns its result (-1 when there is no driver to take input from).
    // onStart runs first, with the window already taking the input (a driver's hook that
    // operates the window like a person).
    int RunModalLoop(const std::function<void()>& onStart = {});
    void EndModalLoop(int result);
    [[nodiscard]] bool IsInModalLoop() const noexcept { return m_inModalLoop; }
    // What to do when the input ends while the loop runs; the default ends with IDCANCEL.
    virtual void OnInputEnded();

    // Top-level windows of the process, in creation order.
    [[nodiscard]] static std::vector<Wnd*> GetTopLevelWindows();

protected:
    static const MessageMap* GetThisMessageMap();
    // Sends WM_COMMAND (identifier, code) to the parent, as controls tell their dialog.
    void NotifyParent(UINT code);
    // Sends WM_NOTIFY to the parent, filling the record's head.
    LRESULT NotifyParent(NMHDR& header, UINT code);
    // The last call of a window's life; auto-delete windows delete themselves here.
    virtual void PostNcDestroy();
    // Whether a click may land on this window (group boxes and plain statics let it through).
    virtual bool IsHitTestVisible() const { return true; }

private:
    void Unlink() noexcept;
    void DestroyTree();
    void SendPosChanged(UINT flags);
    void Register() noexcept;
    [[nodiscard]] bool SkipsDestroyHandler() const noexcept;

    std::string m_className;
    std::string m_text;
    DWORD m_style = 0;
    DWORD m_exStyle = 0;
    UINT m_id = 0;
    RECT m_rect;
    Wnd* m_parent = nullptr;
    Wnd* m_owner = nullptr;
    std::vector<Wnd*> m_children;
    Font* m_font = nullptr;
    void* m_extension = nullptr;
    std::vector<Invalidation> m_invalid;
    std::unique_ptr<std::vector<DrawOp>> m_drawing; // made on first drawing
    std::unique_ptr<PictureChange> m_pictureChange;  // made on first change
    bool m_created = false;
    bool m_destroying = false;
    bool m_autoDelete = false;
    bool m_ownsOthers = false; // some window named this one its owner once
    bool m_inModalLoop = false;
    int m_modalResult = -1;
    // The most derived class's map when the window was made, to find destroy handlers of
    // classes whose part of the object is already gone.
    const MessageMap* m_createdMap = nullptr;
    // The message being handled, for Default().
    UINT m_curMessage = 0;
    WPARAM m_curWParam = 0;
    LPARAM m_curLParam = 0;
};

// True while the pointer names a window that exists (created and not destroyed).
[[nodiscard]] bool IsWindow(const Wnd* wnd) noexcept;

// A window remembered across messages: it names one life of one window, so once that window
// is destroyed it names none, even when a new window is later made at the same address.
// Reads as a plain pointer, null once stale.
class WndRef {
public:
    WndRef() noexcept = default;
    WndRef(Wnd* wnd) noexcept; // NOLINT: implicit, so stored pointers take it without change
    [[nodiscard]] Wnd* Get() const noexcept;
    operator Wnd*() const noexcept { return Get(); } // NOLINT
    Wnd* operator->() const noexcept { return Get(); }

private:
    Wnd* m_wnd = nullptr;
    std::uint64_t m_life = 0; // 0: no window
};

[[nodiscard]] bool IsWindow(const WndRef& wnd) noexcept;

// A number in 0xC000..0xFFFF for a name, the same in every process that registers it: a hash
// of the name without regard to ASCII case. When two names of one process hash alike, the
// later one takes the next free number. 0 when every number of the range is taken.
UINT RegisterWindowMessage(std::string_view name);

// Dispatches the messages posted so far (and those they post); false when none were waiting.
bool DispatchPostedMessages();
// Removes one posted message and dispatches it; false when none was waiting.
bool DispatchOnePostedMessage();
[[nodiscard]] std::size_t PostedMessageCount() noexcept;

} // namespace plat

// Message maps. In the class:  DECLARE_MESSAGE_MAP()
// In the source file:
//   BEGIN_MESSAGE_MAP(MyDialog, plat::Dialog)
//       ON_BN_CLICKED(1087, OnChange)
//       ON_REGISTERED_MESSAGE(g_colorChange, OnColorChange)
//   END_MESSAGE_MAP()
// Handlers: messages LRESULT (WPARAM, LPARAM); commands void (); command updates
// void (CmdUI*); notifications void (NMHDR*, LRESULT*). A message not in a class's map goes on to its base class's map
// and, past the last, to DefWindowProc.
#define DECLARE_MESSAGE_MAP()                                          \
protected:                                                             \
    static const ::plat::MessageMap* GetThisMessageMap();              \
                                                                       \
public:                                                                \
    const ::plat::MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                            \
    const ::plat::MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const ::plat::MessageMap* theClass::GetThisMessageMap()                               \
    {                                                                                     \
        using ThisClass = theClass;                                                       \
        using TheBaseClass = baseClass;                                                   \
        static const ::plat::MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                                 \
    ::plat::MessageMapEntry{}                                                             \
    }                                                                                     \
    ;                                                                                     \
    static const ::plat::MessageMap map{&TheBaseClass::GetThisMessageMap, entries};       \
    return &map;                                                                          \
    }

#define ON_MESSAGE(message, memberFxn) ::plat::MessageEntry<&ThisClass::memberFxn>(message),
#define ON_REGISTERED_MESSAGE(numberVariable, memberFxn) \
    ::plat::RegisteredMessageEntry<&ThisClass::memberFxn>(&(numberVariable)),
#define ON_COMMAND(id, memberFxn) ::plat::CommandEntry<&ThisClass::memberFxn>(0, (id), (id)),
#define ON_COMMAND_RANGE(firstId, lastId, memberFxn) \
    ::plat::CommandEntry<&ThisClass::memberFxn>(0, (firstId), (lastId)),
#define ON_CONTROL(code, id, memberFxn) ::plat::CommandEntry<&ThisClass::memberFxn>((code), (id), (id)),
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(::plat::BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(::plat::EN_CHANGE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(::plat::LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(::plat::LBN_DBLCLK, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(::plat::CBN_SELCHANGE, id, memberFxn)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) ::plat::UpdateCommandEntry<&ThisClass::memberFxn>((id), (id)),
#define ON_UPDATE_COMMAND_UI_RANGE(firstId, lastId, memberFxn) \
    ::plat::UpdateCommandEntry<&ThisClass::memberFxn>((firstId), (lastId)),
#define ON_NOTIFY(code, id, memberFxn) ::plat::NotifyEntry<&ThisClass::memberFxn>((code), (id), (id)),
