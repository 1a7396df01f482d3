// The application object and the driver it runs on: the driver supplies input events and
// shows what the windows hold; the headless driver (tests) and the terminal driver (people)
// implement it. Also message boxes, key state and the wait cursor, which go through it.
#pragma once

#include "platform/ui/Constants.h"
#include "platform/ui/Types.h"
#include "platform/ui/UiContext.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace plat {

class Wnd;
class Dialog;
class TextMeasure;
struct MenuTag;
struct CompositionString;

// One input event, as a person gives it.
struct InputEvent {
    // Move: the mouse moved with no button held, for the cursor to follow what is under it.
    enum class Kind { Key, Char, Click, DoubleClick, RightClick, Close, Drag, Wheel, Move, Composition };
    Kind kind = Kind::Key;
    int key = 0;         // Key: the virtual key
    char32_t ch = 0;     // Char: the character typed
    POINT point;         // mouse events: screen coordinates (Drag: where the button went down)
    POINT to;            // Drag: where the button was let go
    int wheel = 0;       // Wheel: notches times WHEEL_DELTA, positive away from the user
    // Composition: one change of what the input method composes; shared, as events are copied.
    std::shared_ptr<const CompositionString> composition;
    bool shift = false;  // modifiers held during the event
    bool control = false;
    bool alt = false;

    static InputEvent KeyPress(int virtualKey, bool shift = false, bool control = false);
    static InputEvent Character(char32_t ch);
    static InputEvent MouseClick(POINT screen, Kind kind = Kind::Click);
    static InputEvent MouseDrag(POINT from, POINT to);
    static InputEvent MouseWheel(POINT screen, int delta);
    static InputEvent Composition(CompositionString change);
    static InputEvent MouseMove(POINT screen);
    static InputEvent CloseBox()
    {
        InputEvent event;
        event.kind = Kind::Close;
        return event;
    }
};

class Driver {
public:
    virtual ~Driver() = default;
    // The next input event, waiting for one; nothing when the input has ended, upon which a
    // modal loop closes its window rather than wait forever.
    virtual std::optional<InputEvent> NextEvent() = 0;
    // Shows a message box and returns the button chosen (IDOK, IDCANCEL, IDYES, IDNO).
    virtual int MessageBox(Wnd* owner, const std::string& text, const std::string& caption, UINT style) = 0;
    // Whether a key (VK_SHIFT, VK_CONTROL, ...) is held now.
    [[nodiscard]] virtual bool IsKeyDown(int virtualKey) const = 0;
    // A dialog has been created, initialised and shown (modal: its loop is about to run).
    virtual void DialogOpened(Dialog& dialog) { (void)dialog; }
    // A window was shown or hidden, or asks to be repainted.
    virtual void WindowChanged(Wnd& wnd) { (void)wnd; }
    virtual void WaitCursorChanged(bool shown) { (void)shown; }
    // The mouse cursor a window asked for (IDC_*) through SetCursor, over the window under the
    // mouse; a front end without one of its own has nothing to do.
    virtual void CursorChanged(int cursorId) { (void)cursorId; }
    // The screen in pixels.
    [[nodiscard]] virtual SIZE ScreenSize() const { return {640, 400}; }
    // The screen's pixels per logical inch, as device contexts report them (LOGPIXELSX/Y).
    [[nodiscard]] virtual int LogPixels() const { return 96; }
    // The desktop's own font for dialogs and menus, which the stock DEFAULT_GUI_FONT then names;
    // nothing where the front end has none (the library's own default stands).
    [[nodiscard]] virtual std::optional<LOGFONTA> DesktopGuiFont() const { return std::nullopt; }
    // How text measures on this screen: every layout and hit-test above asks it. By default
    // the character-cell model.
    [[nodiscard]] virtual const TextMeasure& GetTextMeasure() const;
    // How thick the frame around a framed control is drawn: by default a cell of box drawing.
    [[nodiscard]] virtual SIZE ControlFrameEdge() const { return {8, 16}; }
    // Shows a pop-up menu at a screen point and lets the person work it; returns the command
    // chosen (0: none) and, unless the flags say TPM_RETURNCMD, sends it to the target. By
    // default the menus of character cells, worked with input from NextEvent.
    virtual UINT TrackPopupMenu(MenuTag* menu, UINT flags, POINT screen, Wnd& target);
    // Lets the person work a frame's menu bar, from its first menu or with one open.
    virtual void TrackMenuBar(Wnd& frame, int openPosition);
    // The program ends now without unwinding: give back what the driver holds (the terminal).
    virtual void ReleaseForExit() noexcept {}
    // Whether the person's input method composes from the start. A desktop has its own input
    // method, which composes or not as the person set it; a terminal's is not the program's.
    [[nodiscard]] virtual bool InputMethodOpenAtStart() const { return false; }
    // The program ended a composition itself (took its text or dropped it): the input method
    // forgets what it was composing for the window.
    virtual void CompositionEnded(Wnd& wnd) { (void)wnd; }
};

// The exit status of a program that could not go on after an unexpected error (as
// EX_SOFTWARE): its unsaved work went to the recovery copy first.
inline constexpr int kExitAfterFailure = 70;

// The program: its name and category (its identity in the registry), its main window, the
// help system it uses and its driver. One exists at a time; it must outlive its windows.
class WinApp {
public:
    WinApp(std::string name, std::string category, Driver* driver = nullptr);
    virtual ~WinApp();
    WinApp(const WinApp&) = delete;
    WinApp& operator=(const WinApp&) = delete;

    [[nodiscard]] const std::string& GetName() const noexcept { return m_name; }
    [[nodiscard]] const std::string& GetCategory() const noexcept { return m_category; }
    [[nodiscard]] Wnd* GetMainWnd() const noexcept { return m_mainWnd; }
    void SetMainWnd(Wnd* wnd) noexcept { m_mainWnd = wnd; }
    [[nodiscard]] int GetHelpType() const noexcept { return m_helpType; }
    void SetHelpType(int helpType) noexcept { m_helpType = helpType; }
    // The help file the program ships; WinHelp shows its topics (HELP_CONTEXT: the topic
    // numbered data, HELP_CONTENTS: the first one) in a window of their own, and says so in a
    // message box when the file is missing or damaged.
    void SetHelpFilePath(std::filesystem::path path) { m_helpFile = std::move(path); }
    [[nodiscard]] const std::filesystem::path& GetHelpFilePath() const noexcept { return m_helpFile; }
    virtual void WinHelp(std::uintptr_t data, UINT command);
    [[nodiscard]] Driver* GetDriver() const noexcept { return m_driver; }
    void SetDriver(Driver* driver) noexcept { m_driver = driver; }

    // Runs until the main window is destroyed or the input ends; returns 0.
    virtual int Run();

    // How the program keeps its unsaved work when it has to end without asking the person
    // (the terminal went away, it was told to stop, an error it cannot go on from): the
    // writer puts a recovery copy of the document somewhere safe and answers whether the
    // work is kept (true also when nothing needed keeping). Called at a safe point of the
    // program's own thread, never from a signal handler.
    void SetRecoveryWriter(std::function<bool()> writer) { m_recoveryWriter = std::move(writer); }
    // Runs the writer; false when there is none that kept the work, or it threw.
    bool WriteRecovery() noexcept;
    // For when the program cannot go on: keeps the unsaved work, gives the terminal back,
    // says why on the standard error and exits with kExitAfterFailure.
    [[noreturn]] void EndAfterFailure(std::string_view why) noexcept;

    void BeginWaitCursor();
    void EndWaitCursor();
    [[nodiscard]] bool IsWaitCursorShown() const noexcept { return m_waitDepth > 0; }

    // The application's user-interface state (see UiContext.h).
    [[nodiscard]] UiContext& GetUiContext() noexcept { return m_context; }

private:
    std::string m_name;
    std::string m_category;
    Driver* m_driver;
    Wnd* m_mainWnd = nullptr;
    int m_helpType = 0;
    std::filesystem::path m_helpFile;
    int m_waitDepth = 0;
    std::function<bool()> m_recoveryWriter;
    UiContext m_context;
};

// The application object, or null before one is made.
[[nodiscard]] WinApp* GetApp() noexcept;

// Shows a message box through the driver; the caption defaults to the application's name.
// Without an application or driver nothing can be shown and the answer is 0.
int MessageBox(Wnd* owner, std::string_view text, std::string_view caption, UINT style);
int MessageBox(std::string_view text, UINT style = MB_OK);

// Shows a standard cursor (IDC_*) until a window asks for another; returns the one before.
int SetCursor(int cursorId);
// Where the mouse was at the last mouse event, on screen.
BOOL GetCursorPos(POINT* point);

// The key's state: the high bit set while it is held.
[[nodiscard]] short GetKeyState(int virtualKey);

// Shows the wait cursor for its lifetime.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// One turn of a message loop (the application's and every modal one): a posted message, else
// the next input event, dispatched. False when the input has ended. An exception that escapes
// the turn (a handler, a command, the driver's painting) stops there: a message box says what
// happened and the program goes on with its data. When it cannot go on (memory runs out twice
// in a row, or the report itself fails) it ends through EndAfterFailure.
bool PumpMessage(Driver& driver);
// Run in that case before the person is told: a layer above puts back what the stopped
// operation left half done. Added once per process; they run in the order added.
void AddEscapedErrorCleanup(void (*cleanup)() noexcept);

// Routes one input event into the window tree, the active modal window (or the main window)
// offered it first through PreTranslateInput. Keys go to the focus (within the modal window
// while one runs, else in any top-level window); mouse events go to the window under the
// mouse, a drag and its release to the window where the button went down, the wheel to the
// window under it (which passes it on to its parent when it does not scroll itself).
void DispatchInput(const InputEvent& event);

// The window that takes input now: the innermost running modal loop's window, else the
// main window.
[[nodiscard]] Wnd* GetActiveWindow() noexcept;

} // namespace plat
