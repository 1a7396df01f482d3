// The limit edit keeps its limit and hands it to the platform edit, which refuses typing past it.
#include "components/support/QanLimitEdit.h"

QanLimitEdit::QanLimitEdit(unsigned limit) : m_limit(limit) { SetLimitText(limit); }

void QanLimitEdit::SetLimitAttr(unsigned limit)
{
    m_limit = limit;
    SetLimitText(limit);
}
