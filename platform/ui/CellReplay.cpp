// Drawing steps in character cells.
#include "platform/ui/CellReplay.h"

#include "platform/text/DisplayWidth.h"
#include "platform/ui/CellGeometry.h"
#include "platform/ui/Renderer.h"

#include <string>
#include <vector>

namespace plat {

using cells::FloorDiv;
using cells::Intersect;

RECT CellReplay::Pixels(const RECT& recorded) const noexcept
{
    return RECT{recorded.left + m_origin.x, recorded.top + m_origin.y, recorded.right + m_origin.x,
                recorded.bottom + m_origin.y};
}

RECT CellReplay::Cells(const RECT& pixels) const noexcept
{
    RECT cells = PixelsToCells(pixels);
    cells.left += m_originCells.x;
    cells.right += m_originCells.x;
    cells.top += m_originCells.y;
    cells.bottom += m_originCells.y;
    return cells;
}

void CellReplay::OnFill(const DrawOp& op)
{
    const RECT area = Intersect(Cells(Pixels(op.rect)), m_clip);
    if (area.IsEmpty() || !op.brush.IsCreated())
        return;
    m_canvas.SetClip(area);
    // A two-colour pattern shows as a shade: the colour of the odd pixels over that of the
    // even ones, which for a checkerboard hatching are its two colours.
    const COLORREF even = op.brush.ColorAt(0, 0);
    const COLORREF odd = op.brush.ColorAt(1, 0);
    const bool shade = op.brush.GetKind() == Brush::Kind::Pattern && even != odd;
    m_canvas.Fill(area, shade ? U'░' : U' ', shade ? odd : kKeepColor, even);
}

void CellReplay::OnText(const DrawOp& op)
{
    const RECT pixels = Pixels(op.rect);
    const RECT cells = Cells(pixels);
    if (Intersect(cells, m_clip).IsEmpty())
        return;
    // A text's right edge rounds down: a margin of a few pixels before the next column
    // becomes a blank cell, so a right-aligned number never touches the text after it.
    RECT textCells = cells;
    textCells.right = std::max(textCells.left, FloorDiv(pixels.right, cells::kWidth) + m_originCells.x);
    m_canvas.SetClip(Intersect(textCells, m_clip));
    const bool single = (op.format & DT_SINGLELINE) != 0 || op.text.find('\n') == std::string::npos;
    const std::vector<std::string> lines = single ? std::vector<std::string>{op.text} : WrapToWidth(op.text, cells.Width());
    LONG line = (op.format & DT_VCENTER) && single ? cells::MiddleLine(cells) : cells.top;
    const COLORREF bg = op.bkMode == OPAQUE ? op.bkColor : kKeepColor;
    for (const std::string& text : lines) {
        const int width = DisplayWidth(text);
        LONG column = textCells.left;
        if (op.format & DT_RIGHT)
            column = textCells.right - width;
        else if (op.format & DT_CENTER)
            column = textCells.left + (textCells.Width() - width) / 2;
        m_canvas.Write(column, line++, text, op.textColor, bg);
    }
}

void CellReplay::OnLine(const DrawOp& op)
{
    // Only straight lines have a cell form: a row or a column of box-drawing characters in
    // the cells they pass through, over what those cells hold.
    // A line along the first or last pixel of its cells is a rule between two of them, which a
    // character cell cannot show without hiding what one of them holds: it is left out.
    const RECT pixels = Pixels(op.rect);
    const auto alongEdge = [](LONG at, LONG size) {
        const LONG inCell = at - FloorDiv(at, size) * size;
        return inCell == 0 || inCell == size - 1;
    };
    if ((pixels.top == pixels.bottom && alongEdge(pixels.top, cells::kHeight)) ||
        (pixels.left == pixels.right && alongEdge(pixels.left, cells::kWidth)))
        return;
    m_canvas.SetClip(m_clip);
    const COLORREF color = op.pen.GetColor();
    if (pixels.top == pixels.bottom) {
        const LONG line = FloorDiv(pixels.top, cells::kHeight) + m_originCells.y;
        const LONG from = FloorDiv(std::min(pixels.left, pixels.right), cells::kWidth) + m_originCells.x;
        const LONG to = FloorDiv(std::max(pixels.left, pixels.right) - 1, cells::kWidth) + m_originCells.x;
        for (LONG column = from; column <= to; ++column)
            m_canvas.Put(column, line, U'─', color, kKeepColor);
    } else if (pixels.left == pixels.right) {
        const LONG column = FloorDiv(pixels.left, cells::kWidth) + m_originCells.x;
        const LONG from = FloorDiv(std::min(pixels.top, pixels.bottom), cells::kHeight) + m_originCells.y;
        const LONG to = FloorDiv(std::max(pixels.top, pixels.bottom) - 1, cells::kHeight) + m_originCells.y;
        for (LONG line = from; line <= to; ++line)
            m_canvas.Put(column, line, U'│', color, kKeepColor);
    }
}

void CellReplay::OnFocusRect(const DrawOp& op)
{
    // A terminal shows where the focus is by its cursor.
    const RECT cells = Intersect(Cells(Pixels(op.rect)), m_clip);
    if (!cells.IsEmpty())
        m_canvas.SetCursor(POINT{cells.left, cells.top});
}

void CellReplay::OnBitmap(const DrawOp& op)
{
    if (!op.bitmap)
        return;
    const RECT pixels = Pixels(op.rect);
    const RECT area = Intersect(Cells(pixels), m_clip);
    m_canvas.SetClip(m_clip);
    // Each cell takes the colour of the bitmap's pixel at its middle.
    for (LONG line = area.top; line < area.bottom; ++line)
        for (LONG column = area.left; column < area.right; ++column) {
            const int x = static_cast<int>((column - m_originCells.x) * cells::kWidth + cells::kWidth / 2 - pixels.left);
            const int y = static_cast<int>((line - m_originCells.y) * cells::kHeight + cells::kHeight / 2 - pixels.top);
            const COLORREF color = op.bitmap->GetPixel(x, y);
            if (color != CLR_NONE)
                m_canvas.Put(static_cast<int>(column), static_cast<int>(line), U' ', kKeepColor, color);
        }
}

} // namespace plat
