/// @file
/// The jump dialog: asks for a line number, as the person sees line numbers (from 1), within
/// the table's rows.
#pragma once

#include "components/support/HixLong.h"
#include "components/support/KesDialog.h"
#include "components/support/LunNumEdit.h"

inline constexpr plat::UINT TAV_IDD_JUMP = 151;
inline constexpr int TAV_IDC_JUMP_LINE = 1067;

class TavJumpDialog : public KesDialog {
public:
    TavJumpDialog(plat::Wnd* owner, long maxLine);

    /// Shows the dialog with `line` proposed; TRUE, and the entered line in `line`, when the
    /// person confirmed.
    [[nodiscard]] static plat::BOOL Run(long& line, long maxLine, plat::Wnd* owner);

    [[nodiscard]] plat::UINT GetBaseID() const override { return 0x81E33097; }
    void DoDataExchange(plat::DataExchange& dx) override;
    void OnOK() override;

    HixLong m_line;
    LunNumEdit m_edit{5};
    long m_maxLine;
};
