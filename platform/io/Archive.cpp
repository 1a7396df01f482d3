// Archive reading and writing with bounds checks on every read.
#include "platform/io/Archive.h"

#include "platform/io/Files.h"
#include "platform/text/CodePage.h"

#include <bit>
#include <cstring>

namespace plat {
namespace {

static_assert(std::endian::native == std::endian::little, "archives are little-endian and so is every supported host");

constexpr std::uint16_t kWideMarker = 0xFFFE;

} // namespace

Archive::Archive(Direction direction, std::vector<std::uint8_t> bytes) noexcept
    : m_direction(direction), m_bytes(std::move(bytes))
{
}

Archive Archive::ForStoring() { return Archive(Direction::Store, {}); }

Archive Archive::ForLoading(std::vector<std::uint8_t> bytes) { return Archive(Direction::Load, std::move(bytes)); }

Archive Archive::ForLoading(std::span<const std::uint8_t> bytes)
{
    return Archive(Direction::Load, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

Archive Archive::LoadFile(const std::filesystem::path& path)
{
    std::vector<std::uint8_t> bytes;
    if (const std::error_code error = ReadWholeFile(path, bytes))
        throw ArchiveError("cannot read " + path.string() + ": " + error.message());
    return ForLoading(std::move(bytes));
}

void Archive::SaveFile(const std::filesystem::path& path) const
{
    RequireStoring();
    if (const std::error_code error = WriteFileAtomically(path, m_bytes))
        throw ArchiveError("cannot write " + path.string() + ": " + error.message());
}

void Archive::RequireStoring() const
{
    if (!IsStoring())
        throw ArchiveError("archive is open for loading, not for storing");
}

void Archive::RequireLoading() const
{
    if (!IsLoading())
        throw ArchiveError("archive is open for storing, not for loading");
}

std::size_t Archive::Remaining() const noexcept { return IsLoading() ? m_bytes.size() - m_readPos : 0; }

void Archive::RequireRemaining(std::uint64_t count, std::size_t elementSize) const
{
    RequireLoading();
    if (elementSize != 0 && count > Remaining() / elementSize)
        throw ArchiveError("archive is damaged: a count of " + std::to_string(count) + " runs past the end of the input (" +
                           std::to_string(Remaining()) + " bytes left)");
}

const std::uint8_t* Archive::Take(std::size_t size)
{
    RequireLoading();
    if (size > Remaining())
        throw ArchiveError("archive ends early: " + std::to_string(size) + " bytes wanted, " +
                           std::to_string(Remaining()) + " left");
    const std::uint8_t* data = m_bytes.data() + m_readPos;
    m_readPos += size;
    return data;
}

void Archive::WriteBytes(const void* data, std::size_t size)
{
    RequireStoring();
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    m_bytes.insert(m_bytes.end(), bytes, bytes + size);
}

void Archive::ReadBytes(void* data, std::size_t size)
{
    const std::uint8_t* source = Take(size);
    if (size != 0)
        std::memcpy(data, source, size);
}

void Archive::WriteUInt8(std::uint8_t value) { WriteBytes(&value, sizeof value); }
void Archive::WriteUInt16(std::uint16_t value) { WriteBytes(&value, sizeof value); }
void Archive::WriteUInt32(std::uint32_t value) { WriteBytes(&value, sizeof value); }
void Archive::WriteUInt64(std::uint64_t value) { WriteBytes(&value, sizeof value); }
void Archive::WriteDouble(double value) { WriteBytes(&value, sizeof value); }

std::uint8_t Archive::ReadUInt8()
{
    std::uint8_t value;
    ReadBytes(&value, sizeof value);
    return value;
}

std::uint16_t Archive::ReadUInt16()
{
    std::uint16_t value;
    ReadBytes(&value, sizeof value);
    return value;
}

std::uint32_t Archive::ReadUInt32()
{
    std::uint32_t value;
    ReadBytes(&value, sizeof value);
    return value;
}

std::uint64_t Archive::ReadUInt64()
{
    std::uint64_t value;
    ReadBytes(&value, sizeof value);
    return value;
}

double Archive::ReadDouble()
{
    double value;
    ReadBytes(&value, sizeof value);
    return value;
}

void Archive::WriteNarrowString(std::string_view narrow)
{
    const std::size_t length = narrow.size();
    if (length < 0xFF) {
        WriteUInt8(static_cast<std::uint8_t>(length));
    } else if (length < 0xFFFE) {
        WriteUInt8(0xFF);
        WriteUInt16(static_cast<std::uint16_t>(length));
    } else {
        if (length >= 0xFFFFFFFFu) // 0xFFFFFFFF itself announces a 64-bit length
            throw ArchiveError("string too long for an archive: " + std::to_string(length) + " bytes");
        WriteUInt8(0xFF);
        WriteUInt16(0xFFFF);
        WriteUInt32(static_cast<std::uint32_t>(length));
    }
    WriteBytes(narrow.data(), length);
}

void Archive::WriteString(std::string_view utf8)
{
    RequireStoring();
    const TextConversion narrow = Utf8ToNarrow(utf8);
    if (!narrow.ok())
        throw ArchiveError("text cannot be stored in the narrow code page (byte " + std::to_string(narrow.badOffset) +
                           " of \"" + std::string(utf8) + "\")");
    WriteNarrowString(narrow.text);
}

// The bytes of an archive string: narrow bytes, or UTF-16LE bytes when wide is set.
std::string Archive::ReadStringBytes(bool& wide)
{
    wide = false;
    std::uint64_t length = ReadUInt8();
    if (length == 0xFF) {
        length = ReadUInt16();
        if (length == kWideMarker) {
            // A wide string starts its prefix over, counted in UTF-16 units.
            wide = true;
            length = ReadUInt8();
            if (length == 0xFF)
                length = ReadUInt16();
        }
        // Lengths that did not fit the shorter forms; the 64-bit one only a reader sees, as
        // no string this side stores can need it.
        if (length == 0xFFFF) {
            length = ReadUInt32();
            if (length == 0xFFFFFFFFu)
                length = ReadUInt64();
        }
    }
    const std::size_t unit = wide ? 2 : 1;
    RequireRemaining(length, unit);
    const std::size_t size = static_cast<std::size_t>(length) * unit;
    const auto* data = reinterpret_cast<const char*>(Take(size));
    return std::string(data, size);
}

std::string Archive::ReadString()
{
    bool wide = false;
    const std::string bytes = ReadStringBytes(wide);
    TextConversion text = wide ? Utf16LeToUtf8(bytes) : NarrowToUtf8(bytes);
    if (!text.ok())
        throw ArchiveError("archive is damaged: a string is not valid text at byte " + std::to_string(text.badOffset));
    return std::move(text.text);
}

std::string Archive::ReadStringForShowing(std::string& storedBytes)
{
    storedBytes.clear();
    bool wide = false;
    std::string bytes = ReadStringBytes(wide);
    if (wide) {
        TextConversion text = Utf16LeToUtf8(bytes);
        if (!text.ok())
            throw ArchiveError("archive is damaged: a string is not valid text at byte " + std::to_string(text.badOffset));
        return std::move(text.text);
    }
    TextConversion text = NarrowToUtf8(bytes);
    if (text.ok())
        return std::move(text.text);
    storedBytes = std::move(bytes);
    return NarrowToUtf8Replacing(storedBytes);
}

std::string Archive::ReadNarrowString()
{
    bool wide = false;
    std::string bytes = ReadStringBytes(wide);
    if (!wide)
        return bytes;
    const TextConversion utf8 = Utf16LeToUtf8(bytes);
    TextConversion narrow = utf8.ok() ? Utf8ToNarrow(utf8.text) : utf8;
    if (!narrow.ok())
        throw ArchiveError("archive holds a wide string that the narrow code page cannot hold");
    return std::move(narrow.text);
}

void Archive::WriteCount(std::uint64_t count)
{
    if (count < 0xFFFF) {
        WriteUInt16(static_cast<std::uint16_t>(count));
        return;
    }
    WriteUInt16(0xFFFF);
    if (count < 0xFFFFFFFFu) {
        WriteUInt32(static_cast<std::uint32_t>(count));
        return;
    }
    WriteUInt32(0xFFFFFFFFu);
    WriteUInt64(count);
}

std::uint64_t Archive::ReadCount()
{
    std::uint64_t count = ReadUInt16();
    if (count != 0xFFFF)
        return count;
    count = ReadUInt32();
    if (count != 0xFFFFFFFFu)
        return count;
    return ReadUInt64();
}

void Archive::WriteUIntArray(std::span<const std::uint32_t> values)
{
    if (values.size() > 0xFFFFFFFFu)
        throw ArchiveError("array too long for an archive");
    WriteUInt32(static_cast<std::uint32_t>(values.size()));
    WriteBytes(values.data(), values.size_bytes());
}

std::vector<std::uint32_t> Archive::ReadUIntArray()
{
    const std::uint32_t count = ReadUInt32();
    RequireRemaining(count, sizeof(std::uint32_t));
    std::vector<std::uint32_t> values(count);
    ReadBytes(values.data(), values.size() * sizeof(std::uint32_t));
    return values;
}

} // namespace plat
