// A number edit that shows and reads its value by a measure rule (HixMrm): the value is in
// metres, the text in the rule's unit, rounded by its rule to the edit's decimals.
//
// Number attributes (SetNumAttr/GetNumAttr):
//   integer attribute  non-zero: negative values may be entered
//   figure attribute   low byte: decimals; high byte: digits before the point (0: no limit);
//                      0 as a whole: the measure's own decimals, no digit limit
#pragma once

#include "components/support/HixMrm.h"
#include "components/support/LunNumEdit.h"

class LunMrmNumEdit : public LunNumEdit {
public:
    explicit LunMrmNumEdit(int mode = 5);

    // A null measure keeps the current one.
    void SetNumAttr(const HixMrm* measure, int integerAttr, unsigned short figureAttr);
    // Fills what is asked for; the measure's figure is the edit's decimals.
    void GetNumAttr(HixMrm* measure, int* integerAttr, unsigned short* figureAttr) const;

    void TextOfValue(double value, std::string& text) const override;
    [[nodiscard]] bool ValueOfText(std::string_view text, double& value) const override;

private:
    HixMrm m_measure;
    int m_integerAttr = 1;
    unsigned short m_figureAttr = 0;
};
