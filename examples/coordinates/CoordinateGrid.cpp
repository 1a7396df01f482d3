// The grid's word to its frame.
#include "examples/coordinates/CoordinateGrid.h"

#include "components/support/NifCommonMenu.h"
#include "components/mox/MoxMessages.h"
#include "components/mox/MoxRectArray.h"
#include "examples/coordinates/CoordinateManager.h"
#include "examples/coordinates/CoordinateSpeech.h"
#include "platform/ui/App.h"
#include "tav/data/TavLockData.h"
#include "tav/frame/TavFrame.h"
#include "tav/window/TavCellRouting.h"

#include <algorithm>
#include <string>
#include "tav/data/TavData.h"
#include "tav/templates/TavTemplate.h"

namespace coordinates {

BEGIN_MESSAGE_MAP(CoordinateGrid, TavCellCtrl)
    ON_MESSAGE(MOXN_GETCONTROL, OnGetControl)
    ON_COMMAND(NifCommand::Lock, OnCellLock)
    ON_COMMAND(plat::ID_EDIT_SELECT_ALL, OnSelectAll)
    ON_MESSAGE(plat::WM_HELPHITTEST, OnHelpHitTest)
    ON_COMMAND(plat::ID_EDIT_UNDO, OnEditUndo)
    ON_COMMAND(plat::ID_EDIT_REDO, OnEditRedo)
    ON_COMMAND(NifCommand::CellChange, OnItemChange)
    ON_COMMAND(NifCommand::Template, OnTemplate)
    ON_REGISTERED_MESSAGE(TavMessages().speech, OnSpeech)
END_MESSAGE_MAP()

plat::LRESULT CoordinateGrid::OnGetControl(plat::WPARAM wParam, plat::LPARAM)
{
    auto* request = reinterpret_cast<MOX_GETCONTROL*>(wParam);
    auto* manager = static_cast<CoordinateManager*>(ManagerPtr());
    return manager != nullptr ? manager->GetControl(MoxPos{request->column, request->row}, &request->editor) : 0;
}

namespace {

constexpr plat::UINT kLineMove = 0xC106;
constexpr plat::UINT kLineCopy = 0xC107;
constexpr const char* kLockStep = "ｾﾙﾛｯｸ";
constexpr const char* kLockedRefusal = "ロックされたセルは変更できません (ｾﾙﾛｯｸで解除できます)";

} // namespace

void CoordinateGrid::Notice(std::string text)
{
    m_notice = std::move(text);
    if (m_changeMessage != 0 && GetParent() != nullptr)
        GetParent()->PostMessage(m_changeMessage);
}

bool CoordinateGrid::TouchesLock(const MoxRectArray& ranges)
{
    TavManager* manager = ManagerPtr();
    if (manager == nullptr || !manager->QueryCellLock())
        return false;
    // The lock ranges against the rectangles, never cell by cell: a selection may be a whole
    // column of a million rows.
    for (const TavLockData& lock : Data().Lock()) {
        const long column = manager->IDtoCol(lock.id);
        if (column < 0)
            continue;
        for (std::size_t i = 0; i < ranges.GetSize(); ++i) {
            const MoxRect& rect = ranges.GetAt(i);
            if (!rect.IsEmpty() && column >= rect.Left() && column <= rect.Right() && lock.first <= rect.Bottom() &&
                lock.last >= rect.Top())
                return true;
        }
    }
    return false;
}

int CoordinateGrid::OnBeginEdit(unsigned id, long record)
{
    TavManager* manager = ManagerPtr();
    if (manager != nullptr &&
        QueryLockPane(MoxPos{static_cast<std::int32_t>(manager->IDtoCol(id)), static_cast<std::int32_t>(record)}) != 0) {
        Notice(kLockedRefusal);
        return 0;
    }
    return TavCellCtrl::OnBeginEdit(id, record);
}

int CoordinateGrid::OnBeginDelete()
{
    if (TouchesLock(GetSelection())) {
        Notice(kLockedRefusal);
        return 0;
    }
    return TavCellCtrl::OnBeginDelete();
}

int CoordinateGrid::OnBeginPaste()
{
    // A paste lands from the selection's first cell; the cells it reaches past the selection
    // are the clipboard's size, which the grid learns only while it pastes, so the selection
    // and the caret are what is checked here.
    MoxRectArray target = GetSelection();
    target.Add(MoxRect(GetCaret(), GetCaret()));
    if (TouchesLock(target)) {
        Notice(kLockedRefusal);
        return 0;
    }
    return TavCellCtrl::OnBeginPaste();
}

int CoordinateGrid::OnAreaCorrect(unsigned id, const MoxRectArray* ranges, plat::Wnd* parent)
{
    TavManager* manager = ManagerPtr();
    if (manager != nullptr && ranges != nullptr) {
        const auto column = static_cast<std::int32_t>(manager->IDtoCol(id));
        MoxRectArray corrected;
        for (std::size_t i = 0; i < ranges->GetSize(); ++i)
            if (const MoxRect& rect = ranges->GetAt(i); !rect.IsEmpty() && column >= rect.Left() && column <= rect.Right())
                corrected.Add(MoxRect(MoxPos{column, rect.Top()}, MoxPos{column, rect.Bottom()}));
        if (TouchesLock(corrected)) {
            Notice(kLockedRefusal);
            return 1; // handled: nothing is written
        }
    }
    return TavCellCtrl::OnAreaCorrect(id, ranges, parent);
}

int CoordinateGrid::OnCheckDstLineEditArea(const MoxRectArray& blocks)
{
    const plat::UINT command = QueryLineCommand();
    if (command != kLineMove && command != kLineCopy)
        return TavCellCtrl::OnCheckDstLineEditArea(blocks);
    const long last = Data().GetLastInputRecordNo();
    long holding = 0;
    for (std::size_t i = 0; i < blocks.GetSize(); ++i) {
        const MoxRect& block = blocks.GetAt(i);
        for (long row = block.Top(); row <= std::min<long>(block.Bottom(), last); ++row) {
            // A line that moves away leaves its place free for what comes.
            bool leaving = false;
            for (std::size_t j = 0; command == kLineMove && j < m_srcBlocks.GetSize() && !leaving; ++j)
                leaving = row >= m_srcBlocks.GetAt(j).Top() && row <= m_srcBlocks.GetAt(j).Bottom();
            if (!leaving && QueryBlankLine(row) == 0)
                ++holding;
        }
    }
    if (holding == 0)
        return TavCellCtrl::OnCheckDstLineEditArea(blocks);
    const std::string text = std::string(command == kLineMove ? "移動先" : "複写先") + "の " + std::to_string(holding) +
                             " 行にはデータがあります。\n上書きしますか？";
    if (plat::MessageBox(this, text, "座標一覧", plat::MB_YESNO | plat::MB_ICONQUESTION | plat::MB_DEFBUTTON2) != plat::IDYES)
        return 0;
    return TavCellCtrl::OnCheckDstLineEditArea(blocks);
}

void CoordinateGrid::OnEditUndo()
{
    const bool lock = Data().History().UndoName() == kLockStep;
    EditUndo();
    if (lock)
        SaveLockWithTemplate();
    // The title's change mark and the caret item's prompt follow at once, whether the command
    // came by a key or from a menu.
    if (m_changeMessage != 0 && GetParent() != nullptr)
        GetParent()->PostMessage(m_changeMessage);
}

void CoordinateGrid::OnEditRedo()
{
    const bool lock = Data().History().RedoName() == kLockStep;
    EditRedo();
    if (lock)
        SaveLockWithTemplate();
    // The title's change mark and the caret item's prompt follow at once, whether the command
    // came by a key or from a menu.
    if (m_changeMessage != 0 && GetParent() != nullptr)
        GetParent()->PostMessage(m_changeMessage);
}

void CoordinateGrid::OnItemChange()
{
    CellChange();
    PromptAfterLayoutChange();
}

void CoordinateGrid::OnTemplate()
{
    CellTemplate();
    PromptAfterLayoutChange();
}

void CoordinateGrid::PromptAfterLayoutChange()
{
    // The caret keeps its column while the column may show another item now.
    if (m_changeMessage != 0 && GetParent() != nullptr)
        GetParent()->PostMessage(m_changeMessage);
}

void CoordinateGrid::OnCellLock()
{
    CellLock();
    TavManager* manager = ManagerPtr();
    Notice(manager != nullptr && manager->QueryCellLock() ? "選択したセルをロックしました" : "すべてのセルのロックを解除しました");
    SaveLockWithTemplate();
}

void CoordinateGrid::SaveLockWithTemplate()
{
    TavTemplate templates(ManagerPtr());
    std::string name = templates.GetCurrentName();
    if (name.empty())
        name = Data().TemplateName();
    static_cast<void>(templates.SaveTemplate(name));
}

void CoordinateGrid::OnSelectAll()
{
    long columns = 0;
    long rows = 0;
    SendMessage(MOXM_GETCELLCOUNT, reinterpret_cast<plat::WPARAM>(&columns), reinterpret_cast<plat::LPARAM>(&rows));
    if (columns <= 0 || rows <= 0)
        return;
    MoxRectArray every;
    every.Add(MoxRect(MoxPos{0, 0}, MoxPos{static_cast<std::int32_t>(columns - 1), static_cast<std::int32_t>(rows - 1)}),
              MoxRectArray::kWholeLines);
    SendMessage(MOXM_SETSELECTION, reinterpret_cast<plat::WPARAM>(&every));
}

plat::LRESULT CoordinateGrid::OnHelpHitTest(plat::WPARAM, plat::LPARAM lParam)
{
    TavManager* manager = ManagerPtr();
    const auto x = static_cast<short>(plat::LOWORD(static_cast<std::uintptr_t>(lParam)));
    if (manager == nullptr || x < GetFixedColWidth())
        return 0;
    // The columns from the first in view, as the grid lays them out after the row numbers.
    int left = GetFixedColWidth();
    for (long column = GetTopLeft().column; column < GetColumnCount(); ++column) {
        const int width = GetPaneWidth(column);
        if (x < left + width)
            return static_cast<plat::LRESULT>(manager->GetHelpID(plat::LOWORD(manager->ColtoID(column))));
        left += width;
    }
    return 0;
}

plat::LRESULT CoordinateGrid::OnSpeech(plat::WPARAM, plat::LPARAM)
{
    TavManager* manager = ManagerPtr();
    if (manager == nullptr)
        return 0;
    const MoxPos& caret = GetCaret();
    std::string text;
    if (!manager->OnGetSpeechText(manager->ColtoID(caret.column), caret.row, text) || text.empty())
        return 0;
    if (Speak(text))
        m_lastSpoken = text;
    return 0;
}

void CoordinateGrid::OnSelChanged(const MoxPos& /*from*/, const MoxPos& /*to*/)
{
    if (m_changeMessage != 0 && GetParent() != nullptr)
        GetParent()->SendMessage(m_changeMessage);
}

int CoordinateGrid::OnEndEdit(unsigned /*id*/, long /*record*/)
{
    if (m_changeMessage != 0 && GetParent() != nullptr)
        GetParent()->PostMessage(m_changeMessage);
    return 1; // the edit may end
}

} // namespace coordinates
