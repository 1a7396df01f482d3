// Staging, destination folders, the index file and the space check of a template transfer.
#include "tav/templates/QzTavTransferFolders.h"

#include "components/support/DroFile.h"
#include "components/support/FexDisk.h"
#include "components/support/SolRegistry.h"
#include "platform/io/Files.h"
#include "platform/text/NameCompare.h"
#include "platform/ui/App.h"
#include "platform/ui/Constants.h"
#include "tav/manager/TavManager.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <sys/stat.h>

namespace {

constexpr const char* kPathTooLong =
    "指定ﾃﾞｨﾚｸﾄﾘに抜出するとﾌｧｲﾙﾊﾟｽ名が長くなり過ぎます。\n抜出する事はできません。";
constexpr const char* kExportFailed = "ﾃﾝﾌﾟﾚｰﾄの抜出に失敗しました。\n\n処理を中断します。";
constexpr const char* kNoSpaceKByte =
    "ﾃﾞｰﾀ転送のための容量が足りません。\n必要な容量は、約 %d KByteです。\n\n処理を中断します。";
constexpr const char* kNoSpaceByte =
    "ﾃﾞｰﾀ転送のための容量が足りません。\n必要な容量は、約 %d Byteです。\n\n処理を中断します。";
constexpr const char* kContinueKByte = "必要な容量は、約 %d KByteです。\n\n処理を続行しますか？";
constexpr const char* kContinueByte = "必要な容量は、約 %d Byteです。\n\n処理を続行しますか？";
constexpr const char* kPathKey = "Path";
constexpr const char* kDestinationValue = "Data_Forward_Path";

std::string Text(const char* hook) { return hook ? hook : ""; }

std::string Format(const char* format, std::uint64_t number)
{
    char text[512];
    const int value = number > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(number);
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// A path to another machine, which the free-space test cannot measure.
bool IsNetworkPath(const std::string& path)
{
    return path.size() >= 2 && (path[0] == '/' || path[0] == '\\') && path[1] == path[0];
}

} // namespace

QzTavTransferFolders::QzTavTransferFolders(TavManager* manager, plat::Wnd* owner)
    : m_manager(manager), m_owner(owner), m_group(Text(manager->GetTemplateGroup()))
{
}

int QzTavTransferFolders::Message(const std::string& text, unsigned style) const
{
    return plat::MessageBox(m_owner, text, {}, style);
}

std::string QzTavTransferFolders::TemplateFolderOf(const std::string& destination) const
{
    return WithSeparator(destination) + kTransferRootFolder + '/' + kTransferTemplateFolder + '/' + m_group;
}

int QzTavTransferFolders::MakeTempFolder()
{
    m_stagingFolder.clear();
    std::vector<char> buffer(kPathBufferSize);
    const std::size_t length = GetProductTempFolder(buffer.size(), buffer.data());
    if (length == 0 || length >= buffer.size())
        return 0;
    m_stagingFolder = std::string(buffer.data(), length) + kTransferTemplateFolder;
    return plat::MakeFolder(m_stagingFolder) ? 0 : 1;
}

int QzTavTransferFolders::RemoveTempFolder()
{
    std::vector<std::string> names;
    if (plat::ListFiles(m_stagingFolder, "CELL*.mbf", names))
        return 0;
    for (const std::string& name : names) {
        if (plat::RemovePath(WithSeparator(m_stagingFolder) + name))
            return 0;
    }
    if (plat::RemovePath(m_stagingFolder))
        return 0;
    m_stagingFolder.clear();
    m_stagedFiles.clear();
    return 1;
}

int QzTavTransferFolders::MakeFolderTree(const std::string& path)
{
    // The folders still to make, the deepest first; each missing parent is pushed on top.
    // A folder whose parent was just made is tried once more only: where the parent exists
    // and the folder still cannot be made (under /proc, through a link to nowhere), asking
    // for the parent again would go round for ever.
    struct Pending {
        std::string folder;
        bool parentMade = false;
    };
    std::vector<Pending> pending{{path}};
    while (!pending.empty()) {
        const std::string folder = pending.back().folder;
        if (::mkdir(folder.c_str(), 0777) == 0) {
            pending.pop_back();
            if (!pending.empty())
                pending.back().parentMade = true;
            continue;
        }
        const int error = errno;
        if (error == EEXIST && plat::FolderExists(folder)) {
            pending.pop_back();
            if (!pending.empty())
                pending.back().parentMade = true;
            continue;
        }
        m_lastError = folder + ": " + std::generic_category().message(error);
        if (error == ENAMETOOLONG) {
            Message(std::string(kPathTooLong) + "\n\n" + m_lastError, plat::MB_OK | plat::MB_ICONEXCLAMATION);
            return 0;
        }
        if (error != ENOENT || pending.back().parentMade)
            return 0;
        std::string trimmed = folder;
        while (trimmed.size() > 1 && trimmed.back() == '/')
            trimmed.pop_back();
        const std::size_t slash = trimmed.rfind('/');
        // Nothing above, or only the root, which always exists: the path cannot be made.
        if (slash == std::string::npos || slash == 0)
            return 0;
        pending.push_back({trimmed.substr(0, slash)});
    }
    return 1;
}

int QzTavTransferFolders::MakeDestinationFolder(std::string& path)
{
    path = WithSeparator(m_destination) + kTransferRootFolder;
    if (!MakeFolderTree(path))
        return 0;
    for (const std::string& level : {std::string(kTransferTemplateFolder), m_group}) {
        path += '/' + level;
        if (const std::error_code error = plat::MakeFolder(path)) {
            m_lastError = path + ": " + error.message();
            return 0;
        }
    }
    return 1;
}

int QzTavTransferFolders::OpenGroupKey(SolKey& key)
{
    SolKey applicationKey;
    if (!SolGetApplicationKey(applicationKey))
        return 0;
    return key.Create(applicationKey, Text(m_manager->GetRegSection()) + '\\' + kTransferTemplateFolder + '\\' + m_group)
        ? 1
        : 0;
}

int QzTavTransferFolders::WriteIndexFile(const std::vector<std::string>& names, std::string& folder)
{
    folder = WithSeparator(folder) + kIndexFileName;
    std::string bytes;
    if (!FormatIndexFile(names, Text(m_manager->GetRegSection()), bytes, m_lastError))
        return 0;
    DroFile file;
    std::error_code error;
    if (!file.Open(folder, DroFile::modeWrite | DroFile::modeCreate | DroFile::shareExclusive, &error)) {
        m_lastError = folder + ": " + error.message();
        return 0;
    }
    file.Write(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    if (!file.Close(&error)) {
        m_lastError = folder + ": " + error.message();
        return 0;
    }
    return 1;
}

int QzTavTransferFolders::ReadIndexFile(const std::string& folder)
{
    m_indexNames.clear();
    const std::string path = WithSeparator(folder) + kIndexFileName;
    if (!DroFindFile(path, 0)) {
        m_lastError = path + ": no such file";
        return 0;
    }
    DroFile file;
    std::error_code error;
    while (!file.Open(path, DroFile::modeRead, &error)) {
        m_lastError = path + ": " + error.message();
        if (!DroFileExceptHandle(error, path))
            return 0;
    }
    const std::span<const std::uint8_t> bytes = file.Content();
    TransferIndex index;
    if (!ParseIndexFile(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), index,
                        m_lastError)) {
        file.Abort();
        m_lastError = path + ": " + m_lastError;
        (void)DroArchiveExceptHandle(plat::ArchiveError(m_lastError), path);
        return 0;
    }
    file.Abort();
    m_indexNames = std::move(index.names);
    if (!index.trailer[0].empty() || !index.trailer[1].empty() || !index.trailer[2].empty()) {
        m_trailer = index.trailer;
        if (!plat::EqualNoCase(m_trailer[0], Text(m_manager->GetRegSection()))) {
            m_lastError = path + ": the index is for \"" + m_trailer[0] + "\" records";
            return 0;
        }
    }
    return 1;
}

int QzTavTransferFolders::CheckDiskSpace()
{
    if (m_stagedFiles.empty()) {
        Message(kExportFailed, plat::MB_OK | plat::MB_ICONHAND);
        return 2;
    }
    std::uint64_t sum = 0;
    for (const std::string& file : m_stagedFiles) {
        std::uint32_t size = 0;
        if (!DroGetFileSize(file, size)) {
            Message(kExportFailed, plat::MB_OK | plat::MB_ICONHAND);
            return 2;
        }
        sum += size;
    }
    const bool inKByte = sum >= 1024;
    const std::uint64_t shown = inKByte ? sum / 1024 : sum;
    if (!IsNetworkPath(m_destination) && FexGetDiskSpace(m_destination, 1, nullptr) < sum) {
        Message(Format(inKByte ? kNoSpaceKByte : kNoSpaceByte, shown), plat::MB_OK | plat::MB_ICONHAND);
        return 2;
    }
    const int answer = Message(Format(inKByte ? kContinueKByte : kContinueByte, shown),
                               plat::MB_YESNO | plat::MB_ICONQUESTION);
    return answer == plat::IDYES ? 1 : 4;
}

int QzTavTransferFolders::SaveDestinationPath()
{
    SolKey key;
    if (!SolGetCommonSubKey(key, kPathKey))
        return 0;
    std::string universal = m_destination;
    (void)DroGetUniversalName(m_destination, universal, 1);
    return key.SetString(kDestinationValue, universal) ? 1 : 0;
}

std::string QzTavTransferFolders::LoadDestinationPath() const
{
    SolKey key;
    if (!SolGetCommonSubKey(key, kPathKey))
        return {};
    return key.GetString(kDestinationValue);
}
