// The one routing table that the grid control and the grid view share: window messages, the
// grid's notifications and the edit commands, each a one-step forward into TavCommon. Kept
// as a template over the window class so that both windows route exactly alike.
#pragma once

#include "components/mox/MoxMessages.h"
#include "components/mox/MoxPos.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Constants.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Wnd.h"
#include "tav/command/TavCommon.h"
#include "tav/frame/TavFrame.h"
#include "tav/manager/TavManager.h"

#include <string>

// Commands of the host suite's menus that the grid windows carry out today.
inline constexpr plat::UINT ID_TAV_READ = 0xC303;
inline constexpr plat::UINT ID_TAV_EDITOPEN = 0xC305;
inline constexpr plat::UINT ID_TAV_AREACORRECT = 0xC10A;
inline constexpr plat::UINT ID_TAV_LOCK = 0xC300;

template <class Window>
class TavCellRouting {
public:
    using Entry = plat::MessageMapEntry;
    using LRESULT = plat::LRESULT;
    using WPARAM = plat::WPARAM;
    using LPARAM = plat::LPARAM;

    static const Entry* Entries()
    {
        static const Entry entries[] = {
            Message(plat::WM_CREATE, &OnCreate),
            Message(plat::WM_GETDLGCODE, &OnGetDlgCode),
            Message(plat::WM_KEYDOWN, &OnKeyDown),
            Message(plat::WM_SETFOCUS, &OnSetFocus),
            Message(plat::WM_WININICHANGE, &OnWinIniChange),
            Message(plat::WM_WINDOWPOSCHANGED, &OnWindowPosChanged),
            Message(plat::WM_CLOSE, &OnClose),
            Message(plat::WM_DESTROY, &OnDestroy),
            Message(plat::WM_IME_NOTIFY, &OnImeNotify),
            Message(plat::WM_PAINT, &OnPaint),
            Message(MOXN_FIXEDCOLTEXT, &OnFixedText<&TavCommon::FixedColText>),
            Message(MOXN_FIXEDROWTEXT, &OnFixedText<&TavCommon::FixedRowText>),
            Message(MOXN_FIXEDCELLTEXT, &OnFixedText<&TavCommon::FixedCellText>),
            Message(MOXN_BEGINEDIT, &OnBeginPaneEdit),
            Message(MOXN_SHOWEDIT, &OnShowPaneEdit),
            Message(MOXN_ENDEDIT, &OnEndPaneEdit),
            Message(MOXN_GETCONTROL, &OnGetControl),
            Message(MOXN_DRAWITEM, &OnDrawItem),
            Message(MOXN_SELCHANGING, &OnSelChanging),
            Message(MOXN_SELCHANGED, &OnSelChanged),
            Message(MOXN_CTLCOLOR, &OnCellCtlColor),
            Message(MOXN_USERRESIZE, &OnUserResize),
            Message(MOXN_QUERYPASTE, &OnQueryPaste),
            Message(MOXN_BEGINCOPY, &OnBegin<&TavCommon::OnBeginCopy>),
            Message(MOXN_ENDCOPY, &OnEnd<&TavCommon::OnEndCopy>),
            Message(MOXN_BEGINPASTE, &OnBegin<&TavCommon::OnBeginPaste>),
            Message(MOXN_ENDPASTE, &OnEnd<&TavCommon::OnEndPaste>),
            Message(MOXN_BEGINDELETE, &OnBegin<&TavCommon::OnBeginDelete>),
            Message(MOXN_ENDDELETE, &OnEnd<&TavCommon::OnEndDelete>),
            Registered(&TavMessages().termChange, &OnTermChange),
            Registered(&TavMessages().colorChange, &OnColorChange),
            Registered(&TavMessages().queryMessageString, &OnQueryMessageString),
            Command(ID_EDIT_CUT, &OnCommand<&TavCommon::EditCut>),
            Command(ID_EDIT_COPY, &OnCommand<&TavCommon::EditCopy>),
            Command(ID_EDIT_PASTE, &OnCommand<&TavCommon::EditPaste>),
            Command(ID_EDIT_CLEAR, &OnEditClear),
            Command(ID_TAV_READ, &OnRead),
            Command(ID_TAV_EDITOPEN, &OnCommand<&TavCommon::EditOpen>),
            // Cell lock and area correction.
            Command(ID_TAV_AREACORRECT, &OnCommand<&TavCommon::AreaCorrect>),
            Command(ID_TAV_LOCK, &OnCommand<&TavCommon::CellLock>),
            Update(ID_TAV_LOCK, &OnUpdateLock),
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
        // The grid acts on the key first. Return and Tab walk the caret in the grid itself
        // until line commands take them over.
        wnd.Default();
        if (wParam == plat::VK_ESCAPE && plat::IsWindow(&wnd))
            Self(wnd).EscapeKeyDown();
        return 0;
    }
    static LRESULT OnSetFocus(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        wnd.Default();
        Self(wnd).SetMessageString();
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
    static LRESULT OnEditClear(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        wnd.SendMessage(MOXM_CLEAR);
        return 0;
    }
    static LRESULT OnUpdateLock(plat::Wnd& wnd, WPARAM, LPARAM lParam)
    {
        TavManager* manager = Self(wnd).ManagerPtr();
        reinterpret_cast<plat::CmdUI*>(lParam)->SetCheck(manager != nullptr && manager->QueryCellLock() ? 1 : 0);
        return 0;
    }
    static LRESULT OnRead(plat::Wnd& wnd, WPARAM, LPARAM)
    {
        wnd.PostMessage(TavMessages().speech, 0, 0);
        return 0;
    }
};
