// Qt's events turned into the platform's: keys by their virtual key or their text, clicks,
// double clicks, drags (the button's way from press to release), the right button, wheel
// notches (high-resolution wheels and touchpads add up to whole notches), the close box.
#include "frontends/qt/WindowWidget.h"

#include "frontends/qt/QtDriver.h"
#include "frontends/qt/QtInputMethod.h"
#include "platform/ui/Frames.h"
#include "platform/ui/Wnd.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

namespace qtfe {

namespace {

// Moves shorter than this between press and release are a click, not a drag.
constexpr int kDragDistance = 3;

int VirtualKey(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key; // the same codes
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return plat::VK_F1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return plat::VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return plat::VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return plat::VK_RETURN;
    case Qt::Key_Escape: return plat::VK_ESCAPE;
    case Qt::Key_Space: return plat::VK_SPACE;
    case Qt::Key_PageUp: return plat::VK_PRIOR;
    case Qt::Key_PageDown: return plat::VK_NEXT;
    case Qt::Key_End: return plat::VK_END;
    case Qt::Key_Home: return plat::VK_HOME;
    case Qt::Key_Left: return plat::VK_LEFT;
    case Qt::Key_Up: return plat::VK_UP;
    case Qt::Key_Right: return plat::VK_RIGHT;
    case Qt::Key_Down: return plat::VK_DOWN;
    case Qt::Key_Insert: return plat::VK_INSERT;
    case Qt::Key_Delete: return plat::VK_DELETE;
    case Qt::Key_Menu: return plat::VK_APPS;
    default: return 0;
    }
}

} // namespace

WindowWidget::WindowWidget(QtDriver& driver, plat::Wnd* wnd, QWidget* parent) : QWidget(parent), m_driver(driver), m_wnd(wnd)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    // Moves without a button held, so that the cursor follows what the window under it wants.
    setMouseTracking(true);
}

plat::POINT WindowWidget::ToScreen(QPoint local) const
{
    plat::RECT rect;
    if (m_wnd && plat::IsWindow(m_wnd))
        m_wnd->GetWindowRect(&rect);
    return plat::POINT{rect.left + local.x(), rect.top + local.y()};
}

QPoint WindowWidget::FromScreen(plat::POINT screen) const
{
    plat::RECT rect;
    if (m_wnd && plat::IsWindow(m_wnd))
        m_wnd->GetWindowRect(&rect);
    return QPoint(screen.x - rect.left, screen.y - rect.top);
}

void WindowWidget::ShowChanges(bool now)
{
    if (!m_wnd || !plat::IsWindow(m_wnd))
        return;
    const QRegion changed = m_picture.Update(m_driver.Painter(), *m_wnd, devicePixelRatioF(), m_driver.BarHighlight(*m_wnd)).All();
    if (now)
        repaint(changed);
    else
        update(changed);
}

void WindowWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const bool shown = m_wnd && plat::IsWindow(m_wnd);
    if (shown && m_picture.IsEmpty())
        m_picture.Update(m_driver.Painter(), *m_wnd, devicePixelRatioF(), m_driver.BarHighlight(*m_wnd));
    painter.setClipRegion(event->region());
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (shown)
        painter.drawImage(QPoint(0, 0), m_picture.Image());
}

void WindowWidget::keyPressEvent(QKeyEvent* event)
{
    if (!m_wnd)
        return;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (event->key() == Qt::Key_Alt) {
        m_altAlone = !event->isAutoRepeat();
        return;
    }
    m_altAlone = false;
    const bool control = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    const QString text = event->text();
    if (!control && !alt && !text.isEmpty() && text.at(0).isPrint()) {
        for (char32_t ch : text.toUcs4())
            m_driver.Post(plat::InputEvent::Character(ch));
        return;
    }
    const int key = VirtualKey(event->key());
    if (key == 0)
        return;
    plat::InputEvent input = plat::InputEvent::KeyPress(key, (modifiers & Qt::ShiftModifier) || event->key() == Qt::Key_Backtab, control);
    input.alt = alt;
    m_driver.Post(input);
}

void WindowWidget::keyReleaseEvent(QKeyEvent* event)
{
    // Alt pressed and let go alone opens the menu bar, as F10 does.
    if (event->key() == Qt::Key_Alt && m_altAlone && !event->isAutoRepeat()) {
        m_altAlone = false;
        m_driver.Post(plat::InputEvent::KeyPress(plat::VK_F10));
    }
}

void WindowWidget::mousePressEvent(QMouseEvent* event)
{
    m_altAlone = false;
    if (!m_wnd)
        return;
    const QPoint local = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        plat::InputEvent input = plat::InputEvent::MouseClick(ToScreen(local), plat::InputEvent::Kind::RightClick);
        m_driver.Post(input);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    for (const BarItem& item : LayOutBar(*m_wnd, m_driver.Measure()))
        if (item.rect.contains(local)) {
            m_driver.RequestMenuBar(*m_wnd, item.position);
            return;
        }
    m_pressAt = local;
    m_pressed = true;
}

void WindowWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed || !m_wnd)
        return;
    m_pressed = false;
    if (m_afterDoubleClick) {
        m_afterDoubleClick = false;
        return;
    }
    const QPoint local = event->position().toPoint();
    plat::InputEvent input = (local - m_pressAt).manhattanLength() >= kDragDistance
                                 ? plat::InputEvent::MouseDrag(ToScreen(m_pressAt), ToScreen(local))
                                 : plat::InputEvent::MouseClick(ToScreen(m_pressAt));
    input.shift = event->modifiers() & Qt::ShiftModifier;
    input.control = event->modifiers() & Qt::ControlModifier;
    m_driver.Post(input);
}

void WindowWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_wnd)
        return;
    m_pressed = true;
    m_afterDoubleClick = true;
    m_driver.Post(plat::InputEvent::MouseClick(ToScreen(event->position().toPoint()), plat::InputEvent::Kind::DoubleClick));
}

void WindowWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (m_wnd && event->buttons() == Qt::NoButton)
        m_driver.PostMove(*this, ToScreen(event->position().toPoint()));
}

void WindowWidget::wheelEvent(QWheelEvent* event)
{
    if (!m_wnd)
        return;
    // Eighths of a degree, 120 a notch; touchpads and fine wheels send less at a time.
    m_wheelRest += event->angleDelta().y();
    const int notches = m_wheelRest / plat::WHEEL_DELTA;
    if (notches == 0)
        return;
    m_wheelRest -= notches * plat::WHEEL_DELTA;
    m_driver.Post(plat::InputEvent::MouseWheel(ToScreen(event->position().toPoint()), notches * plat::WHEEL_DELTA));
}

void WindowWidget::resizeEvent(QResizeEvent*)
{
    if (m_wnd)
        m_driver.RequestResize(*m_wnd, size());
}

void WindowWidget::closeEvent(QCloseEvent* event)
{
    // The window decides, as it does for Ctrl+Q: it may ask to save first, or stay.
    event->ignore();
    if (m_wnd)
        m_driver.RequestClose(*m_wnd);
}

void WindowWidget::focusInEvent(QFocusEvent*) { update(); }

QVariant WindowWidget::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const QVariant answer = AnswerInputMethodQuery(*this, query);
    return answer.isValid() ? answer : QWidget::inputMethodQuery(query);
}

void WindowWidget::inputMethodEvent(QInputMethodEvent* event)
{
    event->accept();
    // While the program ends a composition itself, the input method's last word on it is
    // already taken (or meant to be dropped).
    if (m_wnd && !m_driver.EndingComposition())
        m_driver.Post(plat::InputEvent::Composition(CompositionOf(*event)));
}

bool WindowWidget::focusNextPrevChild(bool) { return false; }

} // namespace qtfe
