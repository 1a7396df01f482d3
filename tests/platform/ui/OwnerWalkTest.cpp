// The window kinds as a grid looking for its owner meets them: it walks up from its parent
// to a property page (owner: the sheet, or none), a dialog (owner: the dialog) or a frame
// (owner: the main frame of a document frame, else the frame itself). The walk itself belongs
// to the library; here it is written as a grid window would, to show the kinds carry it.
#include "platform/ui/Dialog.h"
#include "platform/ui/Frames.h"
#include "platform/ui/HeadlessDriver.h"
#include "platform/ui/PropertySheet.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

void SetOwnerLikeAGrid(Wnd& grid)
{
    Wnd* up = grid.GetParent();
    if (!up)
        return;
    for (; up; up = up->GetParent()) {
        if (dynamic_cast<FrameWnd*>(up))
            break;
        if (auto* page = dynamic_cast<PropertyPage*>(up)) {
            grid.SetOwner(page->GetParent());
            return;
        }
        if (dynamic_cast<Dialog*>(up)) {
            grid.SetOwner(up);
            return;
        }
    }
    if (!up)
        return;
    if (auto* child = dynamic_cast<MDIChildWnd*>(up))
        grid.SetOwner(child->GetMDIFrame());
    else
        grid.SetOwner(up);
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

DialogTemplate EmptyTemplate()
{
    DialogTemplate t;
    t.caption = "ページ";
    t.cx = 100;
    t.cy = 50;
    return t;
}

class PageWithTemplate : public PropertyPage {
public:
    PageWithTemplate() { m_template = EmptyTemplate(); }
};

} // namespace

TEST(OwnerWalkTest, PageDialogDocumentFrameAndFrameGiveTheirOwners)
{
    HeadlessDriver driver;
    WinApp app("owner", "Test", &driver);

    // A document frame inside the main frame: the owner is the main frame.
    MDIFrameWnd main;
    main.Create("MAIN", "", WS_VISIBLE, RECT{0, 0, 640, 400}, nullptr, 0);
    Wnd client;
    client.Create("MDICLIENT", "", kChild, RECT{0, 0, 640, 400}, &main, 0xE900);
    MDIChildWnd document;
    document.Create("DOC", "", kChild, RECT{0, 0, 300, 200}, &client, 1);
    View view;
    view.Create("VIEW", "", kChild, RECT{0, 0, 300, 200}, &document, 0xE900);
    Wnd grid;
    grid.Create("GRID", "", kChild, RECT{0, 0, 300, 200}, &view, 1);
    SetOwnerLikeAGrid(grid);
    EXPECT_EQ(grid.GetOwner(), &main);
    EXPECT_EQ(view.GetParentFrame(), &document);

    // A plain frame owns its grid.
    FrameWnd frame;
    frame.Create("FRAME", "", WS_VISIBLE, RECT{0, 0, 100, 100}, nullptr, 0);
    Wnd framed;
    framed.Create("GRID", "", kChild, RECT{}, &frame, 1);
    SetOwnerLikeAGrid(framed);
    EXPECT_EQ(framed.GetOwner(), &frame);

    // A grid in a dialog belongs to the dialog; in a page, to the page's sheet.
    Dialog dialog(EmptyTemplate());
    driver.OnNextDialog([](DialogOperator& person) {
        Wnd inDialog;
        inDialog.Create("GRID", "", kChild, RECT{}, &person.GetDialog(), 5);
        SetOwnerLikeAGrid(inDialog);
        EXPECT_EQ(inDialog.GetOwner(), &person.GetDialog());
        person.Escape();
    });
    dialog.DoModal();

    PageWithTemplate page;
    PropertySheet sheet("設定");
    sheet.AddPage(&page);
    driver.OnNextDialog([&](DialogOperator& person) {
        Wnd inPage;
        inPage.Create("GRID", "", kChild, RECT{}, &person.GetDialog(), 5);
        SetOwnerLikeAGrid(inPage);
        EXPECT_EQ(inPage.GetOwner(), &sheet);
        person.Escape();
    });
    sheet.DoModal();

    // With no owner set and no kind found, the owner read back is the parent.
    Wnd loose;
    loose.Create("LOOSE", "", 0, RECT{}, nullptr, 0);
    Wnd child;
    child.Create("GRID", "", kChild, RECT{}, &loose, 1);
    SetOwnerLikeAGrid(child);
    EXPECT_EQ(child.GetOwner(), &loose);
}
