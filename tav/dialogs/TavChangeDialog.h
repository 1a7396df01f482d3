/// @file
/// The item change dialog: which of a table's items the grid shows and in which column order.
/// Items not shown stand in one list, the shown ones in the other in column order above an end
/// marker; buttons move items between the lists and reorder the shown ones, and a reset goes
/// back to the order the dialog opened with. The manager is asked before a new order is taken.
#pragma once

#include "components/support/KesDialog.h"
#include "platform/ui/Controls.h"

#include <string>
#include <vector>

class TavManager;

class TavChangeDialog : public KesDialog {
public:
    /// The end marker closing the list of shown items.
    static constexpr const char* kEndMarker = "---------------------------";

    /// nameModule holds the items' names (field 1 of the string named by the item's
    /// identifier); the manager is asked to accept the result.
    TavChangeDialog(plat::ModuleHandle nameModule, TavManager* manager, plat::Wnd* parent = nullptr);

    /// Every item the table offers, in the manager's order; entries of 0 or with the top bit
    /// set (negative as declared) are never offered.
    void SetItems(const int* ids, long count);
    /// The shown items at opening, also what a reset goes back to.
    void SetTemplate(const std::vector<unsigned>& ids);
    /// The shown items after OK.
    void GetTemplate(std::vector<unsigned>& ids) const { ids = m_usedItems; }

    /// The item's name: the text between the first and the second line feed of its string.
    [[nodiscard]] static std::string ItemName(plat::ModuleHandle module, unsigned id);

    plat::BOOL OnInitDialog() override;
    void DoDataExchange(plat::DataExchange& dx) override;
    void OnOK() override;
    [[nodiscard]] plat::UINT GetBaseID() const override { return 0x81E24088; }

    void OnAdd();
    void OnAddAll();
    void OnRemove();
    void OnRemoveAll();
    void OnUp();
    void OnDown();
    void OnReset();
    void OnUsedSelChange() { UpdateButtons(); }

    DECLARE_MESSAGE_MAP()

private:
    void FillLists();
    void UpdateButtons();
    [[nodiscard]] bool Enabled(int id) const;
    void MoveOne(plat::ListBox& from, plat::ListBox& to);
    void MoveAll(plat::ListBox& from, plat::ListBox& to);
    void MoveUsed(int by);
    static int Insert(plat::ListBox& list, int index, const std::string& text, std::uintptr_t data);

    plat::ListBox m_available;
    plat::ListBox m_used;
    plat::ModuleHandle m_nameModule;
    TavManager* m_manager;
    std::vector<unsigned> m_allItems;
    std::vector<unsigned> m_usedItems;
    std::vector<unsigned> m_template;
};
