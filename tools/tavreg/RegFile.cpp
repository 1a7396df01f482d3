// Writing and reading the registry editor's text format ("Windows Registry Editor Version
// 5.00", and the older "REGEDIT4" on reading). Strings in hex(...) forms are UTF-16LE in the
// file (the narrow code page in REGEDIT4 files) and UTF-8 in the store. Text that is not
// UTF-8 in the store (a template file may bring any bytes) travels as its bytes: each byte
// that starts no valid character is written as the lone surrogate U+DC80..U+DCFF, which no
// valid text holds, and read back as that byte.
#include "tools/tavreg/RegFile.h"

#include "platform/registry/RegistryListing.h"
#include "platform/text/CodePage.h"
#include "platform/text/NameCompare.h"
#include "platform/text/Utf8.h"

#include <algorithm>
#include <cstdio>

using namespace plat;

namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00";
constexpr const char* kOldHeader = "REGEDIT4";
constexpr std::size_t kHexLineWidth = 77;

struct RootName {
    const char* longName;
    const char* shortName;
    HKEY root;
};

const RootName* FindRoot(std::string_view name)
{
    static const RootName roots[] = {
        {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
        {"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},
    };
    for (const RootName& root : roots) {
        if (EqualNoCase(name, root.longName) || EqualNoCase(name, root.shortName))
            return &root;
    }
    return nullptr;
}

bool LooksLikeRoot(std::string_view name) { return name.size() >= 4 && EqualNoCase(name.substr(0, 4), "HKEY"); }

// ---- export ----

std::string Quoted(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

void AppendHex(std::string& out, std::string_view prefix, const std::vector<BYTE>& data)
{
    std::size_t lineStart = out.size();
    out += prefix;
    char digits[4];
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::snprintf(digits, sizeof digits, "%02x", data[i]);
        out += digits;
        if (i + 1 < data.size()) {
            out += ',';
            if (out.size() - lineStart >= kHexLineWidth) {
                out += "\\\r\n  ";
                lineStart = out.size() - 2;
            }
        }
    }
}

// A string value is written quoted only when that gives back exactly its bytes: valid
// UTF-8, one terminating zero and no other, and no line break that would split the line.
bool QuotesExactly(const std::vector<BYTE>& data)
{
    if (data.empty() || data.back() != 0)
        return false;
    const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size() - 1);
    return text.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos && IsValidUtf8(text);
}

void AppendUtf16Unit(std::vector<BYTE>& out, unsigned unit)
{
    out.push_back(static_cast<BYTE>(unit & 0xFF));
    out.push_back(static_cast<BYTE>(unit >> 8));
}

std::vector<BYTE> StoredTextToUtf16Le(std::string_view text)
{
    std::vector<BYTE> wide;
    wide.reserve(text.size() * 2);
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const char32_t codePoint = DecodeUtf8(text, pos);
        if (codePoint == kInvalidCodePoint) {
            pos = start + 1;
            AppendUtf16Unit(wide, 0xDC00 + static_cast<unsigned char>(text[start]));
        } else if (codePoint >= 0x10000) {
            AppendUtf16Unit(wide, 0xD800 + ((codePoint - 0x10000) >> 10));
            AppendUtf16Unit(wide, 0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            AppendUtf16Unit(wide, codePoint);
        }
    }
    return wide;
}

// The reverse of StoredTextToUtf16Le; false for an odd length or a lone surrogate that
// stands for no byte.
bool Utf16LeToStoredText(const std::vector<BYTE>& wide, std::vector<BYTE>& text)
{
    if (wide.size() % 2 != 0)
        return false;
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); i += 2) {
        const unsigned unit = wide[i] | (wide[i + 1] << 8);
        if (unit >= 0xD800 && unit < 0xDC00) {
            const unsigned low = i + 3 < wide.size() ? (wide[i + 2] | (wide[i + 3] << 8)) : 0;
            if (low < 0xDC00 || low >= 0xE000)
                return false;
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            i += 2;
        } else if (unit >= 0xDC00 && unit < 0xE000) {
            if (unit < 0xDC80 || unit > 0xDCFF)
                return false;
            out += static_cast<char>(unit - 0xDC00);
        } else {
            AppendUtf8(out, unit);
        }
    }
    text.assign(out.begin(), out.end());
    return true;
}

void AppendValue(std::string& out, const RegValueEntry& value)
{
    out += value.name.empty() ? "@" : Quoted(value.name);
    out += '=';
    char prefix[32];
    switch (value.type) {
    case REG_SZ:
        if (QuotesExactly(value.data)) {
            out += Quoted(std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size() - 1));
            break;
        }
        [[fallthrough]];
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ: {
        const std::string_view text(reinterpret_cast<const char*>(value.data.data()), value.data.size());
        std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.type));
        AppendHex(out, prefix, StoredTextToUtf16Le(text));
        break;
    }
    case REG_DWORD:
        if (value.data.size() == 4) {
            std::snprintf(prefix, sizeof prefix, "dword:%08x", static_cast<unsigned>(DWordFromBytes(value.data.data())));
            out += prefix;
            break;
        }
        [[fallthrough]];
    default:
        if (value.type == REG_BINARY)
            std::snprintf(prefix, sizeof prefix, "hex:");
        else
            std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.type));
        AppendHex(out, prefix, value.data);
        break;
    }
    out += "\r\n";
}

// One key on the way down the tree: its open handle and the sub keys still to write.
struct ExportFrame {
    HKEY key = nullptr;
    std::string fullName;
    std::vector<std::string> subKeys;
    std::size_t next = 0;
};

// Writes a key's line and values, and lists its sub keys into the frame.
bool ExportKeyItself(ExportFrame& frame, std::string& out, std::string& error)
{
    out += '[' + frame.fullName + "]\r\n";
    std::vector<RegValueEntry> values;
    if (RegListValues(frame.key, values) != ERROR_SUCCESS) {
        error = "cannot read the values of " + frame.fullName;
        return false;
    }
    for (const RegValueEntry& value : values) {
        if (!IsValidRegName(value.name)) {
            error = frame.fullName + " has a value whose name holds a NUL character";
            return false;
        }
        AppendValue(out, value);
    }
    out += "\r\n";
    if (RegListSubKeyNames(frame.key, frame.subKeys) != ERROR_SUCCESS) {
        error = "cannot read the sub keys of " + frame.fullName;
        return false;
    }
    for (const std::string& child : frame.subKeys) {
        // Names with NUL were left by an older version that took them: the calls end a name
        // at its NUL, so the key could only be reached as another one.
        if (!IsValidRegName(child)) {
            error = frame.fullName + " has a sub key whose name holds a NUL character";
            return false;
        }
    }
    return true;
}

// Depth first with a stack of open keys rather than by recursion, so that the deepest tree
// costs no more stack than a flat one and each key is opened once, from its parent.
bool ExportTree(HKEY top, const std::string& fullName, std::string& out, std::string& error)
{
    std::vector<ExportFrame> stack;
    stack.push_back({top, fullName, {}, 0});
    bool ok = ExportKeyItself(stack.back(), out, error);
    while (ok && !stack.empty()) {
        ExportFrame& frame = stack.back();
        if (frame.next == frame.subKeys.size()) {
            if (stack.size() > 1)
                RegCloseKey(frame.key);
            stack.pop_back();
            continue;
        }
        const std::string& child = frame.subKeys[frame.next++];
        HKEY childKey = nullptr;
        if (RegOpenKeyEx(frame.key, child.c_str(), 0, KEY_READ, &childKey) != ERROR_SUCCESS)
            continue; // deleted by another program meanwhile
        std::string childName = frame.fullName + '\\' + child;
        stack.push_back({childKey, std::move(childName), {}, 0});
        ok = ExportKeyItself(stack.back(), out, error);
    }
    for (std::size_t i = 1; i < stack.size(); ++i)
        RegCloseKey(stack[i].key);
    return ok;
}

// ---- import ----

class Parser {
public:
    explicit Parser(RegImportPlan& plan) : m_plan(plan) {}

    bool Fail(std::size_t line, std::string message)
    {
        m_plan.ok = false;
        m_plan.errorLine = line;
        m_plan.error = std::move(message);
        m_plan.changes.clear();
        return false;
    }

    bool Run(const std::vector<std::string>& lines)
    {
        std::size_t index = 0;
        while (index < lines.size() && Trim(lines[index]).empty())
            ++index;
        if (index == lines.size() || (Trim(lines[index]) != kHeader && Trim(lines[index]) != kOldHeader))
            return Fail(index + 1 > lines.size() ? lines.size() : index + 1,
                        std::string("the file does not start with \"") + kHeader + "\" or \"" + kOldHeader + '"');
        m_narrowStrings = Trim(lines[index]) == kOldHeader;
        for (++index; index < lines.size(); ++index) {
            const std::size_t lineNumber = index + 1;
            std::string line(Trim(lines[index]));
            if (line.empty() || line.front() == ';')
                continue;
            if (line.front() == '[') {
                if (!KeyLine(lineNumber, line))
                    return false;
                continue;
            }
            // A value's data may go on over several lines, each but the last ending in '\'.
            while (!line.empty() && line.back() == '\\' && index + 1 < lines.size()) {
                line.pop_back();
                line += Trim(lines[++index]);
            }
            if (!ValueLine(lineNumber, line))
                return false;
        }
        m_plan.ok = true;
        return true;
    }

private:
    static std::string_view Trim(std::string_view text)
    {
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
            text.remove_suffix(1);
        return text;
    }

    bool KeyLine(std::size_t line, std::string_view text)
    {
        if (text.back() != ']')
            return Fail(line, "a key line must end with ']'");
        text = text.substr(1, text.size() - 2);
        const bool deletion = !text.empty() && text.front() == '-';
        if (deletion)
            text.remove_prefix(1);
        const std::size_t slash = text.find('\\');
        const std::string_view rootText = text.substr(0, slash);
        const RootName* root = FindRoot(rootText);
        if (!root)
            return Fail(line, "unknown root \"" + std::string(rootText) + '"');
        if (root->root != HKEY_CURRENT_USER)
            return Fail(line, std::string(root->longName) + " is read-only: only HKEY_CURRENT_USER can be imported");
        std::string path = slash == std::string_view::npos ? std::string() : std::string(text.substr(slash + 1));
        const std::vector<std::string_view> names = SplitKeyPath(path);
        if (names.empty() && deletion)
            return Fail(line, "the root itself cannot be deleted");
        if (!AreValidRegNames(names))
            return Fail(line, "a key name cannot hold a NUL character");
        if (!deletion && names.size() > kMaxKeyDepth)
            return Fail(line, "a key can be at most " + std::to_string(kMaxKeyDepth) + " levels deep");
        m_currentPath = path;
        m_hasKey = !deletion;
        RegChange change;
        change.kind = deletion ? RegChange::Kind::DeleteTree : RegChange::Kind::CreateKey;
        change.path = std::move(path);
        m_plan.changes.push_back(std::move(change));
        return true;
    }

    static bool ParseQuoted(std::string_view text, std::size_t& pos, std::string& out)
    {
        if (pos >= text.size() || text[pos] != '"')
            return false;
        for (++pos; pos < text.size(); ++pos) {
            const char c = text[pos];
            if (c == '"') {
                ++pos;
                return true;
            }
            if (c == '\\') {
                if (++pos >= text.size() || (text[pos] != '\\' && text[pos] != '"'))
                    return false;
            }
            out += text[pos];
        }
        return false;
    }

    static int HexDigit(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    bool HexBytes(std::size_t line, std::string_view text, std::vector<BYTE>& data)
    {
        text = Trim(text);
        std::size_t pos = 0;
        const auto skipBlanks = [&] {
            while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
                ++pos;
        };
        while (!text.empty()) {
            skipBlanks();
            const int high = pos < text.size() ? HexDigit(text[pos]) : -1;
            const int low = pos + 1 < text.size() ? HexDigit(text[pos + 1]) : -1;
            if (high < 0 || low < 0)
                return Fail(line, "a byte must be two hexadecimal digits");
            data.push_back(static_cast<BYTE>(high * 16 + low));
            pos += 2;
            skipBlanks();
            if (pos == text.size())
                break;
            if (text[pos] != ',')
                return Fail(line, "bytes must be separated by commas");
            ++pos;
        }
        return true;
    }

    bool ValueLine(std::size_t line, std::string_view text)
    {
        if (!m_hasKey)
            return Fail(line, "a value must follow the line of its key");
        std::string name;
        std::size_t pos = 0;
        if (text.front() == '@') {
            pos = 1;
        } else if (!ParseQuoted(text, pos, name)) {
            return Fail(line, "a value line must start with a quoted name or @");
        }
        if (!IsValidUtf8(name))
            return Fail(line, "the value name is not valid text");
        if (!IsValidRegName(name))
            return Fail(line, "a value name cannot hold a NUL character");
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
            ++pos;
        if (pos >= text.size() || text[pos] != '=')
            return Fail(line, "'=' expected after the value name");
        std::string_view data = Trim(text.substr(pos + 1));

        RegChange change;
        change.path = m_currentPath;
        change.valueName = std::move(name);
        if (data == "-") {
            change.kind = RegChange::Kind::DeleteValue;
            m_plan.changes.push_back(std::move(change));
            return true;
        }
        change.kind = RegChange::Kind::SetValue;
        if (!data.empty() && data.front() == '"') {
            std::string textValue;
            std::size_t end = 0;
            if (!ParseQuoted(data, end, textValue) || !Trim(data.substr(end)).empty())
                return Fail(line, "a string must be one quoted text with \\\\ and \\\" as its only escapes");
            if (!IsValidUtf8(textValue))
                return Fail(line, "the string is not valid text");
            change.type = REG_SZ;
            change.data.assign(textValue.begin(), textValue.end());
            change.data.push_back(0);
        } else if (data.starts_with("dword:")) {
            const std::string_view digits = data.substr(6);
            if (digits.empty() || digits.size() > 8)
                return Fail(line, "dword: takes one to eight hexadecimal digits");
            DWORD number = 0;
            for (const char c : digits) {
                const int digit = HexDigit(c);
                if (digit < 0)
                    return Fail(line, "dword: takes one to eight hexadecimal digits");
                number = number * 16 + static_cast<DWORD>(digit);
            }
            change.type = REG_DWORD;
            const auto bytes = DWordToBytes(number);
            change.data.assign(bytes.begin(), bytes.end());
        } else if (data.starts_with("hex")) {
            std::size_t colon = data.find(':');
            if (colon == std::string_view::npos)
                return Fail(line, "':' expected after hex");
            const std::string_view kind = data.substr(3, colon - 3);
            if (kind.empty()) {
                change.type = REG_BINARY;
            } else {
                if (kind.size() < 3 || kind.front() != '(' || kind.back() != ')' || kind.size() > 10)
                    return Fail(line, "hex(type): expected");
                DWORD type = 0;
                for (const char c : kind.substr(1, kind.size() - 2)) {
                    const int digit = HexDigit(c);
                    if (digit < 0)
                        return Fail(line, "the type of hex(type) must be hexadecimal");
                    type = type * 16 + static_cast<DWORD>(digit);
                }
                change.type = type;
            }
            if (!HexBytes(line, data.substr(colon + 1), change.data))
                return false;
            // Whatever text the store holds comes back as its bytes, an empty string inside a
            // multi-string too: a backup must restore what it saved.
            if ((change.type == REG_SZ || change.type == REG_EXPAND_SZ || change.type == REG_MULTI_SZ) && m_narrowStrings) {
                const TextConversion text =
                    NarrowToUtf8(std::string_view(reinterpret_cast<const char*>(change.data.data()), change.data.size()));
                if (!text.ok())
                    return Fail(line, "the text of the value is not in the narrow code page");
                change.data.assign(text.text.begin(), text.text.end());
            } else if (change.type == REG_SZ || change.type == REG_EXPAND_SZ || change.type == REG_MULTI_SZ) {
                std::vector<BYTE> text;
                if (!Utf16LeToStoredText(change.data, text))
                    return Fail(line, "the text of the value is not UTF-16LE");
                change.data = std::move(text);
            }
        } else {
            return Fail(line, "unknown value form (a quoted string, dword:, hex: or hex(type): expected)");
        }
        m_plan.changes.push_back(std::move(change));
        return true;
    }

    RegImportPlan& m_plan;
    std::string m_currentPath;
    bool m_hasKey = false;
    bool m_narrowStrings = false;
};

} // namespace

bool ParseKeyName(const std::string& text, RegKeyName& name)
{
    const std::size_t slash = text.find('\\');
    const std::string_view first = std::string_view(text).substr(0, slash);
    const RootName* root = FindRoot(first);
    if (!root && LooksLikeRoot(first))
        return false;
    if (!root)
        root = FindRoot("HKEY_CURRENT_USER");
    name.root = root->root;
    name.rootName = root->longName;
    std::string path = !FindRoot(first) ? text : (slash == std::string::npos ? std::string() : text.substr(slash + 1));
    // Kept as given but without empty levels, so that it prints as the registry has it.
    name.path.clear();
    for (const std::string_view level : SplitKeyPath(path)) {
        if (!name.path.empty())
            name.path += '\\';
        name.path += level;
    }
    return true;
}

RegExportResult ExportRegFile(const RegKeyName& key)
{
    RegExportResult result;
    HKEY opened = nullptr;
    if (RegOpenKeyEx(key.root, key.path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        result.error = key.FullName() + ": no such key";
        return result;
    }
    std::string text = std::string(kHeader) + "\r\n\r\n";
    const bool ok = ExportTree(opened, key.FullName(), text, result.error);
    RegCloseKey(opened);
    if (!ok)
        return result;
    const TextConversion wide = Utf8ToUtf16Le(text);
    if (!wide.ok()) {
        result.error = "a key name is not valid text";
        return result;
    }
    result.bytes = "\xFF\xFE" + wide.text;
    result.ok = true;
    return result;
}

namespace {

// The line of a byte offset: line feeds before it.
std::size_t LineOfOffset(std::string_view text, std::size_t offset)
{
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(std::min(offset, text.size())), '\n'));
}

// The file as UTF-8 text: UTF-16LE after its byte-order mark, UTF-8 after its mark or when
// the bytes are valid UTF-8, else the narrow code page (an editor's "ANSI" file, and every
// REGEDIT4 file). False with the line of the first byte that is none of these.
bool DecodeRegText(std::string_view bytes, std::string& text, std::size_t& badLine)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        const std::string_view body = bytes.substr(2);
        TextConversion converted = Utf16LeToUtf8(body);
        if (!converted.ok()) {
            // Line feeds before the fault, counted in whole UTF-16 units.
            badLine = 1;
            for (std::size_t i = 0; i + 1 < body.size() && i < converted.badOffset; i += 2)
                if (body[i] == '\n' && body[i + 1] == '\0')
                    ++badLine;
            return false;
        }
        text = std::move(converted.text);
        return true;
    }
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    const bool marked = bytes.starts_with(kUtf8Mark);
    if (marked)
        bytes.remove_prefix(kUtf8Mark.size());
    std::string_view head = bytes.substr(0, bytes.find('\n'));
    while (!head.empty() && (head.front() == ' ' || head.front() == '\t'))
        head.remove_prefix(1);
    // A REGEDIT4 file is in the narrow code page, even where its bytes would pass as UTF-8.
    const bool old = !marked && head.starts_with(kOldHeader);
    if (!old && (marked || IsValidUtf8(bytes))) {
        if (!IsValidUtf8(bytes)) {
            std::size_t pos = 0;
            while (pos < bytes.size()) {
                const std::size_t start = pos;
                if (DecodeUtf8(bytes, pos) == kInvalidCodePoint) {
                    badLine = LineOfOffset(bytes, start);
                    break;
                }
            }
            return false;
        }
        text.assign(bytes);
        return true;
    }
    TextConversion converted = NarrowToUtf8(bytes);
    if (!converted.ok()) {
        badLine = LineOfOffset(bytes, converted.badOffset);
        return false;
    }
    text = std::move(converted.text);
    return true;
}

} // namespace

RegImportPlan ParseRegFile(const std::string& bytes)
{
    RegImportPlan plan;
    Parser parser(plan);
    std::string text;
    std::size_t badLine = 1;
    if (!DecodeRegText(bytes, text, badLine)) {
        parser.Fail(badLine, "the text is neither UTF-16LE, UTF-8 nor the narrow code page");
        return plan;
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    parser.Run(lines);
    return plan;
}
