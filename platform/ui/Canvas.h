// A screen of character cells with a colour pair each: what the renderer paints the window
// tree into, what the terminal driver shows, and what tests read back as text.
#pragma once

#include "platform/ui/Types.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// A colour argument that leaves the cell's colour as it is (drawing text on a transparent
// background, say).
inline constexpr COLORREF kKeepColor = 0xFFFFFFFF;

struct CanvasCell {
    enum : BYTE { Underline = 1, WideTail = 2, Bold = 4 };
    char32_t ch = U' ';
    COLORREF fg = 0;
    COLORREF bg = 0xFFFFFF;
    BYTE attr = 0;
    [[nodiscard]] bool IsWideTail() const noexcept { return (attr & WideTail) != 0; }
    friend bool operator==(const CanvasCell&, const CanvasCell&) = default;
};

class Canvas {
public:
    Canvas(int columns = 80, int lines = 25);

    // Resizing clears the canvas and the clip.
    void Resize(int columns, int lines);
    [[nodiscard]] int Columns() const noexcept { return m_columns; }
    [[nodiscard]] int Lines() const noexcept { return m_lines; }
    void Clear(COLORREF fg, COLORREF bg);

    // Drawing stays inside the clip (cells; right and bottom exclusive), which is always
    // inside the canvas.
    void SetClip(const RECT& cells) noexcept;
    void ResetClip() noexcept;
    [[nodiscard]] RECT GetClip() const noexcept { return m_clip; }

    // Throws InvalidArgument outside the canvas.
    [[nodiscard]] const CanvasCell& At(int column, int line) const;

    // Writes one character and returns the columns it takes (0 for a combining mark, which is
    // dropped). A wide character whose two halves are not both inside the clip is not drawn:
    // its visible half becomes a blank, so no character is ever shown split. Overwriting half
    // of a wide character blanks its other half.
    int Put(int column, int line, char32_t ch, COLORREF fg, COLORREF bg, BYTE attr = 0);
    // Writes UTF-8 text on one line from a column; returns the columns it took.
    int Write(int column, int line, std::string_view utf8, COLORREF fg, COLORREF bg, BYTE attr = 0);
    void Fill(const RECT& cells, char32_t ch, COLORREF fg, COLORREF bg);
    // Adds attribute bits to a cell inside the clip.
    void AddAttr(int column, int line, BYTE attr) noexcept;

    // Where the terminal's cursor shows (an edit's caret); nothing hides it.
    void SetCursor(std::optional<POINT> cell) noexcept { m_cursor = cell; }
    [[nodiscard]] std::optional<POINT> GetCursor() const noexcept { return m_cursor; }

    // The characters of a line, a wide one once, trailing blanks removed.
    [[nodiscard]] std::string LineText(int line) const;
    // Every line so, each ending with a newline.
    [[nodiscard]] std::string ToText() const;

private:
    [[nodiscard]] bool InClip(int column, int line) const noexcept;
    CanvasCell& CellAt(int column, int line) noexcept
    {
        return m_cells[static_cast<std::size_t>(line) * static_cast<std::size_t>(m_columns) + static_cast<std::size_t>(column)];
    }
    // Blanks the other half of a wide character that a write at the cell would cut.
    void Unsplit(int column, int line) noexcept;

    int m_columns = 0;
    int m_lines = 0;
    std::vector<CanvasCell> m_cells;
    RECT m_clip;
    std::optional<POINT> m_cursor;
};

} // namespace plat
