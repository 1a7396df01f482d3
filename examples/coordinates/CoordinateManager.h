// The description of a coordinate list for the library: nine items (point number, name,
// X, Y, Z, code, line type, curve radius, flag), the editor control of each, made in the
// window that holds the grid, and where its templates are kept.
#pragma once

#include "components/support/LunArrowTypeComboBox.h"
#include "components/support/LunMrmNumEdit.h"
#include "components/support/QanLimitEdit.h"
#include "components/support/QanNumEdit.h"
#include "components/support/TavcRadiusCtrl.h"
#include "components/support/TavcToggleButton.h"
#include "platform/ui/Controls.h"
#include "tav/manager/TavManager.h"

#include <string>
#include <vector>

namespace coordinates {

class CoordinateManager : public TavManager {
public:
    // rows: the lines the table holds.
    explicit CoordinateManager(long rows);

    const char* GetRegSection() override { return "Coordinates"; }
    int OnCreateControl(plat::Wnd* window) override;
    plat::Wnd* OnGetControl(unsigned id, int& flag) override;
    unsigned char OnGetPaneWidth(unsigned id) override;
    // Help is the caret item's topic: the library asks for the help item in place of the
    // first item, and the topic of that item.
    unsigned OnGetHelpItemID(unsigned id) override;
    unsigned long GetHelpID(unsigned short commandId) override;
    // The item's heading and the cell's text as shown, to be read aloud.
    int OnGetSpeechText(unsigned id, long record, std::string& text) override;

    // The editor of a cell, for the grid. The library hands a plain combo box over as it is,
    // so the code list is set to the cell's code here.
    int GetControl(const MoxPos& pos, plat::Wnd** editor);

    // What the window that holds the grid needs of the layout.
    using TavManager::DrawItem;
    using TavManager::SetColWidth;

private:
    QanNumEdit m_pointNo;
    QanLimitEdit m_name;
    // Coordinates are lengths under a measure rule, which also lets the area correction add
    // to them or replace them.
    LunMrmNumEdit m_x;
    LunMrmNumEdit m_y;
    LunMrmNumEdit m_z;
    plat::ComboBox m_code;
    LunLineTypeComboBox m_lineType;
    TavcRadiusCtrl m_radius;
    TavcToggleButton m_flag;
    std::vector<int> m_declaration;
};

} // namespace coordinates
