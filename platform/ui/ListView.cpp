// List view and image list behaviour.
#include "platform/ui/ListView.h"

#include "platform/text/NameCompare.h"
#include "platform/ui/ControlFrame.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Resources.h"
#include "platform/ui/TextMeasure.h"

#include <algorithm>
#include <utility>

namespace plat {

// ---- ImageList ----

BOOL ImageList::Create(int cx, int cy, UINT, int, int)
{
    if (cx <= 0 || cy <= 0)
        return FALSE;
    m_cx = cx;
    m_cy = cy;
    m_images.clear();
    return TRUE;
}

BOOL ImageList::Create(UINT bitmapId, int cx, int, COLORREF mask)
{
    const Bitmap* bitmap = FindBitmapResource(GetResourceHandle(), bitmapId);
    if (!bitmap || cx <= 0)
        return FALSE;
    if (!Create(cx, bitmap->GetSize().cy, 0, 0, 1))
        return FALSE;
    return Add(*bitmap, mask) >= 0;
}

int ImageList::Add(const Bitmap& bitmap, COLORREF mask)
{
    const SIZE size = bitmap.GetSize();
    if (!IsCreated() || size.cx < m_cx || size.cy < m_cy)
        return -1;
    const int first = GetImageCount();
    for (int left = 0; left + m_cx <= size.cx; left += m_cx) {
        Bitmap image;
        image.CreateBitmap(m_cx, m_cy);
        for (int y = 0; y < m_cy; ++y)
            for (int x = 0; x < m_cx; ++x) {
                const COLORREF color = bitmap.GetPixel(left + x, y);
                image.SetPixel(x, y, color == mask ? CLR_NONE : color);
            }
        m_images.push_back(std::move(image));
    }
    return first;
}

const Bitmap* ImageList::GetImage(int index) const noexcept
{
    return index >= 0 && index < GetImageCount() ? &m_images[static_cast<std::size_t>(index)] : nullptr;
}

BOOL ImageList::DeleteImageList() noexcept
{
    const bool was = IsCreated();
    m_cx = m_cy = 0;
    m_images.clear();
    return was;
}

// ---- ListView ----

BOOL ListView::Create(DWORD style, const RECT& rect, Wnd* parent, UINT id)
{
    return Wnd::Create(kListViewClass, "", style, rect, parent, id);
}

int ListView::InsertColumn(int index, std::string_view heading, int format, int width)
{
    if (index < 0 || index > GetColumnCount())
        index = GetColumnCount();
    m_columns.insert(m_columns.begin() + index, ListViewColumn{std::string(heading), format, width});
    Invalidate();
    return index;
}

const ListViewColumn* ListView::GetColumn(int index) const noexcept
{
    return index >= 0 && index < GetColumnCount() ? &m_columns[static_cast<std::size_t>(index)] : nullptr;
}

int ListView::InsertItem(int index, std::string_view text, int image)
{
    const DWORD style = GetStyle();
    if (style & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) {
        const bool ascending = (style & LVS_SORTASCENDING) != 0;
        auto at = std::find_if(m_items.begin(), m_items.end(), [&](const ListViewItem& item) {
            const int order = CompareNoCase(text, item.texts.front());
            return ascending ? order < 0 : order > 0;
        });
        index = static_cast<int>(at - m_items.begin());
    } else if (index < 0 || index > GetItemCount()) {
        index = GetItemCount();
    }
    ListViewItem item;
    item.texts.emplace_back(text);
    item.image = image;
    m_items.insert(m_items.begin() + index, std::move(item));
    Invalidate(FALSE);
    return index;
}

BOOL ListView::DeleteItem(int index)
{
    if (!InRange(index))
        return FALSE;
    m_items.erase(m_items.begin() + index);
    m_topIndex = std::max(0, std::min(m_topIndex, GetItemCount() - 1));
    Invalidate();
    return TRUE;
}

BOOL ListView::DeleteAllItems()
{
    m_items.clear();
    m_topIndex = 0;
    Invalidate();
    return TRUE;
}

std::string ListView::GetItemText(int index, int subItem) const
{
    if (!InRange(index) || subItem < 0)
        return {};
    const auto& texts = m_items[static_cast<std::size_t>(index)].texts;
    return static_cast<std::size_t>(subItem) < texts.size() ? texts[static_cast<std::size_t>(subItem)] : std::string();
}

BOOL ListView::SetItemText(int index, int subItem, std::string_view text)
{
    if (!InRange(index) || subItem < 0)
        return FALSE;
    auto& texts = m_items[static_cast<std::size_t>(index)].texts;
    if (texts.size() <= static_cast<std::size_t>(subItem))
        texts.resize(static_cast<std::size_t>(subItem) + 1);
    texts[static_cast<std::size_t>(subItem)] = std::string(text);
    Invalidate(FALSE);
    return TRUE;
}

int ListView::GetItemImage(int index) const noexcept
{
    return InRange(index) ? m_items[static_cast<std::size_t>(index)].image : -1;
}

BOOL ListView::SetItemData(int index, LPARAM data)
{
    if (!InRange(index))
        return FALSE;
    m_items[static_cast<std::size_t>(index)].data = data;
    return TRUE;
}

LPARAM ListView::GetItemData(int index) const noexcept
{
    return InRange(index) ? m_items[static_cast<std::size_t>(index)].data : 0;
}

void ListView::ChangeState(int index, UINT state, UINT mask)
{
    ListViewItem& item = m_items[static_cast<std::size_t>(index)];
    const UINT old = item.state;
    const UINT wanted = (old & ~mask) | (state & mask);
    if (wanted == old)
        return;
    item.state = wanted;
    NMLISTVIEW change;
    change.iItem = index;
    change.uNewState = wanted;
    change.uOldState = old;
    change.uChanged = 0x8; // LVIF_STATE
    change.lParam = item.data;
    NotifyParent(change.hdr, LVN_ITEMCHANGED);
}

BOOL ListView::SetItemState(int index, UINT state, UINT mask)
{
    if (index == -1) {
        for (int i = 0; i < GetItemCount(); ++i)
            ChangeState(i, state, mask);
        Invalidate(FALSE);
        return TRUE;
    }
    if (!InRange(index))
        return FALSE;
    // One item at most is selected in a single-selection list, and one item has the focus.
    const UINT exclusive = mask & state & (LVIS_FOCUSED | ((GetStyle() & LVS_SINGLESEL) ? LVIS_SELECTED : 0u));
    if (exclusive)
        for (int i = 0; i < GetItemCount(); ++i)
            if (i != index && (m_items[static_cast<std::size_t>(i)].state & exclusive))
                ChangeState(i, 0, exclusive);
    ChangeState(index, state, mask);
    Invalidate(FALSE);
    return TRUE;
}

UINT ListView::GetItemState(int index, UINT mask) const noexcept
{
    return InRange(index) ? m_items[static_cast<std::size_t>(index)].state & mask : 0;
}

int ListView::GetNextItem(int start, UINT flags) const noexcept
{
    for (int i = start < 0 ? 0 : start + 1; i < GetItemCount(); ++i) {
        const UINT state = m_items[static_cast<std::size_t>(i)].state;
        if (((flags & LVNI_SELECTED) && !(state & LVIS_SELECTED)) || ((flags & LVNI_FOCUSED) && !(state & LVIS_FOCUSED)))
            continue;
        return i;
    }
    return -1;
}

int ListView::GetSelectedCount() const noexcept
{
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(),
                                          [](const ListViewItem& item) { return (item.state & LVIS_SELECTED) != 0; }));
}

int ListView::FindItem(std::string_view text, int start) const
{
    for (int i = start < 0 ? 0 : start + 1; i < GetItemCount(); ++i)
        if (m_items[static_cast<std::size_t>(i)].texts.front() == text)
            return i;
    return -1;
}

BOOL ListView::EnsureVisible(int index, BOOL)
{
    if (!InRange(index))
        return FALSE;
    const RECT interior = ControlInterior(*this);
    const int line = RowHeight();
    const int header = (GetStyle() & LVS_NOCOLUMNHEADER) ? 0 : line;
    const int rows = std::max(1, static_cast<int>(interior.Height() - header) / line);
    if (index < m_topIndex)
        m_topIndex = index;
    else if (index >= m_topIndex + rows)
        m_topIndex = index - rows + 1;
    return TRUE;
}

DWORD ListView::SetExtendedStyle(DWORD exStyle)
{
    const DWORD old = m_extendedStyle;
    m_extendedStyle = exStyle;
    Invalidate();
    return old;
}

ImageList* ListView::SetImageList(ImageList* imageList, int which)
{
    ImageList*& slot = which == LVSIL_SMALL ? m_smallImages : m_normalImages;
    return std::exchange(slot, imageList);
}

int ListView::RowHeight() const { return GetTextMeasure().LineHeight(WindowLogFont(*this)); }

RECT ListView::GetItemRect(int index) const
{
    const RECT interior = ControlInterior(*this);
    const int line = RowHeight();
    const int top = interior.top + ((GetStyle() & LVS_NOCOLUMNHEADER) ? 0 : line) + (index - m_topIndex) * line;
    return RECT{interior.left, top, interior.right, top + line};
}

ImageList* ListView::GetImageList(int which) const noexcept { return which == LVSIL_SMALL ? m_smallImages : m_normalImages; }

int ListView::ItemFromPoint(POINT clientPoint) const noexcept
{
    const RECT interior = ControlInterior(*this);
    const int line = RowHeight();
    const int header = (GetStyle() & LVS_NOCOLUMNHEADER) ? 0 : line;
    if (!interior.Contains(clientPoint) || clientPoint.y < interior.top + header)
        return -1; // the frame or the headings
    const int index = m_topIndex + static_cast<int>(clientPoint.y - interior.top - header) / line;
    return index < GetItemCount() ? index : -1;
}

void ListView::UserSelect(int index)
{
    if (!InRange(index))
        return;
    if (GetStyle() & LVS_SINGLESEL) {
        SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    } else {
        for (int i = 0; i < GetItemCount(); ++i)
            if (i != index)
                ChangeState(i, 0, LVIS_SELECTED);
        SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    EnsureVisible(index);
}

LRESULT ListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT point{static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lParam))),
                      static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam)))};
    switch (message) {
    case LVM_GETITEMCOUNT: return GetItemCount();
    case LVM_DELETEITEM: return DeleteItem(static_cast<int>(wParam));
    case LVM_DELETEALLITEMS: return DeleteAllItems();
    case LVM_GETNEXTITEM: return GetNextItem(static_cast<int>(static_cast<std::intptr_t>(wParam)), static_cast<UINT>(lParam));
    case LVM_GETITEMSTATE: return GetItemState(static_cast<int>(wParam), static_cast<UINT>(lParam));
    case LVM_GETSELECTEDCOUNT: return GetSelectedCount();
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        const DWORD mask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFFu;
        return SetExtendedStyle((m_extendedStyle & ~mask) | (static_cast<DWORD>(lParam) & mask));
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return m_extendedStyle;
    case LVM_SETIMAGELIST:
        return reinterpret_cast<LRESULT>(SetImageList(reinterpret_cast<ImageList*>(lParam), static_cast<int>(wParam)));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (message == WM_LBUTTONDOWN)
            SetFocus();
        const int hit = ItemFromPoint(point);
        UserSelect(hit);
        NMLISTVIEW click;
        click.iItem = hit;
        click.ptAction = point;
        NotifyParent(click.hdr, message == WM_LBUTTONDOWN ? NM_CLICK : NM_DBLCLK);
        return 0;
    }
    case WM_KEYDOWN: {
        // The parent hears of every key first, as the platform tells it.
        NMLVKEYDOWN key;
        key.wVKey = static_cast<WORD>(wParam);
        NotifyParent(key.hdr, LVN_KEYDOWN);
        if (!plat::IsWindow(this))
            return 0;
        // An entry selected by the program but never focused is where the person sees they
        // are, so the arrows move on from it.
        int focus = GetNextItem(-1, LVNI_FOCUSED);
        if (focus < 0)
            focus = GetNextItem(-1, LVNI_SELECTED);
        switch (static_cast<int>(wParam)) {
        case VK_UP: UserSelect(focus <= 0 ? 0 : focus - 1); break;
        case VK_DOWN: UserSelect(focus < 0 ? 0 : std::min(focus + 1, GetItemCount() - 1)); break;
        case VK_HOME: UserSelect(0); break;
        case VK_END: UserSelect(GetItemCount() - 1); break;
        default: break;
        }
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
        break;
    }
    return Wnd::WindowProc(message, wParam, lParam);
}

} // namespace plat
