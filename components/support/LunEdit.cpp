// The checking half of the text editors: registered messages, judging, the error colour.
#include "components/support/LunEdit.h"

#include "components/support/LunErrorColor.h"
#include "platform/text/CodePage.h"

const LunEditMessages& LunGetEditMessages()
{
    static const LunEditMessages messages{
        plat::RegisterWindowMessage("LUN_STR_EDIT_SETDIALOGMODE"),
        plat::RegisterWindowMessage("LUN_STR_EDIT_ENABLECHECK"),
        plat::RegisterWindowMessage("LUN_STR_EDIT_RESETTEMPTEXT"),
        plat::RegisterWindowMessage("LUN_STR_EDIT_CHECK"),
        plat::RegisterWindowMessage("LUN_STR_EDIT_GETCTLCOLOR"),
        plat::RegisterWindowMessage("LUN_STR_EDIT_OK"),
    };
    return messages;
}

LunEdit* LunGetEdit(plat::Wnd* window) noexcept { return dynamic_cast<LunEdit*>(window); }

bool LunEdit::CheckText(std::string_view /*text*/, bool /*complete*/) const { return true; }

bool LunEdit::Judge(bool complete) const
{
    const std::string text = EditWnd().GetWindowText();
    if (text.empty())
        return true;
    if (!plat::Utf8ToNarrow(text).ok())
        return false;
    return CheckText(text, complete);
}

void LunEdit::ShowVerdict(bool valid)
{
    if (m_errorShown == !valid)
        return;
    m_errorShown = !valid;
    EditWnd().Invalidate(FALSE);
}

plat::BOOL LunEdit::IsDataOK(plat::BOOL complete, plat::BOOL show)
{
    const bool valid = Judge(complete != FALSE);
    if (show)
        ShowVerdict(valid);
    return valid ? TRUE : FALSE;
}

void LunEdit::ResetTempText()
{
    m_tempText = EditWnd().GetWindowText();
    if (m_checkEnabled)
        ShowVerdict(Judge(false));
}

void LunEdit::EnableCheck(bool enable)
{
    m_checkEnabled = enable;
    ShowVerdict(enable ? Judge(false) : true);
}

plat::COLORREF LunEdit::GetTextColor() const noexcept { return m_errorShown ? LunGetErrorColor() : kTextColor; }

bool LunEdit::BeforeMessage(plat::UINT message, plat::WPARAM wParam, plat::LPARAM /*lParam*/, plat::LRESULT& result)
{
    result = 0;
    if (message >= plat::kFirstRegisteredMessage) {
        const LunEditMessages& names = LunGetEditMessages();
        if (message == names.setDialogMode) {
            m_dialogMode = wParam != 0;
            return true;
        }
        if (message == names.enableCheck) {
            EnableCheck(true);
            return true;
        }
        if (message == names.resetTempText) {
            ResetTempText();
            return true;
        }
        if (message == names.check) {
            result = IsDataOK(TRUE, TRUE);
            return true;
        }
        if (message == names.getCtlColor) {
            result = static_cast<plat::LRESULT>(GetTextColor());
            return true;
        }
        return false;
    }
    // Escape takes back what was typed since the temporary text was set.
    if (message == plat::WM_KEYDOWN && static_cast<int>(wParam) == plat::VK_ESCAPE &&
        EditWnd().GetWindowText() != m_tempText) {
        EditWnd().SetWindowText(m_tempText);
        EditWnd().SetSel(0, -1);
        return true;
    }
    return false;
}

void LunEdit::AfterMessage(plat::UINT message)
{
    switch (message) {
    case plat::WM_SETTEXT:
    case plat::WM_CHAR:
    case plat::WM_KEYDOWN:
    case plat::EM_REPLACESEL:
        // While checking is off the verdict shown stays as the last explicit check left it.
        if (m_checkEnabled)
            ShowVerdict(Judge(false));
        break;
    default: break;
    }
}
