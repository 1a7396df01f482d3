// The jump dialog and its template.
#include "tav/dialogs/TavJumpDialog.h"

#include "components/support/HixNumber.h"
#include "components/support/LunDataExchange.h"
#include "platform/ui/App.h"
#include "platform/ui/Resources.h"
#include "tav/frame/TavFrame.h"

#include <string>

namespace {

plat::ModuleHandle JumpTemplateModule()
{
    static const plat::ModuleHandle module = [] {
        using plat::DialogItem;
        plat::DialogTemplate jump{"ジャンプ先", 171, 46, "ＭＳ Ｐゴシック", 9, 0, {}};
        jump.items = {
            DialogItem{plat::IDC_STATIC, "STATIC", "行番号(&N)：", plat::SS_LEFT, 7, 9, 50, 10},
            DialogItem{TAV_IDC_JUMP_LINE, "EDIT", "", plat::ES_RIGHT, 60, 7, 50, 12},
            DialogItem{plat::IDOK, "BUTTON", "OK", plat::BS_DEFPUSHBUTTON, 114, 7, 50, 14},
            DialogItem{plat::IDCANCEL, "BUTTON", "キャンセル", plat::BS_PUSHBUTTON, 114, 25, 50, 14},
        };
        plat::AddDialogResource(TavGetModuleHandle(), TAV_IDD_JUMP, std::move(jump));
        return TavGetModuleHandle();
    }();
    return module;
}

} // namespace

TavJumpDialog::TavJumpDialog(plat::Wnd* owner, long maxLine)
    : KesDialog(JumpTemplateModule(), TAV_IDD_JUMP, owner), m_maxLine(maxLine)
{
    // Whole numbers only, no sign, as many figures as the last line number has (every line of
    // the table can be typed, and no digit past them), and no line past the table.
    int figures = 1;
    for (long rest = maxLine; rest >= 10; rest /= 10)
        ++figures;
    m_edit.Mode(4);
    m_edit.SetFigure(0, figures, 0);
    m_edit.SetMinMax(1L, maxLine);
}

void TavJumpDialog::DoDataExchange(plat::DataExchange& dx)
{
    plat::DDX_Control(dx, TAV_IDC_JUMP_LINE, m_edit);
    // A number past the table only turns the field red as it is typed; Return says why it
    // does not jump, naming the lines there are.
    if (dx.m_bSaveAndValidate && !HixTrim(m_edit.GetWindowText()).empty() && !m_edit.IsDataOK(TRUE, FALSE)) {
        dx.PrepareEditCtrl(TAV_IDC_JUMP_LINE);
        plat::MessageBox(this, "行番号は 1 から " + std::to_string(m_maxLine) + " までの整数で入力してください。", {},
                         plat::MB_OK | plat::MB_ICONEXCLAMATION);
        dx.Fail();
    }
    DDX_Text(dx, TAV_IDC_JUMP_LINE, m_line);
    // An empty field is no answer yet: OnOK keeps the dialog open without a word.
    if (!m_line.IsShoki())
        DDV_MinMaxLong(dx, m_line, 1, m_maxLine);
}

void TavJumpDialog::OnOK()
{
    if (!UpdateData(TRUE) || m_line.IsShoki())
        return;
    EndDialog(plat::IDOK);
}

plat::BOOL TavJumpDialog::Run(long& line, long maxLine, plat::Wnd* owner)
{
    TavJumpDialog dialog(owner, maxLine);
    dialog.m_line.Set(line);
    if (dialog.DoModal() != plat::IDOK)
        return FALSE;
    line = dialog.m_line.Get();
    return TRUE;
}
