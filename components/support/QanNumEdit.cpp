// The number edit: value and text, decimals, and the characters typing may add.
#include "components/support/QanNumEdit.h"

#include "components/support/HixNumber.h"

#include <cmath>

QanNumEdit::QanNumEdit() { UpdateLimit(); }

HixReal QanNumEdit::Get() const
{
    double value = 0;
    const std::string text = GetWindowText();
    const std::string_view trimmed = HixTrim(text);
    if (trimmed.empty() || !ValueOfText(trimmed, value))
        return HixReal();
    return HixReal(value);
}

void QanNumEdit::Set(const HixReal& value)
{
    std::string text;
    if (!value.IsShoki())
        TextOfValue(value, text);
    SetWindowText(text);
}

void QanNumEdit::SetFractionFigure(int figure)
{
    m_fractionFigure = figure < 0 ? 0 : (figure > 15 ? 15 : figure);
    UpdateLimit();
}

void QanNumEdit::SetIntegerFigure(int figure)
{
    m_integerFigure = figure < 0 ? 0 : (figure > 17 ? 17 : figure);
    UpdateLimit();
}

void QanNumEdit::SetSigned(bool allowed)
{
    m_signed = allowed;
    UpdateLimit();
}

unsigned QanNumEdit::GetLimitAttr() const noexcept
{
    const int integer = m_integerFigure > 0 ? m_integerFigure : 17;
    return static_cast<unsigned>((m_signed ? 1 : 0) + integer + (m_fractionFigure > 0 ? m_fractionFigure + 1 : 0));
}

bool QanNumEdit::FitsFigures(double value) const noexcept
{
    if (!std::isfinite(value) || (value < 0 && !m_signed))
        return false;
    // 17 figures is as many as a double holds, which is what 0 ("no limit") stands for.
    const int figures = m_integerFigure > 0 ? m_integerFigure : 17;
    return std::fabs(value) < std::pow(10.0, figures);
}

void QanNumEdit::UpdateLimit() { SetLimitText(TextLimit()); }

void QanNumEdit::TextOfValue(double value, std::string& text) const
{
    char buffer[kHixNumberBuffer];
    text.assign(buffer, HixWritePrintf(value, m_fractionFigure, buffer));
}

bool QanNumEdit::ValueOfText(std::string_view text, double& value) const { return HixScanNumber(text, value); }

bool QanNumEdit::AcceptsChar(char32_t ch) const
{
    return (ch >= U'0' && ch <= U'9') || ch == U'+' || (ch == U'-' && m_signed) || (ch == U'.' && m_fractionFigure > 0);
}

plat::LRESULT QanNumEdit::WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam)
{
    // Control characters (backspace) keep their editing meaning.
    if (message == plat::WM_CHAR && wParam >= 0x20 && !AcceptsChar(static_cast<char32_t>(wParam)))
        return 0;
    return QanEdit::WindowProc(message, wParam, lParam);
}
