/// @file
/// The find dialog: searches one column of the grid, within the selected rows, for the value
/// typed into the item's own editor, which the dialog borrows from the grid while it is open
/// (so the value is entered with the same control, format and checks as in the cell).
#pragma once

#include "components/mox/MoxRectArray.h"
#include "components/support/KesDialog.h"

#include <vector>

class TavGridAccess;
class TavManager;

inline constexpr plat::UINT TAV_IDD_FIND = 147;
inline constexpr int TAV_IDC_FIND_UP = 1063;
inline constexpr int TAV_IDC_FIND_DOWN = 1064;
inline constexpr int TAV_IDC_FIND_VALUE = 1067;

class TavFindDialog : public KesDialog {
public:
    TavFindDialog(TavGridAccess* grid, long column, long topRow, long bottomRow, plat::Wnd* owner);

    /// IDCANCEL at once, showing nothing, when the column has no editor or no cell size.
    int DoModal() override;
    [[nodiscard]] plat::UINT GetBaseID() const override { return 0x81E2F093; }
    plat::BOOL OnInitDialog() override;
    /// One find-next step; the dialog stays open.
    void OnOK() override;
    /// Gives the editor back to the grid and closes.
    void OnCancel() override;
    void DoDataExchange(plat::DataExchange& dx) override;

    [[nodiscard]] long GetCurrentRow() const noexcept { return m_currentRow; }

private:
    int m_direction = 1; ///< 0 up, 1 down
    TavGridAccess* m_grid;
    TavManager* m_manager;
    long m_itemNo = -1;
    plat::Wnd* m_editor = nullptr;
    plat::Wnd* m_editorParent = nullptr;
    std::vector<std::uint8_t> m_value;
    bool m_hasValue = false;
    unsigned m_dataSize = 0;
    long m_firstRow;
    long m_lastRow;
    long m_currentRow = 0;
    bool m_firstSearch = true;
    MoxRectArray m_range;
    int m_editorId = 0;
};
