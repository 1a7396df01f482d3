// The plain edit of the suite's controls: a platform edit that can say whether it holds
// anything. Number, limit and checking edits build on it.
#pragma once

#include "platform/ui/Controls.h"

class QanEdit : public plat::Edit {
public:
    // True when the text is empty or only blanks: such a field holds no value.
    [[nodiscard]] bool IsEmpty() const;
};
