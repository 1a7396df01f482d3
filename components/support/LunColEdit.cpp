// The column-limited edit's check.
#include "components/support/LunColEdit.h"

#include "platform/text/DisplayWidth.h"

bool LunColEdit::CheckText(std::string_view text, bool complete) const
{
    return LunLimitEdit::CheckText(text, complete) && plat::DisplayWidth(text) <= m_columns;
}
