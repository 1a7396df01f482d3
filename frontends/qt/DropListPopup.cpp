// Rows as the combo box's list shows them: up to eight (or as many as a dialog's box is tall
// for), scrolled so that the selected row is in view.
#include "frontends/qt/DropListPopup.h"

#include "frontends/qt/QtDriver.h"
#include "frontends/qt/WindowPainter.h"
#include "frontends/qt/WindowWidget.h"
#include "platform/ui/Controls.h"
#include "platform/ui/TextMeasure.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace qtfe {

namespace {

constexpr int kOneLineListRows = 8;

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace

DropListPopup::DropListPopup(QtDriver& driver, plat::Wnd& combo, QWidget& owner)
    : QWidget(&owner, Qt::ToolTip | Qt::FramelessWindowHint), m_driver(driver), m_combo(&combo)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

int DropListPopup::RowHeight() const
{
    plat::Wnd* combo = m_combo.Get();
    return (combo ? m_driver.Measure().Find(plat::WindowLogFont(*combo)).summary.height : 16) + 2;
}

void DropListPopup::Place(const WindowWidget& owner)
{
    auto* combo = dynamic_cast<plat::ComboBox*>(m_combo.Get());
    if (!combo)
        return;
    plat::RECT screen;
    combo->GetWindowRect(&screen);
    const int boxHeight = ComboBoxHeight(*combo, m_driver.Measure());
    const int rowHeight = RowHeight();
    // A dialog's box is drawn as tall as its list is meant to be; a one-line box (a cell's
    // editor) opens a list of a useful length.
    const int below = screen.Height() - boxHeight;
    const int wanted = below >= rowHeight ? std::max(3, below / rowHeight) : kOneLineListRows;
    m_rows = std::max(1, std::min(combo->GetCount(), wanted));
    const int sel = combo->GetCurSel();
    m_first = sel >= m_rows ? sel - m_rows + 1 : 0;

    const QPoint boxTop = owner.mapToGlobal(owner.FromScreen(plat::POINT{screen.left, screen.top}));
    QRect list(boxTop + QPoint(0, boxHeight), QSize(screen.Width(), m_rows * rowHeight + 2));
    const QScreen* display = owner.screen() ? owner.screen() : QGuiApplication::primaryScreen();
    if (display) {
        const QRect area = display->availableGeometry();
        if (list.bottom() > area.bottom() && boxTop.y() - list.height() >= area.top())
            list.moveBottom(boxTop.y() - 1); // no room below: the list opens upwards
        list.moveLeft(std::clamp(list.left(), area.left(), std::max(area.left(), area.right() + 1 - list.width())));
        list.moveTop(std::clamp(list.top(), area.top(), std::max(area.top(), area.bottom() + 1 - list.height())));
    }
    setGeometry(list);
    if (!isVisible())
        show();
    update();
}

int DropListPopup::RowAt(QPoint local) const
{
    auto* combo = dynamic_cast<plat::ComboBox*>(m_combo.Get());
    if (!combo || local.y() < 1)
        return -1;
    const int row = m_first + (local.y() - 1) / RowHeight();
    return row < m_first + m_rows && row < combo->GetCount() ? row : -1;
}

void DropListPopup::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette palette = QApplication::palette();
    painter.fillRect(rect(), palette.color(QPalette::Base));
    painter.setPen(palette.color(QPalette::Shadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    auto* combo = dynamic_cast<plat::ComboBox*>(m_combo.Get());
    if (!combo)
        return;
    painter.setFont(m_driver.Measure().Find(plat::WindowLogFont(*combo)).font);
    const int rowHeight = RowHeight();
    const int sel = combo->GetCurSel();
    for (int i = m_first; i < combo->GetCount() && i < m_first + m_rows; ++i) {
        const QRect row(1, 1 + (i - m_first) * rowHeight, width() - 2, rowHeight);
        const bool selected = i == sel;
        if (selected)
            painter.fillRect(row, palette.color(QPalette::Highlight));
        painter.setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter.drawText(row.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter, ToQString(combo->GetLBText(i)));
    }
}

void DropListPopup::mousePressEvent(QMouseEvent* event)
{
    const int row = RowAt(event->position().toPoint());
    if (row >= 0 && m_combo.Get())
        m_driver.RequestListPick(*m_combo.Get(), row);
}

} // namespace qtfe
