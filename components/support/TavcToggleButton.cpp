// The toggle button: its texts, the shown index, and the click that moves to the next text.
#include "components/support/TavcToggleButton.h"

TavcToggleButton::TavcToggleButton(std::vector<std::string> texts) { SetTexts(std::move(texts)); }

void TavcToggleButton::SetTexts(std::vector<std::string> texts)
{
    m_texts = std::move(texts);
    SetIndex(m_index);
}

plat::BOOL TavcToggleButton::GetText(int index, std::string& text) const
{
    if (index < 0 || index >= GetCount())
        return FALSE;
    text = m_texts[static_cast<std::size_t>(index)];
    return TRUE;
}

int TavcToggleButton::FindString(std::string_view text) const
{
    for (std::size_t i = 0; i < m_texts.size(); ++i)
        if (m_texts[i] == text)
            return static_cast<int>(i);
    return -1;
}

void TavcToggleButton::SetIndex(int index)
{
    m_index = index >= 0 && index < GetCount() ? index : -1;
    SetWindowText(m_index < 0 ? std::string_view() : std::string_view(m_texts[static_cast<std::size_t>(m_index)]));
}

void TavcToggleButton::Advance()
{
    if (GetCount() > 0)
        SetIndex((m_index + 1) % GetCount());
}

void TavcToggleButton::Click()
{
    // Every way a button is clicked (mouse, Space as a key or as a typed character, BM_CLICK)
    // comes here: the next text shows before the parent hears of it.
    if (IsWindowEnabled())
        Advance();
    plat::Button::Click();
}

plat::LRESULT TavcToggleButton::WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam)
{
    // A toggle holds a value, as a list does: Return on it confirms the dialog through its
    // default button instead of pressing the toggle.
    if (message == plat::WM_GETDLGCODE)
        return plat::DLGC_BUTTON;
    return plat::Button::WindowProc(message, wParam, lParam);
}
