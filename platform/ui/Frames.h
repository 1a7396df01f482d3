// The kinds of windows that the library asks about when it looks for the right owner of its
// dialogs: frame windows, the main frame of a multiple-document program and its document
// frames, and views. Which kind a window is, is told by its class (dynamic_cast).
#pragma once

#include "platform/ui/Wnd.h"

#include <string>
#include <string_view>

namespace plat {

// A frame shows its text as a title and a message (a status prompt) on its status line.
class FrameWnd : public Wnd {
public:
    void SetMessageText(std::string_view text)
    {
        m_message = text;
        Invalidate(FALSE);
    }
    [[nodiscard]] const std::string& GetMessageText() const noexcept { return m_message; }

private:
    std::string m_message;
};

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
