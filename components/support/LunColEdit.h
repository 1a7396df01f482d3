// A checking text edit for fixed-width fields (lot numbers, codes printed in columns): valid
// while the text fits a number of screen columns, a wide character taking two, besides the
// byte limit of its cell.
#pragma once

#include "components/support/LunLimitEdit.h"

class LunColEdit : public LunLimitEdit {
public:
    LunColEdit(unsigned limit, int columns) : LunLimitEdit(limit), m_columns(columns) {}

    [[nodiscard]] int GetColumns() const noexcept { return m_columns; }
    void SetColumns(int columns) noexcept { m_columns = columns; }

protected:
    bool CheckText(std::string_view text, bool complete) const override;

private:
    int m_columns;
};
