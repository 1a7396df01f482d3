// What became of a window's picture since a front end that keeps the pixels it painted last
// took note: which pixels moved (ScrollWindow) and which areas are to be painted again from
// the drawing list. A front end that repaints everything every time never asks.
#pragma once

#include "platform/ui/Types.h"

#include <vector>

namespace plat {

// Pixels inside an area of the client moved by (dx, dy); what moved out of the area is gone.
struct ScrollStep {
    RECT area;
    int dx = 0;
    int dy = 0;
};

class PictureChange {
public:
    // Nothing painted before can be kept (never painted, or drawn to outside a paint).
    [[nodiscard]] bool IsWhole() const noexcept { return m_whole; }
    // In the order they happened, each to be applied to the pixels before the next.
    [[nodiscard]] const std::vector<ScrollStep>& Scrolls() const noexcept { return m_scrolls; }
    // Client areas to paint again, where they lie after every scroll.
    [[nodiscard]] const std::vector<RECT>& Redraws() const noexcept { return m_redraws; }

    void Redraw(const RECT& area);
    // Areas waiting to be painted again move with the pixels, so they still cover what they did.
    void Scroll(const RECT& area, int dx, int dy);
    void LoseAll() noexcept;
    // Starts a new record for a front end that has just painted the picture whole.
    void Clear() noexcept;

private:
    bool m_whole = true;
    std::vector<ScrollStep> m_scrolls;
    std::vector<RECT> m_redraws;
};

} // namespace plat
