// The look of menus in character cells: the menu bar on a frame's first line, and pop-ups in
// boxes, each item on a line with its check mark, its label (mnemonic underlined), its
// accelerator at the right and a mark for a sub menu; greyed items in the grey of disabled
// text, the highlighted item in the highlight colours.
#include "platform/text/DisplayWidth.h"
#include "platform/ui/MenuTracker.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/Wnd.h"

#include <algorithm>

namespace plat {

void Renderer::PaintMenuBar(Wnd& frame, Canvas& canvas, const RECT& cells) const
{
    const MenuTracker* tracker = MenuTracker::Active();
    const bool tracking = tracker && tracker->BarFrame() == &frame;
    LONG end = cells.left + 1;
    Menu* bar = frame.GetMenu();
    for (const MenuBarPlace& place : LayOutMenuBar(frame)) {
        const bool highlighted = tracking && tracker->BarHighlight() == place.position;
        const bool enabled = (bar->GetMenuState(static_cast<UINT>(place.position), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
        // The bar lies on the caption, whose colours may be the highlight's: the highlighted
        // title shows in the caption's colours turned round, so that it always stands out.
        const COLORREF fg = highlighted ? m_palette.caption : enabled ? m_palette.captionText : m_palette.grayText;
        const COLORREF bg = highlighted ? m_palette.captionText : m_palette.caption;
        const RECT at{place.cells.left, cells.top, place.cells.right, cells.top + 1};
        canvas.Fill(at, U' ', fg, bg);
        WriteLabel(canvas, at.left + 1, cells.top, place.label, fg, bg);
        end = at.right;
    }
    // The title follows the menus, set off by a bar.
    const std::string title = frame.GetWindowText();
    if (!title.empty()) {
        canvas.Put(end + 1, cells.top, U'|', m_palette.captionText, m_palette.caption);
        canvas.Write(end + 3, cells.top, title, m_palette.captionText, m_palette.caption);
    }
}

void Renderer::PaintOpenMenus(Canvas& canvas) const
{
    const MenuTracker* tracker = MenuTracker::Active();
    if (!tracker)
        return;
    if (!tracker->Popups().empty())
        canvas.SetCursor(std::nullopt); // the highlight shows where one is
    canvas.ResetClip();
    for (const OpenPopup& popup : tracker->Popups()) {
        const RECT& box = popup.box;
        canvas.Fill(box, U' ', m_palette.faceText, m_palette.face);
        PaintBox(canvas, box, {}, m_palette.faceText, m_palette.face);
        Menu* menu = Menu::FromHandle(popup.menu);
        const int count = menu ? menu->GetMenuItemCount() : 0;
        for (int i = popup.firstItem; i < count; ++i) {
            const LONG line = box.top + 1 + (i - popup.firstItem);
            if (line >= box.bottom - 1)
                break;
            MenuItemInfo item;
            GetMenuItem(popup.menu, i, item);
            if (item.IsSeparator()) {
                canvas.Put(box.left, line, U'├', m_palette.faceText, m_palette.face);
                for (LONG column = box.left + 1; column < box.right - 1; ++column)
                    canvas.Put(column, line, U'─', m_palette.faceText, m_palette.face);
                canvas.Put(box.right - 1, line, U'┤', m_palette.faceText, m_palette.face);
                continue;
            }
            const bool highlighted = i == popup.highlight;
            const COLORREF fg = highlighted ? m_palette.highlightText : item.IsEnabled() ? m_palette.faceText : m_palette.grayText;
            const COLORREF bg = highlighted ? m_palette.highlight : m_palette.face;
            canvas.SetClip(RECT{box.left + 1, line, box.right - 1, line + 1});
            canvas.Fill(RECT{box.left + 1, line, box.right - 1, line + 1}, U' ', fg, bg);
            if (item.IsChecked())
                canvas.Put(box.left + 1, line, U'✓', fg, bg);
            const std::size_t tab = item.text.find('\t');
            WriteLabel(canvas, box.left + 3, line, std::string_view(item.text).substr(0, tab), fg, bg);
            if (tab != std::string::npos) {
                const std::string_view accelerator = std::string_view(item.text).substr(tab + 1);
                canvas.Write(box.right - 3 - DisplayWidth(accelerator), line, accelerator, fg, bg);
            }
            if (item.IsPopup())
                canvas.Put(box.right - 2, line, U'>', fg, bg);
            canvas.ResetClip();
        }
        // A scrolled menu says on its borders that there is more.
        if (popup.firstItem > 0)
            canvas.Put(box.right - 2, box.top, U'^', m_palette.faceText, m_palette.face);
        if (popup.firstItem + popup.VisibleItems() < count)
            canvas.Put(box.right - 2, box.bottom - 1, U'v', m_palette.faceText, m_palette.face);
    }
}

} // namespace plat
