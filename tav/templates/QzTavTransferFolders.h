/// @file
/// The folder side of a template transfer, as the transfer dialog drives it: the destination
/// path typed or chosen by the user (D), the local staging folder an export is written to
/// before anything reaches D, the destination template folder D/QuWinSet/Cell Template/<group>,
/// its index file, the free-space check before files are copied, and the destination
/// remembered as "Data_Forward_Path" in the suite's common key "Path".
#pragma once

#include "components/support/SolKey.h"
#include "tav/templates/TransferFolders.h"

#include <array>
#include <string>
#include <vector>

class TavManager;
namespace plat {
class Wnd;
}

class QzTavTransferFolders {
public:
    /// The manager (not null) names the record kind and the template group and must outlive
    /// this object; owner is the window the messages are shown over.
    explicit QzTavTransferFolders(TavManager* manager, plat::Wnd* owner = nullptr);

    std::string& DestinationPath() noexcept { return m_destination; }
    std::string& StagingFolder() noexcept { return m_stagingFolder; }
    std::string& DestinationTemplateFolder() noexcept { return m_destinationFolder; }
    std::vector<std::string>& StagedFiles() noexcept { return m_stagedFiles; }
    std::vector<std::string>& IndexNames() noexcept { return m_indexNames; }
    [[nodiscard]] const std::array<std::string, 3>& TrailerFields() const noexcept { return m_trailer; }
    [[nodiscard]] const std::string& Group() const noexcept { return m_group; }
    /// Why the last index read or write, or the last folder made, failed.
    [[nodiscard]] const std::string& LastError() const noexcept { return m_lastError; }

    /// D/QuWinSet/Cell Template/<group> for a destination path.
    [[nodiscard]] std::string TemplateFolderOf(const std::string& destination) const;

    /// Sets the staging folder (the product's temporary folder, "Cell Template") and makes
    /// its last level; 0 when the temporary folder cannot be determined or made.
    [[nodiscard]] int MakeTempFolder();
    /// Deletes the staged "CELL*.mbf" files and the staging folder; 1 when both went.
    [[nodiscard]] int RemoveTempFolder();
    /// Makes a folder with every missing folder above it; 0, the folder that failed and why
    /// in LastError, when that fails, after telling the user when the path is too long.
    [[nodiscard]] int MakeFolderTree(const std::string& path);
    /// Makes D/QuWinSet/Cell Template/<group> and returns it in path; 0 when a level fails.
    [[nodiscard]] int MakeDestinationFolder(std::string& path);
    /// Opens (creating when missing) the registry key of the group's templates.
    [[nodiscard]] int OpenGroupKey(SolKey& key);
    /// Writes the index for names into folder/CELL00.mbf, replacing it whole; folder comes
    /// back as the file's path. 0 when the file cannot be written.
    [[nodiscard]] int WriteIndexFile(const std::vector<std::string>& names, std::string& folder);
    /// Reads folder/CELL00.mbf into the index names and trailer fields; 0 when it is
    /// missing, damaged (the user is told why) or written for another record kind.
    [[nodiscard]] int ReadIndexFile(const std::string& folder);
    /// Before the staged files are copied to D: 1 to go on, 2 after a failure message
    /// (nothing staged, a size unreadable, not enough space), 4 when the user declines.
    [[nodiscard]] int CheckDiskSpace();
    /// Remembers D (in its universal form on a network share); non-zero when written.
    [[nodiscard]] int SaveDestinationPath();
    /// The remembered destination, empty when there is none.
    [[nodiscard]] std::string LoadDestinationPath() const;

private:
    int Message(const std::string& text, unsigned style) const;

    TavManager* m_manager;
    plat::Wnd* m_owner;
    std::string m_group;
    std::string m_destination;
    std::string m_stagingFolder;
    std::string m_destinationFolder;
    std::vector<std::string> m_stagedFiles;
    std::vector<std::string> m_indexNames;
    std::array<std::string, 3> m_trailer;
    std::string m_lastError;
};
