/// @file
/// The one routing table that the grid control and the grid view share: window messages, the
/// grid's notifications and the edit commands, each a one-step forward into TavCommon. Kept
/// as a template over the window class so that both windows route exactly alike.
#pragma once

#include "components/mox/MoxMessages.h"
#include "components/mox/MoxPos.h"
#include "components/support/NifCommonMenu.h"
#include "platform/ui/App.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Constants.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Wnd.h"
#include "tav/command/TavCommon.h"
#include "tav/frame/TavFrame.h"
#include "tav/manager/TavManager.h"

#include <string>

/// The message map entries that TavCellCtrl and TavCellView share: window messages, grid
/// notifications and menu commands routed into TavCommon, so both windows route alike.
template <class Window>
class TavCellRouting {
public:
    using Entry = plat::MessageMapEntry; ///< one routed message or command
    using LRESULT = plat::LRESULT; ///< a message's answer
    using WPARAM = plat::WPARAM; ///< a message's first argument
    using LPARAM = plat::LPARAM; ///< a message's second argument

    /// The entries, ending with an empty one; a window's message map chains to them.
    static const Entry* Entries()
    {
        static const Entry entries[] = {
            Message(plat::WM_CREATE, &OnCreate),
            Message(plat::WM_GETDLGCODE, &OnGetDlgCode),
            Message(plat::WM_KEYDOWN, &IfBound<&OnKeyDown, kPassOn>),
            Message(plat::WM_SETFOCUS, &IfBound<&OnSetFocus, kPassOn>),
            Message(plat::WM_WININICHANGE, &OnWinIniChange),
            Message(plat::WM_WINDOWPOSCHANGED, &OnWindowPosChanged),
            Message(plat::WM_CLOSE, &OnClose),
            Message(plat::WM_DESTROY, &OnDestroy),
            Message(plat::WM_IME_NOTIFY, &OnImeNotify),
            Message(plat::WM_PAINT, &OnPaint),
            Message(MOXN_FIXEDCOLTEXT, &IfBound<&OnFixedText<&TavCommon::FixedColText>, 0>),
            Message(MOXN_FIXEDROWTEXT, &IfBound<&OnFixedText<&TavCommon::FixedRowText>, 0>),
            Message(MOXN_FIXEDCELLTEXT, &IfBound<&OnFixedText<&TavCommon::FixedCellText>, 0>),
            Message(MOXN_BEGINEDIT, &IfBound<&OnBeginPaneEdit, 1>),
            Message(MOXN_SHOWEDIT, &IfBound<&OnShowPaneEdit, 0>),
            Message(MOXN_ENDEDIT, &IfBound<&OnEndPaneEdit, 0>),
            Message(MOXN_GETCONTROL, &IfBound<&OnGetControl, 0>),
            Message(MOXN_DRAWITEM, &IfBound<&OnDrawItem, 0>),
            Message(MOXN_SELCHANGING, &IfBound<&OnSelChanging, 0>),
            Message(MOXN_SELCHANGED, &IfBound<&OnSelChanged, 0>),
            Message(MOXN_CTLCOLOR, &IfBound<&OnCellCtlColor, 0>),
            Message(MOXN_USERRESIZE, &IfBound<&OnUserResize, 0>),
            Message(MOXN_QUERYPASTE, &IfBound<&OnQueryPaste, 1>),
            Message(MOXN_BEGINCOPY, &IfBound<&OnBegin<&TavCommon::OnBeginCopy>, 1>),
            Message(MOXN_ENDCOPY, &IfBound<&OnEnd<&TavCommon::OnEndCopy>, 0>),
            Message(MOXN_BEGINPASTE, &IfBound<&OnBegin<&TavCommon::BeginPasteStep>, 1>),
            Message(MOXN_ENDPASTE, &IfBound<&OnEnd<&TavCommon::EndPasteStep>, 0>),
            Message(MOXN_BEGINDELETE, &IfBound<&OnBegin<&TavCommon::BeginDeleteStep>, 1>),
            Message(MOXN_ENDDELETE, &IfBound<&OnEnd<&TavCommon::EndDeleteStep>, 0>),
            Registered(&TavMessages().termChange, &IfBound<&OnTermChange, 0>),
            Registered(&TavMessages().colorChange, &OnColorChange),
            Registered(&TavMessages().queryMessageString, &OnQueryMessageString),
            Command(plat::ID_EDIT_CUT, &IfBound<&OnCommand<&TavCommon::EditCut>, 0>),
            Command(plat::ID_EDIT_COPY, &IfBound<&OnCommand<&TavCommon::EditCopy>, 0>),
            Command(plat::ID_EDIT_PASTE, &IfBound<&OnCommand<&TavCommon::EditPaste>, 0>),
            Command(plat::ID_EDIT_CLEAR, &IfBound<&OnEditClear, 0>),
            Command(NifCommand::Read, &IfBound<&OnRead, 0>),
            Command(NifCommand::EditOpen, &IfBound<&OnCommand<&TavCommon::EditOpen>, 0>),
            Command(NifCommand::Template, &IfBound<&OnCommand<&TavCommon::CellTemplate>, 0>),
            Command(NifCommand::CellChange, &IfBound<&OnCommand<&TavCommon::CellChange>, 0>),
            // Line commands, moves, jump and find.
            Message(plat::WM_LBUTTONDBLCLK, &IfBound<&OnLButtonDblClk, kPassOn>),
            Command(NifCommand::MoveTop, &IfBound<&OnCommand<&TavCommon::MoveCurTop>, 0>),
            Command(NifCommand::MoveBottom, &IfBound<&OnCommand<&TavCommon::MoveCurBottom>, 0>),
            Command(NifCommand::Jump, &IfBound<&OnCommand<&TavCommon::LineJump>, 0>),
            Command(NifCommand::Find, &IfBound<&OnCommand<&TavCommon::Find>, 0>),
            Command(NifCommand::LineInsert, &IfBound<&OnLine<&TavCommon::LineInsert>, 0>),
            Command(NifCommand::LineDelete, &IfBound<&OnLine<&TavCommon::LineDelete>, 0>),
            Command(NifCommand::LineMove, &IfBound<&OnStartLine<NifCommand::LineMove>, 0>),
            Command(NifCommand::LineCopy, &IfBound<&OnStartLine<NifCommand::LineCopy>, 0>),
            Command(NifCommand::LineSwap, &IfBound<&OnStartLine<NifCommand::LineSwap>, 0>),
            Command(NifCommand::LineCloseUp, &IfBound<&OnCommand<&TavCommon::LineCloseUp>, 0>),
            // context menu, command states and help
            Message(plat::WM_CONTEXTMENU, &IfBound<&OnContextMenu, 0>),
            Message(plat::WM_INITMENUPOPUP, &IfBound<&OnInitMenuPopup, 0>),
            Message(plat::WM_COMMANDHELP, &IfBound<&OnCommandHelp, 0>),
            Message(plat::WM_HELPHITTEST, &IfBound<&OnHelpHitTest, 0>),
            Command(NifCommand::AutoWidth, &IfBound<&OnCommand<&TavCommon::CellAutoWidth>, 0>),
            Command(NifCommand::CellPrint, &IfBound<&OnCommand<&TavCommon::CellPrint>, 0>),
            Update(plat::ID_EDIT_PASTE, &OnUpdateEditPaste),
            Update(NifCommand::Lock, &OnUpdateLock),
            Update(NifCommand::AutoWidth, &OnUpdateAutoWidth),
            // Cell lock and area correction.
            Command(NifCommand::AreaCorrect, &IfBound<&OnCommand<&TavCommon::AreaCorrect>, 0>),
            Command(NifCommand::Lock, &IfBound<&OnCommand<&TavCommon::CellLock>, 0>),
            // Undo and redo.
            Message(MOXN_EDITSTORED, &IfBound<&OnPaneEditStored, 0>),
            Command(plat::ID_EDIT_UNDO, &IfBound<&OnCommand<&TavCommon::EditUndo>, 0>),
            Command(plat::ID_EDIT_REDO, &IfBound<&OnCommand<&TavCommon::EditRedo>, 0>),
            Update(plat::ID_EDIT_UNDO, &OnUpdateUndo<&TavCommon::UpdateEditUndo>),
            Update(plat::ID_EDIT_REDO, &OnUpdateUndo<&TavCommon::UpdateEditRedo>),
            Entry{},
        };
        return entries;
    }

private:
    using Handler = LRESULT (*)(plat::Wnd&, WPARAM, LPARAM);
    static constexpr Entry Message(plat::UINT message, Handler handler)
    {
        return {Entry::Kind::Message, message, nullptr, 0, 0, 0, handler};
    }
    static constexpr Entry Registered(const plat::UINT* number, Handler handler)
    {
        return {Entry::Kind::Registered, 0, number, 0, 0, 0, handler};
    }
    static constexpr Entry Command(plat::UINT id, Handler handler)
    {
        return {Entry::Kind::Command, 0, nullptr, 0, id, id, handler};
    }

    static constexpr Entry Update(plat::UINT id, Handler handler)
    {
        return {Entry::Kind::Command, 0, nullptr, plat::kUpdateCommandCode, id, id, handler};
    }

    static Window& Self(plat::Wnd& wnd) { return static_cast<Window&>(wnd); }

    // A grid whose manager is gone or holds no table answers what would reach them with a
    // refusal or nothing, or leaves the message to the base grid (kPassOn).
    static constexpr LRESULT kPassOn = -2;
    template <Handler Bound, LRESULT Unbound>
    static LRESULT IfBound(plat::Wnd& wnd, WPARAM wParam, LPARAM lParam)
    {
        if (Self(wnd).IsBound())
            return Bound(wnd, wParam, lParam);
        return Unbound == kPassOn ? wnd.Default() : Unbound;
    }
    static const MoxPos& Pos(WPARAM wParam) { return *reinterpret_cast<const MoxPos*>(wParam); }

    static LRESULT OnCreate(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        if (wnd.Default() == -1)
            return -1;
        Self(wnd).SetOwnerWindow();
        Self(wnd).CreateResourceObject();
        return 0;
    }
    static LRESULT OnGetDlgCode(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        return Self(wnd).GetDlgCode(static_cast<plat::UINT>(wnd.Default()));
    }
    static LRESULT OnKeyDown(plat::Wnd& wnd, WPARAM wParam, LPARAM)
    {
        // Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z come before the editor: it undoes through them too.
        if (plat::GetKeyState(plat::VK_CONTROL) < 0 && (wParam == 'Z' || wParam == 'Y')) {
            if (wParam == 'Z' && plat::GetKeyState(plat::VK_SHIFT) >= 0)
                Self(wnd).EditUndo();
            else
                Self(wnd).EditRedo();
            return 0;
        }
        // The grid acts on the key first (an open editor takes its value in on Return).
        wnd.Default();
        if (!plat::IsWindow(&wnd))
            return 0;
        if (wParam == plat::VK_RETURN || wParam == plat::VK_TAB)
            Self(wnd).ReturnKeyDown();
        else if (wParam == plat::VK_ESCAPE)
            Self(wnd).EscapeKeyDown();
        return 0;
    }
    static LRESULT OnSetFocus(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        wnd.Default();
        Self(wnd).SetMessageString();
        MoxPos caret{0, 0};
        wnd.SendMessage(MOXM_GETCARET, reinterpret_cast<WPARAM>(&caret));
        Self(wnd).AllowComposition(caret);
        return 0;
    }
    static LRESULT OnWinIniChange(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        wnd.Default();
        Self(wnd).CreateResourceObject();
        return 0;
    }
    static LRESULT OnWindowPosChanged(plat::Wnd& wnd, WPARAM, LPARAM lParam)
    {
        const auto* pos = reinterpret_cast<const plat::WINDOWPOS*>(lParam);
        if (pos != nullptr && !(pos->flags & plat::SWP_NOSIZE))
            Self(wnd).SetColSize();
        return wnd.Default();
    }
    static LRESULT OnClose(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        Self(wnd).CloseCellWindow();
        return wnd.Default();
    }
    static LRESULT OnDestroy(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        Self(wnd).DestroyCellWindow();
        return wnd.Default();
    }
    static LRESULT OnPaint(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        Self(wnd).BeginCellPaint();
        const LRESULT result = wnd.Default();
        Self(wnd).EndCellPaint();
        return result;
    }
    static LRESULT OnImeNotify(plat::Wnd& wnd, WPARAM wParam, LPARAM)
    {
        Self(wnd).ImeNotify(static_cast<plat::UINT>(wParam));
        return wnd.Default();
    }

    template <int (TavCommon::*Answer)(const MoxPos&, std::string&)>
    static LRESULT OnFixedText(plat::Wnd& wnd, WPARAM wParam, LPARAM lParam)
    {
        if (wParam == 0 || lParam == 0)
            return 0;
        return (Self(wnd).*Answer)(Pos(wParam), *reinterpret_cast<std::string*>(lParam));
    }
    static LRESULT OnBeginPaneEdit(plat::Wnd& wnd, WPARAM wParam, LPARAM) { return Self(wnd).BeginPaneEdit(Pos(wParam)); }
    static LRESULT OnShowPaneEdit(plat::Wnd& wnd, WPARAM wParam, LPARAM lParam)
    {
        Self(wnd).ShowPaneEdit(Pos(wParam), reinterpret_cast<plat::Wnd*>(lParam));
        return 0;
    }
    static LRESULT OnEndPaneEdit(plat::Wnd& wnd, WPARAM wParam, LPARAM) { return Self(wnd).EndPaneEdit(Pos(wParam)); }
    static LRESULT OnGetControl(plat::Wnd& wnd, WPARAM wParam, LPARAM)
    {
        auto* request = reinterpret_cast<MOX_GETCONTROL*>(wParam);
        return Self(wnd).GetControl(MoxPos{request->column, request->row}, &request->editor);
    }
    static LRESULT OnDrawItem(plat::Wnd& wnd, WPARAM wParam, LPARAM)
    {
        Self(wnd).DrawItem(*reinterpret_cast<const MOX_DRAWITEMSTRUCT*>(wParam));
        return 0;
    }
    static LRESULT OnSelChanging(plat::Wnd& wnd, WPARAM wParam, LPARAM lParam)
    {
        return Self(wnd).SelChanging(Pos(wParam), Pos(static_cast<WPARAM>(lParam)));
    }
    static LRESULT OnSelChanged(plat::Wnd& wnd, WPARAM wParam, LPARAM lParam)
    {
        Self(wnd).SelChanged(Pos(wParam), Pos(static_cast<WPARAM>(lParam)));
        return 0;
    }
    static LRESULT OnCellCtlColor(plat::Wnd& wnd, WPARAM wParam, LPARAM lParam)
    {
        return reinterpret_cast<LRESULT>(Self(wnd).CellCtlColor(Pos(wParam), *reinterpret_cast<plat::DC*>(lParam)));
    }
    static LRESULT OnUserResize(plat::Wnd& wnd, WPARAM wParam, LPARAM lParam)
    {
        Self(wnd).UserResize(static_cast<long>(wParam), static_cast<int>(lParam));
        return 0;
    }
    static LRESULT OnQueryPaste(plat::Wnd& wnd, WPARAM wParam, LPARAM lParam)
    {
        const MoxPos cell{static_cast<std::int32_t>(wParam), static_cast<std::int32_t>(lParam)};
        return Self(wnd).QueryEditAble(cell) > 0 ? 0 : 1;
    }
    template <int (TavCommon::*Hook)()>
    static LRESULT OnBegin(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        return (Self(wnd).*Hook)() > 0 ? 0 : 1;
    }
    template <void (TavCommon::*Hook)()>
    static LRESULT OnEnd(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        (Self(wnd).*Hook)();
        return 0;
    }
    static LRESULT OnTermChange(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        Self(wnd).TermChange();
        return 0;
    }
    static LRESULT OnColorChange(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        Self(wnd).CreateResourceObject();
        wnd.Invalidate(FALSE);
        return 0;
    }
    static LRESULT OnQueryMessageString(plat::Wnd& wnd, WPARAM wParam, LPARAM)
    {
        auto* id = reinterpret_cast<plat::UINT*>(wParam);
        return id != nullptr ? Self(wnd).QueryMessageString(*id) : 0;
    }
    template <void (TavCommon::*Action)()>
    static LRESULT OnCommand(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        (Self(wnd).*Action)();
        return 0;
    }
    template <int (TavCommon::*Action)()>
    static LRESULT OnLine(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        static_cast<void>((Self(wnd).*Action)());
        return 0;
    }
    template <plat::UINT Command>
    static LRESULT OnStartLine(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        Self(wnd).StartLineCommand(Command);
        return 0;
    }
    /// A pending line command takes the double click; otherwise the grid has it.
    static LRESULT OnLButtonDblClk(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        return Self(wnd).ExecLineCommand() != 0 ? 0 : wnd.Default();
    }
    static LRESULT OnEditClear(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        wnd.SendMessage(MOXM_CLEAR);
        return 0;
    }
    static LRESULT OnRead(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        wnd.PostMessage(TavMessages().speech, 0, 0);
        return 0;
    }

    // ---- context menu, command states and help ----
    static plat::POINT PointOf(LPARAM lParam)
    {
        const auto words = static_cast<std::uintptr_t>(lParam);
        return plat::POINT{static_cast<short>(plat::LOWORD(words)), static_cast<short>(plat::HIWORD(words))};
    }
    static LRESULT OnContextMenu(plat::Wnd& wnd, WPARAM, LPARAM lParam)
    {
        Self(wnd).ContextMenu(PointOf(lParam));
        return 0;
    }
    static LRESULT OnInitMenuPopup(plat::Wnd& wnd, WPARAM wParam, LPARAM lParam)
    {
        const auto words = static_cast<std::uintptr_t>(lParam);
        Self(wnd).InitMenuPopup(plat::Menu::FromHandle(reinterpret_cast<plat::HMENU>(wParam)), plat::LOWORD(words),
                                plat::HIWORD(words) != 0 ? TRUE : FALSE);
        return 0;
    }
    static LRESULT OnCommandHelp(plat::Wnd& wnd, WPARAM, LPARAM lParam) { return Self(wnd).CommandHelp(lParam); }
    static LRESULT OnHelpHitTest(plat::Wnd& wnd, WPARAM, LPARAM lParam)
    {
        return static_cast<LRESULT>(Self(wnd).HelpHitTest(PointOf(lParam)));
    }
    static plat::CmdUI& CmdUIOf(LPARAM lParam) { return *reinterpret_cast<plat::CmdUI*>(lParam); }
    static LRESULT OnUpdateEditPaste(plat::Wnd& wnd, WPARAM, LPARAM lParam)
    {
        CmdUIOf(lParam).Enable(wnd.SendMessage(MOXM_CANPASTE) != 0 ? TRUE : FALSE);
        return 0;
    }
    static LRESULT OnPaneEditStored(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        Self(wnd).PaneEditStored();
        return 0;
    }
    template <void (TavCommon::*Answer)(plat::CmdUI&)>
    static LRESULT OnUpdateUndo(plat::Wnd& wnd, WPARAM, LPARAM lParam)
    {
        (Self(wnd).*Answer)(CmdUIOf(lParam));
        return 0;
    }
    static LRESULT OnUpdateLock(plat::Wnd& wnd, WPARAM, LPARAM lParam)
    {
        TavManager* manager = Self(wnd).ManagerPtr();
        CmdUIOf(lParam).SetCheck(manager != nullptr && manager->QueryCellLock() ? 1 : 0);
        return 0;
    }
    static LRESULT OnUpdateAutoWidth(plat::Wnd& wnd, WPARAM, LPARAM lParam)
    {
        TavManager* manager = Self(wnd).ManagerPtr();
        CmdUIOf(lParam).Enable(wnd.SendMessage(MOXM_ISEDITING) != 0 ? FALSE : TRUE);
        CmdUIOf(lParam).SetCheck(manager != nullptr && manager->QueryAutoWidth() ? 1 : 0);
        return 0;
    }
};
