// Code page conversion through iconv, with a cached descriptor per thread and direction
// because table cells are converted one at a time on every repaint.
#include "platform/text/CodePage.h"

#include "platform/text/Utf8.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <iconv.h>

namespace plat {
namespace {

std::atomic<NarrowCodePage> g_narrowCodePage{NarrowCodePage::Cp932};

enum Direction { kUtf8ToCp932, kCp932ToUtf8, kUtf8ToUtf16, kUtf16ToUtf8, kDirectionCount };

class IconvCache {
public:
    ~IconvCache()
    {
        for (iconv_t cd : m_descriptors) {
            if (cd != invalid())
                iconv_close(cd);
        }
    }

    iconv_t Get(Direction direction)
    {
        iconv_t& cd = m_descriptors[direction];
        if (cd == invalid()) {
            static constexpr const char* kNames[kDirectionCount][2] = {
                {"CP932", "UTF-8"}, {"UTF-8", "CP932"}, {"UTF-16LE", "UTF-8"}, {"UTF-8", "UTF-16LE"}};
            cd = iconv_open(kNames[direction][0], kNames[direction][1]);
        } else {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
        return cd;
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t m_descriptors[kDirectionCount] = {invalid(), invalid(), invalid(), invalid()};
};

bool IsAscii(std::string_view text) noexcept
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Runs one iconv conversion of the whole input into out; returns the offset of the first
// input byte that could not be converted, or npos.
std::size_t Convert(Direction direction, std::string_view input, std::string& out)
{
    out.clear();
    thread_local IconvCache cache;
    iconv_t cd = cache.Get(direction);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return input.empty() ? TextConversion::npos : 0;

    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    out.resize(input.size() * 2 + 16);
    std::size_t written = 0;
    while (inLeft > 0) {
        char* dst = out.data() + written;
        std::size_t outLeft = out.size() - written;
        const std::size_t rc = iconv(cd, &in, &inLeft, &dst, &outLeft);
        written = out.size() - outLeft;
        if (rc != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        out.resize(written);
        return input.size() - inLeft; // EILSEQ or EINVAL: an unconvertible or truncated character
    }
    out.resize(written);
    return TextConversion::npos;
}

std::size_t FirstInvalidUtf8(std::string_view text) noexcept
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        if (DecodeUtf8(text, pos) == kInvalidCodePoint)
            return start;
    }
    return TextConversion::npos;
}

// Copies a UTF-8 input when it is well formed, else its valid prefix.
std::size_t CopyValidUtf8(std::string_view text, std::string& out)
{
    const std::size_t bad = FirstInvalidUtf8(text);
    out.assign(text.substr(0, bad == TextConversion::npos ? text.size() : bad));
    return bad;
}

TextConversion Wrap(std::size_t (*fn)(std::string_view, std::string&), std::string_view input)
{
    TextConversion result;
    result.badOffset = fn(input, result.text);
    return result;
}

} // namespace

NarrowCodePage GetNarrowCodePage() noexcept { return g_narrowCodePage.load(std::memory_order_relaxed); }

void SetNarrowCodePage(NarrowCodePage codePage) noexcept { g_narrowCodePage.store(codePage, std::memory_order_relaxed); }

std::size_t NarrowToUtf8Into(std::string_view narrow, std::string& out)
{
    if (GetNarrowCodePage() == NarrowCodePage::Utf8)
        return CopyValidUtf8(narrow, out);
    if (IsAscii(narrow)) {
        out.assign(narrow);
        return TextConversion::npos;
    }
    return Convert(kCp932ToUtf8, narrow, out);
}

std::size_t Utf8ToNarrowInto(std::string_view utf8, std::string& out)
{
    if (GetNarrowCodePage() == NarrowCodePage::Utf8 || IsAscii(utf8))
        return CopyValidUtf8(utf8, out);
    // iconv would report a malformed sequence as EILSEQ too, but at the offset of the
    // character, which is where validation puts it as well.
    return Convert(kUtf8ToCp932, utf8, out);
}

TextConversion Utf8ToNarrow(std::string_view utf8) { return Wrap(&Utf8ToNarrowInto, utf8); }

TextConversion NarrowToUtf8(std::string_view narrow) { return Wrap(&NarrowToUtf8Into, narrow); }

std::string NarrowToUtf8Replacing(std::string_view narrow)
{
    std::string shown;
    std::string part;
    while (!narrow.empty()) {
        const std::size_t bad = NarrowToUtf8Into(narrow, part);
        shown += part;
        if (bad == std::string::npos)
            break;
        shown += "\xEF\xBF\xBD";
        // One byte at a time, so that a bad lead byte does not swallow a good character.
        narrow.remove_prefix(bad + 1);
    }
    return shown;
}

TextConversion Utf8ToUtf16Le(std::string_view utf8)
{
    TextConversion result;
    result.badOffset = Convert(kUtf8ToUtf16, utf8, result.text);
    return result;
}

TextConversion Utf16LeToUtf8(std::string_view utf16le)
{
    TextConversion result;
    result.badOffset = Convert(kUtf16ToUtf8, utf16le, result.text);
    return result;
}

std::size_t NarrowCharLength(unsigned char leadByte) noexcept
{
    if (GetNarrowCodePage() == NarrowCodePage::Cp932)
        return ((leadByte >= 0x81 && leadByte <= 0x9F) || (leadByte >= 0xE0 && leadByte <= 0xFC)) ? 2 : 1;
    if (leadByte >= 0xF0 && leadByte <= 0xF7)
        return 4;
    if (leadByte >= 0xE0 && leadByte <= 0xEF)
        return 3;
    if (leadByte >= 0xC0 && leadByte <= 0xDF)
        return 2;
    return 1;
}

std::size_t NarrowFitLength(std::string_view narrow, std::size_t maxBytes) noexcept
{
    std::size_t pos = 0;
    while (pos < narrow.size()) {
        const std::size_t next = pos + NarrowCharLength(static_cast<unsigned char>(narrow[pos]));
        if (next > maxBytes)
            break;
        pos = next;
    }
    return std::min(pos, narrow.size());
}

} // namespace plat
