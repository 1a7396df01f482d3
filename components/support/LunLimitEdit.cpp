// The checking text edit's limit, counted in narrow code page bytes.
#include "components/support/LunLimitEdit.h"

#include "platform/text/CodePage.h"

LunLimitEdit::LunLimitEdit(unsigned limit) : LunEditOf<QanLimitEdit>(limit) {}

bool LunLimitEdit::CheckText(std::string_view text, bool /*complete*/) const
{
    const plat::TextConversion narrow = plat::Utf8ToNarrow(text);
    return narrow.ok() && narrow.text.size() <= GetLimitAttr();
}
