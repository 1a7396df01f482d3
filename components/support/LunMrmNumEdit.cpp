// The measure number edit: attributes, and text by the measure rule.
#include "components/support/LunMrmNumEdit.h"

LunMrmNumEdit::LunMrmNumEdit(int mode) : LunNumEdit(mode) { SetNumAttr(nullptr, 1, 0); }

void LunMrmNumEdit::SetNumAttr(const HixMrm* measure, int integerAttr, unsigned short figureAttr)
{
    if (measure != nullptr)
        m_measure = *measure;
    m_integerAttr = integerAttr;
    m_figureAttr = figureAttr;
    const int decimals = figureAttr == 0 ? m_measure.GetFigure() : (figureAttr & 0xFF);
    SetFigure(integerAttr, figureAttr >> 8, decimals);
    m_measure.SetFigure(FractionFigure());
}

void LunMrmNumEdit::GetNumAttr(HixMrm* measure, int* integerAttr, unsigned short* figureAttr) const
{
    if (measure != nullptr)
        *measure = m_measure;
    if (integerAttr != nullptr)
        *integerAttr = m_integerAttr;
    if (figureAttr != nullptr)
        *figureAttr = m_figureAttr;
}

void LunMrmNumEdit::TextOfValue(double value, std::string& text) const { m_measure.StrDouble(value, -1, text); }

bool LunMrmNumEdit::ValueOfText(std::string_view text, double& value) const
{
    double shown = 0;
    if (!QanNumEdit::ValueOfText(text, shown))
        return false;
    value = m_measure.FromUnit(shown);
    return true;
}
