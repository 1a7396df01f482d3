// The pane and its widget kept in step: size, focus and painting.
#include "frontends/qt/EmbeddedPane.h"

#include "frontends/qt/QtDriver.h"
#include "platform/ui/Wnd.h"

#include <QApplication>
#include <QFocusEvent>

namespace qtfe {

// Lays its children over its whole client area whenever it is sized.
class EmbeddedPane::FillingPane final : public plat::Wnd {
public:
    plat::LRESULT WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override
    {
        const plat::LRESULT result = plat::Wnd::WindowProc(message, wParam, lParam);
        if (message == plat::WM_SIZE) {
            plat::RECT client;
            GetClientRect(&client);
            const std::vector<plat::Wnd*> children = GetChildren();
            for (plat::Wnd* child : children)
                if (plat::IsWindow(child))
                    child->MoveWindow(client);
        } else if (message == plat::WM_SETFOCUS && !GetChildren().empty() && plat::IsWindow(GetChildren().front())) {
            GetChildren().front()->SetFocus();
        }
        return result;
    }
};

EmbeddedPane::EmbeddedPane(QtDriver& driver, QWidget* parent)
    : WindowWidget(driver, nullptr, parent), m_driver(driver), m_pane(std::make_unique<FillingPane>())
{
    m_pane->Create("EmbeddedPane", "", plat::WS_POPUP | plat::WS_VISIBLE, plat::RECT{0, 0, 480, 320}, nullptr, 0);
    SetWnd(m_pane.get());
    m_driver.AttachEmbedded(*m_pane, *this);
}

EmbeddedPane::~EmbeddedPane()
{
    m_driver.DetachEmbedded(*m_pane);
    Forget();
    if (m_pane->IsWindow())
        m_pane->DestroyWindow();
}

plat::Wnd& EmbeddedPane::Pane() noexcept { return *m_pane; }

void EmbeddedPane::focusInEvent(QFocusEvent* event)
{
    WindowWidget::focusInEvent(event);
    m_driver.RequestPaneFocus(*m_pane, true);
}

void EmbeddedPane::focusOutEvent(QFocusEvent* event)
{
    WindowWidget::focusOutEvent(event);
    // A host's widget took the keys: ours give up the focus, so that none of them acts as if
    // it had it. A menu or a window of ours opening over the host keeps it where it is.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
        !dynamic_cast<WindowWidget*>(QApplication::focusWidget()))
        m_driver.RequestPaneFocus(*m_pane, false);
    update();
}

} // namespace qtfe
