// Data exchange of the unset-aware values, on top of the platform's exchange of numbers.
#include "components/support/LunDataExchange.h"

#include "components/support/HixNumber.h"
#include "components/support/LunEdit.h"
#include "components/support/QanNumEdit.h"

#include <climits>
#include <string>

namespace {

// On saving: a checking edit's own verdict comes before any reading of its text.
void CheckEdit(plat::DataExchange& dx, plat::Wnd* control)
{
    if (LunEdit* edit = LunGetEdit(control); edit != nullptr && !edit->IsDataOK(TRUE, TRUE))
        dx.Fail();
}

} // namespace

void DDX_Text(plat::DataExchange& dx, int id, HixLong& value)
{
    plat::Wnd* control = dx.PrepareEditCtrl(id);
    if (control == nullptr)
        return;
    if (!dx.m_bSaveAndValidate) {
        control->SetWindowText(value.IsShoki() ? std::string() : std::to_string(value.Get()));
        return;
    }
    CheckEdit(dx, control);
    if (HixTrim(control->GetWindowText()).empty()) {
        value.SetShoki();
        return;
    }
    long typed = 0;
    plat::DDX_Text(dx, id, typed);
    value.Set(typed);
}

void DDX_Text(plat::DataExchange& dx, int id, HixReal& value)
{
    plat::Wnd* control = dx.PrepareEditCtrl(id);
    if (control == nullptr)
        return;
    auto* numberEdit = dynamic_cast<QanNumEdit*>(control);
    if (!dx.m_bSaveAndValidate) {
        if (numberEdit != nullptr) {
            numberEdit->Set(value);
            return;
        }
        double shown = value;
        if (value.IsShoki())
            control->SetWindowText("");
        else
            plat::DDX_Text(dx, id, shown);
        return;
    }
    CheckEdit(dx, control);
    if (HixTrim(control->GetWindowText()).empty()) {
        value.SetShoki();
        return;
    }
    if (numberEdit != nullptr) {
        // The edit knows its unit and angle forms; what it cannot read is an error as for
        // any number field.
        const HixReal typed = numberEdit->Get();
        if (!typed.IsShoki()) {
            value = typed;
            return;
        }
    }
    double typed = 0;
    plat::DDX_Text(dx, id, typed);
    value.Set(typed);
}

void DDV_MinMaxLong(plat::DataExchange& dx, const HixLong& value, long minValue, long maxValue)
{
    if (!dx.m_bSaveAndValidate)
        return;
    // An unset value is outside every range: the platform check then names the bounds.
    plat::DDV_MinMaxLong(dx, value.IsShoki() ? (minValue > LONG_MIN ? minValue - 1 : maxValue + 1) : value.Get(),
                         minValue, maxValue);
}
