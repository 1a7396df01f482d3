// The grid's context menu and the state of its items, the status prompt's companion help
// (F1 and help-mode clicks), the search command's checks and the layout commands that the
// manager carries out.
#include "tav/command/TavCommon.h"

#include "components/support/NifCommonMenu.h"
#include "components/support/NifResource.h"
#include "platform/ui/App.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Frames.h"
#include "platform/ui/Help.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Wnd.h"
#include "tav/dialogs/TavFindDialog.h"
#include "tav/frame/TavFrame.h"
#include "tav/manager/TavManager.h"
#include "tav/resources/TavStrings.h"

#include <string>

namespace {

constexpr plat::UINT kWarningOk = 0x30;
constexpr const char* kEditMenuText = "編集(&E)";
constexpr const char* kCellMenuText = "ｾﾙ(&C)";
constexpr const char* kDedicatedText = "専用ｺﾏﾝﾄﾞ(&O)";

// Copies the Edit menu's clipboard commands: from Cut up to the first separator or the
// special paste, which the grid does not offer.
void CopyEditItems(plat::Menu& from, plat::Menu& to)
{
    bool copying = false;
    for (int i = 0; i < from.GetMenuItemCount(); ++i) {
        const plat::UINT id = from.GetMenuItemID(i);
        if (!copying) {
            copying = id == plat::ID_EDIT_CUT;
            if (!copying)
                continue;
        } else if (id == 0 || id == plat::ID_EDIT_PASTE_SPECIAL) {
            return;
        }
        to.AppendMenu(0, id, from.GetMenuString(static_cast<plat::UINT>(i), plat::MF_BYPOSITION));
    }
}

// Takes the Cell menu over as it is, without the programs' dedicated commands and their
// settings item. Sub menus are moved, so that destroying the shared menu leaves them alive.
void TakeCellItems(plat::Menu& from, plat::Menu& to)
{
    for (int i = 0; i < from.GetMenuItemCount();) {
        plat::MenuItemInfo item;
        if (!plat::GetMenuItem(from.GetSafeHmenu(), i, item))
            break;
        if (item.text == kDedicatedText) {
            i += 2;
            continue;
        }
        if (item.IsPopup()) {
            from.RemoveMenu(static_cast<plat::UINT>(i), plat::MF_BYPOSITION);
            to.AppendMenu(plat::MF_POPUP, reinterpret_cast<plat::UINT_PTR>(item.subMenu), item.text);
            continue;
        }
        const plat::UINT state = item.flags & (plat::MF_GRAYED | plat::MF_DISABLED | plat::MF_CHECKED | plat::MF_SEPARATOR);
        to.AppendMenu(state, item.id, item.text);
        ++i;
    }
}

} // namespace

plat::Menu& TavCommon::PopupMenu()
{
    // Every grid of the application shows this one context menu.
    struct ContextMenu {
        plat::Menu menu;
    };
    plat::Menu& menu = plat::CurrentUiContext().Get<ContextMenu>().menu;
    if (plat::IsMenu(menu.GetSafeHmenu()))
        return menu;
    plat::Menu shared;
    NifGetCommonMenu(shared);
    plat::Menu* edit = nullptr;
    plat::Menu* cell = nullptr;
    for (int i = 0; i < shared.GetMenuItemCount() && (edit == nullptr || cell == nullptr); ++i) {
        const std::string text = shared.GetMenuString(static_cast<plat::UINT>(i), plat::MF_BYPOSITION);
        if (text == kEditMenuText)
            edit = shared.GetSubMenu(i);
        else if (text == kCellMenuText)
            cell = shared.GetSubMenu(i);
    }
    menu.CreatePopupMenu();
    if (edit != nullptr)
        CopyEditItems(*edit, menu);
    menu.AppendMenu(plat::MF_SEPARATOR);
    if (cell != nullptr)
        TakeCellItems(*cell, menu);
    NifRemakeMenu(&menu, 0);
    shared.DestroyMenu();
    return menu;
}

void TavCommon::ContextMenu(plat::POINT point)
{
    if (m_window == nullptr)
        return;
    if (point.x == -1 && point.y == -1) {
        MoxPos caret{0, 0};
        Request(MOXM_GETCARET, reinterpret_cast<plat::WPARAM>(&caret));
        plat::RECT cell{0, 0, 0, 0};
        Request(MOXM_GETCELLRECT, reinterpret_cast<plat::WPARAM>(&caret), reinterpret_cast<plat::LPARAM>(&cell));
        m_window->ClientToScreen(&cell);
        point = plat::POINT{cell.right, cell.bottom};
    }
    // In a frame the commands take the frame's route, which reaches the grid through the
    // focus; elsewhere (a dialog) they come to the grid itself.
    plat::Wnd* owner = m_window->GetOwner();
    plat::Wnd* target = dynamic_cast<plat::FrameWnd*>(owner) != nullptr ? owner : m_window;
    PopupMenu().TrackPopupMenu(plat::TPM_LEFTALIGN | plat::TPM_LEFTBUTTON, point.x, point.y, target);
}

void TavCommon::InitMenuPopup(plat::Menu* popup, plat::UINT /*index*/, plat::BOOL systemMenu)
{
    if (systemMenu || popup == nullptr || m_window == nullptr)
        return;
    plat::Wnd* top = m_window->GetTopLevelParent();
    plat::UpdateMenuCommandUI(*popup, *m_window, top != nullptr ? top->GetMenu() : nullptr);
}

plat::DWORD TavCommon::HelpHitTest(plat::POINT /*point*/)
{
    TavManager* manager = ManagerPtr();
    if (manager == nullptr || manager->GetItemCount() <= 0)
        return 0;
    const unsigned item = manager->OnGetHelpItemID(plat::LOWORD(manager->ItemNotoID(0)));
    return static_cast<plat::DWORD>(manager->GetHelpID(plat::LOWORD(item)));
}

int TavCommon::CommandHelp(plat::LPARAM context)
{
    if (context == 0)
        context = static_cast<plat::LPARAM>(HelpHitTest(plat::POINT{0, 0}));
    if (context == 0)
        return 0;
    plat::WinApp* app = plat::GetApp();
    if (app == nullptr)
        return 0;
    // The topic is a number of the program's help file, whatever help the program uses
    // otherwise.
    const int helpType = app->GetHelpType();
    app->SetHelpType(0);
    app->WinHelp(static_cast<std::uintptr_t>(context), plat::HELP_CONTEXT);
    app->SetHelpType(helpType);
    return 1;
}

void TavCommon::Find()
{
    const auto* selection = reinterpret_cast<const MoxRectArray*>(Request(MOXM_GETSELECTION));
    if (selection == nullptr || selection->GetSize() == 0) {
        NifMessageBox(TavGetModuleHandle(), IDS_TAV_NO_RANGE, kWarningOk, m_window);
        return;
    }
    if (selection->GetSize() >= 2) {
        NifMessageBox(TavGetModuleHandle(), IDS_TAV_SEVERAL_RANGES, kWarningOk, m_window);
        return;
    }
    const MoxRect range = selection->GetAt(0);
    if (range.Left() == range.Right() && ManagerPtr() != nullptr) {
        long item = range.Left();
        plat::Wnd* control = Manager().ChangeDispNumber(item, FALSE) ? Manager().ControlOf(item) : nullptr;
        const bool searchable = dynamic_cast<plat::Edit*>(control) != nullptr || dynamic_cast<plat::ComboBox*>(control) != nullptr;
        if (searchable && OnEnableFindCommand(Manager().ColtoID(range.Left())) != 0) {
            Request(MOXM_SETSEARCHMARK, 1);
            TavFindDialog dialog(this, range.Left(), range.Top(), range.Bottom(), m_window->GetOwner());
            static_cast<void>(dialog.DoModal());
            Request(MOXM_SETSEARCHMARK, 0);
            return;
        }
    }
    NifMessageBox(TavGetModuleHandle(), IDS_TAV_RANGE_INVALID, kWarningOk, m_window);
}

void TavCommon::CellAutoWidth()
{
    if (TavManager* manager = ManagerPtr())
        manager->SetAutoWidth(manager->QueryAutoWidth() ? FALSE : TRUE);
}
