// The grid window's clipboard: the selection copied as tab-separated rows, cleared, and
// such rows pasted back into the cells.
#include "components/mox/MoxCellCtrl.h"

#include "components/mox/MoxCellCtrlDetail.h"
#include "components/mox/MoxData.h"
#include "components/mox/MoxDeferredViews.h"
#include "platform/ui/App.h"
#include "platform/ui/Clipboard.h"

#include <algorithm>
#include <string>
#include <string_view>

using namespace mox_detail;

namespace {

// Rows of tab-separated fields; a line feed (with or without a carriage return before it)
// ends a row, and the line feed after the last row does not start another.
std::vector<std::vector<std::string_view>> SplitTable(std::string_view text)
{
    std::vector<std::vector<std::string_view>> rows;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::vector<std::string_view>& fields = rows.emplace_back();
        for (;;) {
            const std::size_t tab = line.find('\t');
            fields.push_back(line.substr(0, tab));
            if (tab == std::string_view::npos)
                break;
            line = line.substr(tab + 1);
        }
    }
    return rows;
}

} // namespace

MoxRect MoxCellCtrl::UsedPart(const MoxRect& rect, std::uint8_t flags) const
{
    if (!(flags & MoxRectArray::kWholeColumns))
        return rect;
    const auto last = static_cast<std::int32_t>(std::max(m_data->GetLastInputRecordNo(), 0L));
    return MoxRect(MoxPos{rect.Left(), rect.Top()}, MoxPos{rect.Right(), std::max(rect.Top(), std::min(rect.Bottom(), last))});
}

bool MoxCellCtrl::CopySelection()
{
    if (m_data == nullptr || m_selection.IsEmpty())
        return false;
    if (Notify(MOXN_BEGINCOPY, 0, 0) != 0)
        return false;
    // A spreadsheet takes one rectangle: the range made last.
    const std::size_t last = m_selection.GetSize() - 1;
    const MoxRect rect = UsedPart(m_selection.GetAt(last), m_selection.GetFlags(last));
    std::string text;
    for (long row = rect.Top(); row <= rect.Bottom() && row < GetRowCount(); ++row) {
        for (long column = rect.Left(); column <= rect.Right() && column < GetColumnCount(); ++column) {
            if (column != rect.Left())
                text += '\t';
            m_text.clear();
            if (m_data->OnGetText(ItemOf(column), row, m_text))
                text += m_text;
        }
        text += '\n';
    }
    plat::SetClipboardText(text);
    Notify(MOXN_ENDCOPY, 0, 0);
    return true;
}

bool MoxCellCtrl::ClearSelection()
{
    if (m_data == nullptr || m_selection.IsEmpty())
        return false;
    if (Notify(MOXN_BEGINDELETE, 0, 0) != 0)
        return false;
    {
        MoxDeferredViews deferred(*m_data);
        for (std::size_t i = 0; i < m_selection.GetSize(); ++i) {
            const MoxRect& whole = m_selection.GetAt(i);
            // Records after the last filled one hold nothing to clear.
            const long lastFilled = m_data->GetLastInputRecordNo();
            const long bottom = std::min<long>(whole.Bottom(), std::min(lastFilled, GetRowCount() - 1));
            for (long row = whole.Top(); row <= bottom; ++row)
                for (long column = whole.Left(); column <= whole.Right() && column < GetColumnCount(); ++column)
                    static_cast<void>(m_data->Remove(ItemOf(column), row));
        }
    }
    Invalidate(FALSE);
    Notify(MOXN_ENDDELETE, 0, 0);
    return true;
}

bool MoxCellCtrl::AgreeToPastePart(std::size_t lines, std::size_t fields)
{
    const auto over = [](long start, std::size_t count, long available) {
        const long room = std::max(available - start, 0L);
        return count > static_cast<std::size_t>(room) ? count - static_cast<std::size_t>(room) : std::size_t{0};
    };
    const std::size_t linesOver = over(m_caret.row, lines, GetRowCount());
    const std::size_t fieldsOver = over(m_caret.column, fields, GetColumnCount());
    if (linesOver == 0 && fieldsOver == 0)
        return true;
    // The text may be all a person has of it: what would not land is named and pasting the
    // rest is theirs to choose, No being the answer that loses nothing.
    std::string question;
    if (linesOver > 0)
        question += "貼り付ける " + std::to_string(lines) + " 行のうち " + std::to_string(linesOver) +
                    " 行が最終行を越えるため貼り付けられません。\n";
    if (fieldsOver > 0)
        question += "貼り付ける " + std::to_string(fields) + " 列のうち " + std::to_string(fieldsOver) +
                    " 列が最終列を越えるため貼り付けられません。\n";
    question += "\n収まる部分だけ貼り付けますか？";
    return plat::MessageBox(this, question, {}, plat::MB_YESNO | plat::MB_ICONQUESTION | plat::MB_DEFBUTTON2) == plat::IDYES;
}

bool MoxCellCtrl::PasteText(const std::string& text)
{
    if (m_data == nullptr || GetColumnCount() == 0 || GetRowCount() == 0)
        return false;
    const auto rows = SplitTable(text);
    if (rows.empty())
        return false;
    if (!AgreeToPastePart(rows.size(), std::max_element(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
                                           return a.size() < b.size();
                                       })->size()))
        return false;
    if (Notify(MOXN_BEGINPASTE, 0, 0) != 0)
        return false;
    long lastColumn = m_caret.column;
    long lastRow = m_caret.row;
    const long top = m_topRow;
    const long left = m_leftCol;
    {
        MoxDeferredViews deferred(*m_data);
        std::string field;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const long row = m_caret.row + static_cast<long>(r);
            if (row >= GetRowCount())
                break;
            lastRow = row;
            for (std::size_t f = 0; f < rows[r].size(); ++f) {
                const long column = m_caret.column + static_cast<long>(f);
                if (column >= GetColumnCount())
                    break;
                lastColumn = std::max(lastColumn, column);
                // The window may take a cell out of view for one it cannot edit, so each
                // cell is shown while it is asked about; the view comes back afterwards.
                EnsureVisible(MoxPos{static_cast<std::int32_t>(column), static_cast<std::int32_t>(row)});
                if (Notify(MOXN_QUERYPASTE, static_cast<plat::WPARAM>(column), static_cast<plat::LPARAM>(row)) != 0)
                    continue;
                const long item = ItemOf(column);
                unsigned size = ClearCellBuffer(item);
                field.assign(rows[r][f]);
                if (!m_data->OnGetData(item, row, field.c_str(), m_cellBuffer.data(), size))
                    continue; // a text the item does not take leaves the cell as it was
                static_cast<void>(StoreCellBuffer(item, row, size));
            }
        }
    }
    m_topRow = top;
    m_leftCol = left;
    // The pasted area becomes the selection, with the caret where the paste began.
    m_anchor = m_caret;
    m_selection.RemoveAll();
    m_selection.Add(MoxRect(m_caret, MoxPos{static_cast<std::int32_t>(lastColumn), static_cast<std::int32_t>(lastRow)}));
    Invalidate(FALSE);
    Notify(MOXN_ENDPASTE, 0, 0);
    return true;
}

void MoxCellCtrl::OnEditCopy() { SendMessage(MOXM_COPY); }

void MoxCellCtrl::OnEditCut()
{
    if (SendMessage(MOXM_COPY) != 0)
        SendMessage(MOXM_CLEAR);
}

void MoxCellCtrl::OnEditPaste() { SendMessage(MOXM_PASTE); }

void MoxCellCtrl::OnEditClear() { SendMessage(MOXM_CLEAR); }
