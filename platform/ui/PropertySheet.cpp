// Property pages and sheets.
#include "platform/ui/PropertySheet.h"

#include "platform/text/DisplayWidth.h"
#include "platform/ui/App.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Renderer.h" // StripMnemonic

#include <algorithm>
#include <optional>

namespace plat {

PropertyPage::PropertyPage(ModuleHandle module, UINT templateId, UINT captionId)
    : Dialog(module, templateId, nullptr), m_captionId(captionId)
{
}

BOOL PropertyPage::OnApply()
{
    m_modified = false;
    return TRUE;
}

void PropertyPage::SetModified(BOOL modified)
{
    m_modified = modified != FALSE;
    if (m_modified && m_sheet)
        m_sheet->PageModified();
}

std::string PropertyPage::GetCaption() const
{
    if (m_captionId) {
        const Module* module = m_module ? m_module : GetResourceHandle();
        if (module)
            if (auto text = module->FindString(m_captionId))
                return std::string(*text);
    }
    if (const DialogTemplate* found = m_template ? &*m_template : FindDialogResource(m_module ? m_module : GetResourceHandle(), m_templateId))
        return found->caption;
    return {};
}

BOOL PropertyPage::CreatePage(PropertySheet& sheet)
{
    m_sheet = &sheet;
    const DialogTemplate* dialogTemplate = ResolveTemplate();
    if (!dialogTemplate)
        return FALSE;
    m_parentWnd = &sheet;
    return CreateFromTemplate(*dialogTemplate, &sheet, true);
}

BEGIN_MESSAGE_MAP(PropertySheet, Wnd)
    ON_MESSAGE(WM_COMMAND, OnCommandMessage)
    ON_MESSAGE(WM_CLOSE, OnCloseMessage)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
END_MESSAGE_MAP()

PropertySheet::PropertySheet(std::string caption, Wnd* parent, int startPage)
    : m_caption(std::move(caption)), m_parentWnd(parent), m_startPage(startPage)
{
}

void PropertySheet::AddPage(PropertyPage* page)
{
    if (page)
        m_pages.push_back(page);
}

PropertyPage* PropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<std::size_t>(index)] : nullptr;
}

PropertyPage* PropertySheet::GetActivePage() const { return GetPage(m_active); }

BOOL PropertySheet::SetActivePage(int index)
{
    PropertyPage* next = GetPage(index);
    if (!next)
        return FALSE;
    if (PropertyPage* current = GetActivePage(); current && current != next) {
        if (!current->OnKillActive())
            return FALSE;
        current->ShowWindow(SW_HIDE);
    }
    if (!next->IsWindow() && !next->CreatePage(*this))
        return FALSE;
    m_active = index;
    // Pages sit below the sheet's tab row.
    next->MoveWindow(0, GetTextMeasure().LineHeight(DefaultLogFont()), next->GetRectInParent().Width(), next->GetRectInParent().Height(), FALSE);
    next->OnSetActive();
    next->ShowWindow(SW_SHOW);
    if (Wnd* first = next->GetNextDlgTabItem(nullptr))
        next->GotoDlgCtrl(first);
    return TRUE;
}

void PropertySheet::PageModified()
{
    if (m_apply.IsWindow())
        m_apply.EnableWindow(TRUE);
}

bool PropertySheet::Apply()
{
    if (PropertyPage* current = GetActivePage(); current && !current->OnKillActive())
        return false;
    for (int i = 0; i < GetPageCount(); ++i) {
        PropertyPage* page = m_pages[static_cast<std::size_t>(i)];
        if (page->IsWindow() && !page->OnApply()) {
            SetActivePage(i);
            return false;
        }
    }
    if (m_apply.IsWindow())
        m_apply.EnableWindow(FALSE);
    return true;
}

int PropertySheet::DoModal()
{
    WinApp* app = GetApp();
    Driver* driver = app ? app->GetDriver() : nullptr;
    if (!driver || m_pages.empty() || IsWindow())
        return -1;
    // The sheet is as large as its largest page, with a tab row above and buttons below.
    int width = 0;
    int height = 0;
    for (PropertyPage* page : m_pages) {
        const DialogTemplate* dialogTemplate = page->ResolveTemplate();
        if (!dialogTemplate)
            return -1;
        const RECT size = MapDialogRect(DialogLogFont(*dialogTemplate), 0, 0, dialogTemplate->cx, dialogTemplate->cy);
        width = std::max<int>(width, size.Width());
        height = std::max<int>(height, size.Height());
    }
    // On a small screen the pages are cut at their right and bottom, so that the box, the
    // tabs and the buttons stay in sight.
    const SIZE screen = driver->ScreenSize();
    const FontMetrics text = GetTextMeasure().Metrics(DefaultLogFont());
    const int line = text.height;
    width = std::max(8 * text.averageWidth, std::min<int>(width, screen.cx - 2 * text.averageWidth));
    height = std::max(line, std::min<int>(height, screen.cy - 5 * line - 8));
    const int buttonsTop = line + height + 8;
    const int totalHeight = buttonsTop + 2 * line;
    Wnd* owner = plat::IsWindow(m_parentWnd) ? m_parentWnd->GetTopLevelParent() : app->GetMainWnd();
    if (!plat::IsWindow(owner))
        owner = nullptr;
    // The keys go back where they were when the sheet closes, as after any modal window.
    Wnd* previousFocus = GetFocus();
    const int x = std::max(0, (static_cast<int>(screen.cx) - width) / 2);
    const int y = std::max(0, (static_cast<int>(screen.cy) - totalHeight) / 2);
    if (!CreateEx(0, "#32770", m_caption, WS_POPUP | WS_CAPTION | WS_SYSMENU, RECT{x, y, x + width, y + totalHeight},
                  owner, 0))
        return -1;
    const int buttonWidth = 12 * text.averageWidth;
    m_ok.Create("OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                RECT{width - 3 * (buttonWidth + 8), buttonsTop, width - 2 * buttonWidth - 24, buttonsTop + line}, this, IDOK);
    m_cancel.Create("キャンセル", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                    RECT{width - 2 * (buttonWidth + 8), buttonsTop, width - buttonWidth - 16, buttonsTop + line}, this, IDCANCEL);
    m_apply.Create("適用(&A)", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_DISABLED,
                   RECT{width - buttonWidth - 8, buttonsTop, width - 8, buttonsTop + line}, this, ID_APPLY_NOW);
    for (PropertyPage* page : m_pages)
        page->m_sheet = this;
    const bool ownerWasEnabled = owner && owner->IsWindowEnabled();
    if (ownerWasEnabled)
        owner->EnableWindow(FALSE);
    int result = -1;
    if (SetActivePage(std::clamp(m_startPage, 0, GetPageCount() - 1))) {
        ShowWindow(SW_SHOW);
        result = RunModalLoop([this, driver] {
            if (PropertyPage* page = GetActivePage())
                driver->DialogOpened(*page);
        });
    }
    if (plat::IsWindow(this))
        DestroyWindow();
    m_active = -1;
    if (ownerWasEnabled && plat::IsWindow(owner))
        owner->EnableWindow(TRUE);
    if (plat::IsWindow(previousFocus))
        previousFocus->SetFocus();
    return result;
}

LRESULT PropertySheet::OnCommandMessage(WPARAM wParam, LPARAM)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return 0;
    switch (LOWORD(wParam)) {
    case IDOK:
        if (Apply())
            EndModalLoop(IDOK);
        break;
    case IDCANCEL:
        for (PropertyPage* page : m_pages)
            if (page->IsWindow())
                page->OnCancel();
        EndModalLoop(IDCANCEL);
        break;
    case ID_APPLY_NOW:
        Apply();
        break;
    default:
        break;
    }
    return 0;
}

RECT PropertySheet::GetTabRect(int index) const
{
    if (!GetPage(index))
        return RECT{};
    // Each tab is its caption with a blank either side, one column in from the sheet's edge.
    const LOGFONTA font = DefaultLogFont();
    const TextMeasure& measure = GetTextMeasure();
    const FontMetrics text = measure.Metrics(font);
    LONG left = text.averageWidth;
    for (int i = 0;; ++i) {
        const std::string caption = StripMnemonic(m_pages[static_cast<std::size_t>(i)]->GetCaption());
        const LONG width = measure.Width(font, caption) + 2 * text.averageWidth;
        if (i == index)
            return RECT{left, 0, left + width, text.height};
        left += width;
    }
}

int PropertySheet::HitTestTab(POINT clientPoint) const
{
    for (int i = 0; i < GetPageCount(); ++i)
        if (GetTabRect(i).Contains(clientPoint))
            return i;
    return -1;
}

LRESULT PropertySheet::OnLButtonDown(WPARAM, LPARAM lParam)
{
    const POINT point{static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lParam))),
                      static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam)))};
    if (const int index = HitTestTab(point); index >= 0 && index != m_active)
        SetActivePage(index);
    return 0;
}

bool PropertySheet::UseButtonMnemonic(int key)
{
    for (Button* button : {&m_ok, &m_cancel, &m_apply}) {
        if (!button->IsWindowVisible() || !button->IsWindowEnabled())
            continue;
        const std::string text = button->GetWindowText();
        char letter = 0;
        for (std::size_t i = 0; i + 1 < text.size() && !letter; ++i)
            if (text[i] == '&' && text[++i] != '&')
                letter = text[i];
        if (letter >= 'a' && letter <= 'z')
            letter = static_cast<char>(letter - 'a' + 'A');
        if (letter == key) {
            SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(button->GetDlgCtrlID()), BN_CLICKED),
                        reinterpret_cast<LPARAM>(button));
            return true;
        }
    }
    return false;
}

LRESULT PropertySheet::OnCloseMessage(WPARAM, LPARAM)
{
    SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return 0;
}

void PropertySheet::MoveTabFocus(bool back)
{
    const auto isStop = [](const Wnd* wnd) {
        return (wnd->GetStyle() & (WS_TABSTOP | WS_VISIBLE)) == (WS_TABSTOP | WS_VISIBLE) && wnd->IsWindowEnabled();
    };
    // One ring of the page's tab stops and then the sheet's buttons. A focus on a control that
    // is no tab stop stands just before the stop that follows it.
    Wnd* focus = TabOrigin(GetFocus(), back);
    std::vector<Wnd*> ring;
    std::optional<std::size_t> at;
    bool onStop = false;
    const auto add = [&](Wnd* wnd) {
        if (wnd == focus) {
            at = ring.size();
            onStop = isStop(wnd);
        }
        if (isStop(wnd))
            ring.push_back(wnd);
    };
    PropertyPage* page = GetActivePage();
    if (page)
        for (Wnd* child : page->GetChildren())
            add(child);
    for (Wnd* button : {&m_ok, &m_cancel, &m_apply})
        add(button);
    if (ring.empty())
        return;
    const std::size_t count = ring.size();
    std::size_t next = back ? count - 1 : 0;
    if (at)
        next = back ? (*at + count - 1) % count : (*at + (onStop ? 1 : 0)) % count;
    Wnd* target = TabFocusTarget(ring[next]);
    if (page)
        page->GotoDlgCtrl(target);
    else
        target->SetFocus();
}

bool PropertySheet::PreTranslateInput(const InputEvent& event)
{
    if (event.kind == InputEvent::Kind::Key && (event.key == VK_RETURN || event.key == VK_ESCAPE)) {
        Wnd* focus = GetFocus();
        if (focus && (focus->SendMessage(WM_GETDLGCODE) & DLGC_WANTALLKEYS))
            return false;
        // A focused push button is pressed where it lives, on the sheet or on the page.
        if (auto* button = dynamic_cast<Button*>(focus); button && button->IsPushButton() && event.key == VK_RETURN)
            button->Click();
        else
            SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(event.key == VK_ESCAPE ? IDCANCEL : IDOK), BN_CLICKED), 0);
        return true;
    }
    if (event.kind == InputEvent::Kind::Key && event.key == VK_TAB) {
        Wnd* focus = GetFocus();
        if (focus && (focus->SendMessage(WM_GETDLGCODE) & (DLGC_WANTTAB | DLGC_WANTALLKEYS)))
            return false;
        MoveTabFocus(event.shift);
        return true;
    }
    if (event.kind == InputEvent::Kind::Close) {
        SendMessage(WM_CLOSE);
        return true;
    }
    // Ctrl+PgDn and Ctrl+PgUp turn to the next and the previous page, round the ends.
    if (event.kind == InputEvent::Kind::Key && event.control && (event.key == VK_NEXT || event.key == VK_PRIOR)) {
        if (GetPageCount() > 1) {
            const int step = event.key == VK_NEXT ? 1 : GetPageCount() - 1;
            SetActivePage((m_active + step) % GetPageCount());
        }
        return true;
    }
    // Arrows and mnemonics work inside the active page as in any dialog; a mnemonic that no
    // control of the page has may be one of the sheet's buttons.
    if (PropertyPage* page = GetActivePage(); page && page->PreTranslateInput(event))
        return true;
    if (event.kind == InputEvent::Kind::Key && event.alt)
        return UseButtonMnemonic(event.key);
    return false;
}

} // namespace plat
