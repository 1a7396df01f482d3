// The widget that shows one top-level window of the platform's tree: a desktop window of its
// own, or a host's child widget when embedded. It paints the window through the driver and
// turns Qt's input into the platform's events, in the platform's screen coordinates.
#pragma once

#include "frontends/qt/BackingImage.h"
#include "platform/ui/Types.h"

#include <QPoint>
#include <QWidget>

namespace plat {
class Wnd;
}

namespace qtfe {

class QtDriver;

class WindowWidget : public QWidget {
public:
    WindowWidget(QtDriver& driver, plat::Wnd* wnd, QWidget* parent = nullptr);

    [[nodiscard]] plat::Wnd* GetWnd() const noexcept { return m_wnd; }
    // The window went away: nothing more is painted or sent for it.
    void Forget() noexcept { m_wnd = nullptr; }
    void SetWnd(plat::Wnd* wnd) noexcept { m_wnd = wnd; }
    // Brings the kept picture up to date and has what changed on it shown (now: before
    // returning).
    void ShowChanges(bool now = false);
    [[nodiscard]] const BackingImage& Picture() const noexcept { return m_picture; }
    // A point of this widget in the platform's screen coordinates, and back.
    [[nodiscard]] plat::POINT ToScreen(QPoint local) const;
    [[nodiscard]] QPoint FromScreen(plat::POINT screen) const;
    // The desktop's input method composes into the window with the keys (QtInputMethod.h).
    [[nodiscard]] QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    // Tab and Shift+Tab belong to the platform's dialogs, not to Qt's focus chain.
    bool focusNextPrevChild(bool next) override;

private:
    QtDriver& m_driver;
    plat::Wnd* m_wnd;
    BackingImage m_picture;
    QPoint m_pressAt;
    bool m_pressed = false;
    bool m_afterDoubleClick = false;
    bool m_altAlone = false;
    int m_wheelRest = 0;
};

} // namespace qtfe
