// The lot list's items and their editors.
#include "LotManager.h"

#include "LotResources.h"
#include "components/mox/MoxMessages.h"
#include "tav/data/TavData.h"

namespace lots {

// [guide:declare]
LotManager::LotManager(long rows)
    : TavManager(&LotModule()), m_lotNo(kLotNoBytes), m_owner(kOwnerBytes), m_note(kNoteBytes),
      m_declaration{kLotNo, kCategory, kArea, kOwner, kNote}
{
    // One entry per item, in the default column order; the table gets `rows` records.
    SetSize(static_cast<long>(m_declaration.size()), rows);
    SetTemplate(m_declaration.data());
    // Square metres to the hundredth, never negative, nine figures before the point.
    const HixMrm hundredths(HixMrm::kDefaultRound, 0, 2);
    m_area.SetNumAttr(&hundredths, 0, (9 << 8) | 2);
}
// [/guide:declare]

// [guide:controls]
int LotManager::OnCreateControl(plat::Wnd* window)
{
    // The editors are hidden children of the grid's parent until the grid places one on a
    // cell; made once, however often a table is bound.
    plat::Wnd* parent = window != nullptr ? window->GetParent() : nullptr;
    if (parent == nullptr || m_lotNo.IsWindow())
        return TRUE;
    const plat::RECT place{0, 0, 80, 16};
    m_lotNo.Create(plat::WS_CHILD | plat::ES_LEFT, place, parent, 301);
    m_category.Create(plat::WS_CHILD | plat::CBS_DROPDOWNLIST, place, parent, 302);
    for (const char* category : kCategories)
        m_category.AddString(category);
    m_area.Create(plat::WS_CHILD | plat::ES_RIGHT, place, parent, 303);
    m_owner.Create(plat::WS_CHILD | plat::ES_LEFT, place, parent, 304);
    m_note.Create(plat::WS_CHILD | plat::ES_LEFT, place, parent, 305);
    // Above the grid, so that an editor placed on a cell is seen over it.
    for (plat::Wnd* editor : std::initializer_list<plat::Wnd*>{&m_lotNo, &m_category, &m_area, &m_owner, &m_note})
        editor->SetWindowPos(nullptr, 0, 0, 0, 0, plat::SWP_NOMOVE | plat::SWP_NOSIZE | plat::SWP_NOACTIVATE);
    return TRUE;
}

plat::Wnd* LotManager::OnGetControl(unsigned id, int& /*flag*/)
{
    switch (id) {
    case kLotNo: return &m_lotNo;
    case kCategory: return &m_category;
    case kArea: return &m_area;
    case kOwner: return &m_owner;
    case kNote: return &m_note;
    default: return nullptr;
    }
}
// [/guide:controls]

int LotManager::GetControl(const MoxPos& pos, plat::Wnd** editor)
{
    const int result = TavManager::GetControl(pos, editor);
    if (result && *editor == &m_category) {
        int category = 0;
        m_category.SetCurSel(Data() != nullptr && Data()->Get(static_cast<unsigned>(kCategory), pos.row, category) ? category : -1);
    }
    return result;
}

unsigned char LotManager::OnGetPaneWidth(unsigned id)
{
    // Characters a column needs when its heading is narrower: "12345-678", the widest
    // category, an area of "123456789.12".
    switch (id) {
    case kLotNo: return 10;
    case kCategory: return 10;
    case kArea: return 12;
    case kOwner: return 16;
    case kNote: return 16;
    default: return 0;
    }
}

unsigned LotManager::OnGetHelpItemID(unsigned id)
{
    // The library asks with the first item; the topic is the caret item's.
    MoxPos caret{0, 0};
    plat::Wnd* grid = Cell();
    if (grid == nullptr || !grid->IsWindow())
        return id;
    grid->SendMessage(MOXM_GETCARET, reinterpret_cast<plat::WPARAM>(&caret));
    return ColtoID(caret.column);
}

unsigned long LotManager::GetHelpID(unsigned short commandId) { return kItemHelpBase + commandId; }

} // namespace lots
