// The undo history and the parts its steps are made of: cells with the bytes they held,
// removed or inserted records, raw record images, flag rows, lock ranges and the layout.
#include "tav/data/TavUndoHistory.h"

#include "components/mox/MoxDeferredViews.h"
#include "platform/io/Archive.h"
#include "platform/ui/App.h"
#include "platform/ui/Wnd.h"
#include "tav/data/TavAttr.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>
#include <malloc.h>
#include <new>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

namespace {

// What a block taken from the heap really costs: the allocator rounds each request up and
// keeps a header beside it, which for the many blocks of a long history is no small part.
std::size_t HeapBytes(const void* block) noexcept
{
    return block != nullptr ? malloc_usable_size(const_cast<void*>(block)) + sizeof(std::size_t) : 0;
}

template <typename T>
std::size_t HeapBytes(const std::vector<T>& vector) noexcept
{
    return vector.capacity() != 0 ? HeapBytes(vector.data()) : 0;
}

std::size_t PageBytes() noexcept
{
    static const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return page;
}

// Blocks of a page or more come straight from the system's pages and go back to them when
// freed. A history's blocks live long among the short-lived blocks of the commands that made
// them; on the heap each pins the space around it, and a thousand pastes took several times
// the memory the history held.
template <typename T>
class PageAllocator {
public:
    using value_type = T;
    PageAllocator() noexcept = default;
    template <typename U>
    PageAllocator(const PageAllocator<U>&) noexcept
    {
    }
    T* allocate(std::size_t count)
    {
        const std::size_t bytes = count * sizeof(T);
        if (bytes < PageBytes())
            return static_cast<T*>(::operator new(bytes));
        void* block = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED)
            throw std::bad_alloc();
        return static_cast<T*>(block);
    }
    void deallocate(T* block, std::size_t count) noexcept
    {
        const std::size_t bytes = count * sizeof(T);
        if (bytes < PageBytes())
            ::operator delete(block);
        else
            ::munmap(block, bytes);
    }
    friend bool operator==(const PageAllocator&, const PageAllocator&) noexcept { return true; }
};

template <typename T>
std::size_t HeapBytes(const std::vector<T, PageAllocator<T>>& vector) noexcept
{
    const std::size_t bytes = vector.capacity() * sizeof(T);
    if (bytes < PageBytes())
        return bytes != 0 ? HeapBytes(vector.data()) : 0;
    return (bytes + PageBytes() - 1) / PageBytes() * PageBytes();
}

// A short text lives inside the string object itself, not on the heap.
std::size_t HeapBytes(const std::string& text) noexcept
{
    const auto inside = reinterpret_cast<std::uintptr_t>(text.data()) - reinterpret_cast<std::uintptr_t>(&text);
    return inside < sizeof text ? 0 : HeapBytes(text.data());
}

// Changes made while a step is replayed are the history's own, not to be recorded; the
// switch goes off again however the replay ends.
class Replaying {
public:
    explicit Replaying(bool& replaying) : m_replaying(replaying), m_saved(replaying) { m_replaying = true; }
    ~Replaying() { m_replaying = m_saved; }
    Replaying(const Replaying&) = delete;
    Replaying& operator=(const Replaying&) = delete;

private:
    bool& m_replaying;
    bool m_saved;
};

// The histories with a step open, for the message loop's cleanup after an exception.
std::vector<TavUndoHistory*>& OpenHistories()
{
    static std::vector<TavUndoHistory*> open;
    return open;
}

// Writes that put back what the host agreed to before are not asked of it again.
class Restoring {
public:
    explicit Restoring(TavData& data) : m_data(data), m_saved(data.IsRestoring()) { m_data.SetRestoring(true); }
    ~Restoring() { m_data.SetRestoring(m_saved); }
    Restoring(const Restoring&) = delete;
    Restoring& operator=(const Restoring&) = delete;

private:
    TavData& m_data;
    bool m_saved;
};

// The flag rows of some ranges of records in one attribute table; only rows with a flag set
// are kept, so the rows of unmarked records cost nothing.
class RowImage {
public:
    void Save(const TavAttr& attr, long first, long count)
    {
        m_ranges.emplace_back(first, count);
        if (!attr.IsCreate())
            return;
        m_stride = static_cast<std::size_t>(attr.GetBytesPerRow());
        for (long record = first; record < first + count; ++record) {
            const std::uint8_t* row = Row(attr, record);
            if (std::any_of(row, row + m_stride, [](std::uint8_t byte) { return byte != 0; })) {
                m_records.push_back(record);
                m_bytes.insert(m_bytes.end(), row, row + m_stride);
            }
        }
    }
    // Gives the saved ranges the saved rows, through the table's own operations.
    void Write(TavAttr& attr, const TavManager& manager) const
    {
        if (!attr.IsCreate())
            return;
        const auto stride = static_cast<std::size_t>(attr.GetBytesPerRow());
        for (const auto& [first, count] : m_ranges)
            for (long record = first; record < first + count; ++record) {
                const std::uint8_t* row = Row(attr, record);
                if (std::any_of(row, row + stride, [](std::uint8_t byte) { return byte != 0; }))
                    attr.Set(record, 0, 0);
            }
        if (stride != m_stride)
            return; // the table was made again meanwhile: its rows start clear
        const long items = std::min<long>(attr.GetBitColumns() - 1, manager.GetItemCount());
        for (std::size_t i = 0; i < m_records.size(); ++i) {
            const std::uint8_t* row = m_bytes.data() + i * m_stride;
            if (row[0] & 1u) {
                attr.Set(m_records[i], 1, 0);
                continue;
            }
            for (long item = 0; item < items; ++item) {
                const auto bit = static_cast<std::size_t>(item) + 1;
                if ((row[bit / 8] >> (bit % 8)) & 1u)
                    attr.Set(manager.ItemNotoID(item), m_records[i], 1, 0);
            }
        }
    }
    [[nodiscard]] std::size_t Bytes() const noexcept
    {
        return HeapBytes(m_ranges) + HeapBytes(m_records) + HeapBytes(m_bytes);
    }

private:
    static const std::uint8_t* Row(const TavAttr& attr, long record)
    {
        return attr.GetBits() + (static_cast<std::size_t>(record) + 1) * static_cast<std::size_t>(attr.GetBytesPerRow());
    }
    std::vector<std::pair<long, long>> m_ranges;
    std::size_t m_stride = 0;
    std::vector<long> m_records;
    std::vector<std::uint8_t> m_bytes;
};

// Both attribute tables of a table bound to a manager.
struct Flags {
    RowImage warning;
    RowImage disable;

    void Save(TavData& data, long first, long count)
    {
        if (TavManager* manager = data.Manager()) {
            warning.Save(manager->AttrWarning(), first, count);
            disable.Save(manager->AttrDisable(), first, count);
        }
    }
    void Write(TavData& data) const
    {
        if (TavManager* manager = data.Manager()) {
            warning.Write(manager->AttrWarning(), *manager);
            disable.Write(manager->AttrDisable(), *manager);
        }
    }
    [[nodiscard]] std::size_t Bytes() const noexcept { return warning.Bytes() + disable.Bytes(); }
};

void ShiftFlags(TavData& data, long first, long count, bool insert)
{
    TavManager* manager = data.Manager();
    if (manager == nullptr)
        return;
    for (TavAttr* attr : {&manager->AttrWarning(), &manager->AttrDisable()}) {
        if (insert)
            attr->InsertRecord(first, count, 0);
        else
            attr->RemoveRecord(first, count, 0);
    }
}

class RemovedRecords final : public TavUndoHistory::Action {
public:
    RemovedRecords(TavData& data, long first, long count)
        : m_first(first), m_count(std::min(count, data.GetRecordCount() - first)), m_image(data.SaveRecords(first, m_count))
    {
        m_flags.Save(data, first, m_count);
    }
    bool Apply(TavData& data, bool undo) override
    {
        if (undo) {
            // The records the removal brought in at the end are empty: they go off it again.
            if (!data.InsertRecord(m_first, m_count))
                return false;
            data.RestoreRecords(m_first, m_count, m_image);
            ShiftFlags(data, m_first, m_count, true);
            m_flags.Write(data);
        } else {
            if (!data.RemoveRecord(m_first, m_count))
                return false;
            ShiftFlags(data, m_first, m_count, false);
        }
        return true;
    }
    [[nodiscard]] std::size_t Bytes() const noexcept override
    {
        return HeapBytes(this) + HeapBytes(m_image) + m_flags.Bytes();
    }

private:
    long m_first;
    long m_count;
    std::vector<std::uint8_t> m_image;
    Flags m_flags;
};

class InsertedRecords final : public TavUndoHistory::Action {
public:
    InsertedRecords(TavData& data, long first, long count)
        : m_first(first), m_count(std::min(count, data.GetRecordCount() - first))
    {
        // What the insertion pushes off the end: empty records (the command checks), but
        // their flag rows may be set.
        m_tailFirst = data.GetRecordCount() - m_count;
        if (data.GetLastInputRecordNo() >= m_tailFirst)
            m_tail = data.SaveRecords(m_tailFirst, m_count);
        m_flags.Save(data, m_tailFirst, m_count);
    }
    bool Apply(TavData& data, bool undo) override
    {
        if (undo) {
            if (!data.RemoveRecord(m_first, m_count))
                return false;
            if (!m_tail.empty())
                data.RestoreRecords(m_tailFirst, m_count, m_tail);
            ShiftFlags(data, m_first, m_count, false);
            m_flags.Write(data);
        } else {
            if (!data.InsertRecord(m_first, m_count))
                return false;
            ShiftFlags(data, m_first, m_count, true);
        }
        return true;
    }
    [[nodiscard]] std::size_t Bytes() const noexcept override { return HeapBytes(this) + HeapBytes(m_tail) + m_flags.Bytes(); }

private:
    long m_first;
    long m_count;
    long m_tailFirst = 0;
    std::vector<std::uint8_t> m_tail;
    Flags m_flags;
};

// Records and flag rows put back raw, for changes that asked no hook either.
class RecordImage final : public TavUndoHistory::Action {
public:
    RecordImage(TavData& data, long first, long count) : m_first(first), m_count(count), m_image(data.SaveRecords(first, count))
    {
        m_flags.Save(data, first, count);
    }
    bool Apply(TavData& data, bool /*undo*/) override
    {
        std::vector<std::uint8_t> now = data.SaveRecords(m_first, m_count);
        Flags flags;
        flags.Save(data, m_first, m_count);
        data.RestoreRecords(m_first, m_count, m_image);
        m_flags.Write(data);
        m_image = std::move(now);
        m_flags = std::move(flags);
        return true;
    }
    [[nodiscard]] std::size_t Bytes() const noexcept override { return HeapBytes(this) + HeapBytes(m_image) + m_flags.Bytes(); }

private:
    long m_first;
    long m_count;
    std::vector<std::uint8_t> m_image;
    Flags m_flags;
};

class FlagRows final : public TavUndoHistory::Action {
public:
    FlagRows(TavData& data, const std::vector<long>& records) : m_records(records)
    {
        for (const long record : m_records)
            m_flags.Save(data, record, 1);
    }
    bool Apply(TavData& data, bool /*undo*/) override
    {
        Flags now;
        for (const long record : m_records)
            now.Save(data, record, 1);
        m_flags.Write(data);
        m_flags = std::move(now);
        return true;
    }
    [[nodiscard]] std::size_t Bytes() const noexcept override
    {
        return HeapBytes(this) + HeapBytes(m_records) + m_flags.Bytes();
    }

private:
    std::vector<long> m_records;
    Flags m_flags;
};

void Repaint(TavData& data)
{
    if (plat::Wnd* cell = data.Cell(); plat::IsWindow(cell))
        cell->Invalidate(TRUE);
}

class Locks final : public TavUndoHistory::Action {
public:
    Locks(std::int32_t cellLock, TavLockArray locks) : m_cellLock(cellLock), m_locks(std::move(locks)) {}
    bool Apply(TavData& data, bool /*undo*/) override
    {
        const std::int32_t cellLock = data.GetCellLockFlag();
        TavLockArray locks = data.Lock();
        // FALSE only says the switch already had that value.
        static_cast<void>(data.SetCellLockFlag(m_cellLock));
        data.SetLocks(std::move(m_locks));
        m_cellLock = cellLock;
        m_locks = std::move(locks);
        Repaint(data);
        return true;
    }
    [[nodiscard]] std::size_t Bytes() const noexcept override
    {
        return HeapBytes(this) + (m_locks.IsEmpty() ? 0 : HeapBytes(&*m_locks.begin()));
    }

private:
    std::int32_t m_cellLock;
    TavLockArray m_locks;
};

std::vector<std::uint8_t> StoredLayout(TavData& data)
{
    plat::Archive archive = plat::Archive::ForStoring();
    data.SerializeTemplate(archive);
    return archive.TakeBytes();
}

class Layout final : public TavUndoHistory::Action {
public:
    explicit Layout(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    bool Apply(TavData& data, bool /*undo*/) override
    {
        std::vector<std::uint8_t> now = StoredLayout(data);
        plat::Archive archive = plat::Archive::ForLoading(std::move(m_bytes));
        data.SerializeTemplate(archive);
        m_bytes = std::move(now);
        data.SetModifiedFlag(TRUE);
        if (TavManager* manager = data.Manager())
            manager->LayoutRestored();
        return true;
    }
    [[nodiscard]] std::size_t Bytes() const noexcept override { return HeapBytes(this) + HeapBytes(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace

// Cells in the order they were written, each with the bytes it held then. Taking the log back
// walks it backwards and doing it again forwards; each cell swaps what it holds with what
// the log keeps, so one copy of the bytes serves both ways. The log is one block of entries
// (item, record with a mark for a cell that held something, the cell's bytes), taken from
// the system's pages once it reaches a page.
class TavUndoHistory::CellLog final : public TavUndoHistory::Action {
public:
    void Record(const TavData& data, long itemNo, long record)
    {
        const unsigned size = data.GetItemSize(itemNo);
        const std::size_t at = m_log.size();
        m_log.resize(at + kHeaderBytes + size);
        const bool present = data.GetBuffer(itemNo, record, m_log.data() + at + kHeaderBytes, size) != FALSE;
        WriteHeader(at, static_cast<std::int32_t>(itemNo), static_cast<std::uint32_t>(record) | (present ? kPresent : 0));
        ++m_count;
    }
    bool Apply(TavData& data, bool undo) override
    {
        // Where each entry starts, found by walking the sizes forwards, so none is kept.
        std::vector<std::size_t> starts(m_count);
        for (std::size_t k = 0, at = 0; k < m_count; ++k) {
            starts[k] = at;
            at += kHeaderBytes + data.GetItemSize(Item(at));
        }
        for (std::size_t n = 0; n < m_count; ++n) {
            if (Swap(data, starts[undo ? m_count - 1 - n : n], false))
                continue;
            // Back to how it was before this part began, without asking again.
            Restoring restoring(data);
            for (std::size_t m = n; m-- > 0;)
                static_cast<void>(Swap(data, starts[undo ? m_count - 1 - m : m], true));
            return false;
        }
        return true;
    }
    [[nodiscard]] std::size_t Bytes() const noexcept override { return HeapBytes(this) + HeapBytes(m_log); }
    void Shrink() { m_log.shrink_to_fit(); }

private:
    static constexpr std::size_t kHeaderBytes = 8;
    static constexpr std::uint32_t kPresent = 0x80000000u;

    [[nodiscard]] std::int32_t Item(std::size_t at) const
    {
        std::int32_t item = 0;
        std::memcpy(&item, m_log.data() + at, sizeof item);
        return item;
    }
    [[nodiscard]] std::uint32_t RecordWord(std::size_t at) const
    {
        std::uint32_t word = 0;
        std::memcpy(&word, m_log.data() + at + 4, sizeof word);
        return word;
    }
    void WriteHeader(std::size_t at, std::int32_t item, std::uint32_t recordWord)
    {
        std::memcpy(m_log.data() + at, &item, sizeof item);
        std::memcpy(m_log.data() + at + 4, &recordWord, sizeof recordWord);
    }
    bool Swap(TavData& data, std::size_t at, bool force)
    {
        const long itemNo = Item(at);
        const std::uint32_t word = RecordWord(at);
        const long record = static_cast<long>(word & ~kPresent);
        const unsigned size = data.GetItemSize(itemNo);
        std::uint8_t* kept = m_log.data() + at + kHeaderBytes;
        std::uint8_t small[64];
        std::vector<std::uint8_t> large;
        std::uint8_t* now = small;
        if (size > sizeof small) {
            large.resize(size);
            now = large.data();
        } else {
            std::memset(small, 0, sizeof small);
        }
        const bool present = data.GetBuffer(itemNo, record, now, size) != FALSE;
        const plat::BOOL done = (word & kPresent) != 0 ? data.SetBuffer(itemNo, record, kept, size) : data.Remove(itemNo, record);
        if (!done && !force)
            return false;
        if (size != 0)
            std::memcpy(kept, now, size);
        WriteHeader(at, static_cast<std::int32_t>(itemNo), static_cast<std::uint32_t>(record) | (present ? kPresent : 0));
        return true;
    }

    std::vector<std::uint8_t, PageAllocator<std::uint8_t>> m_log;
    std::size_t m_count = 0;
};

TavUndoHistory::TavUndoHistory(TavData& data) : m_data(data) {}

TavUndoHistory::~TavUndoHistory() { SetDepth(0); }

void TavUndoHistory::SetDepth(int depth)
{
    auto& open = OpenHistories();
    if (m_depth == 0 && depth > 0) {
        open.push_back(this);
        static const bool cleanupAdded = (plat::AddEscapedErrorCleanup(&CancelInterruptedSteps), true);
        static_cast<void>(cleanupAdded);
    } else if (m_depth > 0 && depth == 0) {
        open.erase(std::remove(open.begin(), open.end(), this), open.end());
    }
    m_depth = depth;
}

void TavUndoHistory::CancelInterruptedSteps() noexcept
{
    // A step some command still holds is that command's to end (an exception caught inside a
    // dialog it runs does not end the command).
    const std::vector<TavUndoHistory*> open = OpenHistories();
    for (TavUndoHistory* history : open) {
        if (history->m_commands > 0)
            continue;
        try {
            history->CancelStep();
        } catch (...) {
            history->DiscardStep(); // what cannot be put back stays as it is, outside any step
        }
    }
}

void TavUndoHistory::OpenStep(std::string name)
{
    if (m_depth == 0) {
        m_open = Step{};
        m_open.name = std::move(name);
        m_cells = nullptr;
    }
    SetDepth(m_depth + 1);
}

void TavUndoHistory::OpenCommandStep(std::string name)
{
    if (m_commands == 0 && m_depth > 0) {
        SetDepth(1);
        CloseStep();
    }
    ++m_commands;
    OpenStep(std::move(name));
}

void TavUndoHistory::CloseCommandStep(bool unwinding)
{
    if (m_commands > 0)
        --m_commands;
    if (unwinding)
        CancelStep();
    else
        CloseStep();
}

void TavUndoHistory::CloseStep()
{
    if (m_depth == 0)
        return;
    SetDepth(m_depth - 1);
    if (m_depth > 0)
        return;
    m_cells = nullptr;
    if (m_open.actions.empty())
        return;
    // What could be redone no longer follows from the table as it is now.
    while (m_steps.size() > m_done) {
        m_bytes -= m_steps.back().bytes;
        m_steps.pop_back();
    }
    if (m_saved > static_cast<long>(m_done))
        m_saved = -1;
    for (auto& action : m_open.actions) {
        if (auto* cells = dynamic_cast<CellLog*>(action.get()))
            cells->Shrink();
        m_open.bytes += action->Bytes();
    }
    m_open.bytes += sizeof(Step) + HeapBytes(m_open.actions) + HeapBytes(m_open.name);
    m_bytes += m_open.bytes;
    m_steps.push_back(std::move(m_open));
    m_open = Step{};
    ++m_done;
    Trim();
}

void TavUndoHistory::CancelStep()
{
    if (m_depth == 0)
        return;
    {
        MoxDeferredViews deferred(m_data);
        Restoring restoring(m_data);
        Replaying replaying(m_replaying);
        // Putting back is forced: a part that cannot is passed by so that the rest still is.
        for (auto it = m_open.actions.rbegin(); it != m_open.actions.rend(); ++it)
            static_cast<void>((*it)->Apply(m_data, true));
    }
    DiscardStep();
}

void TavUndoHistory::DiscardStep()
{
    SetDepth(0);
    m_cells = nullptr;
    m_open = Step{};
}

bool TavUndoHistory::ApplyStep(Step& step, bool undo)
{
    MoxDeferredViews deferred(m_data);
    Replaying replaying(m_replaying);
    const std::size_t count = step.actions.size();
    bool done = true;
    for (std::size_t n = 0; n < count && done; ++n) {
        const std::size_t k = undo ? count - 1 - n : n;
        if (step.actions[k]->Apply(m_data, undo))
            continue;
        // A hook refused: the parts already taken are put back, without asking again.
        done = false;
        Restoring restoring(m_data);
        for (std::size_t m = n; m-- > 0;)
            static_cast<void>(step.actions[undo ? count - 1 - m : m]->Apply(m_data, !undo));
    }
    return done;
}

bool TavUndoHistory::Undo()
{
    if (!CanUndo())
        return false;
    if (!ApplyStep(m_steps[m_done - 1], true))
        return false;
    --m_done;
    AfterReplay();
    return true;
}

bool TavUndoHistory::Redo()
{
    if (!CanRedo())
        return false;
    if (!ApplyStep(m_steps[m_done], false))
        return false;
    ++m_done;
    AfterReplay();
    return true;
}

void TavUndoHistory::AfterReplay()
{
    const long saved = m_saved;
    {
        Replaying replaying(m_replaying); // the mark set here is the history's own
        m_data.SetModifiedFlag(saved == static_cast<long>(m_done) ? FALSE : TRUE);
    }
    m_saved = saved;
}

std::string TavUndoHistory::UndoName() const { return CanUndo() ? m_steps[m_done - 1].name : std::string(); }

std::string TavUndoHistory::RedoName() const { return CanRedo() ? m_steps[m_done].name : std::string(); }

void TavUndoHistory::SetLimit(std::size_t bytes)
{
    m_limit = bytes;
    Trim();
}

void TavUndoHistory::DropOldest()
{
    m_bytes -= m_steps.front().bytes;
    m_steps.pop_front();
    if (m_done > 0)
        --m_done;
    m_saved = m_saved > 0 ? m_saved - 1 : -1;
}

void TavUndoHistory::Trim()
{
    while (!m_steps.empty() && m_bytes > m_limit) {
        if (m_done > 0) {
            DropOldest();
            continue;
        }
        // Only steps to redo are left: the furthest from the table as it is goes first.
        m_bytes -= m_steps.back().bytes;
        m_steps.pop_back();
        if (m_saved > static_cast<long>(m_steps.size()))
            m_saved = -1;
    }
}

void TavUndoHistory::Clear()
{
    m_steps.clear();
    m_bytes = 0;
    m_done = 0;
    m_saved = m_data.IsModified() ? -1 : 0;
    DiscardStep();
}

void TavUndoHistory::RecordCell(long itemNo, long record)
{
    if (!IsRecording())
        return;
    if (m_cells == nullptr) {
        auto cells = std::make_unique<CellLog>();
        m_cells = cells.get();
        m_open.actions.push_back(std::move(cells));
    }
    m_cells->Record(m_data, itemNo, record);
}

void TavUndoHistory::Add(std::unique_ptr<Action> action)
{
    if (!IsRecording() || action == nullptr)
        return;
    m_cells = nullptr;
    m_open.actions.push_back(std::move(action));
}

void TavUndoHistory::AddRemovedRecords(long first, long count)
{
    if (IsRecording() && count > 0)
        Add(std::make_unique<RemovedRecords>(m_data, first, count));
}

void TavUndoHistory::AddInsertedRecords(long first, long count)
{
    if (IsRecording() && count > 0)
        Add(std::make_unique<InsertedRecords>(m_data, first, count));
}

void TavUndoHistory::AddRecordImage(long first, long count)
{
    if (IsRecording() && count > 0)
        Add(std::make_unique<RecordImage>(m_data, first, count));
}

std::unique_ptr<TavUndoHistory::Action> TavUndoHistory::SaveFlagRows(const std::vector<long>& records)
{
    if (!IsRecording() || records.empty())
        return nullptr;
    return std::make_unique<FlagRows>(m_data, records);
}

void TavUndoHistory::RecordLocks()
{
    // The layout block kept already holds the locks as the step found them.
    if (!IsRecording() || m_open.keepsLocks || m_open.keepsLayout)
        return;
    Add(std::make_unique<Locks>(m_data.GetCellLockFlag(), m_data.Lock()));
    m_open.keepsLocks = true;
}

void TavUndoHistory::RecordLayout()
{
    if (!IsRecording() || m_open.keepsLayout)
        return;
    Add(std::make_unique<Layout>(StoredLayout(m_data)));
    m_open.keepsLayout = true;
}

void TavUndoHistory::MarkSaved() noexcept
{
    if (!m_replaying)
        m_saved = static_cast<long>(m_done);
}

void TavUndoHistory::ChangedOutside() noexcept
{
    if (m_depth == 0 && !m_replaying && m_saved == static_cast<long>(m_done))
        m_saved = -1;
}

TavUndoStep::TavUndoStep(TavUndoHistory* history, std::string name)
    : m_history(history), m_exceptions(std::uncaught_exceptions())
{
    if (m_history != nullptr)
        m_history->OpenCommandStep(std::move(name));
}

void TavUndoStep::Close()
{
    if (TavUndoHistory* history = std::exchange(m_history, nullptr))
        history->CloseCommandStep(false);
}

void TavUndoStep::Cancel()
{
    if (TavUndoHistory* history = std::exchange(m_history, nullptr))
        history->CloseCommandStep(true);
}

TavUndoStep::~TavUndoStep()
{
    if (m_history == nullptr)
        return;
    try {
        m_history->CloseCommandStep(std::uncaught_exceptions() > m_exceptions);
    } catch (...) {
        // Putting back failed while another exception unwinds: the step is dropped as it is
        // rather than end the program.
        m_history->DiscardStep();
    }
}
