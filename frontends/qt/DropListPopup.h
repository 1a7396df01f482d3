// The open list of a combo box as a pop-up window of its own, so that it is never cut at the
// edge of the window the box lies in: below the box, or above it when the screen ends first,
// kept inside the screen. It takes no focus: keys stay with the box; a click picks a row.
#pragma once

#include "platform/ui/Wnd.h"

#include <QWidget>

namespace qtfe {

class QtDriver;
class WindowWidget;

class DropListPopup final : public QWidget {
public:
    // The widget that shows the box is the pop-up's parent, so that the pop-up takes clicks
    // while that window is modal and goes with it.
    DropListPopup(QtDriver& driver, plat::Wnd& combo, QWidget& owner);

    [[nodiscard]] plat::Wnd* Combo() const noexcept { return m_combo.Get(); }
    // Places the list by its box as the widget that shows the box has it, and repaints it.
    void Place(const WindowWidget& owner);
    // The row under a point of the list, or -1.
    [[nodiscard]] int RowAt(QPoint local) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    [[nodiscard]] int RowHeight() const;

    QtDriver& m_driver;
    plat::WndRef m_combo;
    int m_rows = 1;
    int m_first = 0;
};

} // namespace qtfe
