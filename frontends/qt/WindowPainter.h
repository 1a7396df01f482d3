// Paints one top-level window of the platform's tree in pixels: frames with their menu bar
// and status line, dialogs and property sheets, the standard controls in the desktop style
// from the state their models hold (open lists of combo boxes are pop-ups of their own), and
// every other window (the grid) from its drawing list.
#pragma once

#include "frontends/qt/QtFonts.h"
#include "platform/ui/Types.h"

#include <QPainter>
#include <QRegion>

#include <string>
#include <utility>
#include <vector>

namespace plat {
class Wnd;
}

namespace qtfe {

// A menu bar item: its place in the frame's client area, and its label with '&' marks.
struct BarItem {
    int position = 0;
    QRect rect;
    std::string label;
};
// Where a frame's menu bar items lie: along the line above the frame's content.
[[nodiscard]] std::vector<BarItem> LayOutBar(const plat::Wnd& frame, const QtTextMeasure& measure);

// The height of a combo box's own line, above where its list opens.
[[nodiscard]] int ComboBoxHeight(const plat::Wnd& combo, const QtTextMeasure& measure);

class WindowPainter {
public:
    explicit WindowPainter(const QtTextMeasure& measure) : m_measure(measure) {}

    // Paints the top-level window and its visible descendants with the window's corner at
    // the painter's origin; the bar item `highlight` shows as open (-1: none). Only inside
    // `area` when one is given.
    void Paint(QPainter& painter, plat::Wnd& top, int highlight = -1, const QRegion* area = nullptr);

private:
    void PaintWindow(QPainter& painter, plat::Wnd& wnd, const QRect& clip);
    [[nodiscard]] QRect Place(const plat::Wnd& wnd) const;
    void PaintFrame(QPainter& painter, plat::Wnd& wnd, const QRect& rect);
    void PaintSheetTabs(QPainter& painter, plat::Wnd& wnd);
    void PaintStatic(QPainter& painter, plat::Wnd& wnd, const QRect& rect);
    void PaintButton(QPainter& painter, plat::Wnd& wnd, const QRect& rect);
    void PaintEdit(QPainter& painter, plat::Wnd& wnd, const QRect& rect);
    void PaintComboBox(QPainter& painter, plat::Wnd& wnd, const QRect& rect);
    void PaintListBox(QPainter& painter, plat::Wnd& wnd, const QRect& rect);
    void PaintListView(QPainter& painter, plat::Wnd& wnd, const QRect& rect);
    void PaintProgress(QPainter& painter, plat::Wnd& wnd, const QRect& rect);
    void PaintRecorded(QPainter& painter, plat::Wnd& wnd, const QRect& clip);
    [[nodiscard]] const QtTextMeasure::Entry& FontOf(const plat::Wnd& wnd) const;

    const QtTextMeasure& m_measure;
    QPoint m_origin; // the top-level window's corner in screen coordinates
    QRegion m_area;  // what is being painted
    int m_highlight = -1;
};

} // namespace qtfe
