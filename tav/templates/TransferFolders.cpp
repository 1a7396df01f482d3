// The transfer's temporary folders and its index file.
#include "tav/templates/TransferFolders.h"

#include "components/support/SolKey.h"
#include "components/support/YatString.h"
#include "platform/io/Files.h"
#include "platform/registry/Registry.h"
#include "platform/text/CodePage.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

using namespace plat;

namespace {

// The setting is read into a buffer of this many bytes, as every installation does.
constexpr DWORD kTempSettingBytes = 276;
constexpr const char* kIndexVersion = "14.00";
constexpr int kIndexMark = 17204;

std::string WithoutTrailingSeparator(std::string text)
{
    while (!text.empty() && text.back() == '/')
        text.pop_back();
    return text;
}

std::string FolderText(std::error_code (*get)(std::filesystem::path&))
{
    std::filesystem::path folder;
    if (get(folder))
        return {};
    return WithoutTrailingSeparator(folder.string());
}

void ReplaceAll(std::string& text, std::string_view macro, const std::string& replacement)
{
    for (std::size_t at = text.find(macro); at != std::string::npos; at = text.find(macro, at + replacement.size()))
        text.replace(at, macro.size(), replacement);
}

// Lines of the index: each ends at CR LF, at a lone LF or at the end of the bytes.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : m_bytes(bytes) {}
    bool Next(std::string_view& line)
    {
        if (m_pos >= m_bytes.size())
            return false;
        const std::size_t end = std::min(m_bytes.find('\n', m_pos), m_bytes.size());
        line = m_bytes.substr(m_pos, end - m_pos);
        if (end < m_bytes.size() && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        m_pos = end + 1;
        return true;
    }
    // The number of lines not yet read.
    std::size_t Left() const
    {
        if (m_pos >= m_bytes.size())
            return 0;
        std::size_t count = 1;
        for (std::size_t at = m_bytes.find('\n', m_pos); at != std::string_view::npos && at + 1 < m_bytes.size();
             at = m_bytes.find('\n', at + 1))
            ++count;
        return count;
    }

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

bool ToUtf8(std::string_view narrow, std::string& text)
{
    TextConversion converted = NarrowToUtf8(narrow);
    if (!converted.ok())
        return false;
    text = std::move(converted.text);
    return true;
}

} // namespace

std::string TemplateFileName(int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "CELL%02d.mbf", number);
    return name;
}

std::string WithSeparator(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

void ExpandPathMacros(std::string& text)
{
    const std::string drive; // one root: "$(WinDrive)/x" is "/x"
    const std::string documents = FolderText(&GetDocumentsFolder);
    const std::string desktop = FolderText(&GetDesktopFolder);
    const std::string temporary = FolderText(&GetTemporaryFolder);
    ReplaceAll(text, "$(WinDrive)", drive);
    ReplaceAll(text, "$(PersonalDocument)", documents);
    ReplaceAll(text, "$(PersonalDeskTop)", desktop);
    ReplaceAll(text, "$(PersonalTemp)", temporary);
}

bool ReadTempSetting(HKEY root, std::string& text)
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(root, kEnvironmentKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char buffer[kTempSettingBytes];
    DWORD length = sizeof buffer;
    DWORD type = REG_NONE;
    const LONG status = RegQueryValueEx(key, kTempSettingName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &length);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    std::string setting(buffer, length);
    setting.resize(std::strlen(setting.c_str()));
    ExpandPathMacros(setting);
    setting = WithoutTrailingSeparator(std::move(setting));
    if (setting.size() < 2 || setting.size() >= kTempSettingBytes)
        return false;
    text = std::move(setting);
    return true;
}

bool GetTempBaseFolder(std::string& folder)
{
    std::string setting;
    bool copied = false;
    if (!ReadTempSetting(HKEY_CURRENT_USER, setting)) {
        if (ReadTempSetting(HKEY_LOCAL_MACHINE, setting)) {
            SolKey userKey;
            if (userKey.Create(HKEY_CURRENT_USER, kEnvironmentKey)) {
                (void)RegSetValueEx(userKey, kTempSettingName, 0, REG_EXPAND_SZ,
                                    reinterpret_cast<const BYTE*>(setting.c_str()),
                                    static_cast<DWORD>(setting.size() + 1));
            }
        }
        copied = ReadTempSetting(HKEY_CURRENT_USER, setting);
    }
    bool found = false;
    if (setting.size() > 1 && (FolderExists(setting) || !MakeFolder(setting))) {
        folder = setting;
        found = true;
    }
    if (!found && !copied) {
        folder = FolderText(&GetDocumentsFolder);
        if (folder.empty())
            return false;
    }
    folder = WithoutTrailingSeparator(WithSeparator(folder) + kTempSettingName);
    return true;
}

std::size_t GetProductTempFolder(std::size_t size, char* buffer)
{
    std::string base;
    if (!GetTempBaseFolder(base))
        return 0;
    const std::string folder = WithSeparator(WithSeparator(base) + kProductFolderName);
    if (size < folder.size() + 1)
        return folder.size() + 1;
    std::memcpy(buffer, folder.c_str(), folder.size() + 1);
    return folder.size();
}

int ListTemplateFiles(const std::string& folder, std::vector<std::string>& names)
{
    names.clear();
    if (ListFiles(WithSeparator(folder), "*.mbf", names))
        names.clear();
    return names.empty() ? 0 : 1;
}

bool FormatIndexFile(std::span<const std::string> names, const std::string& section, std::string& bytes,
                     std::string& error)
{
    bytes.clear();
    YatString count;
    count.StrSignedInteger(static_cast<long>(names.size()));
    bytes += count + "\r\n";
    for (const std::string& name : names) {
        if (name.empty() || name.find_first_of("\r\n") != std::string::npos) {
            error = "the template name \"" + name + "\" cannot be a line of the index";
            return false;
        }
        const TextConversion narrow = Utf8ToNarrow(name);
        if (!narrow.ok()) {
            error = "the template name \"" + name + "\" cannot be written in the narrow code page";
            return false;
        }
        bytes += narrow.text + "\r\n";
    }
    char mark[16];
    std::snprintf(mark, sizeof mark, "%d", kIndexMark);
    const TextConversion trailer = Utf8ToNarrow(section + ", " + kIndexVersion + ", " + mark);
    if (!trailer.ok()) {
        error = "the record kind \"" + section + "\" cannot be written in the narrow code page";
        return false;
    }
    bytes += trailer.text;
    return true;
}

bool ParseIndexFile(std::string_view bytes, TransferIndex& index, std::string& error)
{
    index = {};
    LineReader lines(bytes);
    std::string_view line;
    long count = 0;
    if (!lines.Next(line) || !YatString(std::string(line)).ValSignedInteger(count) || count < 0) {
        error = "the first line is not a count of names";
        return false;
    }
    if (static_cast<unsigned long>(count) > lines.Left()) {
        error = "the index lists " + std::to_string(count) + " names but has only " + std::to_string(lines.Left()) +
                " more lines";
        return false;
    }
    TransferIndex read;
    read.names.reserve(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
        lines.Next(line);
        std::string name;
        if (line.empty() || !ToUtf8(line, name)) {
            error = "line " + std::to_string(i + 2) + " is no template name";
            return false;
        }
        read.names.push_back(std::move(name));
    }
    if (lines.Next(line) && !line.empty()) {
        std::string trailer;
        if (!ToUtf8(line, trailer)) {
            error = "the last line is not valid text";
            return false;
        }
        std::size_t start = 0;
        for (std::size_t field = 0; field < read.trailer.size() && start <= trailer.size(); ++field) {
            const std::size_t end = std::min(trailer.find(',', start), trailer.size());
            read.trailer[field] = trailer.substr(start, end - start);
            start = end + 1;
        }
    }
    while (lines.Next(line)) {
        if (!line.empty()) {
            error = "text follows the last line of the index";
            return false;
        }
    }
    index = std::move(read);
    return true;
}
