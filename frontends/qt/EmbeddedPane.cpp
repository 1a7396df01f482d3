// The pane and its widget kept in step: size, focus and painting.
#include "frontends/qt/EmbeddedPane.h"

#include "frontends/qt/QtDriver.h"
#include "platform/ui/Wnd.h"

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
    if (m_pane->IsWindow() && !m_pane->IsChild(plat::Wnd::GetFocus()))
        m_pane->SetFocus();
    m_driver.Refresh();
}

void EmbeddedPane::focusOutEvent(QFocusEvent* event)
{
    // Keys now go to the host's widget, which Qt sends them to; ours keep their focus for
    // when the person comes back.
    WindowWidget::focusOutEvent(event);
    update();
}

} // namespace qtfe
