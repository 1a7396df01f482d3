// The plain edit's emptiness test.
#include "components/support/QanEdit.h"

#include "components/support/HixNumber.h"

bool QanEdit::IsEmpty() const { return HixTrim(GetWindowText()).empty(); }
