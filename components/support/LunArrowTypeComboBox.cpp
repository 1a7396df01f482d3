// The arrow and line kind lists.
#include "components/support/LunArrowTypeComboBox.h"

LunArrowTypeComboBox::LunArrowTypeComboBox()
{
    for (const char* text : {"なし", "始点", "終点", "両端"})
        AddString(text);
}

void LunArrowTypeComboBox::Set(int index) { SetCurSel(index); }

LunLineTypeComboBox::LunLineTypeComboBox()
{
    for (const char* text : {"実線", "破線", "点線", "一点鎖線", "二点鎖線"})
        AddString(text);
}

void LunLineTypeComboBox::Set(int index) { SetCurSel(index); }
