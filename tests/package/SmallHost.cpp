// The smallest host program, as the README shows it: one text item in a grid that fills the
// terminal. The install check builds it from pkg-config's flags alone.
#include "components/support/QanLimitEdit.h"
#include "frontends/tty/TtyDriver.h"
#include "platform/ui/App.h"
#include "platform/ui/Frames.h"
#include "platform/ui/Renderer.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"
#include "tav/window/TavCellCtrl.h"

// [guide:small]
plat::Module names("names"); // string 1: the item's long name and heading
struct NameList : TavManager {
    QanLimitEdit edit{20};
    int declaration[1] = {1};
    NameList() : TavManager(&names) { SetSize(1, 100), SetTemplate(declaration); }
    const char* GetRegSection() override { return "Names"; }
    int OnCreateControl(plat::Wnd* grid) override { return edit.Create(plat::WS_CHILD, {0, 0, 160, 16}, grid->GetParent(), 1); }
    plat::Wnd* OnGetControl(unsigned, int&) override { return &edit; }
};
int main() {
    std::string error;
    auto driver = tty::TtyDriver::Open(&error);
    if (!driver) return 2;
    plat::WinApp app("名前一覧", "Application", driver.get());
    names.AddString(1, "名前\n名前");
    NameList manager; TavData data; plat::FrameWnd frame; TavCellCtrl grid;
    frame.Create("Frame", "名前一覧", plat::WS_VISIBLE, {0, 0, driver->ScreenSize().cx, driver->ScreenSize().cy}, nullptr, 0);
    grid.Create(plat::WS_VISIBLE, frame.GetContentRect(), &frame, 100);
    manager.Associate(&grid, &data);
    app.SetMainWnd(&frame), app.Run(), driver->Close();
}
// [/guide:small]
