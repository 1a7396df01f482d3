// The description of a lot-number list for the library: five items (lot number, land
// category, area, owner, note), the editor control of each, made in the window that holds the
// grid, and where its templates are kept.
#pragma once

#include "components/support/LunMrmNumEdit.h"
#include "components/support/QanLimitEdit.h"
#include "platform/ui/Controls.h"
#include "tav/manager/TavManager.h"

#include <vector>

namespace lots {

// [guide:manager]
class LotManager : public TavManager {
public:
    // rows: the lots a list holds.
    explicit LotManager(long rows);

    // The templates lie under the program's application key, in a section of their own.
    const char* GetRegSection() override { return "Lots"; }
    int OnCreateControl(plat::Wnd* window) override;
    plat::Wnd* OnGetControl(unsigned id, int& flag) override;
    unsigned char OnGetPaneWidth(unsigned id) override;
    unsigned OnGetHelpItemID(unsigned id) override;
    unsigned long GetHelpID(unsigned short commandId) override;

    // The editor of a cell, for the grid: the category list starts on the cell's category.
    int GetControl(const MoxPos& pos, plat::Wnd** editor);

    using TavManager::SetColWidth;

private:
    QanLimitEdit m_lotNo;
    plat::ComboBox m_category;
    // An area under a measure rule, so that the bulk correction can add to it or replace it.
    LunMrmNumEdit m_area;
    QanLimitEdit m_owner;
    QanLimitEdit m_note;
    std::vector<int> m_declaration;
};
// [/guide:manager]

} // namespace lots
