// Where a window stands among the others and where it lies: its family links, the child under
// a point, and its rectangle in its parent, on the screen and inside itself.
#include "platform/ui/Wnd.h"

#include <algorithm>

namespace plat {

// ---- family ----

Wnd* Wnd::GetTopLevelParent() const noexcept
{
    const Wnd* wnd = this;
    while (wnd->m_parent)
        wnd = wnd->m_parent;
    return const_cast<Wnd*>(wnd);
}

Wnd* Wnd::GetNextSibling() const noexcept
{
    if (!m_parent)
        return nullptr;
    const auto& siblings = m_parent->m_children;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    return it != siblings.end() && it + 1 != siblings.end() ? *(it + 1) : nullptr;
}

Wnd* Wnd::GetPrevSibling() const noexcept
{
    if (!m_parent)
        return nullptr;
    const auto& siblings = m_parent->m_children;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    return it != siblings.end() && it != siblings.begin() ? *(it - 1) : nullptr;
}

Wnd* Wnd::GetDlgItem(int id) const noexcept
{
    for (Wnd* child : m_children)
        if (static_cast<int>(child->m_id) == id)
            return child;
    return nullptr;
}

int Wnd::SetDlgCtrlID(int id) noexcept
{
    const int old = static_cast<int>(m_id);
    m_id = static_cast<UINT>(id);
    return old;
}

bool Wnd::IsChild(const Wnd* wnd) const noexcept
{
    for (const Wnd* up = wnd ? wnd->m_parent : nullptr; up; up = up->m_parent)
        if (up == this)
            return true;
    return false;
}

void Wnd::ForEachDescendant(const std::function<void(Wnd&)>& visit) const
{
    const std::vector<Wnd*> children = m_children;
    for (Wnd* child : children) {
        visit(*child);
        child->ForEachDescendant(visit);
    }
}

Wnd* Wnd::ChildWindowFromPointDeep(POINT clientPoint)
{
    for (Wnd* child : m_children) {
        if (!(child->m_style & WS_VISIBLE) || !child->IsHitTestVisible() || !child->m_rect.Contains(clientPoint))
            continue;
        if (!child->IsWindowEnabled())
            return this; // a disabled control swallows the click for its parent
        return child->ChildWindowFromPointDeep(POINT{clientPoint.x - child->m_rect.left, clientPoint.y - child->m_rect.top});
    }
    return this;
}

// ---- geometry ----

void Wnd::GetWindowRect(RECT* rect) const noexcept
{
    *rect = RECT{0, 0, m_rect.Width(), m_rect.Height()};
    ClientToScreen(rect);
}

void Wnd::GetClientRect(RECT* rect) const noexcept { *rect = RECT{0, 0, m_rect.Width(), m_rect.Height()}; }

void Wnd::ClientToScreen(POINT* point) const noexcept
{
    for (const Wnd* wnd = this; wnd; wnd = wnd->m_parent) {
        point->x += wnd->m_rect.left;
        point->y += wnd->m_rect.top;
    }
}

void Wnd::ClientToScreen(RECT* rect) const noexcept
{
    POINT origin;
    ClientToScreen(&origin);
    rect->left += origin.x;
    rect->right += origin.x;
    rect->top += origin.y;
    rect->bottom += origin.y;
}

void Wnd::ScreenToClient(POINT* point) const noexcept
{
    POINT origin;
    ClientToScreen(&origin);
    point->x -= origin.x;
    point->y -= origin.y;
}

void Wnd::ScreenToClient(RECT* rect) const noexcept
{
    POINT origin;
    ClientToScreen(&origin);
    rect->left -= origin.x;
    rect->right -= origin.x;
    rect->top -= origin.y;
    rect->bottom -= origin.y;
}

void Wnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    SetWindowPos(nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

void Wnd::MoveWindow(const RECT& rect, BOOL repaint)
{
    MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), repaint);
}

BOOL Wnd::SetWindowPos(const Wnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    if (!m_created)
        return FALSE;
    RECT wanted = m_rect;
    if (!(flags & SWP_NOMOVE))
        wanted = RECT{x, y, x + m_rect.Width(), y + m_rect.Height()};
    if (!(flags & SWP_NOSIZE))
        wanted = RECT{wanted.left, wanted.top, wanted.left + cx, wanted.top + cy};
    // The change reports what really changed, as the platform's does.
    if (wanted.Width() == m_rect.Width() && wanted.Height() == m_rect.Height())
        flags |= SWP_NOSIZE;
    if (wanted.left == m_rect.left && wanted.top == m_rect.top)
        flags |= SWP_NOMOVE;
    if (!(flags & SWP_NOZORDER) && m_parent && insertAfter != this) {
        auto& siblings = m_parent->m_children;
        siblings.erase(std::find(siblings.begin(), siblings.end(), this));
        auto at = siblings.begin();
        if (insertAfter) {
            auto after = std::find(siblings.begin(), siblings.end(), insertAfter);
            at = after == siblings.end() ? siblings.end() : after + 1;
        }
        siblings.insert(at, this);
    }
    const RECT old = m_rect;
    m_rect = wanted;
    if (!(flags & SWP_NOREDRAW) && !((flags & SWP_NOSIZE) && (flags & SWP_NOMOVE))) {
        if (m_parent)
            m_parent->InvalidateRect(&old, TRUE);
        Invalidate(TRUE);
    }
    if (flags & SWP_SHOWWINDOW)
        m_style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW)
        m_style &= ~WS_VISIBLE;
    SendPosChanged(flags);
    return TRUE;
}

void Wnd::SendPosChanged(UINT flags)
{
    WINDOWPOS pos;
    pos.hwnd = this;
    pos.x = m_rect.left;
    pos.y = m_rect.top;
    pos.cx = m_rect.Width();
    pos.cy = m_rect.Height();
    pos.flags = flags;
    SendMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
}

} // namespace plat
