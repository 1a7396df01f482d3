/// @file
/// The number input dialog of a bulk correction: a value and whether it is added to each
/// cell's value or replaces it, typed under the item's own measure rule. In add mode any sign
/// may be typed (to subtract); in replace mode the item's integer attribute decides whether a
/// negative value is allowed.
#pragma once

#include "components/support/HixMrm.h"
#include "components/support/HixReal.h"
#include "components/support/KesDialog.h"
#include "components/support/LunMrmNumEdit.h"

inline constexpr plat::UINT TAV_IDD_INPUTNUM = 132; ///< the dialog's template
inline constexpr int TAV_IDC_INPUTNUM_VALUE = 1014; ///< the value's edit
inline constexpr int TAV_IDC_INPUTNUM_ADD = 1070; ///< the add method's radio button
inline constexpr int TAV_IDC_INPUTNUM_REPLACE = 1071; ///< the replace method's radio button

/// The number input of a bulk correction: a value and whether it is added or replaces. A host
/// opens it through TavOpenInputNumDialog.
class TavInputNumDialog : public KesDialog {
public:
    /// The measure is not copied: it must outlive the dialog.
    TavInputNumDialog(const HixMrm* measure, int integerAttr, unsigned short figureAttr, plat::Wnd* parent = nullptr);

    /// After IDOK: the value typed and the method, 0 add, 1 replace.
    [[nodiscard]] double GetValue() const noexcept { return m_value; }
    /// After IDOK: 0 add, 1 replace.
    [[nodiscard]] int GetMethod() const noexcept { return m_method; }

    /// The dialog's help base identifier.
    plat::UINT GetBaseID() const override { return 0x81E20084; }
    /// Moves the method between the dialog and its radio buttons.
    void DoDataExchange(plat::DataExchange& dx) override;
    /// Takes the value when the editor holds a valid one, else keeps the dialog open.
    void OnOK() override;

    DECLARE_MESSAGE_MAP()

private:
    void OnMethodClicked();

    LunMrmNumEdit m_edit{5};
    HixReal m_value{-1e-99};
    int m_method = 0;
    const HixMrm* m_measure;
    int m_integerAttr;
    unsigned short m_figureAttr;
};

/// Asks for a correction value under the measure: TRUE on OK, with the value and the method
/// (0 add, 1 replace) stored; FALSE on cancel, both left as they were.
[[nodiscard]] int TavOpenInputNumDialog(const HixMrm& attr, int mode, unsigned short figure, double& value, int& method, plat::Wnd* parent);
