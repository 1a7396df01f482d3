// The angle rule edit: attributes, text by the rule, and the check of a typed angle.
#include "components/support/LunMrmDMSEdit.h"

#include "components/support/HixNumber.h"

LunMrmDMSEdit::LunMrmDMSEdit(int mode) : LunDMSEdit(mode) { SetNumAttr(nullptr, 0); }

void LunMrmDMSEdit::SetNumAttr(const HixAngleMrm* angle, int integerAttr)
{
    if (angle != nullptr)
        m_angle = *angle;
    m_integerAttr = integerAttr;
    SetFigure(integerAttr, 3, m_angle.GetFigure());
}

void LunMrmDMSEdit::GetNumAttr(HixAngleMrm* angle, int* integerAttr) const
{
    if (angle != nullptr)
        *angle = m_angle;
    if (integerAttr != nullptr)
        *integerAttr = m_integerAttr;
}

void LunMrmDMSEdit::TextOfValue(double degrees, std::string& text) const { m_angle.StrDouble(degrees, -1, text); }

bool LunMrmDMSEdit::ValueOfText(std::string_view text, double& degrees) const { return m_angle.ValDouble(text, degrees); }

bool LunMrmDMSEdit::CheckText(std::string_view text, bool complete) const
{
    text = HixTrim(text);
    if (text.empty())
        return true;
    double degrees = 0;
    if (!m_angle.ValDouble(text, degrees))
        return !complete && IsNumberInProgress(text);
    if (degrees < 0 && !SignAllowed())
        return false;
    return BoundsAllow(degrees, complete);
}

bool LunMrmDMSEdit::AcceptsChar(char32_t ch) const
{
    switch (ch) {
    case U' ': case U'°': case U'′': case U'″': case U'\'': case U'"': case U'度': case U'分': case U'秒':
        return true;
    default: return LunDMSEdit::AcceptsChar(ch) || ch == U'.';
    }
}
