// A frame's menu bar, status prompts and its part in the command route.
#include "platform/ui/Frames.h"

#include "platform/ui/CmdUI.h"
#include "platform/ui/Resources.h"
#include "platform/ui/TextMeasure.h"
#include "platform/ui/UiContext.h"

#include <algorithm>
#include <vector>

namespace plat {

namespace {

struct MessageStringModuleList {
    std::vector<ModuleHandle> modules;
};

std::vector<ModuleHandle>& MessageStringModules() { return CurrentUiContext().Get<MessageStringModuleList>().modules; }

} // namespace

void AddMessageStringModule(ModuleHandle module)
{
    auto& modules = MessageStringModules();
    if (module && std::find(modules.begin(), modules.end(), module) == modules.end())
        modules.push_back(module);
}

BEGIN_MESSAGE_MAP(FrameWnd, Wnd)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_MENUSELECT, OnMenuSelect)
    ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopup)
END_MESSAGE_MAP()

BOOL FrameWnd::SetMenu(Menu* menu)
{
    m_menuBar = menu ? menu->GetSafeHmenu() : nullptr;
    Invalidate(FALSE);
    return TRUE;
}

Menu* FrameWnd::GetMenu() const { return Menu::FromHandle(m_menuBar); }

RECT FrameWnd::GetContentRect() const
{
    RECT client;
    GetClientRect(&client);
    const int line = GetTextMeasure().LineHeight(DefaultLogFont());
    client.top = std::min<LONG>(client.bottom, client.top + line);
    client.bottom = std::max<LONG>(client.top, client.bottom - line);
    return client;
}

std::string FrameWnd::GetMessageString(UINT id) const
{
    std::optional<std::string_view> text;
    if (ModuleHandle current = GetResourceHandle())
        text = current->FindString(id);
    for (ModuleHandle module : MessageStringModules())
        if (!text)
            text = module->FindString(id);
    if (!text)
        return {};
    return std::string(text->substr(0, text->find('\n')));
}

BOOL FrameWnd::OnCmdMsg(UINT id, int code, CmdUI* cmdUI, bool probe)
{
    // The window with the focus (a view, a grid) has the first word, as the document it
    // shows is what most commands act on.
    Wnd* focus = GetFocus();
    if (focus && IsChild(focus))
        for (Wnd* wnd = focus; wnd && wnd != this; wnd = wnd->GetParent())
            if (wnd->OnCmdMsg(id, code, cmdUI, probe))
                return TRUE;
    return Wnd::OnCmdMsg(id, code, cmdUI, probe);
}

LRESULT FrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    const UINT previous = m_messageId;
    const auto id = static_cast<UINT>(wParam);
    if (lParam != 0)
        SetMessageText(reinterpret_cast<const char*>(lParam));
    else
        SetMessageText(GetMessageString(id != 0 ? id : AFX_IDS_IDLEMESSAGE));
    m_messageId = id;
    return static_cast<LRESULT>(previous);
}

LRESULT FrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam)
{
    const UINT flags = HIWORD(wParam);
    if (flags == 0xFFFF && lParam == 0) // the menu closed
        SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    else if (flags & (MF_POPUP | MF_SEPARATOR))
        SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(""));
    else
        SendMessage(WM_SETMESSAGESTRING, LOWORD(wParam));
    return 0;
}

LRESULT FrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(static_cast<std::uintptr_t>(lParam)) != 0)
        return 0; // the system menu has no commands of ours
    if (Menu* popup = Menu::FromHandle(reinterpret_cast<HMENU>(wParam)))
        UpdateMenuCommandUI(*popup, *this, GetMenu());
    return 0;
}

} // namespace plat
