// Character cells with colours, kept so that a wide character is whole or absent.
#include "platform/ui/Canvas.h"

#include "platform/io/Errors.h"
#include "platform/text/DisplayWidth.h"
#include "platform/text/Utf8.h"

#include <algorithm>

namespace plat {

Canvas::Canvas(int columns, int lines) { Resize(columns, lines); }

void Canvas::Resize(int columns, int lines)
{
    m_columns = std::max(0, columns);
    m_lines = std::max(0, lines);
    m_cells.assign(static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_lines), CanvasCell{});
    m_cursor.reset();
    ResetClip();
}

void Canvas::Clear(COLORREF fg, COLORREF bg)
{
    std::fill(m_cells.begin(), m_cells.end(), CanvasCell{U' ', fg, bg, 0});
    m_cursor.reset();
}

void Canvas::SetClip(const RECT& cells) noexcept
{
    m_clip = RECT{std::clamp<LONG>(cells.left, 0, m_columns), std::clamp<LONG>(cells.top, 0, m_lines),
                  std::clamp<LONG>(cells.right, 0, m_columns), std::clamp<LONG>(cells.bottom, 0, m_lines)};
    if (m_clip.right < m_clip.left)
        m_clip.right = m_clip.left;
    if (m_clip.bottom < m_clip.top)
        m_clip.bottom = m_clip.top;
}

void Canvas::ResetClip() noexcept { m_clip = RECT{0, 0, m_columns, m_lines}; }

const CanvasCell& Canvas::At(int column, int line) const
{
    if (column < 0 || column >= m_columns || line < 0 || line >= m_lines)
        throw InvalidArgument("canvas cell outside the canvas");
    return m_cells[static_cast<std::size_t>(line) * static_cast<std::size_t>(m_columns) + static_cast<std::size_t>(column)];
}

bool Canvas::InClip(int column, int line) const noexcept
{
    return column >= m_clip.left && column < m_clip.right && line >= m_clip.top && line < m_clip.bottom;
}

void Canvas::Unsplit(int column, int line) noexcept
{
    CanvasCell& cell = CellAt(column, line);
    if (cell.IsWideTail() && column > 0) {
        CanvasCell& head = CellAt(column - 1, line);
        head.ch = U' ';
        head.attr = 0;
    } else if (column + 1 < m_columns && CellAt(column + 1, line).IsWideTail()) {
        CanvasCell& tail = CellAt(column + 1, line);
        tail.ch = U' ';
        tail.attr = 0;
    }
}

int Canvas::Put(int column, int line, char32_t ch, COLORREF fg, COLORREF bg, BYTE attr)
{
    // Control characters and broken bytes would move a terminal's cursor or show nothing;
    // they take one visible cell instead.
    if (ch == kInvalidCodePoint || ch < 0x20 || (ch >= 0x7F && ch < 0xA0))
        ch = U'?';
    const int width = CodePointWidth(ch);
    if (width == 0)
        return 0;
    auto paint = [&](int at, char32_t glyph, BYTE bits) {
        Unsplit(at, line);
        CanvasCell& cell = CellAt(at, line);
        cell.ch = glyph;
        cell.attr = bits;
        if (fg != kKeepColor)
            cell.fg = fg;
        if (bg != kKeepColor)
            cell.bg = bg;
    };
    const bool first = InClip(column, line);
    const bool second = width == 2 && InClip(column + 1, line);
    if (width == 1) {
        if (first)
            paint(column, ch, attr);
        return 1;
    }
    if (first && second) {
        paint(column, ch, attr);
        paint(column + 1, U' ', static_cast<BYTE>((attr & ~CanvasCell::WideTail) | CanvasCell::WideTail));
    } else if (first) {
        paint(column, U' ', 0);
    } else if (second) {
        paint(column + 1, U' ', 0);
    }
    return 2;
}

int Canvas::Write(int column, int line, std::string_view utf8, COLORREF fg, COLORREF bg, BYTE attr)
{
    int at = column;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t ch = DecodeUtf8(utf8, pos);
        at += Put(at, line, ch, fg, bg, attr);
        if (at >= m_clip.right && at > column)
            break; // the rest cannot show
    }
    return at - column;
}

void Canvas::Fill(const RECT& cells, char32_t ch, COLORREF fg, COLORREF bg)
{
    const int width = std::max(1, CodePointWidth(ch));
    const LONG top = std::max(cells.top, m_clip.top);
    const LONG bottom = std::min(cells.bottom, m_clip.bottom);
    for (LONG line = top; line < bottom; ++line)
        for (LONG column = cells.left; column < cells.right; column += width)
            Put(column, line, ch, fg, bg);
}

void Canvas::AddAttr(int column, int line, BYTE attr) noexcept
{
    if (InClip(column, line))
        CellAt(column, line).attr |= static_cast<BYTE>(attr & ~CanvasCell::WideTail);
}

std::string Canvas::LineText(int line) const
{
    std::string text;
    if (line < 0 || line >= m_lines)
        return text;
    for (int column = 0; column < m_columns; ++column) {
        const CanvasCell& cell = m_cells[static_cast<std::size_t>(line) * static_cast<std::size_t>(m_columns) + static_cast<std::size_t>(column)];
        if (!cell.IsWideTail())
            AppendUtf8(text, cell.ch);
    }
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string Canvas::ToText() const
{
    std::string text;
    for (int line = 0; line < m_lines; ++line) {
        text += LineText(line);
        text += '\n';
    }
    return text;
}

} // namespace plat
