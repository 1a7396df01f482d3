// The list view (report view: columns, items with an image, selection and focus states,
// extended styles, key notifications) and the image list that gives its items pictures.
#pragma once

#include "platform/ui/Gdi.h"
#include "platform/ui/Wnd.h"

#include <string>
#include <string_view>
#include <vector>

namespace plat {

inline constexpr UINT LVM_SETIMAGELIST = 0x1003;
inline constexpr UINT LVM_GETITEMCOUNT = 0x1004;
inline constexpr UINT LVM_DELETEITEM = 0x1008;
inline constexpr UINT LVM_DELETEALLITEMS = 0x1009;
inline constexpr UINT LVM_GETNEXTITEM = 0x100C;
inline constexpr UINT LVM_GETITEMSTATE = 0x102C;
inline constexpr UINT LVM_GETSELECTEDCOUNT = 0x1032;
inline constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = 0x1036;
inline constexpr UINT LVM_GETEXTENDEDLISTVIEWSTYLE = 0x1037;

// Images of one size cut from bitmaps; a mask colour makes pixels transparent (CLR_NONE).
class ImageList {
public:
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // From a bitmap resource of the current resource module, cut into images cx wide.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
    // Adds the images of a bitmap; the index of the first, or -1.
    int Add(const Bitmap& bitmap, COLORREF mask);
    [[nodiscard]] int GetImageCount() const noexcept { return static_cast<int>(m_images.size()); }
    [[nodiscard]] const Bitmap* GetImage(int index) const noexcept;
    [[nodiscard]] SIZE GetImageSize() const noexcept { return {m_cx, m_cy}; }
    BOOL DeleteImageList() noexcept;
    [[nodiscard]] bool IsCreated() const noexcept { return m_cx > 0; }

private:
    int m_cx = 0;
    int m_cy = 0;
    std::vector<Bitmap> m_images;
};

struct ListViewColumn {
    std::string heading;
    int format = LVCFMT_LEFT;
    int width = 0;
};

struct ListViewItem {
    std::vector<std::string> texts; // the item's text, then its sub-items'
    int image = -1;
    UINT state = 0;
    LPARAM data = 0;
};

class ListView : public Wnd {
public:
    BOOL Create(DWORD style, const RECT& rect, Wnd* parent, UINT id);

    int InsertColumn(int index, std::string_view heading, int format = LVCFMT_LEFT, int width = -1);
    [[nodiscard]] int GetColumnCount() const noexcept { return static_cast<int>(m_columns.size()); }
    [[nodiscard]] const ListViewColumn* GetColumn(int index) const noexcept;

    // With LVS_SORTASCENDING the item goes to its sorted place; returns where it went.
    int InsertItem(int index, std::string_view text, int image = -1);
    BOOL DeleteItem(int index);
    BOOL DeleteAllItems();
    [[nodiscard]] int GetItemCount() const noexcept { return static_cast<int>(m_items.size()); }
    [[nodiscard]] std::string GetItemText(int index, int subItem) const;
    BOOL SetItemText(int index, int subItem, std::string_view text);
    [[nodiscard]] int GetItemImage(int index) const noexcept;
    BOOL SetItemData(int index, LPARAM data);
    [[nodiscard]] LPARAM GetItemData(int index) const noexcept;
    // Index -1 sets the state of every item.
    BOOL SetItemState(int index, UINT state, UINT mask);
    [[nodiscard]] UINT GetItemState(int index, UINT mask) const noexcept;
    // The next item after start (-1: from the first) with the LVNI_* flags, or -1.
    [[nodiscard]] int GetNextItem(int start, UINT flags) const noexcept;
    [[nodiscard]] int GetSelectedCount() const noexcept;
    [[nodiscard]] int GetSelectionMark() const noexcept { return GetNextItem(-1, LVNI_SELECTED); }
    BOOL EnsureVisible(int index, BOOL partialOk = FALSE);
    [[nodiscard]] int GetTopIndex() const noexcept { return m_topIndex; }
    // The item whose whole text equals the text exactly, after start; -1 when none.
    [[nodiscard]] int FindItem(std::string_view text, int start = -1) const;

    DWORD SetExtendedStyle(DWORD exStyle);
    [[nodiscard]] DWORD GetExtendedStyle() const noexcept { return m_extendedStyle; }
    ImageList* SetImageList(ImageList* imageList, int which);
    [[nodiscard]] ImageList* GetImageList(int which) const noexcept;
    [[nodiscard]] int ItemFromPoint(POINT clientPoint) const noexcept;
    // Where an item's row lies in the client area (above it when scrolled out).
    [[nodiscard]] RECT GetItemRect(int index) const;
    // One row: a line of the list's font.
    [[nodiscard]] int RowHeight() const;
    // What a person's click does: selects and focuses the item, notifying LVN_ITEMCHANGED.
    void UserSelect(int index);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool InRange(int index) const noexcept { return index >= 0 && index < GetItemCount(); }
    void ChangeState(int index, UINT state, UINT mask);

    std::vector<ListViewColumn> m_columns;
    std::vector<ListViewItem> m_items;
    DWORD m_extendedStyle = 0;
    ImageList* m_smallImages = nullptr;
    ImageList* m_normalImages = nullptr;
    int m_topIndex = 0;
};

} // namespace plat
