// The ddd.mmss angle edit's check of minutes and seconds.
#include "components/support/LunDMSEdit.h"

#include "components/support/HixNumber.h"

LunDMSEdit::LunDMSEdit(int mode) : LunNumEdit(mode) { SetFigure(1, 3, 5); }

bool LunDMSEdit::CheckText(std::string_view text, bool complete) const
{
    if (!LunNumEdit::CheckText(text, complete))
        return false;
    // The digits after the point are mm, ss and the seconds' fraction; checked as written,
    // so that a person who is still typing "123.4" is not refused.
    text = HixTrim(text);
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos)
        return true;
    const std::string_view fraction = text.substr(point + 1);
    if (!fraction.empty() && fraction[0] >= '6')
        return false;
    return fraction.size() < 3 || fraction[2] < '6';
}
