// The kinds of windows that the library asks about when it looks for the right owner of its
// dialogs and the route of its commands: frame windows, the main frame of a multiple-document
// program and its document frames, and views. Which kind a window is, is told by its class (dynamic_cast).
#pragma once

#include "platform/resource/Module.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Wnd.h"

#include <string>
#include <string_view>

namespace plat {

// A frame shows its text as a title and its menu bar on its first line, and a message (a
// status prompt) and indicators on its status line. Commands and their updates that reach it
// go first to the window with the focus inside it, then to its own map.
class FrameWnd : public Wnd {
public:
    void SetMessageText(std::string_view text)
    {
        m_message = text;
        Invalidate(FALSE);
    }
    [[nodiscard]] const std::string& GetMessageText() const noexcept { return m_message; }
    // Text kept at the right end of the status line (the caret's line, key hints).
    void SetIndicatorText(std::string_view text)
    {
        m_indicators = text;
        Invalidate(FALSE);
    }
    [[nodiscard]] const std::string& GetIndicatorText() const noexcept { return m_indicators; }

    // The menu bar; the frame does not own it (null: none).
    BOOL SetMenu(Menu* menu);
    [[nodiscard]] Menu* GetMenu() const override;
    // Where its children go, in client coordinates: between the title and menu line and the
    // status line, each a line of the default font as the front end measures it.
    [[nodiscard]] RECT GetContentRect() const;
    // The status prompt of a command: the first line of the string with its identifier.
    [[nodiscard]] virtual std::string GetMessageString(UINT id) const;

    BOOL OnCmdMsg(UINT id, int code, CmdUI* cmdUI, bool probe) override;

    DECLARE_MESSAGE_MAP()

protected:
    // WM_SETMESSAGESTRING: lParam a text, else wParam a string identifier, else the idle
    // prompt; answers the identifier shown before.
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);

private:
    std::string m_message;
    std::string m_indicators;
    HMENU m_menuBar = nullptr;
    UINT m_messageId = 0;
};

// Modules whose string tables also hold status prompts (a component's shared commands),
// searched after the current resource module.
void AddMessageStringModule(ModuleHandle module);

// The program's main frame that holds document frames.
class MDIFrameWnd : public FrameWnd {
};

// A document's frame inside the main frame.
class MDIChildWnd : public FrameWnd {
public:
    // The main frame above this frame, or null.
    [[nodiscard]] MDIFrameWnd* GetMDIFrame() const noexcept
    {
        for (Wnd* up = GetParent(); up; up = up->GetParent())
            if (auto* frame = dynamic_cast<MDIFrameWnd*>(up))
                return frame;
        return nullptr;
    }
};

// A window that shows a document inside a frame.
class View : public Wnd {
public:
    // The frame that holds the view, or null.
    [[nodiscard]] FrameWnd* GetParentFrame() const noexcept
    {
        for (Wnd* up = GetParent(); up; up = up->GetParent())
            if (auto* frame = dynamic_cast<FrameWnd*>(up))
                return frame;
        return nullptr;
    }
};

} // namespace plat
