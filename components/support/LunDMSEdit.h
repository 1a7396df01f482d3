// An angle typed as the suite's ddd.mmss number (123.45067 is 123°45′06.7″): a number edit
// whose value is that number itself, valid only when its minutes and seconds are below 60.
// A new edit takes three digits of degrees and five decimals (a tenth of a second).
#pragma once

#include "components/support/LunNumEdit.h"

class LunDMSEdit : public LunNumEdit {
public:
    explicit LunDMSEdit(int mode = 5);

protected:
    bool CheckText(std::string_view text, bool complete) const override;
};
