// An angle edit by an angle rule (HixAngleMrm): the value is in decimal degrees, shown and
// typed in the rule's kind (123°45′06.7″ by default; the suite's 123.45067 is also read).
//
// Number attributes (SetNumAttr/GetNumAttr): the rule and an integer attribute, non-zero
// when negative angles may be entered.
#pragma once

#include "components/support/HixAngleMrm.h"
#include "components/support/LunDMSEdit.h"

class LunMrmDMSEdit : public LunDMSEdit {
public:
    explicit LunMrmDMSEdit(int mode = 5);

    // A null rule keeps the current one.
    void SetNumAttr(const HixAngleMrm* angle, int integerAttr);
    void GetNumAttr(HixAngleMrm* angle, int* integerAttr) const;

    void TextOfValue(double degrees, std::string& text) const override;
    [[nodiscard]] bool ValueOfText(std::string_view text, double& degrees) const override;

protected:
    bool CheckText(std::string_view text, bool complete) const override;
    bool AcceptsChar(char32_t ch) const override;
    // The text holds marks and blanks besides digits: only the platform's limit applies.
    unsigned TextLimit() const override { return 0; }

private:
    HixAngleMrm m_angle;
    int m_integerAttr = 0;
};
