/// @file
/// Locked cell ranges: which records of which item the user may not change while the cell
/// lock is on. Kept with the record table and stored with documents and templates.
#pragma once

#include "platform/io/Archive.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

/// One locked range: the item identifier (as the manager's ColtoID gives it for a column) and
/// the first and last record, both inclusive. Twelve bytes, stored as they lie.
struct TavLockData {
    std::uint32_t id = 0; ///< the locked item's identifier
    std::int32_t first = 0; ///< the first locked record
    std::int32_t last = 0; ///< the last locked record, inclusive

    /// Ranges are equal when item, first and last are.
    friend bool operator==(const TavLockData&, const TavLockData&) = default;
};
static_assert(sizeof(TavLockData) == 12, "a lock range is stored as a raw 12-byte record");

/// The lock ranges of a record table (TavData::Lock), in the order added, stored with
/// documents and templates. The cell lock command adds to them; a host may set them in code.
class TavLockArray {
public:
    /// Appends a range as it is (no merging); answers its index.
    std::size_t Add(const TavLockData& lock);
    /// An index outside the array throws plat::InvalidArgument.
    [[nodiscard]] const TavLockData& GetAt(std::size_t index) const;
    /// Replaces a range; an index outside the array throws plat::InvalidArgument.
    void SetAt(std::size_t index, const TavLockData& lock);
    /// Removes a range; an index outside the array throws plat::InvalidArgument.
    void RemoveAt(std::size_t index);
    /// Removes every range.
    void RemoveAll() noexcept { m_locks.clear(); }
    /// Takes the ranges as given, holding no more storage than they need.
    void Assign(std::vector<TavLockData> locks)
    {
        m_locks = std::move(locks);
        m_locks.shrink_to_fit();
    }
    /// The number of ranges.
    [[nodiscard]] std::size_t GetSize() const noexcept { return m_locks.size(); }
    /// True when there is no range.
    [[nodiscard]] bool IsEmpty() const noexcept { return m_locks.empty(); }

    /// The first range, for range-for loops.
    [[nodiscard]] auto begin() const noexcept { return m_locks.begin(); }
    /// Past the last range.
    [[nodiscard]] auto end() const noexcept { return m_locks.end(); }

    /// The generic array form: the element count in the archive's count format, then each
    /// range as its raw 12 bytes. Loading replaces the ranges only when all were read.
    void Serialize(plat::Archive& archive);

    /// Equal when the same ranges are in the same order.
    friend bool operator==(const TavLockArray&, const TavLockArray&) = default;

private:
    void Check(std::size_t index) const;

    std::vector<TavLockData> m_locks;
};
