// The standard controls' behaviour: what each message and each user action does to the
// model, and what the parent is told.
#include "platform/ui/Controls.h"

#include "platform/ui/ControlFrame.h"

#include "platform/text/CodePage.h"
#include "platform/text/DisplayWidth.h"
#include "platform/text/NameCompare.h"
#include "platform/text/Utf8.h"
#include "platform/ui/App.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/ListView.h"

#include <algorithm>
#include <map>
#include <utility>

namespace plat {

namespace {

std::map<std::string, WindowFactory>& Factories()
{
    static std::map<std::string, WindowFactory> factories = [] {
        std::map<std::string, WindowFactory> builtIn;
        builtIn[FoldCase(kStaticClass)] = [] { return std::make_unique<Static>(); };
        builtIn[FoldCase(kButtonClass)] = [] { return std::make_unique<Button>(); };
        builtIn[FoldCase(kEditClass)] = [] { return std::make_unique<Edit>(); };
        builtIn[FoldCase(kComboBoxClass)] = [] { return std::make_unique<ComboBox>(); };
        builtIn[FoldCase(kListBoxClass)] = [] { return std::make_unique<ListBox>(); };
        builtIn[FoldCase(kListViewClass)] = [] { return std::make_unique<ListView>(); };
        builtIn[FoldCase(kProgressClass)] = [] { return std::make_unique<ProgressCtrl>(); };
        return builtIn;
    }();
    return factories;
}

// Byte offset of a character index in a UTF-8 text (the end when past it).
std::size_t ByteOffset(std::string_view text, int index)
{
    std::size_t pos = 0;
    for (int i = 0; i < index && pos < text.size(); ++i)
        DecodeUtf8(text, pos);
    return pos;
}

int CharCount(std::string_view text)
{
    int count = 0;
    for (std::size_t pos = 0; pos < text.size(); ++count)
        DecodeUtf8(text, pos);
    return count;
}

std::size_t NarrowSize(std::string_view text)
{
    TextConversion narrow = Utf8ToNarrow(text);
    return narrow.ok() ? narrow.text.size() : text.size();
}

const char* TextParam(LPARAM lParam) { return lParam ? reinterpret_cast<const char*>(lParam) : ""; }

int SortedPosition(const std::vector<ListEntry>& items, std::string_view text)
{
    auto at = std::upper_bound(items.begin(), items.end(), text, [](std::string_view t, const ListEntry& e) {
        return CompareNoCase(t, e.text) < 0;
    });
    return static_cast<int>(at - items.begin());
}

} // namespace

void RegisterWindowClass(std::string_view className, WindowFactory factory)
{
    Factories()[FoldCase(className)] = std::move(factory);
}

std::unique_ptr<Wnd> CreateWindowObject(std::string_view className)
{
    auto it = Factories().find(FoldCase(className));
    return it == Factories().end() ? nullptr : it->second();
}

// ---- Static ----

BOOL Static::Create(std::string_view text, DWORD style, const RECT& rect, Wnd* parent, UINT id)
{
    return Wnd::Create(kStaticClass, text, style, rect, parent, id);
}

LRESULT Static::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_GETDLGCODE ? DLGC_STATIC : Wnd::WindowProc(message, wParam, lParam);
}

// ---- Button ----

BOOL Button::Create(std::string_view text, DWORD style, const RECT& rect, Wnd* parent, UINT id)
{
    return Wnd::Create(kButtonClass, text, style, rect, parent, id);
}

bool Button::IsPushButton() const noexcept
{
    const UINT type = GetButtonStyle();
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool Button::IsRadio() const noexcept
{
    const UINT type = GetButtonStyle();
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

void Button::SetButtonStyle(UINT style, BOOL redraw)
{
    ModifyStyle(BS_TYPEMASK, style & BS_TYPEMASK);
    if (redraw)
        Invalidate();
}

void Button::SetCheck(int check)
{
    if (check == m_check)
        return;
    m_check = check;
    Invalidate(FALSE);
}

std::vector<Wnd*> GetDialogGroup(const Wnd& member)
{
    Wnd* parent = member.GetParent();
    if (!parent)
        return {const_cast<Wnd*>(&member)};
    const auto& siblings = parent->GetChildren();
    auto at = std::find(siblings.begin(), siblings.end(), &member);
    auto first = at;
    while (first != siblings.begin() && !((*first)->GetStyle() & WS_GROUP))
        --first;
    std::vector<Wnd*> group{*first};
    for (auto it = first + 1; it != siblings.end() && !((*it)->GetStyle() & WS_GROUP); ++it)
        group.push_back(*it);
    return group;
}

void Button::Click()
{
    if (!IsWindowEnabled())
        return;
    switch (GetButtonStyle()) {
    case BS_AUTOCHECKBOX:
        SetCheck(m_check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        break;
    case BS_AUTO3STATE:
        SetCheck((m_check + 1) % 3);
        break;
    case BS_AUTORADIOBUTTON:
        for (Wnd* other : GetDialogGroup(*this))
            if (auto* radio = dynamic_cast<Button*>(other); radio && radio != this && radio->IsRadio())
                radio->SetCheck(BST_UNCHECKED);
        SetCheck(BST_CHECKED);
        break;
    case BS_GROUPBOX:
        return;
    default:
        break;
    }
    NotifyParent(BN_CLICKED);
}

LRESULT Button::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        if (GetButtonStyle() != BS_GROUPBOX && IsWindowEnabled())
            SetFocus();
        return 0;
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        // The down half already landed here; a release on the button clicks it.
        Click();
        return 0;
    case WM_KEYDOWN:
        if (static_cast<int>(wParam) == VK_SPACE) {
            Click();
            return 0;
        }
        break;
    case WM_CHAR:
        // A terminal sends a typed space as a character, with no key of its own.
        if (wParam == static_cast<WPARAM>(' ')) {
            Click();
            return 0;
        }
        break;
    case BM_GETCHECK:
        return m_check;
    case BM_SETCHECK:
        SetCheck(static_cast<int>(wParam));
        return 0;
    case BM_CLICK:
        Click();
        return 0;
    case BM_SETSTYLE:
        SetButtonStyle(static_cast<UINT>(wParam), static_cast<BOOL>(lParam));
        return 0;
    case WM_GETDLGCODE:
        if (IsPushButton())
            return DLGC_BUTTON | (GetButtonStyle() == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        if (IsRadio())
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        return GetButtonStyle() == BS_GROUPBOX ? DLGC_STATIC : DLGC_BUTTON;
    default:
        break;
    }
    return Wnd::WindowProc(message, wParam, lParam);
}

// ---- Edit ----

BOOL Edit::Create(DWORD style, const RECT& rect, Wnd* parent, UINT id)
{
    return Wnd::Create(kEditClass, "", style, rect, parent, id);
}

int Edit::Length() const { return CharCount(GetWindowText()); }

void Edit::SetSel(int start, int end)
{
    const int length = Length();
    if (start < 0) {
        m_selStart = m_selEnd;
        return;
    }
    if (end < 0 || end > length)
        end = length;
    start = std::min(start, length);
    m_selStart = std::min(start, end);
    m_selEnd = std::max(start, end);
    Invalidate(FALSE);
}

void Edit::GetSel(int& start, int& end) const noexcept
{
    start = m_selStart;
    end = m_selEnd;
}

bool Edit::ReplaceSel(std::string_view text)
{
    const std::string current = GetWindowText();
    const std::size_t from = ByteOffset(current, m_selStart);
    const std::size_t to = ByteOffset(current, m_selEnd);
    std::string result = current.substr(0, from);
    result += text;
    result += current.substr(to);
    if (NarrowSize(result) > m_limit) {
        NotifyParent(EN_MAXTEXT);
        return false;
    }
    Wnd::DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(result.c_str()));
    m_selStart = m_selEnd = m_selStart + CharCount(text);
    Invalidate(FALSE);
    NotifyParent(EN_CHANGE);
    return true;
}

void Edit::DeleteRange(int start, int end)
{
    const std::string current = GetWindowText();
    std::string result = current.substr(0, ByteOffset(current, start));
    result += current.substr(ByteOffset(current, end));
    Wnd::DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(result.c_str()));
    m_selStart = m_selEnd = start;
    Invalidate(FALSE);
    NotifyParent(EN_CHANGE);
}

bool Edit::TakesComposedText() const noexcept { return (GetStyle() & ES_NUMBER) == 0; }

void Edit::SetReadOnly(bool readOnly) { ModifyStyle(readOnly ? 0 : ES_READONLY, readOnly ? ES_READONLY : 0); }

LRESULT Edit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KILLFOCUS: {
        // A dialog takes what was typed into a field once the person leaves it.
        const LRESULT result = Wnd::WindowProc(message, wParam, lParam);
        if (plat::IsWindow(this))
            NotifyParent(EN_KILLFOCUS);
        return result;
    }
    case WM_SETTEXT:
        Wnd::DefWindowProc(message, wParam, lParam);
        m_selStart = m_selEnd = 0;
        Invalidate(FALSE);
        NotifyParent(EN_CHANGE);
        return TRUE;
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_REQUEST:
        return OnComposition(message, wParam, lParam);
    case WM_CHAR: {
        if (IsReadOnly())
            return 0;
        const auto ch = static_cast<char32_t>(wParam);
        if (ch == static_cast<char32_t>(VK_BACK)) {
            if (m_selStart != m_selEnd)
                DeleteRange(m_selStart, m_selEnd);
            else if (m_selStart > 0)
                DeleteRange(m_selStart - 1, m_selStart);
            return 0;
        }
        if (ch < 0x20)
            return 0;
        std::string typed;
        AppendUtf8(typed, ch);
        ReplaceSel(typed);
        return 0;
    }
    case WM_KEYDOWN: {
        const int length = Length();
        const bool extend = GetKeyState(VK_SHIFT) < 0;
        int caret = m_selEnd;
        switch (static_cast<int>(wParam)) {
        case VK_LEFT: caret = std::max(0, (m_selStart != m_selEnd && !extend) ? m_selStart : caret - 1); break;
        case VK_RIGHT: caret = std::min(length, (m_selStart != m_selEnd && !extend) ? m_selEnd : caret + 1); break;
        case VK_HOME: caret = 0; break;
        case VK_END: caret = length; break;
        case VK_DELETE:
            if (IsReadOnly())
                return 0;
            if (m_selStart != m_selEnd)
                DeleteRange(m_selStart, m_selEnd);
            else if (m_selEnd < length)
                DeleteRange(m_selEnd, m_selEnd + 1);
            return 0;
        default:
            return Wnd::WindowProc(message, wParam, lParam);
        }
        if (extend) {
            const int anchor = m_selStart == m_selEnd || caret >= m_selStart ? m_selStart : m_selEnd;
            m_selStart = std::min(anchor, caret);
            m_selEnd = std::max(anchor, caret);
        } else {
            m_selStart = m_selEnd = caret;
        }
        Invalidate(FALSE);
        return 0;
    }
    case WM_LBUTTONDOWN: {
        // The caret goes before the character clicked, as the edit showed it before the click.
        const int index = CharacterFromX(static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lParam))));
        SetFocus();
        m_selStart = m_selEnd = index;
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL | ((GetStyle() & ES_MULTILINE) ? DLGC_WANTALLKEYS : 0);
    case EM_SETSEL:
        SetSel(static_cast<int>(static_cast<std::intptr_t>(wParam)), static_cast<int>(lParam));
        return 0;
    case EM_GETSEL:
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(m_selStart);
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(m_selEnd);
        return MAKELPARAM(static_cast<WORD>(m_selStart), static_cast<WORD>(m_selEnd));
    case EM_REPLACESEL:
        ReplaceSel(TextParam(lParam));
        return 0;
    case EM_LIMITTEXT:
        SetLimitText(static_cast<UINT>(wParam));
        return 0;
    case EM_GETLIMITTEXT:
        return m_limit;
    case EM_SETREADONLY:
        SetReadOnly(wParam != 0);
        return TRUE;
    default:
        break;
    }
    return Wnd::WindowProc(message, wParam, lParam);
}

// ---- ListControl ----

int ListControl::AddString(std::string_view text)
{
    const int at = (GetStyle() & m_sortStyle) ? SortedPosition(m_items, text) : GetCount();
    return InsertString(at, text);
}

int ListControl::InsertString(int index, std::string_view text)
{
    if (index < 0 || index > GetCount())
        index = GetCount();
    m_items.insert(m_items.begin() + index, ListEntry{std::string(text), 0});
    if (m_curSel >= index)
        ++m_curSel;
    Invalidate(FALSE);
    return index;
}

int ListControl::DeleteString(int index)
{
    if (!HasEntry(index))
        return kNoEntry;
    m_items.erase(m_items.begin() + index);
    if (m_curSel == index)
        SetCurSel(kNoEntry);
    else if (m_curSel > index)
        --m_curSel;
    OnEntriesRemoved();
    Invalidate(FALSE);
    return GetCount();
}

void ListControl::ResetContent()
{
    m_items.clear();
    SetCurSel(kNoEntry);
    OnEntriesRemoved();
}

int ListControl::SetCurSel(int index)
{
    m_curSel = HasEntry(index) ? index : kNoEntry;
    OnSelectionSet();
    Invalidate(FALSE);
    return m_curSel == index ? index : kNoEntry;
}

std::string ListControl::EntryText(int index) const
{
    return HasEntry(index) ? m_items[static_cast<std::size_t>(index)].text : std::string();
}

int ListControl::EntryTextLength(int index) const
{
    return HasEntry(index) ? static_cast<int>(m_items[static_cast<std::size_t>(index)].text.size()) : kNoEntry;
}

LRESULT ListControl::CopyEntryText(int index, LPARAM lParam) const
{
    if (!HasEntry(index))
        return kNoEntry;
    if (lParam)
        *reinterpret_cast<std::string*>(lParam) = EntryText(index);
    return EntryTextLength(index);
}

int ListControl::SetItemData(int index, std::uintptr_t data)
{
    if (!HasEntry(index))
        return kNoEntry;
    m_items[static_cast<std::size_t>(index)].data = data;
    return 0;
}

std::uintptr_t ListControl::GetItemData(int index) const
{
    return HasEntry(index) ? m_items[static_cast<std::size_t>(index)].data : static_cast<std::uintptr_t>(kNoEntry);
}

int ListControl::FindStringExact(int startAfter, std::string_view text) const
{
    const int count = GetCount();
    const int first = startAfter < 0 || startAfter >= count ? 0 : startAfter + 1;
    for (int n = 0; n < count; ++n) {
        const int i = (first + n) % count;
        if (EqualNoCase(m_items[static_cast<std::size_t>(i)].text, text))
            return i;
    }
    return kNoEntry;
}

bool ListControl::MoveSelectionByKey(int key)
{
    switch (key) {
    case VK_UP: UserSelect(m_curSel <= 0 ? 0 : m_curSel - 1); return true;
    case VK_DOWN: UserSelect(m_curSel < 0 ? 0 : std::min(m_curSel + 1, GetCount() - 1)); return true;
    case VK_HOME: UserSelect(0); return true;
    case VK_END: UserSelect(GetCount() - 1); return true;
    default: return false;
    }
}

// ---- ComboBox ----

BOOL ComboBox::Create(DWORD style, const RECT& rect, Wnd* parent, UINT id)
{
    return Wnd::Create(kComboBoxClass, "", style, rect, parent, id);
}

void ComboBox::OnSelectionSet()
{
    const std::string text = EntryText(GetCurSel());
    Wnd::DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ComboBox::ShowDropDown(bool show)
{
    if (show == m_dropped)
        return;
    m_dropped = show;
    if (show)
        m_selBeforeDrop = GetCurSel();
    Invalidate(FALSE);
}

void ComboBox::UserSelect(int index)
{
    if (!HasEntry(index) || index == GetCurSel())
        return;
    SetCurSel(index);
    NotifyParent(CBN_SELCHANGE);
}

LRESULT ComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    switch (message) {
    case CB_ADDSTRING: return AddString(TextParam(lParam));
    case CB_INSERTSTRING: return InsertString(index, TextParam(lParam));
    case CB_DELETESTRING: return DeleteString(index);
    case CB_RESETCONTENT: ResetContent(); return CB_OKAY;
    case CB_GETCOUNT: return GetCount();
    case CB_GETCURSEL: return GetCurSel();
    case CB_SETCURSEL: return SetCurSel(index);
    case CB_GETLBTEXT: return CopyEntryText(index, lParam);
    case CB_GETLBTEXTLEN: return GetLBTextLen(index);
    case CB_SETITEMDATA: return SetItemData(index, static_cast<std::uintptr_t>(lParam));
    case CB_GETITEMDATA: return static_cast<LRESULT>(GetItemData(index));
    case CB_FINDSTRINGEXACT: return FindStringExact(index, TextParam(lParam));
    case CB_SHOWDROPDOWN: ShowDropDown(wParam != 0); return TRUE;
    case CB_GETDROPPEDSTATE: return m_dropped ? TRUE : FALSE;
    case WM_LBUTTONDOWN:
        SetFocus();
        ShowDropDown(!m_dropped);
        return 0;
    case WM_KILLFOCUS:
        ShowDropDown(false);
        break;
    case WM_KEYDOWN: {
        const int key = static_cast<int>(wParam);
        if (key == VK_F4 || ((key == VK_DOWN || key == VK_UP) && GetKeyState(VK_MENU) < 0)) {
            ShowDropDown(!m_dropped);
            return 0;
        }
        if (m_dropped && key == VK_RETURN) {
            ShowDropDown(false);
            return 0;
        }
        if (m_dropped && key == VK_ESCAPE) {
            ShowDropDown(false);
            if (m_selBeforeDrop != CB_ERR)
                UserSelect(m_selBeforeDrop);
            return 0;
        }
        if (MoveSelectionByKey(key))
            return 0;
        break;
    }
    case WM_CHAR: {
        if (IsDropDownList())
            return 0;
        const auto ch = static_cast<char32_t>(wParam);
        std::string text = GetWindowText();
        if (ch == static_cast<char32_t>(VK_BACK)) {
            if (text.empty())
                return 0;
            std::size_t pos = 0, last = 0;
            while (pos < text.size()) {
                last = pos;
                DecodeUtf8(text, pos);
            }
            text.resize(last);
        } else if (ch >= 0x20) {
            AppendUtf8(text, ch);
        } else {
            return 0;
        }
        Wnd::DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        NotifyParent(CBN_EDITCHANGE);
        return 0;
    }
    case WM_GETDLGCODE:
        // An open list keeps Return and Escape, which close it, from the dialog.
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (m_dropped ? DLGC_WANTALLKEYS : 0);
    default:
        break;
    }
    return Wnd::WindowProc(message, wParam, lParam);
}

// ---- ListBox ----

BOOL ListBox::Create(DWORD style, const RECT& rect, Wnd* parent, UINT id)
{
    return Wnd::Create(kListBoxClass, "", style, rect, parent, id);
}

void ListBox::OnSelectionSet()
{
    if (GetCurSel() != LB_ERR)
        EnsureVisible(GetCurSel());
}

void ListBox::OnEntriesRemoved() { m_topIndex = std::max(0, std::min(m_topIndex, GetCount() - 1)); }

void ListBox::EnsureVisible(int index) noexcept
{
    const RECT interior = ControlInterior(*this);
    const int rows = std::max(1, static_cast<int>(interior.Height()) / GetTextMeasure().LineHeight(WindowLogFont(*this)));
    if (index < m_topIndex)
        m_topIndex = index;
    else if (index >= m_topIndex + rows)
        m_topIndex = index - rows + 1;
}

int ListBox::ItemFromPoint(POINT clientPoint) const noexcept
{
    const RECT interior = ControlInterior(*this);
    if (!interior.Contains(clientPoint))
        return LB_ERR; // the frame
    const int index = m_topIndex + static_cast<int>(clientPoint.y - interior.top) / GetTextMeasure().LineHeight(WindowLogFont(*this));
    return index < GetCount() ? index : LB_ERR;
}

RECT ListBox::GetItemRect(int index) const
{
    const RECT interior = ControlInterior(*this);
    const int line = GetTextMeasure().LineHeight(WindowLogFont(*this));
    const LONG top = interior.top + static_cast<LONG>(index - m_topIndex) * line;
    return RECT{interior.left, top, interior.right, top + line};
}

void ListBox::UserSelect(int index)
{
    if (!HasEntry(index))
        return;
    const bool changed = index != GetCurSel();
    SetCurSel(index);
    if (changed && (GetStyle() & LBS_NOTIFY))
        NotifyParent(LBN_SELCHANGE);
}

void ListBox::UserDoubleClick(int index)
{
    UserSelect(index);
    if (HasEntry(index) && (GetStyle() & LBS_NOTIFY))
        NotifyParent(LBN_DBLCLK);
}

LRESULT ListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    const POINT point{static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lParam))),
                      static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam)))};
    switch (message) {
    case LB_ADDSTRING: return AddString(TextParam(lParam));
    case LB_INSERTSTRING: return InsertString(index, TextParam(lParam));
    case LB_DELETESTRING: return DeleteString(index);
    case LB_RESETCONTENT: ResetContent(); return LB_OKAY;
    case LB_GETCOUNT: return GetCount();
    case LB_GETCURSEL: return GetCurSel();
    case LB_SETCURSEL: return SetCurSel(index);
    case LB_GETTEXT: return CopyEntryText(index, lParam);
    case LB_GETTEXTLEN: return GetTextLen(index);
    case LB_SETITEMDATA: return SetItemData(index, static_cast<std::uintptr_t>(lParam));
    case LB_GETITEMDATA: return static_cast<LRESULT>(GetItemData(index));
    case LB_FINDSTRINGEXACT: return FindStringExact(index, TextParam(lParam));
    case WM_LBUTTONDOWN:
        SetFocus();
        UserSelect(ItemFromPoint(point));
        return 0;
    case WM_LBUTTONDBLCLK:
        if (const int hit = ItemFromPoint(point); hit != LB_ERR)
            UserDoubleClick(hit);
        return 0;
    case WM_KEYDOWN:
        if (MoveSelectionByKey(static_cast<int>(wParam)))
            return 0;
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
        break;
    }
    return Wnd::WindowProc(message, wParam, lParam);
}

// ---- ProgressCtrl ----

BOOL ProgressCtrl::Create(DWORD style, const RECT& rect, Wnd* parent, UINT id)
{
    return Wnd::Create(kProgressClass, "", style, rect, parent, id);
}

void ProgressCtrl::SetRange(int low, int high)
{
    m_low = low;
    m_high = high;
    m_pos = std::clamp(m_pos, std::min(low, high), std::max(low, high));
    Invalidate(FALSE);
}

void ProgressCtrl::GetRange(int& low, int& high) const noexcept
{
    low = m_low;
    high = m_high;
}

int ProgressCtrl::SetPos(int position)
{
    const int old = m_pos;
    m_pos = std::clamp(position, std::min(m_low, m_high), std::max(m_low, m_high));
    if (m_pos != old)
        Invalidate(FALSE);
    return old;
}

int ProgressCtrl::SetStep(int step) { return std::exchange(m_step, step); }

int ProgressCtrl::StepIt()
{
    const int old = m_pos;
    const int next = m_pos + m_step;
    SetPos(next > std::max(m_low, m_high) ? m_low + (next - std::max(m_low, m_high)) : next);
    return old;
}

LRESULT ProgressCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case PBM_SETPOS: return SetPos(static_cast<int>(wParam));
    case PBM_DELTAPOS: return SetPos(m_pos + static_cast<int>(wParam));
    case PBM_SETSTEP: return SetStep(static_cast<int>(wParam));
    case PBM_STEPIT: return StepIt();
    case PBM_SETRANGE32: {
        const int old = MAKELPARAM(static_cast<WORD>(m_low), static_cast<WORD>(m_high));
        SetRange(static_cast<int>(wParam), static_cast<int>(lParam));
        return old;
    }
    case PBM_GETPOS: return m_pos;
    default: break;
    }
    return Wnd::WindowProc(message, wParam, lParam);
}

} // namespace plat
