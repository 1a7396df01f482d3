// Dialog data exchange for the values that know whether they were entered: an empty field
// is an unset HixLong or HixReal, not zero. A field whose control is a number edit is shown
// with the edit's own decimals (and measure rule); a checking edit whose text it refuses
// fails the exchange, the text shown in the error colour and the focus taken back to it.
#pragma once

#include "components/support/HixLong.h"
#include "components/support/HixReal.h"
#include "platform/ui/Dialog.h"

void DDX_Text(plat::DataExchange& dx, int id, HixLong& value);
void DDX_Text(plat::DataExchange& dx, int id, HixReal& value);
// On saving, an unset value or one outside the bounds tells the person the bounds and fails.
void DDV_MinMaxLong(plat::DataExchange& dx, const HixLong& value, long minValue, long maxValue);
