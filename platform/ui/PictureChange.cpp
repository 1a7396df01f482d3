// The record is bounded: a window nobody takes the record of (hidden, or under a front end
// that repaints everything) keeps at most a few entries.
#include "platform/ui/PictureChange.h"

#include <algorithm>

namespace plat {

namespace {

constexpr std::size_t kMaxRedraws = 64;
constexpr std::size_t kMaxScrolls = 16;

RECT Intersect(const RECT& a, const RECT& b)
{
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

RECT Bounds(const RECT& a, const RECT& b)
{
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

} // namespace

void PictureChange::Redraw(const RECT& area)
{
    if (m_whole || area.IsEmpty())
        return;
    if (m_redraws.size() < kMaxRedraws) {
        m_redraws.push_back(area);
        return;
    }
    // Many small areas become the one that holds them all.
    RECT all = area;
    for (const RECT& waiting : m_redraws)
        all = Bounds(all, waiting);
    m_redraws.assign(1, all);
}

void PictureChange::Scroll(const RECT& area, int dx, int dy)
{
    if (m_whole)
        return;
    if (m_scrolls.size() >= kMaxScrolls) {
        LoseAll();
        return;
    }
    m_scrolls.push_back(ScrollStep{area, dx, dy});
    // Stale pixels inside the area went with it. Their old place is left waiting as well:
    // more than needed, never too little.
    std::vector<RECT> moved;
    for (const RECT& waiting : m_redraws) {
        const RECT inside = Intersect(waiting, area);
        if (!inside.IsEmpty())
            moved.push_back(Intersect(RECT{inside.left + dx, inside.top + dy, inside.right + dx, inside.bottom + dy}, area));
    }
    for (const RECT& rect : moved)
        Redraw(rect);
}

void PictureChange::LoseAll() noexcept
{
    m_whole = true;
    m_scrolls.clear();
    m_redraws.clear();
}

void PictureChange::Clear() noexcept
{
    m_whole = false;
    m_scrolls.clear();
    m_redraws.clear();
}

} // namespace plat
