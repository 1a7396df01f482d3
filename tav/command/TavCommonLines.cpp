// The line commands (insert, delete, move, copy, swap, close up), the Return walk, the moves
// to the first and last line, the jump to a line and the search of a column. Whole records
// move: their cells, their warning and disable flags and their lock ranges go together.
#include "tav/command/TavCommon.h"

#include "components/mox/MoxCellCtrl.h"
#include "components/mox/MoxDeferredViews.h"
#include "components/support/NifCommonMenu.h"
#include "components/support/NifResource.h"
#include "platform/ui/App.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Wnd.h"
#include "tav/data/TavAttr.h"
#include "tav/data/TavData.h"
#include "tav/data/TavUndoHistory.h"
#include "tav/dialogs/TavFindDialog.h"
#include "tav/dialogs/TavJumpDialog.h"
#include "tav/frame/TavFrame.h"
#include "tav/manager/TavManager.h"
#include "tav/resources/TavStrings.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <optional>
#include <utility>
#include <vector>

namespace {

// Ends a pending line command when an exception leaves the command that carries it out, so
// that the grid takes its keys, selections and undo again.
template <class End>
class EndOnUnwind {
public:
    explicit EndOnUnwind(End end) : m_end(std::move(end)) {}
    ~EndOnUnwind()
    {
        if (std::uncaught_exceptions() <= m_exceptions)
            return;
        try {
            m_end();
        } catch (...) {
            // The first exception is the one to report; the grid is left as it stands.
        }
    }
    EndOnUnwind(const EndOnUnwind&) = delete;
    EndOnUnwind& operator=(const EndOnUnwind&) = delete;

private:
    End m_end;
    int m_exceptions = std::uncaught_exceptions();
};

constexpr plat::UINT kWarningOk = 0x30;

void Warn(plat::Wnd* window, plat::UINT id) { NifMessageBox(TavGetModuleHandle(), id, kWarningOk, window); }

bool ShiftHeld() { return (static_cast<unsigned short>(plat::GetKeyState(plat::VK_SHIFT)) & 0xFF00u) != 0; }

const MoxRectArray* Selection(plat::Wnd* window, std::vector<std::uint8_t>* flags)
{
    return reinterpret_cast<const MoxRectArray*>(window->SendMessage(MOXM_GETSELECTION, reinterpret_cast<plat::WPARAM>(flags)));
}

void CellCount(plat::Wnd* window, long& columns, long& rows)
{
    columns = 0;
    rows = 0;
    window->SendMessage(MOXM_GETCELLCOUNT, reinterpret_cast<plat::WPARAM>(&columns), reinterpret_cast<plat::LPARAM>(&rows));
}

MoxPos Caret(plat::Wnd* window)
{
    MoxPos caret{0, 0};
    window->SendMessage(MOXM_GETCARET, reinterpret_cast<plat::WPARAM>(&caret));
    return caret;
}

void SetCaret(plat::Wnd* window, MoxPos pos) { window->SendMessage(MOXM_SETCARET, reinterpret_cast<plat::WPARAM>(&pos)); }

// Lock ranges follow inserted and deleted lines: a range is pushed down or pulled up, the
// lines inserted inside one are not locked, the deleted lines leave it.
void InsertLockLines(TavLockArray& locks, std::int32_t at, std::int32_t count, long records)
{
    TavLockArray moved;
    const auto add = [&](std::uint32_t id, long first, long last) {
        last = std::min(last, records - 1);
        if (first <= last)
            moved.Add({id, static_cast<std::int32_t>(first), static_cast<std::int32_t>(last)});
    };
    for (const TavLockData& lock : locks) {
        if (lock.first > lock.last) {
            moved.Add(lock);
        } else if (lock.last < at) {
            moved.Add(lock);
        } else if (lock.first >= at) {
            add(lock.id, long{lock.first} + count, long{lock.last} + count);
        } else {
            add(lock.id, lock.first, at - 1);
            add(lock.id, long{at} + count, long{lock.last} + count);
        }
    }
    locks = std::move(moved);
}

void DeleteLockLines(TavLockArray& locks, std::int32_t at, std::int32_t count)
{
    TavLockArray kept;
    const long end = long{at} + count; // first line after the deleted ones
    for (const TavLockData& lock : locks) {
        if (lock.first > lock.last) {
            kept.Add(lock);
            continue;
        }
        const long first = lock.first < at ? lock.first : lock.first < end ? at : lock.first - count;
        const long last = lock.last < at ? lock.last : lock.last < end ? at - 1L : lock.last - count;
        if (first <= last)
            kept.Add({lock.id, static_cast<std::int32_t>(first), static_cast<std::int32_t>(last)});
    }
    locks = std::move(kept);
}

// The lock ranges after lines were given the state of others: each (line, from) says that
// the line now holds what line `from` held, or nothing (from -1). Lines not named keep theirs.
void RemapLockLines(TavLockArray& locks, std::vector<std::pair<long, long>> assigned)
{
    if (locks.IsEmpty() || assigned.empty())
        return;
    std::stable_sort(assigned.begin(), assigned.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    // A line named twice takes its last assignment.
    std::vector<std::pair<long, long>> lines;
    for (const auto& entry : assigned) {
        if (!lines.empty() && lines.back().first == entry.first)
            lines.back() = entry;
        else
            lines.push_back(entry);
    }
    // The same lines by the line they came from, to find what a range sends where.
    std::vector<std::pair<long, long>> byOrigin;
    for (const auto& [line, from] : lines)
        if (from >= 0)
            byOrigin.emplace_back(from, line);
    std::sort(byOrigin.begin(), byOrigin.end());
    std::vector<long> arriving;
    TavLockArray remapped;
    for (const TavLockData& lock : locks) {
        if (lock.first > lock.last) {
            remapped.Add(lock);
            continue;
        }
        // What stays: the range without the lines that were given another state.
        long start = lock.first;
        auto it = std::lower_bound(lines.begin(), lines.end(), long{lock.first},
                                   [](const auto& entry, long line) { return entry.first < line; });
        for (; it != lines.end() && it->first <= lock.last; ++it) {
            if (it->first > start)
                remapped.Add({lock.id, static_cast<std::int32_t>(start), static_cast<std::int32_t>(it->first - 1)});
            start = it->first + 1;
        }
        if (start <= lock.last)
            remapped.Add({lock.id, static_cast<std::int32_t>(start), lock.last});
        // What arrives: the lines that now hold a line of the range, in runs.
        arriving.clear();
        for (auto from = std::lower_bound(byOrigin.begin(), byOrigin.end(), std::pair{long{lock.first}, -1L});
             from != byOrigin.end() && from->first <= lock.last; ++from)
            arriving.push_back(from->second);
        std::sort(arriving.begin(), arriving.end());
        long runFirst = -1;
        long runLast = -2;
        for (const long line : arriving) {
            if (line != runLast + 1 && runFirst >= 0) {
                remapped.Add({lock.id, static_cast<std::int32_t>(runFirst), static_cast<std::int32_t>(runLast)});
                runFirst = line;
            } else if (runFirst < 0) {
                runFirst = line;
            }
            runLast = line;
        }
        if (runFirst >= 0)
            remapped.Add({lock.id, static_cast<std::int32_t>(runFirst), static_cast<std::int32_t>(runLast)});
    }
    locks = std::move(remapped);
}

// Flags read straight from an attribute table's rows (bit k + 1 of a record's row belongs to
// item k), and changes that are left out when they would change nothing: a command touches
// thousands of cells, and the table's own operations look every identifier up.
bool RawBit(const TavAttr& attr, long row, long bit)
{
    const auto stride = static_cast<std::size_t>(attr.GetBytesPerRow());
    const auto at = static_cast<std::size_t>(row) * stride + static_cast<std::size_t>(bit) / 8;
    return ((attr.GetBits()[at] >> (bit % 8)) & 1u) != 0;
}

std::uint8_t RecordFlag(const TavAttr& attr, long record) { return attr.IsCreate() && RawBit(attr, record + 1, 0) ? 1 : 0; }

std::uint8_t CellFlag(const TavAttr& attr, unsigned id, long item, long record)
{
    if (!attr.IsCreate())
        return 0;
    if (item + 1 >= attr.GetBitColumns())
        return attr.Get(id, record) ? 1 : 0;
    const long row = record + 1;
    return RawBit(attr, row, item + 1) || RawBit(attr, 0, 0) || RawBit(attr, 0, item + 1) || RawBit(attr, row, 0) ? 1 : 0;
}

void SetRecordFlag(TavAttr& attr, long record, int on)
{
    if (!attr.IsCreate())
        return;
    if (!on) {
        const auto stride = static_cast<std::size_t>(attr.GetBytesPerRow());
        const std::uint8_t* row = attr.GetBits() + (static_cast<std::size_t>(record) + 1) * stride;
        if (std::all_of(row, row + stride, [](std::uint8_t byte) { return byte == 0; }))
            return;
    }
    attr.Set(record, on, 0);
}

void SetCellFlag(TavAttr& attr, unsigned id, long item, long record, int on)
{
    if (!attr.IsCreate())
        return;
    if (item + 1 < attr.GetBitColumns()) {
        const long row = record + 1;
        const bool unchanged = on ? RawBit(attr, row, item + 1) : !RawBit(attr, row, item + 1) && !RawBit(attr, row, 0);
        if (unchanged)
            return;
    }
    attr.Set(id, record, on, 0);
}

// Gives records first .. first + from.size() - 1 the flag rows that the records from[i] had
// (-1: none), as MoxData::ReorderRecords does with their cells. Rows that stay as they are
// are not touched.
void ReorderAttrRows(TavAttr& attr, const TavManager& manager, long first, const std::vector<long>& from)
{
    if (!attr.IsCreate() || from.empty())
        return;
    const auto stride = static_cast<std::size_t>(attr.GetBytesPerRow());
    const std::uint8_t* live = attr.GetBits() + (static_cast<std::size_t>(first) + 1) * stride;
    const std::vector<std::uint8_t> before(live, live + from.size() * stride);
    const std::vector<std::uint8_t> none(stride, 0);
    const long items = std::min<long>(attr.GetBitColumns() - 1, manager.GetItemCount());
    for (std::size_t i = 0; i < from.size(); ++i) {
        const std::uint8_t* wanted = from[i] < 0 ? none.data() : before.data() + static_cast<std::size_t>(from[i] - first) * stride;
        const std::uint8_t* now = before.data() + i * stride;
        if (std::equal(wanted, wanted + stride, now))
            continue;
        const long record = first + static_cast<long>(i);
        attr.Set(record, 0, 0);
        if (wanted[0] & 1u) {
            attr.Set(record, 1, 0);
            continue;
        }
        for (long item = 0; item < items; ++item) {
            const auto bit = static_cast<std::size_t>(item) + 1;
            if ((wanted[bit / 8] >> (bit % 8)) & 1u)
                attr.Set(manager.ItemNotoID(item), record, 1, 0);
        }
    }
}

// Cells and flags of a line as they were before the command: per item a presence byte and
// the cell's bytes; the flags the record and each cell had, counting the wider flags too.
struct LineState {
    std::vector<std::uint8_t> cells;
    std::vector<std::uint8_t> flags; // per line: [record, item 0 .. n-1] for warning, then disable
};

} // namespace

// ---- insert, delete, close up ----

bool TavCommon::SelectedLineBlock(std::int32_t& first, std::int32_t& count)
{
    std::vector<std::uint8_t> flags;
    const MoxRectArray* ranges = Selection(m_window, &flags);
    if (ranges == nullptr || QueryIsLineSel(&flags, 1) == 0)
        return false;
    const MoxRect block = ranges->GetAt(0);
    first = block.Top();
    count = block.Bottom() - block.Top() + 1;
    return true;
}

void TavCommon::ShiftLines(const char* stepName, bool insert, std::int32_t first, std::int32_t count)
{
    const TavUndoStep step(History(), stepName);
    TavUndoHistory& history = Data().History();
    TavLockArray locks = Data().Lock();
    if (insert) {
        history.AddInsertedRecords(first, count);
        Data().InsertRecord(first, count);
        AttrWarning().InsertRecord(first, count, 1);
        AttrDisable().InsertRecord(first, count, 1);
        InsertLockLines(locks, first, count, Data().GetRecordCount());
    } else {
        history.AddRemovedRecords(first, count);
        Data().RemoveRecord(first, count);
        AttrWarning().RemoveRecord(first, count, 1);
        AttrDisable().RemoveRecord(first, count, 1);
        DeleteLockLines(locks, first, count);
    }
    Data().SetLocks(std::move(locks));
}

int TavCommon::LineInsert()
{
    std::int32_t first = 0;
    std::int32_t count = 0;
    if (!SelectedLineBlock(first, count))
        return 0;
    long columns = 0;
    long rows = 0;
    CellCount(m_window, columns, rows);
    // The table never grows: lines pushed off its end must hold nothing.
    if (rows - Data().GetLastInputRecordNo() - 1 < count) {
        Warn(m_window, IDS_TAV_NO_ROOM_TO_INSERT);
        return 0;
    }
    ShiftLines("行挿入", true, first, count);
    return 1;
}

int TavCommon::LineDelete()
{
    std::int32_t first = 0;
    std::int32_t count = 0;
    if (!SelectedLineBlock(first, count))
        return 0;
    ShiftLines("行削除", false, first, count);
    return 1;
}

void TavCommon::LineCloseUp()
{
    std::vector<std::uint8_t> flags;
    const MoxRectArray* ranges = Selection(m_window, &flags);
    if (ranges == nullptr || QueryIsLineSel(&flags, 0) == 0)
        return;
    const MoxRectArray selection = *ranges;
    if (!OnCheckSrcLineEditArea(selection) || !OnCheckDstLineEditArea(selection))
        return;
    m_lineCommand = NifCommand::LineCloseUp;
    const EndOnUnwind ending([this] { EndLineCommand(); });
    OnBeginLineEdit();
    TavUndoStep step(History(), "行詰め");
    TavLockArray locks = Data().Lock();
    bool closedUp = false;
    for (std::size_t i = 0; i < selection.GetSize(); ++i) {
        const long top = selection.GetAt(i).Top();
        const long bottom = selection.GetAt(i).Bottom();
        // The lines up to the last that holds data keep their order when they are not blank;
        // the blank ones leave, and as many empty lines come in at the range's bottom. One
        // pass over the range, whatever the number of blank lines.
        const long last = std::min(bottom, Data().GetLastInputRecordNo());
        std::vector<long> from;
        from.reserve(static_cast<std::size_t>(bottom - top + 1));
        for (long line = top; line <= bottom; ++line)
            if (line > last || !QueryBlankLine(line))
                from.push_back(line);
        const auto removed = static_cast<std::size_t>(bottom - top + 1) - from.size();
        if (removed == 0)
            continue;
        closedUp = true;
        from.resize(from.size() + removed, -1);
        // Blank lines may hold data in items not shown: the range goes back raw.
        Data().History().AddRecordImage(top, bottom - top + 1);
        Data().ReorderRecords(top, from);
        ReorderAttrRows(AttrWarning(), Manager(), top, from);
        ReorderAttrRows(AttrDisable(), Manager(), top, from);
        std::vector<std::pair<long, long>> assigned;
        for (std::size_t j = 0; j < from.size(); ++j)
            if (from[j] != top + static_cast<long>(j))
                assigned.emplace_back(top + static_cast<long>(j), from[j]);
        RemapLockLines(locks, std::move(assigned));
    }
    // With no blank line to close up, the step stays empty and so is no step at all.
    if (closedUp)
        Data().SetLocks(std::move(locks));
    step.Close();
    m_window->Invalidate(FALSE);
    // The selection stays on the ranges when the command ends.
    m_dstBlocks = selection;
    OnFinishLineEdit();
}

// ---- move, copy, swap ----

void TavCommon::StartLineCommand(plat::UINT command)
{
    std::vector<std::uint8_t> flags;
    const MoxRectArray* ranges = Selection(m_window, &flags);
    if (ranges == nullptr || QueryIsLineSel(&flags, 0) == 0)
        return;
    m_dstBlocks.RemoveAll();
    m_srcBlocks.RemoveAll();
    m_dstBounds = MoxRect();
    for (std::size_t i = 0; i < ranges->GetSize(); ++i) {
        const MoxRect& range = ranges->GetAt(i);
        m_dstBlocks.Add(range, ranges->GetFlags(i));
        m_srcBlocks.Add(range, ranges->GetFlags(i));
        const MoxRect lowered(MoxPos{range.Left(), range.Top()}, MoxPos{range.Right(), range.Bottom() + 1});
        if (m_dstBounds.IsEmpty())
            m_dstBounds = lowered;
        else
            m_dstBounds = MoxRect(MoxPos{std::min(m_dstBounds.Left(), lowered.Left()), std::min(m_dstBounds.Top(), lowered.Top())},
                                  MoxPos{std::max(m_dstBounds.Right(), lowered.Right()),
                                         std::max(m_dstBounds.Bottom(), lowered.Bottom())});
    }
    if (!m_dstBounds.IsEmpty() && OnCheckSrcLineEditArea(m_srcBlocks)) {
        Request(MOXM_SETLINEMARK, 1);
        m_lineCommand = command;
    }
}

int TavCommon::ExecLineCommand()
{
    if (m_lineCommand == 0)
        return 0;
    const std::size_t blocks = std::min(m_srcBlocks.GetSize(), m_dstBlocks.GetSize());
    const bool swap = m_lineCommand == NifCommand::LineSwap;
    const bool move = m_lineCommand == NifCommand::LineMove;
    if (!swap) {
        bool moved = false;
        for (std::size_t i = 0; i < blocks; ++i)
            moved = moved || m_srcBlocks.GetAt(i).Top() != m_dstBlocks.GetAt(i).Top();
        if (blocks == 0 || !moved)
            return 0;
    } else {
        for (std::size_t i = 0; i < m_srcBlocks.GetSize(); ++i)
            for (std::size_t j = 0; j < m_dstBlocks.GetSize(); ++j)
                if (m_srcBlocks.GetAt(i).Top() <= m_dstBlocks.GetAt(j).Bottom() &&
                    m_dstBlocks.GetAt(j).Top() <= m_srcBlocks.GetAt(i).Bottom())
                    return 0;
    }
    if (!OnCheckDstLineEditArea(m_dstBlocks)) {
        OnCancelLineEdit();
        return 0;
    }
    const EndOnUnwind ending([this] { EndLineCommand(); });
    OnBeginLineEdit();

    TavManager& manager = Manager();
    TavData& data = Data();
    TavAttr& warning = AttrWarning();
    TavAttr& disable = AttrDisable();
    const long items = manager.GetItemCount();
    std::vector<unsigned> sizes(static_cast<std::size_t>(items));
    std::vector<unsigned> ids(static_cast<std::size_t>(items));
    std::size_t lineBytes = 0;
    for (long k = 0; k < items; ++k) {
        sizes[static_cast<std::size_t>(k)] = manager.GetDataSize(k);
        ids[static_cast<std::size_t>(k)] = manager.ItemNotoID(k);
        lineBytes += sizes[static_cast<std::size_t>(k)] + 1;
    }
    long lines = 0;
    for (std::size_t i = 0; i < blocks; ++i)
        lines += m_srcBlocks.GetAt(i).Bottom() - m_srcBlocks.GetAt(i).Top() + 1;

    // Everything is read before anything is written, so overlapping blocks move as they were.
    const std::size_t flagStride = 2 * static_cast<std::size_t>(items + 1);
    LineState source;
    LineState destination;
    for (LineState* state : {&source, &destination}) {
        state->cells.assign(lineBytes * static_cast<std::size_t>(lines), 0);
        state->flags.assign(flagStride * static_cast<std::size_t>(lines), 0);
    }
    const auto readLine = [&](LineState& state, std::size_t index, long record) {
        std::uint8_t* cell = state.cells.data() + index * lineBytes;
        for (long k = 0; k < items; ++k) {
            const unsigned size = sizes[static_cast<std::size_t>(k)];
            cell[0] = data.Get(k, record, cell + 1, size) ? 1 : 0;
            cell += size + 1;
        }
        std::uint8_t* flag = state.flags.data() + index * flagStride;
        for (const TavAttr* attr : {&warning, &disable}) {
            *flag++ = RecordFlag(*attr, record);
            for (long k = 0; k < items; ++k)
                *flag++ = CellFlag(*attr, ids[static_cast<std::size_t>(k)], k, record);
        }
    };
    // What undoing needs: the flag rows and lock ranges of every line touched (the cells are
    // recorded by the table as they are written).
    TavLockArray locks = data.Lock();
    std::vector<long> flagRecords;
    std::vector<std::pair<long, long>> assigned;
    std::size_t index = 0;
    for (std::size_t i = 0; i < blocks; ++i) {
        const MoxRect& src = m_srcBlocks.GetAt(i);
        const MoxRect& dst = m_dstBlocks.GetAt(i);
        const long count = src.Bottom() - src.Top() + 1;
        for (const MoxRect* block : {&src, &dst})
            for (long r = block->Top(); r < block->Top() + count; ++r)
                flagRecords.push_back(r);
        for (long r = src.Top(); r <= src.Bottom(); ++r, ++index) {
            const long d = r + (dst.Top() - src.Top());
            readLine(source, index, r);
            readLine(destination, index, d);
            if (move)
                assigned.emplace_back(r, -1);
            if (swap)
                assigned.emplace_back(r, d);
        }
    }
    for (std::size_t i = 0; i < blocks; ++i)
        for (long r = m_srcBlocks.GetAt(i).Top(); r <= m_srcBlocks.GetAt(i).Bottom(); ++r)
            assigned.emplace_back(r + (m_dstBlocks.GetAt(i).Top() - m_srcBlocks.GetAt(i).Top()), r);

    // One repaint at the end instead of one per cell, whatever a hook does meanwhile.
    TavUndoStep step(History(), move ? "行移動" : swap ? "行入替" : "行複写");
    auto flagRows = data.History().SaveFlagRows(flagRecords);
    std::optional<MoxDeferredViews> deferred(std::in_place, data);
    const auto writeCell = [&](const std::uint8_t* cell, long k, long record) {
        const plat::BOOL done = cell[0] != 0 ? data.Set(k, record, cell + 1, sizes[static_cast<std::size_t>(k)])
                                             : data.Delete(k, record);
        return done != FALSE;
    };
    const auto setFlags = [&](const LineState& from, std::size_t fromIndex, long record, long k) {
        const std::uint8_t* flag = from.flags.data() + fromIndex * flagStride;
        for (TavAttr* attr : {&warning, &disable}) {
            if (k < 0)
                SetRecordFlag(*attr, record, flag[0]);
            else
                SetCellFlag(*attr, ids[static_cast<std::size_t>(k)], k, record, flag[1 + k]);
            flag += items + 1;
        }
    };

    bool refused = false;
    if (move) {
        for (std::size_t i = 0; i < blocks && !refused; ++i) {
            for (long r = m_srcBlocks.GetAt(i).Top(); r <= m_srcBlocks.GetAt(i).Bottom() && !refused; ++r) {
                SetRecordFlag(warning, r, 0);
                SetRecordFlag(disable, r, 0);
                for (long k = 0; k < items && !refused; ++k) {
                    refused = !data.Delete(k, r);
                    SetCellFlag(warning, ids[static_cast<std::size_t>(k)], k, r, 0);
                    SetCellFlag(disable, ids[static_cast<std::size_t>(k)], k, r, 0);
                }
            }
        }
    }
    index = 0;
    for (std::size_t i = 0; i < blocks && !refused; ++i) {
        const long shift = m_dstBlocks.GetAt(i).Top() - m_srcBlocks.GetAt(i).Top();
        for (long r = m_srcBlocks.GetAt(i).Top(); r <= m_srcBlocks.GetAt(i).Bottom() && !refused; ++r, ++index) {
            const long d = r + shift;
            if (swap)
                setFlags(destination, index, r, -1);
            setFlags(source, index, d, -1);
            const std::uint8_t* fromSource = source.cells.data() + index * lineBytes;
            const std::uint8_t* fromDestination = destination.cells.data() + index * lineBytes;
            for (long k = 0; k < items && !refused; ++k) {
                if (swap) {
                    refused = !writeCell(fromDestination, k, r);
                    setFlags(destination, index, r, k);
                }
                refused = refused || !writeCell(fromSource, k, d);
                setFlags(source, index, d, k);
                const unsigned step = sizes[static_cast<std::size_t>(k)] + 1;
                fromSource += step;
                fromDestination += step;
            }
        }
    }

    deferred.reset();
    if (refused) {
        // The step puts back what was written, without asking (the host already refused,
        // and the lines were its own) but telling the host of each cell, and is dropped.
        data.History().Add(std::move(flagRows));
        step.Cancel();
        m_window->Invalidate(FALSE);
        OnCancelLineEdit();
        return 0;
    }
    RemapLockLines(locks, std::move(assigned));
    data.History().Add(std::move(flagRows));
    data.SetLocks(std::move(locks));
    step.Close();
    m_window->Invalidate(FALSE);
    OnFinishLineEdit();
    return 1;
}

// ---- caret moves ----

namespace {

// Moves the caret to a row of its column; with Shift held, the lines passed over join the
// selection.
void MoveCaretToRow(plat::Wnd* window, long row)
{
    const MoxPos from = Caret(window);
    const MoxPos to{from.column, static_cast<std::int32_t>(row)};
    SetCaret(window, to);
    if (!ShiftHeld() || from == to)
        return;
    MoxRectArray ranges;
    if (const MoxRectArray* current = Selection(window, nullptr))
        ranges = *current;
    ranges.Add(MoxRect(MoxPos{std::min(from.column, to.column), std::min(from.row, to.row)},
                       MoxPos{std::max(from.column, to.column), std::max(from.row, to.row)}));
    window->SendMessage(MOXM_SETSELECTION, reinterpret_cast<plat::WPARAM>(&ranges));
}

} // namespace

void TavCommon::MoveCurTop() { MoveCaretToRow(m_window, 0); }

void TavCommon::MoveCurBottom() { MoveCaretToRow(m_window, std::max(Data().GetLastInputRecordNo(), 0L)); }

void TavCommon::LineJump()
{
    long columns = 0;
    long rows = 0;
    CellCount(m_window, columns, rows);
    MoxPos caret = Caret(m_window);
    long line = caret.row + 1L;
    if (TavJumpDialog::Run(line, rows, m_window->GetOwner())) {
        caret.row = static_cast<std::int32_t>(line - 1);
        SetCaret(m_window, caret);
    }
}

void TavCommon::ReturnKeyDown()
{
    if (m_lineCommand != 0)
        static_cast<void>(ExecLineCommand()); // carried out or not, the pending command takes the Return
    else if (Request(MOXM_ISEDITING) == 0)
        MoveNextCursor();
}

void TavCommon::MoveNextCursor()
{
    long columns = 0;
    long rows = 0;
    CellCount(m_window, columns, rows);
    if (columns <= 0)
        return;
    const MoxPos caret = Caret(m_window);
    const int step = ShiftHeld() ? -1 : 1;
    // A column scrolled out of view is still on the way; one of no width is hidden.
    auto* grid = dynamic_cast<MoxCellCtrl*>(m_window);
    MoxPos pos = caret;
    for (;;) {
        pos.column += step;
        if (pos.column >= columns) {
            pos.column = 0;
            ++pos.row;
        } else if (pos.column < 0) {
            pos.column = static_cast<std::int32_t>(columns - 1);
            --pos.row;
        }
        if (pos.row >= rows) {
            Data().OnFinishLineData();
            return;
        }
        if (pos.row < 0)
            return;
        const bool editable = grid != nullptr ? grid->GetPaneWidth(pos.column) > 0 && QueryDisablePane(pos) == 0 &&
                                                    Manager().OnActiveControl(Manager().ColtoID(pos.column), pos.row) != 0
                                              : QueryEditAble(pos) != 0;
        if (!editable || QueryLockPane(pos) != 0)
            continue;
        if (OnChangeCurPos(caret, pos) == 0)
            continue;
        SetCaret(m_window, pos);
        if (pos.row != caret.row && QueryBlankLine(pos.row))
            Data().OnInitLineData(pos.row);
        return;
    }
}

// ---- find ----

long TavCommon::FindItemOfColumn(long column)
{
    long item = column;
    return Manager().ChangeDispNumber(item, FALSE) ? item : -1;
}

plat::Wnd* TavCommon::FindItemEditor(long itemNo) { return itemNo >= 0 ? Manager().ControlOf(itemNo) : nullptr; }

unsigned TavCommon::FindItemDataSize(long itemNo) { return Manager().GetDataSize(itemNo); }
