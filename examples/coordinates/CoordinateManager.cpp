// The coordinate list's items and their editors.
#include "examples/coordinates/CoordinateManager.h"

#include "examples/coordinates/CoordinateResources.h"
#include "components/mox/MoxMessages.h"
#include "tav/data/TavData.h"

namespace coordinates {

CoordinateManager::CoordinateManager(long rows)
    : TavManager(&CoordinateModule()),
      m_name(kPointNameBytes),
      m_flag({kFlagTexts[0], kFlagTexts[1]}),
      m_declaration{kPointNo, kPointName, kX, kY, kZ, kCode, kLineType, kRadius, kFlag}
{
    SetSize(static_cast<long>(m_declaration.size()), rows);
    SetTemplate(m_declaration.data());
    m_pointNo.SetFractionFigure(0);
    // Signed metres to the millimetre, eight figures before the point.
    const HixMrm millimetres(HixMrm::kDefaultRound, 0, 3);
    for (LunMrmNumEdit* number : {&m_x, &m_y, &m_z})
        number->SetNumAttr(&millimetres, 1, (8 << 8) | 3);
}

int CoordinateManager::OnCreateControl(plat::Wnd* window)
{
    // The editors are children of the grid's parent, hidden until the grid places one on a
    // cell; made once, however often the table is bound.
    plat::Wnd* parent = window != nullptr ? window->GetParent() : nullptr;
    if (parent == nullptr || m_name.IsWindow())
        return TRUE;
    const plat::RECT place{0, 0, 80, 16};
    m_pointNo.Create(plat::WS_CHILD | plat::ES_RIGHT, place, parent, 201);
    m_name.Create(plat::WS_CHILD | plat::ES_LEFT, place, parent, 202);
    m_x.Create(plat::WS_CHILD | plat::ES_RIGHT, place, parent, 203);
    m_y.Create(plat::WS_CHILD | plat::ES_RIGHT, place, parent, 204);
    m_z.Create(plat::WS_CHILD | plat::ES_RIGHT, place, parent, 205);
    m_code.Create(plat::WS_CHILD | plat::CBS_DROPDOWNLIST, place, parent, 206);
    for (const char* code : kCodes)
        m_code.AddString(code);
    m_lineType.Create(plat::WS_CHILD | plat::CBS_DROPDOWNLIST, place, parent, 207);
    m_radius.Create(plat::WS_CHILD, plat::RECT{0, 0, 160, 16}, parent, 208);
    m_flag.Create("", plat::WS_CHILD | plat::BS_PUSHBUTTON, place, parent, 209);
    // Over the grid in the z-order, so that an editor placed on a cell is seen over it.
    for (plat::Wnd* editor : {static_cast<plat::Wnd*>(&m_pointNo), static_cast<plat::Wnd*>(&m_name), static_cast<plat::Wnd*>(&m_x),
                              static_cast<plat::Wnd*>(&m_y), static_cast<plat::Wnd*>(&m_z), static_cast<plat::Wnd*>(&m_code),
                              static_cast<plat::Wnd*>(&m_lineType), static_cast<plat::Wnd*>(&m_radius), static_cast<plat::Wnd*>(&m_flag)})
        editor->SetWindowPos(nullptr, 0, 0, 0, 0, plat::SWP_NOMOVE | plat::SWP_NOSIZE | plat::SWP_NOACTIVATE);
    return TRUE;
}

int CoordinateManager::GetControl(const MoxPos& pos, plat::Wnd** editor)
{
    const int result = TavManager::GetControl(pos, editor);
    if (result && *editor == &m_code) {
        int code = 0;
        m_code.SetCurSel(Data() != nullptr && Data()->Get(static_cast<unsigned>(kCode), pos.row, code) ? code : -1);
    }
    return result;
}

unsigned char CoordinateManager::OnGetPaneWidth(unsigned id)
{
    // Characters a column needs when its heading is narrower: the widest code, line type and
    // flag text, a radius with its side ("1234.567 右"), a point number of five figures.
    switch (id) {
    case kPointNo: return 5;
    case kCode: return 6;
    case kLineType: return 8;
    case kRadius: return 10;
    case kFlag: return 6;
    default: return 0;
    }
}

plat::Wnd* CoordinateManager::OnGetControl(unsigned id, int& /*flag*/)
{
    switch (id) {
    case kPointNo: return &m_pointNo;
    case kPointName: return &m_name;
    case kX: return &m_x;
    case kY: return &m_y;
    case kZ: return &m_z;
    case kCode: return &m_code;
    case kLineType: return &m_lineType;
    case kRadius: return &m_radius;
    case kFlag: return &m_flag;
    default: return nullptr;
    }
}

unsigned CoordinateManager::OnGetHelpItemID(unsigned id)
{
    MoxPos caret{0, 0};
    if (plat::Wnd* grid = Cell(); grid != nullptr && grid->IsWindow())
        grid->SendMessage(MOXM_GETCARET, reinterpret_cast<plat::WPARAM>(&caret));
    else
        return id;
    return ColtoID(caret.column);
}

unsigned long CoordinateManager::GetHelpID(unsigned short commandId) { return kItemHelpBase + commandId; }

int CoordinateManager::OnGetSpeechText(unsigned id, long record, std::string& text)
{
    const long column = IDtoCol(id);
    std::string heading;
    OnSetFixedRowText(MoxPos{static_cast<std::int32_t>(column), 0}, heading);
    std::string value;
    if (!GetText(IDtoItemNo(id), record, value))
        return FALSE;
    text = value.empty() ? heading + " 空白" : heading + " " + value;
    return TRUE;
}

} // namespace coordinates
