// Selection ranges with their flag bytes.
#include "components/mox/MoxRectArray.h"

#include "platform/io/Errors.h"

#include <string>

std::size_t MoxRectArray::Add(const MoxRect& rect, std::uint8_t flags)
{
    m_rects.push_back(rect);
    m_flags.push_back(flags);
    return m_rects.size() - 1;
}

void MoxRectArray::Check(std::size_t index) const
{
    if (index >= m_rects.size())
        throw plat::InvalidArgument("selection range " + std::to_string(index) + " of " +
                                    std::to_string(m_rects.size()));
}

const MoxRect& MoxRectArray::GetAt(std::size_t index) const
{
    Check(index);
    return m_rects[index];
}

void MoxRectArray::SetAt(std::size_t index, const MoxRect& rect)
{
    Check(index);
    m_rects[index] = rect;
}

std::uint8_t MoxRectArray::GetFlags(std::size_t index) const
{
    Check(index);
    return m_flags[index];
}

void MoxRectArray::SetFlags(std::size_t index, std::uint8_t flags)
{
    Check(index);
    m_flags[index] = flags;
}

void MoxRectArray::RemoveAll() noexcept
{
    m_rects.clear();
    m_flags.clear();
}
