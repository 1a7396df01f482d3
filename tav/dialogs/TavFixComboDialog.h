/// @file
/// The fix-up combo dialog of a bulk correction: one choice for an item, picked in the item's
/// own in-place editor (a combo box or a toggle button) that the dialog borrows from the grid
/// while it is open and gives back, hidden, with its parent and identifier, however it ends.
#pragma once

#include "components/support/KesDialog.h"

#include <string>

inline constexpr plat::UINT TAV_IDD_FIXUPCOMBO = 150;
inline constexpr int TAV_IDC_FIXUPCOMBO = 1089;

class TavFixupComboboxDialog : public KesDialog {
public:
    /// heading: the item's name for the caption; control: not owned, returned at the end.
    TavFixupComboboxDialog(const char* heading, plat::Wnd* control, plat::Wnd* parent = nullptr);
    ~TavFixupComboboxDialog() override;

    /// The entry chosen in the control when the dialog closed; -1 for none.
    [[nodiscard]] int GetIndex() const noexcept { return m_index; }

    plat::UINT GetBaseID() const override { return 0x81E32096; }
    plat::BOOL OnInitDialog() override;
    void OnDestroy() override;

private:
    std::string m_heading;
    plat::Wnd* m_control;
    plat::Wnd* m_controlParent = nullptr; ///< may be none: the control was a window of its own
    bool m_borrowed = false;
    int m_controlId = 0;
    int m_index = -1;
};
