// The binary archive in which documents and transfer files are stored: little-endian
// integers, doubles, raw bytes, length-prefixed strings in the narrow code page, the
// framework's count format and unsigned-int arrays. An archive goes one way only, fixed at
// creation. Every read is checked against what is left of the input, so a damaged or
// truncated input raises plat::ArchiveError instead of reading past the end or allocating
// by an unchecked count.
#pragma once

#include "platform/io/Errors.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class Archive {
public:
    enum class Direction { Store, Load };

    // An empty archive that collects what is stored in memory.
    [[nodiscard]] static Archive ForStoring();
    // An archive that loads from the given bytes.
    [[nodiscard]] static Archive ForLoading(std::vector<std::uint8_t> bytes);
    [[nodiscard]] static Archive ForLoading(std::span<const std::uint8_t> bytes);
    // Reads a whole file to load from; raises ArchiveError naming the file when it cannot be read.
    [[nodiscard]] static Archive LoadFile(const std::filesystem::path& path);

    Direction GetDirection() const noexcept { return m_direction; }
    bool IsStoring() const noexcept { return m_direction == Direction::Store; }
    bool IsLoading() const noexcept { return m_direction == Direction::Load; }

    void WriteUInt8(std::uint8_t value);
    void WriteUInt16(std::uint16_t value);
    void WriteUInt32(std::uint32_t value);
    void WriteUInt64(std::uint64_t value);
    void WriteInt32(std::int32_t value) { WriteUInt32(static_cast<std::uint32_t>(value)); }
    void WriteDouble(double value);
    void WriteBytes(const void* data, std::size_t size);
    // A UTF-8 text stored as an archive string in the narrow code page; raises ArchiveError
    // when the text has a character the narrow code page cannot hold.
    void WriteString(std::string_view utf8);
    // Bytes already in the narrow code page, stored as an archive string unchanged.
    void WriteNarrowString(std::string_view narrow);
    // The framework's element count: 16 bits below 0xFFFF, else 0xFFFF and 32 bits, else
    // 0xFFFF, 0xFFFFFFFF and 64 bits.
    void WriteCount(std::uint64_t count);
    // 32-bit element count, then the 32-bit elements.
    void WriteUIntArray(std::span<const std::uint32_t> values);

    std::uint8_t ReadUInt8();
    std::uint16_t ReadUInt16();
    std::uint32_t ReadUInt32();
    std::uint64_t ReadUInt64();
    std::int32_t ReadInt32() { return static_cast<std::int32_t>(ReadUInt32()); }
    double ReadDouble();
    void ReadBytes(void* data, std::size_t size);
    // An archive string as UTF-8. Accepts the wide-string marker (0xFF 0xFFFE then a
    // UTF-16LE string) too. Raises ArchiveError when the bytes are not valid text.
    std::string ReadString();
    // An archive string as its narrow-code-page bytes, unconverted. A wide string is
    // converted to the narrow code page.
    std::string ReadNarrowString();
    // An archive string to show: narrow bytes that are not valid text come back with U+FFFD
    // in their place, and are then handed over unchanged in storedBytes (left empty for
    // valid text) so that the caller can write them back byte for byte.
    std::string ReadStringForShowing(std::string& storedBytes);
    std::uint64_t ReadCount();
    std::vector<std::uint32_t> ReadUIntArray();

    // Bytes not yet read (loading) or 0 (storing); callers check counts against it.
    [[nodiscard]] std::size_t Remaining() const noexcept;
    // Raises ArchiveError unless count elements of elementSize bytes can still be read.
    void RequireRemaining(std::uint64_t count, std::size_t elementSize) const;

    // What has been stored so far.
    [[nodiscard]] const std::vector<std::uint8_t>& Bytes() const noexcept { return m_bytes; }
    [[nodiscard]] std::vector<std::uint8_t> TakeBytes() noexcept { return std::move(m_bytes); }
    // Writes what has been stored to a file atomically (see WriteFileAtomically); raises
    // ArchiveError naming the file when that fails, leaving any old file as it was.
    void SaveFile(const std::filesystem::path& path) const;

private:
    Archive(Direction direction, std::vector<std::uint8_t> bytes) noexcept;
    void RequireStoring() const;
    void RequireLoading() const;
    const std::uint8_t* Take(std::size_t size);
    std::string ReadStringBytes(bool& wide);

    Direction m_direction;
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_readPos = 0;
};

} // namespace plat
