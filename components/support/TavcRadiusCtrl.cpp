// The radius input: its parts, and the radius as data and as text.
#include "components/support/TavcRadiusCtrl.h"

#include "components/support/HixNumber.h"
#include "platform/ui/Gdi.h"

namespace {

constexpr std::string_view kRight = "右";
constexpr std::string_view kLeft = "左";
constexpr std::string_view kSmallArc = "小";

} // namespace

TavcRadiusCtrl::TavcRadiusCtrl() { m_edit.SetFractionFigure(3); }

BEGIN_MESSAGE_MAP(TavcRadiusCtrl, plat::Wnd)
    ON_MESSAGE(plat::WM_SIZE, OnSize)
    ON_MESSAGE(plat::WM_KEYDOWN, OnKeyDown)
    ON_MESSAGE(plat::WM_CHAR, OnChar)
END_MESSAGE_MAP()

plat::BOOL TavcRadiusCtrl::Create(plat::DWORD style, const plat::RECT& rect, plat::Wnd* parent, plat::UINT id)
{
    if (!plat::Wnd::Create("TavcRadiusCtrl", "", style, rect, parent, id))
        return FALSE;
    const plat::DWORD child = plat::WS_CHILD | plat::WS_VISIBLE | plat::WS_TABSTOP;
    // The parts keep what was set before the window existed.
    const std::string text = m_edit.GetWindowText();
    const int right = m_right.GetCheck();
    const int small = m_small.GetCheck();
    const plat::RECT none{};
    if (!m_edit.Create(child | plat::ES_RIGHT | plat::ES_AUTOHSCROLL, none, this, kEditId) ||
        !m_right.Create(kRight, child | plat::BS_AUTOCHECKBOX, none, this, kRightId) ||
        !m_small.Create(kSmallArc, child | plat::BS_AUTOCHECKBOX, none, this, kSmallId)) {
        DestroyWindow();
        return FALSE;
    }
    m_edit.SetWindowText(text);
    m_right.SetCheck(right);
    m_small.SetCheck(small);
    Layout();
    return TRUE;
}

void TavcRadiusCtrl::Layout()
{
    if (!m_edit.IsWindow())
        return;
    plat::RECT client;
    GetClientRect(&client);
    const plat::LONG width = client.Width();
    const plat::LONG height = client.Height();
    // One check box part, "[ ] 右": the box and a blank, then its wide character; the radius
    // field keeps at least six characters before the check boxes are shown.
    const plat::LOGFONTA font = plat::WindowLogFont(*this);
    const plat::TextMeasure& measure = plat::GetTextMeasure();
    const plat::LONG average = measure.AverageWidth(font);
    const plat::LONG checkWidth = 4 * average + measure.Width(font, kRight);
    const plat::LONG minEditWidth = 6 * average;
    const bool checks = width >= minEditWidth + 2 * checkWidth;
    const plat::LONG editWidth = checks ? width - 2 * checkWidth : width;
    m_edit.MoveWindow(0, 0, editWidth, height);
    m_right.MoveWindow(editWidth, 0, checkWidth, height);
    m_small.MoveWindow(editWidth + checkWidth, 0, checkWidth, height);
    m_right.ShowWindow(checks ? plat::SW_SHOW : plat::SW_HIDE);
    m_small.ShowWindow(checks ? plat::SW_SHOW : plat::SW_HIDE);
}

plat::LRESULT TavcRadiusCtrl::OnSize(plat::WPARAM, plat::LPARAM)
{
    Layout();
    return 0;
}

plat::LRESULT TavcRadiusCtrl::OnKeyDown(plat::WPARAM wParam, plat::LPARAM lParam)
{
    return m_edit.IsWindow() ? m_edit.SendMessage(plat::WM_KEYDOWN, wParam, lParam) : 0;
}

plat::LRESULT TavcRadiusCtrl::OnChar(plat::WPARAM wParam, plat::LPARAM lParam)
{
    const auto typed = static_cast<char32_t>(wParam);
    auto check = [](plat::Button& box, bool on) { box.SetCheck(on ? plat::BST_CHECKED : plat::BST_UNCHECKED); };
    switch (typed) {
    case U'R': case U'r': case U'右': check(m_right, true); break;
    case U'L': case U'l': case U'左': check(m_right, false); break;
    case U'S': case U's': case U'小': check(m_small, m_small.GetCheck() != static_cast<int>(plat::BST_CHECKED)); break;
    default: return m_edit.IsWindow() ? m_edit.SendMessage(plat::WM_CHAR, wParam, lParam) : 0;
    }
    m_badText = false;
    Invalidate(FALSE);
    return 0;
}

void TavcRadiusCtrl::SetData(const HixRadius& radius)
{
    m_edit.Set(radius.GetR());
    m_right.SetCheck(radius.GetRight() ? plat::BST_CHECKED : plat::BST_UNCHECKED);
    m_small.SetCheck(radius.GetSmall() ? plat::BST_CHECKED : plat::BST_UNCHECKED);
    m_badText = false;
}

plat::BOOL TavcRadiusCtrl::GetData(HixRadius& radius) const
{
    if (!IsDataOK())
        return FALSE;
    radius.SetR(m_edit.Get());
    radius.SetRight(m_right.GetCheck() == static_cast<int>(plat::BST_CHECKED) ? TRUE : FALSE);
    radius.SetSmall(m_small.GetCheck() == static_cast<int>(plat::BST_CHECKED) ? TRUE : FALSE);
    return TRUE;
}

void TavcRadiusCtrl::SetText(std::string_view text)
{
    text = HixTrim(text);
    bool right = false;
    bool small = false;
    m_badText = false;
    std::string_view number;
    // Parts separated by blanks of either width; the first that is no mark is the radius.
    for (std::string_view rest = text; !rest.empty();) {
        const std::string_view part = rest.substr(0, HixFindBlank(rest));
        rest = HixTrim(rest.substr(part.size()));
        if (part == kRight || part == "R" || part == "r")
            right = true;
        else if (part == kLeft || part == "L" || part == "l")
            right = false;
        else if (part == kSmallArc || part == "S" || part == "s")
            small = true;
        else if (number.empty())
            number = part;
        else
            m_badText = true;
    }
    // A side or an arc without a radius is not a radius.
    if (number.empty() && !text.empty())
        m_badText = true;
    m_edit.SetWindowText(number);
    m_right.SetCheck(right ? plat::BST_CHECKED : plat::BST_UNCHECKED);
    m_small.SetCheck(small ? plat::BST_CHECKED : plat::BST_UNCHECKED);
}

void TavcRadiusCtrl::GetText(std::string& text) const
{
    HixRadius radius{m_edit.Get()};
    radius.SetRight(m_right.GetCheck() == static_cast<int>(plat::BST_CHECKED) ? TRUE : FALSE);
    radius.SetSmall(m_small.GetCheck() == static_cast<int>(plat::BST_CHECKED) ? TRUE : FALSE);
    FormatText(radius, text);
}

void TavcRadiusCtrl::FormatText(const HixRadius& radius, std::string& text) const
{
    text.clear();
    const HixReal r = radius.GetR();
    if (r.IsShoki())
        return;
    m_edit.TextOfValue(r, text);
    text += ' ';
    text += radius.GetRight() ? kRight : kLeft;
    if (radius.GetSmall()) {
        text += ' ';
        text += kSmallArc;
    }
}

plat::BOOL TavcRadiusCtrl::IsDataOK() const
{
    if (m_badText)
        return FALSE;
    if (m_edit.IsEmpty())
        return TRUE;
    const HixReal r = m_edit.Get();
    return !r.IsShoki() && r.Get() > 0.0 ? TRUE : FALSE;
}
