/// @file
/// The area correction dialog: gathers the grid's selection (cut to the last record that holds
/// data), lists the selected items by their headings in column order, and has the grid that
/// opened it correct the item the person picks, as often as they like, until they close it. A
/// selection of one item is corrected at once without the list.
#pragma once

#include "components/mox/MoxRectArray.h"
#include "components/support/KesDialog.h"
#include "platform/ui/Controls.h"

#include <unordered_map>

class TavGridAccess;

inline constexpr plat::UINT TAV_IDD_AREACORRECT = 134;
inline constexpr int TAV_IDC_AREACORRECT_ITEMS = 1018;
inline constexpr int TAV_IDC_AREACORRECT_CHANGE = 1087;

/// The selected columns, each mapped to 1: a set read for its count and keys.
using TavMapNumToByte = std::unordered_map<long, unsigned char>;

class TavAreaCorrectDialog : public KesDialog {
public:
    TavAreaCorrectDialog(TavGridAccess& grid, plat::Wnd* owner);

    /// IDCANCEL always: the dialog ends only by closing. Nothing to correct is told (message 10).
    int DoModal() override;
    plat::BOOL OnInitDialog() override;
    void DoDataExchange(plat::DataExchange& dx) override;
    plat::UINT GetBaseID() const override { return 0x81E22086; }

    [[nodiscard]] const MoxRectArray& GetRanges() const noexcept { return m_ranges; }

    DECLARE_MESSAGE_MAP()

private:
    void OnChange();
    /// false when nothing can be corrected.
    [[nodiscard]] bool GatherSelection();
    void CorrectColumn(long column, plat::Wnd* parent);

    plat::ListBox m_items;
    plat::Wnd* m_owner;
    TavGridAccess& m_grid;
    MoxRectArray m_ranges;
    TavMapNumToByte m_columns;
};
