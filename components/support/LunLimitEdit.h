// The checking text edit: valid while the text fits its character limit in the narrow code
// page (what the cell stores). A pasted text longer than the limit is refused, not cut.
#pragma once

#include "components/support/LunEdit.h"
#include "components/support/QanLimitEdit.h"

class LunLimitEdit : public LunEditOf<QanLimitEdit> {
public:
    explicit LunLimitEdit(unsigned limit);

protected:
    bool CheckText(std::string_view text, bool complete) const override;
};
