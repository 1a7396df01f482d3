// A text edit limited to a number of characters of the narrow code page, the bytes a text
// cell holds before its terminator: a 20-character item stores 21 bytes.
#pragma once

#include "components/support/QanEdit.h"

class QanLimitEdit : public QanEdit {
public:
    explicit QanLimitEdit(unsigned limit);

    // The character limit (narrow code page bytes).
    [[nodiscard]] unsigned GetLimitAttr() const noexcept { return m_limit; }
    void SetLimitAttr(unsigned limit);

private:
    unsigned m_limit;
};
