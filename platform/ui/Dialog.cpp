// Dialogs: construction from templates, the modal loop, keyboard handling and data exchange.
#include "platform/ui/Dialog.h"

#include "platform/text/NameCompare.h"
#include "platform/ui/App.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/UiContext.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cstdio>
#include <memory>

namespace plat {

namespace {

// The application's dialog fonts, one per face and size, kept while the application runs.
struct DialogFonts {
    std::vector<std::pair<std::pair<std::string, int>, std::unique_ptr<Font>>> fonts;
};

// The dialog font is shared by every dialog made from templates with the same face and size.
Font* DialogFont(const DialogTemplate& dialogTemplate)
{
    auto& fonts = CurrentUiContext().Get<DialogFonts>().fonts;
    const auto key = std::make_pair(dialogTemplate.fontFace, dialogTemplate.pointSize);
    for (auto& [fontKey, font] : fonts)
        if (fontKey == key)
            return font.get();
    auto font = std::make_unique<Font>();
    font->CreatePointFont(dialogTemplate.pointSize * 10, dialogTemplate.fontFace);
    fonts.emplace_back(key, std::move(font));
    return fonts.back().second.get();
}

bool TakesTabStop(const DialogItem& item)
{
    const std::string& name = item.className;
    if (EqualNoCase(name, kEditClass) || EqualNoCase(name, kComboBoxClass) || EqualNoCase(name, kListBoxClass) ||
        EqualNoCase(name, kListViewClass))
        return true;
    if (!EqualNoCase(name, kButtonClass))
        return false;
    switch (item.style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_OWNERDRAW:
        return true;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        // The first button of a group is the group's stop, so Tab can reach its choice.
        return (item.style & WS_GROUP) != 0;
    default:
        return false;
    }
}

bool IsRadioControl(Wnd* wnd) { return wnd && (wnd->SendMessage(WM_GETDLGCODE) & DLGC_RADIOBUTTON) != 0; }

std::string Trimmed(std::string text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

template <class Integer>
bool ParseInteger(const std::string& text, Integer& value)
{
    std::string trimmed = Trimmed(text);
    if (!trimmed.empty() && trimmed.front() == '+')
        trimmed.erase(0, 1);
    Integer parsed{};
    const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), parsed);
    if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size())
        return false;
    value = parsed;
    return true;
}

void Complain(DataExchange& dx, const std::string& text)
{
    MessageBox(&dx.GetDialog(), text, {}, MB_OK | MB_ICONEXCLAMATION);
    dx.Fail();
}

} // namespace

Wnd* TabOrigin(Wnd* focus, bool back)
{
    if (!IsRadioControl(focus))
        return focus;
    const std::vector<Wnd*> group = GetDialogGroup(*focus);
    return back ? group.front() : group.back();
}

Wnd* TabFocusTarget(Wnd* stop)
{
    if (!IsRadioControl(stop) || stop->SendMessage(BM_GETCHECK) == BST_CHECKED)
        return stop;
    for (Wnd* member : GetDialogGroup(*stop))
        if (IsRadioControl(member) && member->IsWindowVisible() && member->IsWindowEnabled() &&
            member->SendMessage(BM_GETCHECK) == BST_CHECKED)
            return member;
    return stop;
}

// ---- DataExchange ----

Wnd* DataExchange::PrepareCtrl(int id)
{
    m_last = m_dialog->GetDlgItem(id);
    m_lastIsEdit = false;
    return m_last;
}

Wnd* DataExchange::PrepareEditCtrl(int id)
{
    PrepareCtrl(id);
    m_lastIsEdit = true;
    return m_last;
}

void DataExchange::Fail()
{
    if (m_bSaveAndValidate && m_last && plat::IsWindow(m_last)) {
        m_dialog->GotoDlgCtrl(m_last);
        if (m_lastIsEdit)
            m_last->SendMessage(EM_SETSEL, 0, -1);
    }
    throw DataExchangeFailure{};
}

// ---- Dialog ----

BEGIN_MESSAGE_MAP(Dialog, Wnd)
    ON_MESSAGE(WM_INITDIALOG, OnInitDialogMessage)
    ON_MESSAGE(WM_DESTROY, OnDestroyMessage)
    ON_MESSAGE(WM_CLOSE, OnCloseMessage)
    ON_MESSAGE(DM_GETDEFID, OnGetDefId)
    ON_MESSAGE(DM_SETDEFID, OnSetDefId)
    ON_MESSAGE(WM_NEXTDLGCTL, OnNextDlgCtl)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

Dialog::Dialog(UINT templateId, Wnd* parent) : m_templateId(templateId), m_parentWnd(parent) {}

Dialog::Dialog(ModuleHandle module, UINT templateId, Wnd* parent)
    : m_module(module), m_templateId(templateId), m_parentWnd(parent)
{
}

Dialog::Dialog(DialogTemplate dialogTemplate, Wnd* parent) : m_template(std::move(dialogTemplate)), m_parentWnd(parent) {}

const DialogTemplate* Dialog::ResolveTemplate()
{
    if (!m_template) {
        const DialogTemplate* found = FindDialogResource(m_module ? m_module : GetResourceHandle(), m_templateId);
        if (!found)
            return nullptr;
        m_template = *found;
    }
    return &*m_template;
}

RECT Dialog::MapDialogRect(int x, int y, int cx, int cy) const
{
    return plat::MapDialogRect(WindowLogFont(*this), x, y, cx, cy);
}

BOOL Dialog::CreateFromTemplate(const DialogTemplate& dialogTemplate, Wnd* parent, bool child)
{
    const LOGFONTA logFont = DialogLogFont(dialogTemplate);
    RECT rect = plat::MapDialogRect(logFont, 0, 0, dialogTemplate.cx, dialogTemplate.cy);
    if (!child) {
        // Centred over the owner, or on the screen.
        RECT area{0, 0, 640, 400};
        if (parent)
            parent->GetWindowRect(&area);
        else if (Driver* driver = GetApp() ? GetApp()->GetDriver() : nullptr)
            area = RECT{0, 0, driver->ScreenSize().cx, driver->ScreenSize().cy};
        const LONG x = std::max<LONG>(0, area.left + (area.Width() - rect.Width()) / 2);
        const LONG y = std::max<LONG>(0, area.top + (area.Height() - rect.Height()) / 2);
        rect = RECT{x, y, x + rect.Width(), y + rect.Height()};
    }
    const DWORD style = (dialogTemplate.style & ~WS_VISIBLE) | (child ? WS_CHILD : WS_POPUP | WS_CAPTION | WS_SYSMENU);
    if (!CreateEx(0, "#32770", dialogTemplate.caption, style, rect, parent, 0))
        return FALSE;
    Font* font = DialogFont(dialogTemplate);
    SetFont(font, FALSE);
    for (const DialogItem& item : dialogTemplate.items) {
        std::unique_ptr<Wnd> control = CreateWindowObject(item.className);
        DWORD itemStyle = item.style | WS_CHILD | WS_VISIBLE | (TakesTabStop(item) ? WS_TABSTOP : 0);
        if (!control || !control->CreateEx(item.exStyle, item.className, item.text, itemStyle,
                                           plat::MapDialogRect(logFont, item.x, item.y, item.cx, item.cy), this,
                                           static_cast<UINT>(item.id))) {
            DestroyWindow();
            return FALSE;
        }
        control->SetFont(font, FALSE);
        control.release()->SetAutoDelete(true);
    }
    Wnd* first = GetNextDlgTabItem(nullptr);
    if (SendMessage(WM_INITDIALOG, reinterpret_cast<WPARAM>(first), 0) && plat::IsWindow(this)) {
        if (Wnd* focus = GetNextDlgTabItem(nullptr))
            GotoDlgCtrl(TabFocusTarget(focus));
    }
    return plat::IsWindow(this);
}

int Dialog::DoModal()
{
    WinApp* app = GetApp();
    Driver* driver = app ? app->GetDriver() : nullptr;
    const DialogTemplate* dialogTemplate = ResolveTemplate();
    if (!driver || !dialogTemplate || IsWindow())
        return -1;
    Wnd* owner = plat::IsWindow(m_parentWnd) ? m_parentWnd->GetTopLevelParent() : app->GetMainWnd();
    if (!plat::IsWindow(owner) || owner == this)
        owner = nullptr;
    Wnd* previousFocus = GetFocus();
    const bool ownerWasEnabled = owner && owner->IsWindowEnabled();
    if (ownerWasEnabled)
        owner->EnableWindow(FALSE);

    m_modal = true;
    m_endedEarly.reset();
    int result = -1;
    if (CreateFromTemplate(*dialogTemplate, owner, false)) {
        if (m_endedEarly) {
            result = *m_endedEarly;
        } else {
            ShowWindow(SW_SHOW);
            result = RunModalLoop([this, driver] { driver->DialogOpened(*this); });
        }
        if (plat::IsWindow(this))
            DestroyWindow();
    }
    m_modal = false;
    if (ownerWasEnabled && plat::IsWindow(owner))
        owner->EnableWindow(TRUE);
    if (plat::IsWindow(previousFocus))
        previousFocus->SetFocus();
    return result;
}

BOOL Dialog::Create(UINT templateId, Wnd* parent)
{
    m_templateId = templateId;
    m_template.reset();
    m_parentWnd = parent;
    const DialogTemplate* dialogTemplate = ResolveTemplate();
    return dialogTemplate ? CreateIndirect(*dialogTemplate, parent) : FALSE;
}

BOOL Dialog::CreateIndirect(const DialogTemplate& dialogTemplate, Wnd* parent)
{
    if (IsWindow())
        return FALSE;
    if (&dialogTemplate != GetTemplate())
        m_template = dialogTemplate;
    m_parentWnd = parent;
    m_modal = false;
    Wnd* owner = plat::IsWindow(parent) ? parent->GetTopLevelParent() : nullptr;
    if (!CreateFromTemplate(*m_template, owner, false))
        return FALSE;
    if (m_template->style & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    if (Driver* driver = GetApp() ? GetApp()->GetDriver() : nullptr)
        driver->DialogOpened(*this);
    return plat::IsWindow(this);
}

void Dialog::EndDialog(int result)
{
    if (IsInModalLoop())
        EndModalLoop(result);
    else if (m_modal)
        m_endedEarly = result;
    else
        ShowWindow(SW_HIDE);
}

BOOL Dialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void Dialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL Dialog::UpdateData(BOOL saveAndValidate)
{
    DataExchange dx(*this, saveAndValidate != FALSE);
    try {
        DoDataExchange(dx);
    } catch (const DataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

Dialog::~Dialog() { DestroyWindow(); }

LRESULT Dialog::OnInitDialogMessage(WPARAM, LPARAM) { return OnInitDialog(); }

LRESULT Dialog::OnDestroyMessage(WPARAM, LPARAM)
{
    OnDestroy();
    return 0;
}

LRESULT Dialog::OnCloseMessage(WPARAM, LPARAM)
{
    // The close box is Escape: it goes through the cancel command and its button.
    PressButton(IDCANCEL);
    return 0;
}

LRESULT Dialog::OnGetDefId(WPARAM, LPARAM)
{
    const int id = GetDefID();
    return id ? MAKELPARAM(static_cast<WORD>(id), static_cast<WORD>(DC_HASDEFID)) : 0;
}

LRESULT Dialog::OnSetDefId(WPARAM wParam, LPARAM)
{
    SetDefID(static_cast<int>(wParam));
    return TRUE;
}

LRESULT Dialog::OnNextDlgCtl(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(static_cast<std::uintptr_t>(lParam)))
        GotoDlgCtrl(reinterpret_cast<Wnd*>(wParam));
    else if (wParam)
        PrevDlgCtrl();
    else
        NextDlgCtrl();
    return 0;
}

Wnd* Dialog::GetNextDlgTabItem(Wnd* control, bool previous) const
{
    const std::vector<Wnd*>& children = GetChildren();
    const std::size_t count = children.size();
    // The walk goes on from the control's place even when it is no tab stop itself (a radio
    // button after the first of its group); without a control it starts at either end.
    auto at = std::find(children.begin(), children.end(), control);
    std::size_t index = at != children.end() ? static_cast<std::size_t>(at - children.begin()) : previous ? 0 : count - 1;
    for (std::size_t step = 0; step < count; ++step) {
        index = previous ? (index + count - 1) % count : (index + 1) % count;
        Wnd* child = children[index];
        // The control's own visibility: the dialog itself is shown only after its focus is set.
        if ((child->GetStyle() & (WS_TABSTOP | WS_VISIBLE)) == (WS_TABSTOP | WS_VISIBLE) && child->IsWindowEnabled())
            return child;
    }
    return nullptr;
}

void Dialog::GotoDlgCtrl(Wnd* control)
{
    if (!plat::IsWindow(control))
        return;
    control->SetFocus();
    if (control->SendMessage(WM_GETDLGCODE) & DLGC_HASSETSEL)
        control->SendMessage(EM_SETSEL, 0, -1);
}

void Dialog::NextDlgCtrl()
{
    if (Wnd* next = GetNextDlgTabItem(GetFocus()))
        GotoDlgCtrl(next);
}

void Dialog::PrevDlgCtrl()
{
    if (Wnd* previous = GetNextDlgTabItem(GetFocus(), true))
        GotoDlgCtrl(previous);
}

int Dialog::GetDefID() const
{
    if (m_defId)
        return m_defId;
    for (Wnd* child : GetChildren())
        if (auto* button = dynamic_cast<Button*>(child); button && button->GetButtonStyle() == BS_DEFPUSHBUTTON)
            return button->GetDlgCtrlID();
    return 0;
}

void Dialog::SetDefID(int id)
{
    // The default look moves to the new default button.
    for (Wnd* child : GetChildren())
        if (auto* button = dynamic_cast<Button*>(child); button && button->IsPushButton())
            button->SetButtonStyle(button->GetDlgCtrlID() == id ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    m_defId = id;
}

bool Dialog::PressButton(int id)
{
    Wnd* button = GetDlgItem(id);
    if (button && (!button->IsWindowVisible() || !button->IsWindowEnabled()))
        return false;
    SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return true;
}

namespace {

// The letter a caption marks with '&' ("&&" is a literal '&'), upper case; 0 when none.
char MnemonicOf(const std::string& text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        const char next = text[i + 1];
        if (next != '&')
            return (next >= 'a' && next <= 'z') ? static_cast<char>(next - 'a' + 'A') : next;
        ++i;
    }
    return 0;
}

} // namespace

bool Dialog::UseMnemonic(char letter)
{
    for (Wnd* control : GetChildren()) {
        if (!control->IsWindowVisible() || !control->IsWindowEnabled() || MnemonicOf(control->GetWindowText()) != letter)
            continue;
        auto* button = dynamic_cast<Button*>(control);
        if (button && button->IsPushButton()) {
            PressButton(button->GetDlgCtrlID());
        } else if (button && button->GetButtonStyle() != BS_GROUPBOX) {
            GotoDlgCtrl(button);
            button->Click();
        } else {
            // A label or a group box names the control that follows it.
            const std::vector<Wnd*>& children = GetChildren();
            auto at = std::find(children.begin(), children.end(), control);
            for (++at; at != children.end(); ++at)
                if (((*at)->GetStyle() & (WS_TABSTOP | WS_VISIBLE)) == (WS_TABSTOP | WS_VISIBLE) && (*at)->IsWindowEnabled()) {
                    GotoDlgCtrl(TabFocusTarget(*at)); // a radio group at its choice
                    break;
                }
        }
        return true;
    }
    return false;
}

bool Dialog::PreTranslateInput(const InputEvent& event)
{
    if (event.kind == InputEvent::Kind::Close) {
        SendMessage(WM_CLOSE);
        return true;
    }
    if (event.kind != InputEvent::Kind::Key)
        return false;
    Wnd* focus = GetFocus();
    if (focus && focus != this && !IsChild(focus))
        focus = nullptr;
    const UINT code = focus ? static_cast<UINT>(focus->SendMessage(WM_GETDLGCODE, static_cast<WPARAM>(event.key))) : 0;
    if (code & DLGC_WANTALLKEYS)
        return false;
    if (event.alt && ((event.key >= 'A' && event.key <= 'Z') || (event.key >= '0' && event.key <= '9')))
        return UseMnemonic(static_cast<char>(event.key));
    switch (event.key) {
    case VK_TAB:
        if (code & DLGC_WANTTAB)
            return false;
        if (Wnd* next = GetNextDlgTabItem(TabOrigin(focus, event.shift), event.shift))
            GotoDlgCtrl(TabFocusTarget(next));
        return true;
    case VK_RETURN: {
        // A focused push button is pressed; a control that only looks like one (it says so by
        // its dialog code) leaves Return to the default button.
        auto* button = dynamic_cast<Button*>(focus);
        if (button && button->IsPushButton() && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
            PressButton(button->GetDlgCtrlID());
        } else {
            const int id = GetDefID();
            PressButton(id ? id : IDOK);
        }
        return true;
    }
    case VK_ESCAPE:
        PressButton(IDCANCEL);
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        if ((code & DLGC_WANTARROWS) || !focus || focus == this)
            return false;
        // Arrows walk the group past its labels; landing on an automatic radio button checks it.
        std::vector<Wnd*> group = GetDialogGroup(*focus);
        group.erase(std::remove_if(group.begin(), group.end(),
                                   [](Wnd* w) {
                                       return !w->IsWindowVisible() || !w->IsWindowEnabled() ||
                                              (w->SendMessage(WM_GETDLGCODE) & DLGC_STATIC);
                                   }),
                    group.end());
        auto at = std::find(group.begin(), group.end(), focus);
        if (group.size() < 2 || at == group.end())
            return true;
        const bool back = event.key == VK_LEFT || event.key == VK_UP;
        const std::size_t index = static_cast<std::size_t>(at - group.begin());
        Wnd* next = group[back ? (index + group.size() - 1) % group.size() : (index + 1) % group.size()];
        GotoDlgCtrl(next);
        if (auto* radio = dynamic_cast<Button*>(next); radio && radio->GetButtonStyle() == BS_AUTORADIOBUTTON)
            radio->Click();
        return true;
    }
    default:
        return false;
    }
}

void Dialog::OnInputEnded()
{
    // As if the person closed the window; a dialog that refuses is ended all the same.
    SendMessage(WM_CLOSE);
}

void Dialog::SetDlgItemText(int id, std::string_view text)
{
    if (Wnd* control = GetDlgItem(id))
        control->SetWindowText(text);
}

std::string Dialog::GetDlgItemText(int id) const
{
    Wnd* control = GetDlgItem(id);
    return control ? control->GetWindowText() : std::string();
}

void Dialog::SetDlgItemInt(int id, int value) { SetDlgItemText(id, std::to_string(value)); }

void Dialog::CheckDlgButton(int id, int check)
{
    if (Wnd* control = GetDlgItem(id))
        control->SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
}

int Dialog::IsDlgButtonChecked(int id) const
{
    Wnd* control = GetDlgItem(id);
    return control ? static_cast<int>(control->SendMessage(BM_GETCHECK)) : 0;
}

void Dialog::CheckRadioButton(int firstId, int lastId, int checkId)
{
    for (int id = firstId; id <= lastId; ++id)
        CheckDlgButton(id, id == checkId ? BST_CHECKED : BST_UNCHECKED);
}

int Dialog::GetCheckedRadioButton(int firstId, int lastId) const
{
    for (int id = firstId; id <= lastId; ++id)
        if (IsDlgButtonChecked(id) == BST_CHECKED)
            return id;
    return 0;
}

// ---- data exchange ----

void DDX_Text(DataExchange& dx, int id, std::string& value)
{
    Wnd* control = dx.PrepareEditCtrl(id);
    if (!control)
        return;
    if (dx.m_bSaveAndValidate)
        value = control->GetWindowText();
    else
        control->SetWindowText(value);
}

namespace {

template <typename Integer>
void ExchangeInteger(DataExchange& dx, int id, Integer& value)
{
    Wnd* control = dx.PrepareEditCtrl(id);
    if (!control)
        return;
    if (!dx.m_bSaveAndValidate) {
        control->SetWindowText(std::to_string(value));
    } else if (!ParseInteger(control->GetWindowText(), value)) {
        Complain(dx, "整数を入力してください。");
    }
}

} // namespace

void DDX_Text(DataExchange& dx, int id, int& value) { ExchangeInteger(dx, id, value); }

void DDX_Text(DataExchange& dx, int id, long& value) { ExchangeInteger(dx, id, value); }

void DDX_Text(DataExchange& dx, int id, double& value)
{
    Wnd* control = dx.PrepareEditCtrl(id);
    if (!control)
        return;
    if (!dx.m_bSaveAndValidate) {
        char text[64];
        std::snprintf(text, sizeof text, "%.*g", DBL_DIG, value);
        control->SetWindowText(text);
        return;
    }
    std::string trimmed = Trimmed(control->GetWindowText());
    if (!trimmed.empty() && trimmed.front() == '+')
        trimmed.erase(0, 1);
    double parsed = 0;
    const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), parsed);
    if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size())
        Complain(dx, "数値を入力してください。");
    value = parsed;
}

void DDX_Check(DataExchange& dx, int id, int& value)
{
    Wnd* control = dx.PrepareCtrl(id);
    if (!control)
        return;
    if (dx.m_bSaveAndValidate)
        value = static_cast<int>(control->SendMessage(BM_GETCHECK));
    else
        control->SendMessage(BM_SETCHECK, static_cast<WPARAM>(value));
}

void DDX_Radio(DataExchange& dx, int id, int& value)
{
    Wnd* control = dx.PrepareCtrl(id);
    if (!control)
        return;
    if (dx.m_bSaveAndValidate)
        value = -1;
    int index = 0;
    for (Wnd* member : GetDialogGroup(*control)) {
        if (!IsRadioControl(member))
            continue;
        if (dx.m_bSaveAndValidate) {
            if (member->SendMessage(BM_GETCHECK) == BST_CHECKED && value == -1)
                value = index;
        } else {
            member->SendMessage(BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED);
        }
        ++index;
    }
}

namespace {

void ExchangeIndex(DataExchange& dx, int id, int& index, UINT getMessage, UINT setMessage)
{
    Wnd* control = dx.PrepareCtrl(id);
    if (!control)
        return;
    if (dx.m_bSaveAndValidate)
        index = static_cast<int>(control->SendMessage(getMessage));
    else
        control->SendMessage(setMessage, static_cast<WPARAM>(index));
}

} // namespace

void DDX_LBIndex(DataExchange& dx, int id, int& index) { ExchangeIndex(dx, id, index, LB_GETCURSEL, LB_SETCURSEL); }

void DDX_CBIndex(DataExchange& dx, int id, int& index) { ExchangeIndex(dx, id, index, CB_GETCURSEL, CB_SETCURSEL); }

void DDX_Control(DataExchange& dx, int id, Wnd& control)
{
    if (!control.IsWindow())
        control.SubclassDlgItem(static_cast<UINT>(id), &dx.GetDialog());
}

void DDV_MinMaxInt(DataExchange& dx, int value, int minValue, int maxValue)
{
    DDV_MinMaxLong(dx, value, minValue, maxValue);
}

void DDV_MinMaxLong(DataExchange& dx, long value, long minValue, long maxValue)
{
    if (dx.m_bSaveAndValidate && (value < minValue || value > maxValue))
        Complain(dx, std::to_string(minValue) + " から " + std::to_string(maxValue) + " までの整数を入力してください。");
}

void DDV_MinMaxDouble(DataExchange& dx, double value, double minValue, double maxValue)
{
    if (dx.m_bSaveAndValidate && (value < minValue || value > maxValue)) {
        char text[160];
        std::snprintf(text, sizeof text, "%.*g から %.*g までの数値を入力してください。", DBL_DIG, minValue, DBL_DIG, maxValue);
        Complain(dx, text);
    }
}

void DDV_MaxChars(DataExchange& dx, const std::string& value, int maxChars)
{
    if (!dx.m_bSaveAndValidate)
        return;
    int count = 0;
    for (unsigned char c : value)
        count += (c & 0xC0) != 0x80;
    if (count > maxChars)
        Complain(dx, std::to_string(maxChars) + " 文字以内で入力してください。");
}

} // namespace plat
