// The character-cell look of the window tree. Windows are placed by rounding their pixel
// edges to cell borders (8 px a column, 16 px a line); a one-line control sits on the middle
// line of its rectangle, so that a dialog's label and the edit beside it share a line.
#include "platform/ui/Renderer.h"

#include "platform/text/DisplayWidth.h"
#include "platform/text/Utf8.h"
#include "platform/ui/CellGeometry.h"
#include "platform/ui/CellReplay.h"
#include "platform/ui/ControlFrame.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Frames.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Ime.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/UpdatePass.h"
#include "platform/ui/Wnd.h"

#include <algorithm>

namespace plat {

namespace {

constexpr DWORD SS_TYPEMASK = 0x1F;
constexpr DWORD SS_NOPREFIX = 0x0080;

constexpr char32_t kHorizontal = U'─';
constexpr char32_t kVertical = U'│';
constexpr char32_t kShade = U'░';
constexpr char32_t kSolid = U'█';

constexpr int kOneLineListRows = 8;

using cells::Intersect;
using cells::MiddleLine;
using cells::RoundDiv;
constexpr int kCharWidth = cells::kWidth;
constexpr int kLineHeight = cells::kHeight;

std::string IconText(UINT style)
{
    switch (style & MB_ICONMASK) {
    case MB_ICONHAND: return "(x)";
    case MB_ICONQUESTION: return "(?)";
    case MB_ICONEXCLAMATION: return "(!)";
    case MB_ICONASTERISK: return "(i)";
    default: return {};
    }
}

} // namespace

std::vector<int> MessageBoxButtons(UINT style)
{
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    default: return {IDOK};
    }
}

int MessageBoxDefaultIndex(UINT style)
{
    const int count = static_cast<int>(MessageBoxButtons(style).size());
    return std::min(static_cast<int>((style & MB_DEFMASK) >> 8), count - 1);
}

std::string MessageBoxButtonText(int answer)
{
    switch (answer) {
    case IDCANCEL: return "キャンセル";
    case IDYES: return "はい(&Y)";
    case IDNO: return "いいえ(&N)";
    default: return "OK";
    }
}

std::string StripMnemonic(std::string_view text, int* mnemonic)
{
    std::string out;
    int marked = -1;
    int column = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        if (text[pos] == '&' && pos + 1 < text.size()) {
            ++pos;
            if (text[pos] != '&' && marked < 0)
                marked = column;
        }
        const std::size_t start = pos;
        const char32_t ch = DecodeUtf8(text, pos);
        out.append(text.substr(start, pos - start));
        column += CodePointWidth(ch);
    }
    if (mnemonic)
        *mnemonic = marked;
    return out;
}

RECT PixelsToCells(const RECT& pixels) noexcept
{
    RECT cells{RoundDiv(pixels.left, kCharWidth), RoundDiv(pixels.top, kLineHeight), RoundDiv(pixels.right, kCharWidth),
               RoundDiv(pixels.bottom, kLineHeight)};
    // A control smaller than a cell still shows.
    if (pixels.right > pixels.left && cells.right <= cells.left)
        cells.right = cells.left + 1;
    if (pixels.bottom > pixels.top && cells.bottom <= cells.top)
        cells.bottom = cells.top + 1;
    return cells;
}

void Renderer::Paint(Canvas& canvas)
{
    UpdateWindows();
    canvas.ResetClip();
    canvas.Clear(m_palette.windowText, m_palette.desktop);
    m_droppedLists.clear();
    for (Wnd* wnd : Wnd::GetTopLevelWindows())
        if (IsWindow(wnd) && wnd->IsWindowVisible()) {
            SetOrigin(*wnd);
            PaintWindow(*wnd, canvas, RECT{0, 0, canvas.Columns(), canvas.Lines()});
        }
    canvas.ResetClip();
    for (const auto& [combo, cells] : m_droppedLists)
        if (IsWindow(combo))
            PaintDroppedList(*combo, canvas, cells);
    m_droppedLists.clear();
    PaintOpenMenus(canvas);
}

void Renderer::SetOrigin(const Wnd& top) noexcept
{
    RECT screen;
    top.GetWindowRect(&screen);
    m_originPixels = POINT{screen.left, screen.top};
    const RECT cells = PixelsToCells(screen);
    m_originCells = POINT{cells.left, cells.top};
}

RECT Renderer::ToCells(const RECT& screen) const noexcept
{
    const RECT relative{screen.left - m_originPixels.x, screen.top - m_originPixels.y, screen.right - m_originPixels.x,
                        screen.bottom - m_originPixels.y};
    RECT cells = PixelsToCells(relative);
    cells.left += m_originCells.x;
    cells.right += m_originCells.x;
    cells.top += m_originCells.y;
    cells.bottom += m_originCells.y;
    return cells;
}

void Renderer::PaintTree(Wnd& wnd, Canvas& canvas)
{
    UpdateWindows();
    if (!IsWindow(&wnd))
        return;
    m_droppedLists.clear();
    SetOrigin(*wnd.GetTopLevelParent());
    const RECT clip = canvas.GetClip();
    PaintWindow(wnd, canvas, clip);
    canvas.SetClip(clip);
    for (const auto& [combo, cells] : m_droppedLists)
        if (IsWindow(combo))
            PaintDroppedList(*combo, canvas, cells);
    canvas.SetClip(clip);
    m_droppedLists.clear();
}

void Renderer::PaintWindow(Wnd& wnd, Canvas& canvas, const RECT& clip)
{
    RECT screen;
    wnd.GetWindowRect(&screen);
    // Placed from the top-level window's cell, so that a dialog centred at an odd pixel
    // keeps its controls where its template puts them relative to one another.
    const RECT cells = ToCells(screen);
    const RECT own = Intersect(cells, clip);
    // A dialog's template size is its inside: its box and caption lie round it.
    auto* sheet = dynamic_cast<PropertySheet*>(&wnd);
    const bool boxed = (dynamic_cast<Dialog*>(&wnd) || sheet) && !(wnd.GetStyle() & WS_CHILD);
    const RECT outer = boxed ? RECT{cells.left - 1, cells.top - 1, cells.right + 1, cells.bottom + 1} : cells;
    if (Intersect(outer, clip).IsEmpty())
        return;
    canvas.SetClip(Intersect(outer, clip));
    const bool standardButton = dynamic_cast<Button*>(&wnd) &&
                                !(static_cast<Button&>(wnd).GetButtonStyle() == BS_OWNERDRAW && !wnd.GetDrawing().empty());
    if (dynamic_cast<FrameWnd*>(&wnd))
        PaintFrame(wnd, canvas, cells);
    else if (sheet)
        PaintPropertySheet(*sheet, canvas, outer);
    else if (dynamic_cast<Dialog*>(&wnd))
        PaintDialog(wnd, canvas, outer);
    else if (standardButton)
        PaintButton(wnd, canvas, cells);
    else if (dynamic_cast<Edit*>(&wnd))
        PaintEdit(wnd, canvas, cells);
    else if (dynamic_cast<ComboBox*>(&wnd))
        PaintComboBox(wnd, canvas, cells);
    else if (dynamic_cast<ListBox*>(&wnd))
        PaintListBox(wnd, canvas, cells);
    else if (dynamic_cast<ListView*>(&wnd))
        PaintListView(wnd, canvas, cells);
    else if (dynamic_cast<ProgressCtrl*>(&wnd))
        PaintProgress(wnd, canvas, cells);
    else if (dynamic_cast<Static*>(&wnd))
        PaintStatic(wnd, canvas, cells);
    else
        PaintRecorded(wnd, canvas, own);

    // Bottom of the z-order first, so that the topmost child ends up in front.
    const std::vector<Wnd*>& children = wnd.GetChildren();
    if (!own.IsEmpty())
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if (IsWindow(*it) && ((*it)->GetStyle() & WS_VISIBLE))
                PaintWindow(**it, canvas, own);
    canvas.SetClip(clip);
}

int Renderer::WriteLabel(Canvas& canvas, int column, int line, std::string_view text, COLORREF fg, COLORREF bg) const
{
    int mnemonic = -1;
    const std::string shown = StripMnemonic(text, &mnemonic);
    const int width = canvas.Write(column, line, shown, fg, bg);
    if (mnemonic >= 0)
        canvas.AddAttr(column + mnemonic, line, CanvasCell::Underline);
    return width;
}

void Renderer::PaintBox(Canvas& canvas, const RECT& cells, std::string_view title, COLORREF fg, COLORREF bg) const
{
    if (cells.Width() < 2 || cells.Height() < 2)
        return;
    const LONG right = cells.right - 1;
    const LONG bottom = cells.bottom - 1;
    for (LONG column = cells.left + 1; column < right; ++column) {
        canvas.Put(column, cells.top, kHorizontal, fg, bg);
        canvas.Put(column, bottom, kHorizontal, fg, bg);
    }
    for (LONG line = cells.top + 1; line < bottom; ++line) {
        canvas.Put(cells.left, line, kVertical, fg, bg);
        canvas.Put(right, line, kVertical, fg, bg);
    }
    canvas.Put(cells.left, cells.top, U'┌', fg, bg);
    canvas.Put(right, cells.top, U'┐', fg, bg);
    canvas.Put(cells.left, bottom, U'└', fg, bg);
    canvas.Put(right, bottom, U'┘', fg, bg);
    if (!title.empty()) {
        const RECT clip = canvas.GetClip();
        canvas.SetClip(Intersect(clip, RECT{cells.left + 1, cells.top, right, cells.top + 1}));
        canvas.Put(cells.left + 1, cells.top, U' ', fg, bg);
        const int width = WriteLabel(canvas, cells.left + 2, cells.top, title, fg, bg);
        canvas.Put(cells.left + 2 + width, cells.top, U' ', fg, bg);
        canvas.SetClip(clip);
    }
}

void Renderer::PaintFrame(Wnd& wnd, Canvas& canvas, const RECT& cells) const
{
    canvas.Fill(cells, U' ', m_palette.windowText, m_palette.window);
    canvas.Fill(RECT{cells.left, cells.top, cells.right, cells.top + 1}, U' ', m_palette.captionText, m_palette.caption);
    if (wnd.GetMenu())
        PaintMenuBar(wnd, canvas, cells);
    else
        canvas.Write(cells.left + 1, cells.top, wnd.GetWindowText(), m_palette.captionText, m_palette.caption);
    if (cells.Height() < 2)
        return;
    const LONG status = cells.bottom - 1;
    canvas.Fill(RECT{cells.left, status, cells.right, cells.bottom}, U' ', m_palette.faceText, m_palette.face);
    // At the right end, the input method state the program chose for the focus: the person
    // switches their own input method to match, since a terminal program cannot switch it.
    LONG right = cells.right - 1;
    Wnd* focus = Wnd::GetFocus();
    if (focus && (focus == &wnd || wnd.IsChild(focus)))
        if (const InputContext* ime = FindInputContext(focus)) {
            const std::string_view mark = ime->open ? "[あ]" : "[A]";
            right -= DisplayWidth(mark);
            canvas.Write(right, status, mark, m_palette.faceText, m_palette.face);
            --right;
        }
    if (auto* frame = dynamic_cast<FrameWnd*>(&wnd)) {
        // The indicators keep the right end; the message gives way to them.
        const std::string& indicators = frame->GetIndicatorText();
        const LONG indicatorsLeft = std::max<LONG>(cells.left, right - DisplayWidth(indicators));
        const RECT clip = canvas.GetClip();
        canvas.SetClip(Intersect(clip, RECT{cells.left, status, indicatorsLeft - (indicators.empty() ? 0 : 1), status + 1}));
        canvas.Write(cells.left + 1, status, frame->GetMessageText(), m_palette.faceText, m_palette.face);
        canvas.SetClip(clip);
        if (!indicators.empty())
            canvas.Write(indicatorsLeft, status, indicators, m_palette.faceText, m_palette.face);
    }
}

void Renderer::PaintDialog(Wnd& wnd, Canvas& canvas, const RECT& cells) const
{
    canvas.Fill(cells, U' ', m_palette.faceText, m_palette.face);
    if (wnd.GetStyle() & WS_CHILD)
        return; // a page inside a sheet or a frame: no box of its own
    PaintBox(canvas, cells, {}, m_palette.faceText, m_palette.face);
    canvas.Fill(RECT{cells.left, cells.top, cells.right, cells.top + 1}, U' ', m_palette.captionText, m_palette.caption);
    canvas.Write(cells.left + 1, cells.top, wnd.GetWindowText(), m_palette.captionText, m_palette.caption);
}

void Renderer::PaintPropertySheet(PropertySheet& sheet, Canvas& canvas, const RECT& cells) const
{
    PaintDialog(sheet, canvas, cells);
    // The tab row: the active page's tab stands out as a window-coloured "[caption]".
    const int active = sheet.GetActiveIndex();
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
        RECT tab = sheet.GetTabRect(i);
        sheet.ClientToScreen(&tab);
        const RECT tabCells = ToCells(tab);
        const bool selected = i == active;
        const COLORREF bg = selected ? m_palette.window : m_palette.face;
        canvas.Fill(tabCells, U' ', m_palette.faceText, bg);
        if (selected) {
            canvas.Put(tabCells.left, tabCells.top, U'[', m_palette.faceText, bg);
            canvas.Put(tabCells.right - 1, tabCells.top, U']', m_palette.faceText, bg);
        }
        WriteLabel(canvas, tabCells.left + 1, tabCells.top, sheet.GetPage(i)->GetCaption(), m_palette.faceText, bg);
    }
}

void Renderer::PaintStatic(Wnd& wnd, Canvas& canvas, const RECT& cells) const
{
    const DWORD style = wnd.GetStyle();
    const COLORREF fg = wnd.IsWindowEnabled() ? m_palette.faceText : m_palette.grayText;
    if ((style & SS_TYPEMASK) == SS_ETCHEDHORZ) {
        for (LONG column = cells.left; column < cells.right; ++column)
            canvas.Put(column, MiddleLine(cells), kHorizontal, m_palette.grayText, kKeepColor);
        return;
    }
    const std::string text = wnd.GetWindowText();
    const DWORD align = style & SS_TYPEMASK;
    auto startOf = [&](int width) {
        if (align == SS_CENTER)
            return cells.left + std::max<LONG>(0, (cells.Width() - width) / 2);
        if (align == SS_RIGHT)
            return std::max<LONG>(cells.left, cells.right - width);
        return cells.left;
    };
    if (cells.Height() <= 1) {
        const int width = DisplayWidth((style & SS_NOPREFIX) ? text : StripMnemonic(text));
        if (style & SS_NOPREFIX)
            canvas.Write(startOf(width), cells.top, text, fg, kKeepColor);
        else
            WriteLabel(canvas, startOf(width), cells.top, text, fg, kKeepColor);
        return;
    }
    const std::vector<std::string> lines = WrapToWidth((style & SS_NOPREFIX) ? text : StripMnemonic(text), cells.Width());
    LONG line = cells.top;
    for (const std::string& part : lines) {
        if (line >= cells.bottom)
            break;
        canvas.Write(startOf(DisplayWidth(part)), line++, part, fg, kKeepColor);
    }
}

void Renderer::PaintButton(Wnd& wnd, Canvas& canvas, const RECT& cells) const
{
    auto& button = static_cast<Button&>(wnd);
    const bool enabled = wnd.IsWindowEnabled();
    const bool focused = Wnd::GetFocus() == &wnd;
    const COLORREF fg = enabled ? m_palette.faceText : m_palette.grayText;
    const std::string text = wnd.GetWindowText();
    const int line = MiddleLine(cells);
    const UINT kind = button.GetButtonStyle();
    switch (kind) {
    case BS_GROUPBOX:
        PaintBox(canvas, cells, text, fg, kKeepColor);
        return;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: {
        const bool radio = kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
        const int check = button.GetCheck();
        const char32_t mark = check == BST_CHECKED ? (radio ? U'*' : U'x') : check == BST_INDETERMINATE ? U'-' : U' ';
        canvas.Put(cells.left, line, radio ? U'(' : U'[', fg, kKeepColor);
        canvas.Put(cells.left + 1, line, mark, fg, kKeepColor);
        canvas.Put(cells.left + 2, line, radio ? U')' : U']', fg, kKeepColor);
        WriteLabel(canvas, cells.left + 4, line, text, fg, kKeepColor);
        if (focused)
            canvas.SetCursor(POINT{cells.left + 1, line});
        return;
    }
    default: {
        const COLORREF bg = focused ? m_palette.highlight : m_palette.face;
        const COLORREF labelFg = focused ? m_palette.highlightText : fg;
        const bool isDefault = kind == BS_DEFPUSHBUTTON;
        canvas.Fill(RECT{cells.left, line, cells.right, line + 1}, U' ', labelFg, bg);
        canvas.Put(cells.left, line, isDefault ? U'<' : U'[', labelFg, bg);
        if (cells.Width() > 1)
            canvas.Put(cells.right - 1, line, isDefault ? U'>' : U']', labelFg, bg);
        const int width = DisplayWidth(StripMnemonic(text));
        const LONG start = cells.left + std::max<LONG>(1, (cells.Width() - width) / 2);
        const RECT clip = canvas.GetClip();
        canvas.SetClip(Intersect(clip, RECT{cells.left + 1, line, cells.right - 1, line + 1}));
        WriteLabel(canvas, start, line, text, labelFg, bg);
        canvas.SetClip(clip);
        if (focused)
            canvas.SetCursor(POINT{start, line});
        return;
    }
    }
}

void Renderer::PaintEdit(Wnd& wnd, Canvas& canvas, const RECT& cells) const
{
    auto& edit = static_cast<Edit&>(wnd);
    const bool focused = edit.ShowsCaret();
    const COLORREF fg = wnd.IsWindowEnabled() ? edit.TextColor(m_palette.windowText) : m_palette.grayText;
    const COLORREF bg = wnd.IsWindowEnabled() && !edit.IsReadOnly() ? m_palette.window : m_palette.face;
    const std::string text = edit.GetShownText();
    if (wnd.GetStyle() & ES_MULTILINE) {
        canvas.Fill(cells, U' ', fg, bg);
        LONG line = cells.top;
        for (const std::string& part : WrapToWidth(text, cells.Width()))
            if (line < cells.bottom)
                canvas.Write(cells.left, line++, part, fg, bg);
        if (focused)
            canvas.SetCursor(POINT{cells.left, std::min<LONG>(line, cells.bottom) - 1});
        return;
    }
    const int line = MiddleLine(cells);
    canvas.Fill(RECT{cells.left, line, cells.right, line + 1}, U' ', fg, bg);

    int selStart = 0;
    int selEnd = 0;
    edit.GetSel(selStart, selEnd);
    // The edit says what scrolls out and where its text begins; the caret's column counts
    // from the first character shown.
    const Edit::View view = edit.GetView();
    std::vector<std::pair<char32_t, int>> chars;
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t ch = DecodeUtf8(text, pos);
        chars.emplace_back(ch, CodePointWidth(ch));
    }
    const auto first = std::min(static_cast<std::size_t>(view.firstShown), chars.size());
    int caretColumn = 0;
    for (std::size_t i = first; i < static_cast<std::size_t>(std::max(0, selEnd)) && i < chars.size(); ++i)
        caretColumn += chars[i].second;
    const LONG start = cells.left + cells::FloorDiv(view.textLeft, kCharWidth);
    LONG column = start;
    for (std::size_t i = first; i < chars.size(); ++i) {
        const bool selected = focused && static_cast<int>(i) >= selStart && static_cast<int>(i) < selEnd;
        column += canvas.Put(column, line, chars[i].first, selected ? m_palette.highlightText : fg,
                             selected ? m_palette.highlight : bg);
        if (column >= cells.right)
            break;
    }
    // A one-line field has no room for a box: it is underlined along its width, so that it
    // shows as a field, focused or not, on terminals whose few colours make the field's
    // ground the dialog's. A cell's editor lies in the grid's own lines and needs none.
    if (wnd.GetParent() != nullptr && dynamic_cast<Dialog*>(wnd.GetParent()) != nullptr)
        for (LONG at = cells.left; at < cells.right; ++at)
            canvas.AddAttr(at, line, CanvasCell::Underline);
    if (focused)
        canvas.SetCursor(POINT{std::min<LONG>(start + caretColumn, cells.right - 1), line});
}

void Renderer::PaintComboBox(Wnd& wnd, Canvas& canvas, const RECT& cells)
{
    auto& combo = static_cast<ComboBox&>(wnd);
    const bool focused = Wnd::GetFocus() == &wnd;
    const bool enabled = wnd.IsWindowEnabled();
    const int line = cells.top; // the template's height includes the list
    const COLORREF fg = enabled ? m_palette.windowText : m_palette.grayText;
    const COLORREF bg = enabled ? m_palette.window : m_palette.face;
    const bool pickOnly = combo.IsDropDownList();
    const COLORREF textFg = focused && pickOnly ? m_palette.highlightText : fg;
    const COLORREF textBg = focused && pickOnly ? m_palette.highlight : bg;
    const LONG arrow = cells.right - 1;
    canvas.Fill(RECT{cells.left, line, arrow, line + 1}, U' ', textFg, textBg);
    canvas.Put(arrow, line, U'v', m_palette.faceText, m_palette.face);
    const RECT clip = canvas.GetClip();
    canvas.SetClip(Intersect(clip, RECT{cells.left, line, arrow, line + 1}));
    const std::string text = wnd.GetWindowText();
    const int width = canvas.Write(cells.left, line, text, textFg, textBg);
    canvas.SetClip(clip);
    if (focused)
        canvas.SetCursor(POINT{pickOnly ? cells.left : std::min<LONG>(cells.left + width, arrow - 1), line});
    if (combo.GetDroppedState())
        m_droppedLists.emplace_back(&wnd, cells);
}

void Renderer::PaintDroppedList(Wnd& wnd, Canvas& canvas, const RECT& cells) const
{
    auto& combo = static_cast<ComboBox&>(wnd);
    const int count = combo.GetCount();
    // A dialog's combo box is as tall as its list is to be; one of a single line (a cell's
    // editor) opens a list of a useful length.
    const int wanted = cells.Height() > 1 ? std::max<int>(3, cells.Height() - 1) : kOneLineListRows;
    const int rows = std::max(1, std::min(count, wanted));
    LONG top = cells.top + 1;
    if (top + rows > canvas.Lines() && cells.top - rows >= 0)
        top = cells.top - rows; // no room below: the list opens upwards
    const RECT list{cells.left, top, cells.right, top + rows};
    canvas.SetClip(list);
    canvas.Fill(list, U' ', m_palette.windowText, m_palette.window);
    const int sel = combo.GetCurSel();
    const int first = sel >= rows ? sel - rows + 1 : 0;
    for (int i = first; i < count && i < first + rows; ++i) {
        const LONG line = top + (i - first);
        const bool selected = i == sel;
        const COLORREF fg = selected ? m_palette.highlightText : m_palette.windowText;
        const COLORREF bg = selected ? m_palette.highlight : m_palette.window;
        canvas.Fill(RECT{list.left, line, list.right, line + 1}, U' ', fg, bg);
        canvas.Write(list.left, line, combo.GetLBText(i), fg, bg);
    }
    canvas.ResetClip();
}

RECT Renderer::PaintListFrame(Wnd& wnd, Canvas& canvas, const RECT& cells, COLORREF fg) const
{
    canvas.Fill(cells, U' ', fg, m_palette.window);
    if (!HasControlFrame(wnd))
        return cells;
    RECT interior = ControlInterior(wnd);
    wnd.ClientToScreen(&interior);
    interior = ToCells(interior);
    if (interior == cells)
        return cells; // too small for its frame
    const bool focused = Wnd::GetFocus() == &wnd;
    PaintBox(canvas, cells, {}, focused ? m_palette.windowText : m_palette.grayText, m_palette.window);
    return interior;
}

void Renderer::PaintListBox(Wnd& wnd, Canvas& canvas, const RECT& cells) const
{
    auto& list = static_cast<ListBox&>(wnd);
    const bool focused = Wnd::GetFocus() == &wnd;
    const COLORREF fg = wnd.IsWindowEnabled() ? m_palette.windowText : m_palette.grayText;
    const RECT interior = PaintListFrame(wnd, canvas, cells, fg);
    const RECT clip = canvas.GetClip();
    canvas.SetClip(Intersect(clip, interior));
    // Each entry on the row the list hit-tests clicks against.
    const int sel = list.GetCurSel();
    for (int i = list.GetTopIndex(); i < list.GetCount(); ++i) {
        RECT row = list.GetItemRect(i);
        wnd.ClientToScreen(&row);
        const LONG line = ToCells(row).top;
        if (line >= interior.bottom)
            break;
        const bool selected = i == sel;
        const COLORREF itemFg = selected ? m_palette.highlightText : fg;
        const COLORREF itemBg = selected ? m_palette.highlight : m_palette.window;
        if (selected)
            canvas.Fill(RECT{interior.left, line, interior.right, line + 1}, U' ', itemFg, itemBg);
        canvas.Write(interior.left, line, list.GetText(i), itemFg, itemBg);
        if (selected && focused)
            canvas.SetCursor(POINT{interior.left, line});
    }
    canvas.SetClip(clip);
    // Nothing chosen yet: the focus still shows, at the top, where the first arrow key starts.
    if (focused && sel < 0)
        canvas.SetCursor(POINT{interior.left, interior.top});
}

void Renderer::PaintListView(Wnd& wnd, Canvas& canvas, const RECT& frameCells) const
{
    auto& view = static_cast<ListView&>(wnd);
    const bool focused = Wnd::GetFocus() == &wnd;
    const COLORREF fg = wnd.IsWindowEnabled() ? m_palette.windowText : m_palette.grayText;
    const RECT cells = PaintListFrame(wnd, canvas, frameCells, fg);
    const RECT clip = canvas.GetClip();
    canvas.SetClip(Intersect(clip, cells));
    const bool report = (wnd.GetStyle() & LVS_TYPEMASK) == LVS_REPORT;
    // Column borders in cells; a column without a width takes what is left.
    struct Column {
        LONG left;
        LONG right;
        int format;
    };
    std::vector<Column> columns;
    LONG x = 0;
    const int columnCount = report ? std::max(1, view.GetColumnCount()) : 1;
    for (int i = 0; i < columnCount; ++i) {
        const ListViewColumn* column = report ? view.GetColumn(i) : nullptr;
        const LONG width = column && column->width > 0 ? column->width : std::max<LONG>(0, cells.Width() * kCharWidth - x);
        columns.push_back(Column{cells.left + RoundDiv(x, kCharWidth), cells.left + RoundDiv(x + width, kCharWidth),
                                 column ? column->format : LVCFMT_LEFT});
        x += width;
    }
    auto writeIn = [&](const Column& column, LONG line, const std::string& text, COLORREF textFg, COLORREF textBg) {
        // One blank column keeps neighbours apart.
        const RECT area = Intersect(canvas.GetClip(), RECT{column.left, line, std::max(column.left, column.right - 1), line + 1});
        const int width = DisplayWidth(text);
        LONG start = column.left;
        if (column.format == LVCFMT_RIGHT)
            start = std::max(column.left, area.right - width);
        else if (column.format == LVCFMT_CENTER)
            start = column.left + std::max<LONG>(0, (area.right - column.left - width) / 2);
        const RECT clip = canvas.GetClip();
        canvas.SetClip(area);
        canvas.Write(start, line, text, textFg, textBg);
        canvas.SetClip(clip);
    };
    LONG line = cells.top;
    if (report && !(wnd.GetStyle() & LVS_NOCOLUMNHEADER)) {
        canvas.Fill(RECT{cells.left, line, cells.right, line + 1}, U' ', m_palette.faceText, m_palette.face);
        for (int i = 0; i < view.GetColumnCount(); ++i)
            writeIn(columns[static_cast<std::size_t>(i)], line, view.GetColumn(i)->heading, m_palette.faceText, m_palette.face);
        ++line;
    }
    const int focus = view.GetNextItem(-1, LVNI_FOCUSED);
    const int first = view.GetTopIndex();
    // A list with pictures shows each item's as a small mark before its text, which the
    // terminal cannot draw as pixels.
    const bool pictures = view.GetImageList(LVSIL_SMALL) != nullptr && !columns.empty();
    if (pictures)
        columns[0].left = std::min(columns[0].left + 2, std::max(columns[0].left, columns[0].right - 1));
    for (int item = first; item < view.GetItemCount() && line < cells.bottom; ++item, ++line) {
        const bool selected = (view.GetItemState(item, LVIS_SELECTED) & LVIS_SELECTED) != 0;
        const COLORREF itemFg = selected ? m_palette.highlightText : fg;
        const COLORREF itemBg = selected ? m_palette.highlight : m_palette.window;
        if (selected)
            canvas.Fill(RECT{cells.left, line, cells.right, line + 1}, U' ', itemFg, itemBg);
        if (pictures && view.GetItemImage(item) >= 0)
            canvas.Put(cells.left, line, U'▦', itemFg, itemBg);
        for (std::size_t i = 0; i < columns.size(); ++i)
            writeIn(columns[i], line, view.GetItemText(item, static_cast<int>(i)), itemFg, itemBg);
        if (focused && item == focus)
            canvas.SetCursor(POINT{cells.left, line});
    }
    canvas.SetClip(clip);
}

void Renderer::PaintProgress(Wnd& wnd, Canvas& canvas, const RECT& cells) const
{
    auto& progress = static_cast<ProgressCtrl&>(wnd);
    int low = 0;
    int high = 0;
    progress.GetRange(low, high);
    const int line = MiddleLine(cells);
    const long long span = std::max(1, high - low);
    const LONG filled = static_cast<LONG>(static_cast<long long>(cells.Width()) * (progress.GetPos() - low) / span);
    for (LONG column = cells.left; column < cells.right; ++column)
        canvas.Put(column, line, column - cells.left < filled ? kSolid : kShade, m_palette.highlight, m_palette.window);
}

void Renderer::PaintRecorded(Wnd& wnd, Canvas& canvas, const RECT& clip) const
{
    POINT origin;
    wnd.ClientToScreen(&origin);
    origin.x -= m_originPixels.x;
    origin.y -= m_originPixels.y;
    CellReplay replay(canvas, clip, origin, m_originCells);
    Replay(wnd.GetDrawing(), replay);
}

MessageBoxLayout LayOutMessageBox(const MessageBoxView& box, int columns, int lines)
{
    MessageBoxLayout layout;
    layout.icon = IconText(box.style);
    layout.iconWidth = layout.icon.empty() ? 0 : DisplayWidth(layout.icon) + 1;
    const int maxInner = std::max(10, columns - 4);
    layout.lines = WrapToWidth(box.text, std::max(1, maxInner - layout.iconWidth));
    int textWidth = 0;
    for (const std::string& line : layout.lines)
        textWidth = std::max(textWidth, DisplayWidth(line));
    // A button shows as "[ label ]", two blanks apart from the next.
    int buttonsWidth = 0;
    for (int answer : MessageBoxButtons(box.style)) {
        std::string label = MessageBoxButtonText(answer);
        const int width = DisplayWidth(StripMnemonic(label)) + 4;
        buttonsWidth += width + (layout.buttons.empty() ? 0 : 2);
        layout.buttons.push_back({answer, std::move(label), RECT{0, 0, width, 1}});
    }
    const int inner =
        std::min(maxInner, std::max({layout.iconWidth + textWidth, buttonsWidth, DisplayWidth(box.caption) + 2, 16}));
    const int width = inner + 4;
    const int height = static_cast<int>(layout.lines.size()) + 5;
    const LONG left = std::max(0, (columns - width) / 2);
    const LONG top = std::max(0, (lines - height) / 2);
    layout.box = RECT{left, top, left + width, top + height};
    LONG column = left + 2 + std::max(0, (inner - buttonsWidth) / 2);
    for (MessageBoxLayout::ButtonPlace& button : layout.buttons) {
        const LONG buttonWidth = button.cells.right;
        button.cells = RECT{column, layout.box.bottom - 2, column + buttonWidth, layout.box.bottom - 1};
        column += buttonWidth + 2;
    }
    return layout;
}

void Renderer::PaintMessageBox(Canvas& canvas, const MessageBoxView& box) const
{
    const MessageBoxLayout layout = LayOutMessageBox(box, canvas.Columns(), canvas.Lines());
    const RECT& cells = layout.box;
    const RECT clip = canvas.GetClip();
    canvas.SetClip(cells);
    canvas.Fill(cells, U' ', m_palette.faceText, m_palette.face);
    PaintBox(canvas, cells, {}, m_palette.faceText, m_palette.face);
    // The caption sits in the top border, which keeps its corners on either side.
    canvas.SetClip(RECT{cells.left + 1, cells.top, cells.right - 1, cells.top + 1});
    canvas.Write(cells.left + 1, cells.top, " " + box.caption + " ", m_palette.captionText, m_palette.caption);
    canvas.SetClip(RECT{cells.left + 1, cells.top + 1, cells.right - 1, cells.bottom - 1});
    if (!layout.icon.empty())
        canvas.Write(cells.left + 2, cells.top + 2, layout.icon, m_palette.faceText, m_palette.face);
    LONG line = cells.top + 2;
    for (const std::string& text : layout.lines)
        canvas.Write(cells.left + 2 + layout.iconWidth, line++, text, m_palette.faceText, m_palette.face);
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
        const MessageBoxLayout::ButtonPlace& button = layout.buttons[i];
        const bool focused = static_cast<int>(i) == box.focus;
        const COLORREF fg = focused ? m_palette.highlightText : m_palette.faceText;
        const COLORREF bg = focused ? m_palette.highlight : m_palette.face;
        LONG column = button.cells.left;
        column += canvas.Write(column, button.cells.top, "[ ", fg, bg);
        column += WriteLabel(canvas, column, button.cells.top, button.label, fg, bg);
        canvas.Write(column, button.cells.top, " ]", fg, bg);
        if (focused)
            canvas.SetCursor(POINT{button.cells.left + 2, button.cells.top});
    }
    canvas.SetClip(clip);
}

} // namespace plat
