// The kinds of windows that the library asks about when it looks for the right owner of its
// dialogs: frame windows, the main frame of a multiple-document program and its document
// frames, and views. Which kind a window is, is told by its class (dynamic_cast).
#pragma once

#include "platform/ui/Wnd.h"

namespace plat {

class FrameWnd : public Wnd {
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
