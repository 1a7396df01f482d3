// Locked cell ranges and their generic stored form.
#include "tav/data/TavLockData.h"

#include "platform/io/Errors.h"

#include <string>

std::size_t TavLockArray::Add(const TavLockData& lock)
{
    m_locks.push_back(lock);
    return m_locks.size() - 1;
}

void TavLockArray::Check(std::size_t index) const
{
    if (index >= m_locks.size())
        throw plat::InvalidArgument("lock range " + std::to_string(index) + " of " + std::to_string(m_locks.size()));
}

const TavLockData& TavLockArray::GetAt(std::size_t index) const
{
    Check(index);
    return m_locks[index];
}

void TavLockArray::SetAt(std::size_t index, const TavLockData& lock)
{
    Check(index);
    m_locks[index] = lock;
}

void TavLockArray::RemoveAt(std::size_t index)
{
    Check(index);
    m_locks.erase(m_locks.begin() + static_cast<std::ptrdiff_t>(index));
}

void TavLockArray::Serialize(plat::Archive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteCount(m_locks.size());
        archive.WriteBytes(m_locks.data(), m_locks.size() * sizeof(TavLockData));
        return;
    }
    const std::uint64_t count = archive.ReadCount();
    archive.RequireRemaining(count, sizeof(TavLockData));
    std::vector<TavLockData> locks(static_cast<std::size_t>(count));
    archive.ReadBytes(locks.data(), locks.size() * sizeof(TavLockData));
    m_locks = std::move(locks);
}
