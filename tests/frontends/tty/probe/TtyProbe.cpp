// A frame with an edit field on the terminal driver, run inside tmux by the terminal tests: it
// writes its process id once shown, asks on F2, opens a dialog on F3, ends on F10, crashes on F9.
#include "frontends/tty/TtyDriver.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Frames.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Renderer.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

class ProbeFrame : public plat::FrameWnd {
public:
    bool PreTranslateInput(const plat::InputEvent& event) override
    {
        if (event.kind != plat::InputEvent::Kind::Key)
            return false;
        if (event.key == plat::VK_F10) {
            DestroyWindow();
            return true;
        }
        if (event.key == plat::VK_F9)
            std::raise(SIGSEGV);
        if (event.key == plat::VK_F2) {
            SetMessageText(plat::MessageBox(this, "保存しますか？", "probe", plat::MB_YESNO) == plat::IDYES ? "yes" : "no");
            return true;
        }
        if (event.key == plat::VK_F3) {
            // Fifty columns wide, its buttons at the right end.
            plat::Dialog dialog({"寸法", 200, 48, "", 9, 0,
                                 {{100, "edit", "", 0, 8, 8, 100, 12},
                                  {plat::IDOK, "BUTTON", "OK", plat::BS_DEFPUSHBUTTON | plat::WS_GROUP, 112, 26, 36, 14},
                                  {plat::IDCANCEL, "BUTTON", "取消", plat::BS_PUSHBUTTON, 156, 26, 36, 14}}},
                                this);
            SetMessageText(dialog.DoModal() == plat::IDOK ? "dialog ok" : "dialog cancelled");
            return true;
        }
        return false;
    }
    plat::LRESULT WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override
    {
        if (message == plat::WM_SIZE && m_edit.IsWindow()) {
            const plat::RECT content = GetContentRect();
            m_edit.MoveWindow(content.left, content.top, content.Width(), plat::CellTextMeasure::kLineHeight);
            SetMessageText("size " + std::to_string(content.Width() / plat::CellTextMeasure::kColumnWidth));
        }
        return FrameWnd::WindowProc(message, wParam, lParam);
    }
    plat::Edit m_edit;
};

} // namespace

int main(int argc, char** argv)
{
    std::string error;
    std::unique_ptr<tty::TtyDriver> driver = tty::TtyDriver::Open(&error);
    if (!driver) {
        std::fprintf(stderr, "probe: %s\n", error.c_str());
        return 2;
    }
    plat::WinApp app("probe", "Probe", driver.get());
    ProbeFrame frame;
    const plat::SIZE screen = driver->ScreenSize();
    frame.Create("Frame", "probe 座標", plat::WS_VISIBLE, plat::RECT{0, 0, screen.cx, screen.cy}, nullptr, 0);
    const plat::RECT content = frame.GetContentRect();
    frame.m_edit.Create(plat::WS_CHILD | plat::WS_VISIBLE, plat::RECT{content.left, content.top, content.right, content.top + 16},
                        &frame, 1);
    frame.m_edit.SetFocus();
    frame.SetMessageText("ready");
    app.SetMainWnd(&frame);
    if (argc > 1)
        std::ofstream(argv[1]) << ::getpid() << '\n';
    app.Run();
    driver->Close();
    std::printf("probe ended\n");
    return 0;
}
