// What a Qt program puts in its own layout to show windows of ours among its widgets: a
// widget backed by a pane of the platform's tree whose children (a grid, a view) fill it.
// Input the widget takes is dispatched from the program's own event loop; dialogs and
// message boxes of ours open as desktop windows over the program's window.
#pragma once

#include "frontends/qt/WindowWidget.h"

#include <memory>

namespace plat {
class Wnd;
}

namespace qtfe {

class QtDriver;

class EmbeddedPane final : public WindowWidget {
public:
    // The driver must be the application's (WinApp's) and outlive the widget.
    explicit EmbeddedPane(QtDriver& driver, QWidget* parent = nullptr);
    ~EmbeddedPane() override;
    EmbeddedPane(const EmbeddedPane&) = delete;
    EmbeddedPane& operator=(const EmbeddedPane&) = delete;

    // The parent to create the grid (or view) in; it is sized to fill the widget, and takes
    // the keyboard focus of ours whenever the widget takes Qt's.
    [[nodiscard]] plat::Wnd& Pane() noexcept;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    [[nodiscard]] QSize sizeHint() const override { return QSize(480, 320); }

private:
    class FillingPane;
    QtDriver& m_driver;
    std::unique_ptr<FillingPane> m_pane;
};

} // namespace qtfe
