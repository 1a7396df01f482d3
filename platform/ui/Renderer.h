// Paints the window tree into a character-cell canvas: frames, dialogs and the standard
// controls drawn from the state their models hold, every other window (the grid) from what
// its device contexts recorded, and message boxes. The terminal driver shows the canvas;
// tests read it as text.
#pragma once

#include "platform/ui/Canvas.h"
#include "platform/ui/Types.h"

#include <string>
#include <utility>
#include <string_view>
#include <vector>

namespace plat {

class Wnd;
class PropertySheet;

// The colours of the standard look.
struct Palette {
    COLORREF desktop = RGB(0, 96, 96);
    COLORREF window = RGB(255, 255, 255);
    COLORREF windowText = RGB(0, 0, 0);
    COLORREF face = RGB(192, 192, 192);
    COLORREF faceText = RGB(0, 0, 0);
    COLORREF grayText = RGB(112, 112, 112);
    COLORREF highlight = RGB(0, 0, 128);
    COLORREF highlightText = RGB(255, 255, 255);
    COLORREF caption = RGB(0, 0, 128);
    COLORREF captionText = RGB(255, 255, 255);
};

// A message box as it shows: its buttons are those of the style, focus the index of the one
// that has the focus.
struct MessageBoxView {
    std::string text;
    std::string caption;
    UINT style = 0;
    int focus = 0;
};

// The answers a message box style offers, in the order of its buttons (IDOK, IDYES, ...).
[[nodiscard]] std::vector<int> MessageBoxButtons(UINT style);
// The index of the style's default button among them.
[[nodiscard]] int MessageBoxDefaultIndex(UINT style);
// The caption of an answer's button, '&' marking its mnemonic.
[[nodiscard]] std::string MessageBoxButtonText(int answer);

// Where a message box lies on a screen of so many columns and lines: centred, its text
// wrapped to fit, its buttons in one line, each with its answer.
struct MessageBoxLayout {
    RECT box;
    std::string icon;
    int iconWidth = 0; // the icon's columns and the blank after it
    std::vector<std::string> lines;
    struct ButtonPlace {
        int answer;
        std::string label;
        RECT cells;
    };
    std::vector<ButtonPlace> buttons;
};
[[nodiscard]] MessageBoxLayout LayOutMessageBox(const MessageBoxView& box, int columns, int lines);

// The text without its '&' marks ("&&" is a literal '&'); mnemonic, when given, receives the
// column of the marked character in the result, or -1.
[[nodiscard]] std::string StripMnemonic(std::string_view text, int* mnemonic = nullptr);

// A rectangle in pixels as the cells that show it (an edge rounds to the nearest cell border).
[[nodiscard]] RECT PixelsToCells(const RECT& pixels) noexcept;


class Renderer {
public:
    explicit Renderer(Palette palette = {}) : m_palette(palette) {}

    [[nodiscard]] const Palette& GetPalette() const noexcept { return m_palette; }

    // Clears the canvas and paints every visible top-level window, later ones over earlier
    // ones, then the open lists of dropped combo boxes over everything. Windows that draw
    // themselves are asked to paint (WM_PAINT) first.
    void Paint(Canvas& canvas);
    // Paints one window and its visible descendants over what the canvas holds.
    void PaintTree(Wnd& wnd, Canvas& canvas);
    // A message box, centred over what the canvas holds.
    void PaintMessageBox(Canvas& canvas, const MessageBoxView& box) const;

private:
    void PaintWindow(Wnd& wnd, Canvas& canvas, const RECT& clip);
    // Windows are placed in cells relative to their top-level window's cell.
    void SetOrigin(const Wnd& top) noexcept;
    [[nodiscard]] RECT ToCells(const RECT& screen) const noexcept;
    void PaintFrame(Wnd& wnd, Canvas& canvas, const RECT& cells) const;
    void PaintDialog(Wnd& wnd, Canvas& canvas, const RECT& cells) const;
    // A dialog's box and caption with the tab row of the sheet's pages along its top.
    void PaintPropertySheet(PropertySheet& sheet, Canvas& canvas, const RECT& cells) const;
    void PaintStatic(Wnd& wnd, Canvas& canvas, const RECT& cells) const;
    void PaintButton(Wnd& wnd, Canvas& canvas, const RECT& cells) const;
    void PaintEdit(Wnd& wnd, Canvas& canvas, const RECT& cells) const;
    void PaintComboBox(Wnd& wnd, Canvas& canvas, const RECT& cells);
    void PaintDroppedList(Wnd& wnd, Canvas& canvas, const RECT& cells) const;
    // Fills a list and draws its frame, if it has one; returns the cells inside it.
    RECT PaintListFrame(Wnd& wnd, Canvas& canvas, const RECT& cells, COLORREF fg) const;
    void PaintListBox(Wnd& wnd, Canvas& canvas, const RECT& cells) const;
    void PaintListView(Wnd& wnd, Canvas& canvas, const RECT& cells) const;
    void PaintProgress(Wnd& wnd, Canvas& canvas, const RECT& cells) const;
    void PaintRecorded(Wnd& wnd, Canvas& canvas, const RECT& clip) const;
    // A frame's first line when it has a menu bar: the bar's items, then the title.
    void PaintMenuBar(Wnd& frame, Canvas& canvas, const RECT& cells) const;
    // The pop-ups of the menu being worked, over everything.
    void PaintOpenMenus(Canvas& canvas) const;
    // A box outline on the rectangle's edges, a title in its top line.
    void PaintBox(Canvas& canvas, const RECT& cells, std::string_view title, COLORREF fg, COLORREF bg) const;
    // Text with its mnemonic underlined; returns the columns it took.
    int WriteLabel(Canvas& canvas, int column, int line, std::string_view text, COLORREF fg, COLORREF bg) const;

    Palette m_palette;
    std::vector<std::pair<Wnd*, RECT>> m_droppedLists; // open combo box lists and their boxes' cells
    POINT m_originPixels;
    POINT m_originCells;
};

} // namespace plat
