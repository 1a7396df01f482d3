// The two bulk operations on selected ranges: the cell lock, which takes the selection as the
// set of locked cells, and the area correction, which writes one value into one item over the
// selected rows, all of it or, when the host refuses any record, none of it.
#include "tav/command/TavCommon.h"

#include "components/mox/MoxDeferredViews.h"
#include "components/support/HixMrm.h"
#include "components/support/LunMrmNumEdit.h"
#include "components/support/TavcToggleButton.h"
#include "platform/ui/App.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Wnd.h"
#include "tav/data/TavData.h"
#include "tav/data/TavUndoHistory.h"
#include "tav/dialogs/TavAreaCorrectDialog.h"
#include "tav/dialogs/TavFixComboDialog.h"
#include "tav/dialogs/TavInputNumDialog.h"
#include "tav/dialogs/TavProgressWnd.h"
#include "tav/manager/TavManager.h"

#include <algorithm>
#include <limits>
#include <string>

namespace {

constexpr double kLimit = 99999999;
// Ranges shorter than this are written before a progress window could be read.
constexpr long kProgressRecords = 2000;
// The progress bar moves in about this many steps, however long the range.
constexpr long kProgressSteps = 200;
constexpr const char* kCorrectionTitle = "一括訂正";

// The spans of one item in list order, searched for the first live span at or after a place
// that shares a record with a given span. A tree over the list: each node holds its spans
// sorted by first record, with a tree of their last records (a removed span's last is below
// every record), so a node answers exactly, in a logarithm's time, whether any span below it
// meets the given one. A search then visits a logarithm's worth of nodes, whatever the order
// of the spans; a plainer tree of each node's smallest first and largest last record would
// visit most of them when spans lie scattered.
class SpanTree {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit SpanTree(const std::vector<TavLockData>& spans)
    {
        while (m_leaves < spans.size())
            m_leaves *= 2;
        std::vector<std::int32_t> lasts(m_leaves, kRemoved);
        std::vector<Key> leaf(m_leaves, Key{kPastAll, 0});
        for (std::size_t i = 0; i < spans.size(); ++i) {
            leaf[i] = Key{spans[i].first, static_cast<std::uint32_t>(i)};
            // A span that holds no record meets none.
            if (spans[i].first <= spans[i].last)
                lasts[i] = spans[i].last;
        }
        for (std::size_t i = spans.size(); i < m_leaves; ++i)
            leaf[i].index = static_cast<std::uint32_t>(i);
        // Level by level, each block the merge of its two halves below.
        for (std::size_t block = 1; block <= m_leaves; block *= 2) {
            Level& level = m_levels.emplace_back();
            if (block == 1) {
                level.keys = leaf;
            } else {
                const Level& below = m_levels[m_levels.size() - 2];
                level.keys.resize(m_leaves);
                auto from = [&](std::size_t k) { return below.keys.begin() + static_cast<std::ptrdiff_t>(k); };
                for (std::size_t start = 0; start < m_leaves; start += block)
                    std::merge(from(start), from(start + block / 2), from(start + block / 2), from(start + block),
                               level.keys.begin() + static_cast<std::ptrdiff_t>(start));
            }
            // Per block a tree of maxima over its sorted places: the block's leaves at
            // [block, 2 * block) of its 2 * block slots.
            level.maxima.assign(2 * m_leaves, kRemoved);
            for (std::size_t start = 0; start < m_leaves; start += block) {
                std::int32_t* tree = &level.maxima[2 * start];
                for (std::size_t k = 0; k < block; ++k)
                    tree[block + k] = lasts[level.keys[start + k].index];
                for (std::size_t node = block - 1; node >= 1; --node)
                    tree[node] = std::max(tree[2 * node], tree[2 * node + 1]);
            }
        }
        m_first.resize(spans.size());
        for (std::size_t i = 0; i < spans.size(); ++i)
            m_first[i] = spans[i].first;
    }

    void Remove(std::size_t index)
    {
        const Key key{m_first[index], static_cast<std::uint32_t>(index)};
        for (std::size_t height = 0; height < m_levels.size(); ++height) {
            const std::size_t block = std::size_t{1} << height;
            const std::size_t start = index & ~(block - 1);
            Level& level = m_levels[height];
            const auto begin = level.keys.begin() + static_cast<std::ptrdiff_t>(start);
            const auto place = static_cast<std::size_t>(std::lower_bound(begin, begin + static_cast<std::ptrdiff_t>(block), key) - begin);
            std::int32_t* tree = &level.maxima[2 * start];
            std::size_t node = block + place;
            tree[node] = kRemoved;
            for (node /= 2; node >= 1; node /= 2)
                tree[node] = std::max(tree[2 * node], tree[2 * node + 1]);
        }
    }

    // The first live span at or after `from` that shares a record with first..last, or npos.
    [[nodiscard]] std::size_t Find(std::size_t from, std::int32_t first, std::int32_t last) const
    {
        return Find(m_levels.size() - 1, 0, from, first, last);
    }

private:
    struct Key {
        std::int32_t first;
        std::uint32_t index;
        friend bool operator<(const Key& a, const Key& b) noexcept
        {
            return a.first != b.first ? a.first < b.first : a.index < b.index;
        }
    };
    struct Level {
        std::vector<Key> keys;            // per block, sorted by first record
        std::vector<std::int32_t> maxima; // per block, a tree of the last records in that order
    };
    static constexpr std::int32_t kRemoved = std::numeric_limits<std::int32_t>::min();
    static constexpr std::int32_t kPastAll = std::numeric_limits<std::int32_t>::max();

    // Whether a live span of the block starts at or before `last` and ends at or after `first`.
    [[nodiscard]] bool Meets(std::size_t height, std::size_t start, std::int32_t first, std::int32_t last) const
    {
        const std::size_t block = std::size_t{1} << height;
        const Level& level = m_levels[height];
        const auto begin = level.keys.begin() + static_cast<std::ptrdiff_t>(start);
        const auto count = static_cast<std::size_t>(
            std::upper_bound(begin, begin + static_cast<std::ptrdiff_t>(block), last,
                             [](std::int32_t value, const Key& key) { return value < key.first; }) -
            begin);
        // The largest last record among the first `count` places.
        const std::int32_t* tree = &level.maxima[2 * start];
        std::int32_t best = kRemoved;
        for (std::size_t low = block, high = block + count; low < high; low /= 2, high /= 2) {
            if (low & 1)
                best = std::max(best, tree[low++]);
            if (high & 1)
                best = std::max(best, tree[--high]);
        }
        return best >= first;
    }

    [[nodiscard]] std::size_t Find(std::size_t height, std::size_t start, std::size_t from, std::int32_t first, std::int32_t last) const
    {
        const std::size_t block = std::size_t{1} << height;
        if (start + block <= from || !Meets(height, start, first, last))
            return npos;
        if (height == 0)
            return start;
        const std::size_t left = Find(height - 1, start, from, first, last);
        return left != npos ? left : Find(height - 1, start + block / 2, from, first, last);
    }

    std::size_t m_leaves = 1;
    std::vector<Level> m_levels;
    std::vector<std::int32_t> m_first;
};

// Merges the spans of one item in place; merged[k] is set for each span taken into another.
// Each span in turn takes in the later spans that share a record with it as it has grown so
// far; a later span it passed before growing stays, as it would in a pairwise walk.
void MergeItemSpans(std::vector<TavLockData>& spans, std::vector<bool>& merged)
{
    SpanTree tree(spans);
    for (std::size_t k = 0; k < spans.size(); ++k) {
        if (merged[k])
            continue;
        tree.Remove(k);
        TavLockData& span = spans[k];
        if (span.first > span.last)
            continue;
        for (std::size_t j = tree.Find(k + 1, span.first, span.last); j != SpanTree::npos;
             j = tree.Find(j + 1, span.first, span.last)) {
            span.first = std::min(span.first, spans[j].first);
            span.last = std::max(span.last, spans[j].last);
            merged[j] = true;
            tree.Remove(j);
        }
    }
}

// What a correction wrote is one step of the table's history: when the host refused any
// record, the step puts back what was written and is dropped; otherwise it stays, to be
// taken back whole.
class CorrectionLog {
public:
    explicit CorrectionLog(TavData& data) : m_history(data.History()) { m_history.OpenCommandStep("一括訂正"); }
    ~CorrectionLog()
    {
        if (m_open)
            m_history.CloseCommandStep(true);
    }
    CorrectionLog(const CorrectionLog&) = delete;
    CorrectionLog& operator=(const CorrectionLog&) = delete;

    void Before(long /*record*/) {}
    void After(plat::BOOL written)
    {
        if (!written)
            ++m_refused;
    }
    [[nodiscard]] long Refused() const noexcept { return m_refused; }
    void Restore()
    {
        m_open = false;
        m_history.CloseCommandStep(true);
    }
    void Keep()
    {
        m_open = false;
        m_history.CloseCommandStep(false);
    }

private:
    TavUndoHistory& m_history;
    bool m_open = true;
    long m_refused = 0;
};


// The progress of one range, shown only for ranges long enough to be watched and moved a
// step at a time rather than at every record.
class RangeProgress {
public:
    RangeProgress(plat::Wnd* parent, long top, long bottom) : m_step(std::max(1L, (bottom - top + 1) / kProgressSteps))
    {
        if (bottom - top + 1 < kProgressRecords)
            return;
        m_shown = m_window.Create(kCorrectionTitle, parent) != 0; // without the window the work goes on unshown
        m_window.SetRange(static_cast<int>(top), static_cast<int>(bottom));
        m_next = top;
    }
    void At(long record)
    {
        if (m_shown && record >= m_next) {
            m_window.SetPos(static_cast<int>(record));
            m_next = record + m_step;
        }
    }

private:
    TavProgressWnd m_window;
    long m_step;
    long m_next = 0;
    bool m_shown = false;
};

// The values the item may hold: the dialog's own bounds, narrowed by the editor's bounds,
// and no negative value unless its integer attribute allows one.
void ItemLimits(const LunMrmNumEdit& edit, int integerAttr, double& low, double& high)
{
    low = -kLimit;
    high = kLimit;
    double min = 0;
    double max = 0;
    if (edit.GetMinMax(min, max)) {
        low = std::max(low, min);
        high = std::min(high, max);
    }
    if (integerAttr == 0)
        low = std::max(low, 0.0);
}

void TellRefused(plat::Wnd* parent, long refused)
{
    plat::MessageBox(parent,
                     std::to_string(refused) + " 件のレコードが訂正を受け付けなかったため、一括訂正を取り消しました。", {},
                     plat::MB_OK | plat::MB_ICONWARNING);
}

// Writes the item's cell of each record of the ranges that hold the column, with the views
// quiet and a progress window for long ranges; write(record, log) skips the record or writes
// it between log.Before and log.After. Refused records undo the whole correction, and the
// person is told how many there were.
template <class Write>
void WriteOverRanges(TavData& data, long /*itemNo*/, const MoxRectArray& ranges, long column, plat::Wnd* parent, Write write)
{
    CorrectionLog log(data);
    {
        MoxDeferredViews deferred(data);
        for (std::size_t i = 0; i < ranges.GetSize(); ++i) {
            const MoxRect& range = ranges.GetAt(i);
            if (column < range.Left() || column > range.Right())
                continue;
            RangeProgress progress(parent, range.Top(), range.Bottom());
            for (long record = range.Top(); record <= range.Bottom(); ++record) {
                progress.At(record);
                write(record, log);
            }
        }
        if (log.Refused() > 0)
            log.Restore();
        else
            log.Keep();
    }
    if (log.Refused() > 0)
        TellRefused(parent, log.Refused());
}

} // namespace

void TavCommon::BuildLockList(const MoxRectArray& selection, const std::vector<std::uint8_t>& flags, long recordCount,
                              const std::vector<unsigned>& ids, TavLockArray& locks)
{
    std::vector<TavLockData> entries;
    for (std::size_t i = 0; i < selection.GetSize(); ++i) {
        const MoxRect& range = selection.GetAt(i);
        if (range.IsEmpty())
            continue;
        const bool wholeColumns = i < flags.size() && (flags[i] & MoxRectArray::kWholeColumns) != 0;
        const auto last = wholeColumns ? static_cast<std::int32_t>(recordCount - 1) : range.Bottom();
        for (std::int32_t column = range.Left(); column <= range.Right(); ++column) {
            const unsigned id = column >= 0 && static_cast<std::size_t>(column) < ids.size() ? ids[static_cast<std::size_t>(column)]
                                                                                                : static_cast<unsigned>(column);
            entries.push_back(TavLockData{id, range.Top(), last});
        }
    }
    // Each item's spans merge among themselves only, in list order; the survivors keep their
    // places, which the stored templates keep too.
    std::vector<std::size_t> order(entries.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return entries[a].id < entries[b].id; });
    std::vector<bool> gone(entries.size());
    std::vector<TavLockData> spans;
    std::vector<bool> merged;
    for (std::size_t begin = 0; begin < order.size();) {
        std::size_t end = begin + 1;
        while (end < order.size() && entries[order[end]].id == entries[order[begin]].id)
            ++end;
        spans.clear();
        for (std::size_t k = begin; k < end; ++k)
            spans.push_back(entries[order[k]]);
        merged.assign(spans.size(), false);
        MergeItemSpans(spans, merged);
        for (std::size_t k = begin; k < end; ++k) {
            entries[order[k]] = spans[k - begin];
            gone[order[k]] = merged[k - begin];
        }
        begin = end;
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (!gone[i])
            entries[kept++] = entries[i];
    entries.resize(kept);
    locks.Assign(std::move(entries));
}

void TavCommon::CellLock()
{
    plat::WaitCursor wait;
    TavManager& manager = Manager();
    TavUndoStep step(History(), "ｾﾙﾛｯｸ");
    manager.SetCellLock(manager.QueryCellLock() ? FALSE : TRUE);
    TavLockArray locks;
    if (manager.QueryCellLock()) {
        std::vector<std::uint8_t> flags;
        const auto* selection = reinterpret_cast<const MoxRectArray*>(Request(MOXM_GETSELECTION, reinterpret_cast<plat::WPARAM>(&flags)));
        if (selection == nullptr || selection->IsEmpty()) {
            manager.SetCellLock(FALSE);
        } else {
            std::int32_t columns = 0;
            for (std::size_t i = 0; i < selection->GetSize(); ++i)
                if (!selection->GetAt(i).IsEmpty())
                    columns = std::max(columns, selection->GetAt(i).Right() + 1);
            std::vector<unsigned> ids(static_cast<std::size_t>(std::max<std::int32_t>(columns, 0)));
            for (std::size_t column = 0; column < ids.size(); ++column)
                ids[column] = manager.ColtoID(static_cast<long>(column));
            long items = 0;
            long records = 0;
            Data().GetSize(items, records);
            BuildLockList(*selection, flags, records, ids, locks);
        }
    }
    Data().SetLocks(std::move(locks));
    step.Close();
    if (m_window != nullptr)
        m_window->Invalidate(TRUE);
}

void TavCommon::AreaCorrect()
{
    // The cell being edited goes into the table first, so that the correction sees it.
    if (Request(MOXM_ISEDITING) != 0) {
        Request(MOXM_CLOSEEDITOR, 1);
        if (Request(MOXM_ISEDITING) != 0)
            return;
    }
    plat::Wnd* owner = m_window->GetOwner();
    TavAreaCorrectDialog dialog(*this, owner != nullptr ? owner : m_window->GetParent());
    static_cast<void>(dialog.DoModal());
}

int TavCommon::OnAreaCorrect(unsigned id, const MoxRectArray* ranges, plat::Wnd* parent)
{
    if (ranges == nullptr)
        return 0;
    const long column = Manager().IDtoCol(id);
    int flag = 0;
    plat::Wnd* control = Manager().OnGetControl(id, flag);
    if (control == nullptr)
        return 0;
    // Tested in this order; a later kind wins, the toggle button last.
    enum class Kind { None, Number, Choice } kind = Kind::None;
    if (dynamic_cast<LunMrmNumEdit*>(control) != nullptr)
        kind = Kind::Number;
    if (dynamic_cast<plat::ComboBox*>(control) != nullptr)
        kind = Kind::Choice;
    if (dynamic_cast<TavcToggleButton*>(control) != nullptr)
        kind = Kind::Choice;
    switch (kind) {
    case Kind::Number: return CorrectNumber(id, column, *ranges, control, parent);
    case Kind::Choice: return CorrectChoice(id, column, *ranges, control, parent);
    case Kind::None: break;
    }
    return 0;
}

int TavCommon::CorrectNumber(unsigned id, long column, const MoxRectArray& ranges, plat::Wnd* control, plat::Wnd* parent)
{
    auto& edit = *dynamic_cast<LunMrmNumEdit*>(control);
    HixMrm measure(5, 0, 4);
    int integerAttr = 0;
    unsigned short figureAttr = 0;
    edit.GetNumAttr(&measure, &integerAttr, &figureAttr);
    TavInputNumDialog dialog(&measure, integerAttr, figureAttr, parent);
    if (dialog.DoModal() != plat::IDOK)
        return 1;
    const double value = dialog.GetValue();
    const bool add = dialog.GetMethod() == 0;
    TavData& data = Data();
    const long itemNo = Manager().IDtoItemNo(id);

    // Every value the correction would write must be one the item can hold; otherwise
    // nothing is written.
    double low = 0;
    double high = 0;
    ItemLimits(edit, integerAttr, low, high);
    double lowest = value;
    double highest = value;
    if (add) {
        lowest = std::numeric_limits<double>::infinity();
        highest = -lowest;
        for (std::size_t i = 0; i < ranges.GetSize(); ++i) {
            const MoxRect& range = ranges.GetAt(i);
            if (column < range.Left() || column > range.Right())
                continue;
            for (long record = range.Top(); record <= range.Bottom(); ++record) {
                double old = 0;
                if (QueryDisablePane(MoxPos{static_cast<std::int32_t>(column), static_cast<std::int32_t>(record)}) != 0 ||
                    !data.Get(itemNo, record, old))
                    continue;
                lowest = std::min(lowest, old + value);
                highest = std::max(highest, old + value);
            }
        }
    }
    if (lowest < low || highest > high) {
        plat::MessageBox(parent,
                         "訂正後の値が項目の範囲 (" + measure.StrDouble(low) + " から " + measure.StrDouble(high) +
                             ") を超えるため、訂正できません。",
                         {}, plat::MB_OK | plat::MB_ICONWARNING);
        return 1;
    }

    WriteOverRanges(data, itemNo, ranges, column, parent, [&](long record, CorrectionLog& log) {
        if (QueryDisablePane(MoxPos{static_cast<std::int32_t>(column), static_cast<std::int32_t>(record)}) != 0)
            return;
        double written = value;
        if (add) {
            double old = 0;
            if (!data.Get(id, record, old))
                return;
            written = old + value;
        }
        log.Before(record);
        log.After(data.Set(id, record, written));
    });
    return 1;
}

int TavCommon::CorrectChoice(unsigned id, long column, const MoxRectArray& ranges, plat::Wnd* control, plat::Wnd* parent)
{
    const auto headings = static_cast<int>(Request(MOXM_GETFIXEDROWCOUNT));
    std::string heading;
    // A column without a heading leaves it empty, which the dialog shows as such.
    static_cast<void>(Manager().OnSetFixedRowText(MoxPos{static_cast<std::int32_t>(column), headings - 1}, heading));
    MoxPos caret{0, 0};
    Request(MOXM_GETCARET, reinterpret_cast<plat::WPARAM>(&caret));
    unsigned char current = 0;
    static_cast<void>(Data().Get(id, caret.row, current));
    auto* toggle = dynamic_cast<TavcToggleButton*>(control);
    if (toggle != nullptr)
        toggle->SetIndex(current);
    else
        control->SendMessage(plat::CB_SETCURSEL, current);
    TavFixupComboboxDialog dialog(heading.c_str(), control, parent);
    if (dialog.DoModal() != plat::IDOK)
        return 1;
    // No entry chosen: there is no choice to write.
    const int index = dialog.GetIndex();
    if (index < 0)
        return 1;

    TavData& data = Data();
    const long itemNo = Manager().IDtoItemNo(id);
    WriteOverRanges(data, itemNo, ranges, column, parent, [&](long record, CorrectionLog& log) {
        if (QueryDisablePane(MoxPos{static_cast<std::int32_t>(column), static_cast<std::int32_t>(record)}) != 0)
            return;
        log.Before(record);
        log.After(data.Set(id, record, static_cast<unsigned char>(index)));
    });
    return 1;
}
