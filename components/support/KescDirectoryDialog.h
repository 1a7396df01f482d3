// The folder chooser: a path field and the sub folders of the folder shown, which a person
// walks by double clicks (".." goes up) or by typing a path; OK takes the path in the field.
#pragma once

#include "components/support/KesDialog.h"

#include <filesystem>
#include <string>
#include <string_view>

class QanBrowseDirectoryDialog : public KesDialog {
public:
    explicit QanBrowseDirectoryDialog(std::string_view initialPath, plat::Wnd* parent = nullptr);

    // The folder chosen (after OK); empty when the person cleared the field.
    [[nodiscard]] const std::string& GetPathName() const noexcept { return m_pathName; }
    // The folder whose sub folders are listed.
    [[nodiscard]] const std::filesystem::path& GetCurrentFolder() const noexcept { return m_current; }

    plat::BOOL OnInitDialog() override;
    void OnOK() override;
    void OnFolderDoubleClick();
    void OnFolderSelect();

    DECLARE_MESSAGE_MAP()

private:
    void Show(const std::filesystem::path& folder);

    std::string m_pathName;
    std::filesystem::path m_current;
};

class KescDirectoryDialog : public QanBrowseDirectoryDialog {
public:
    // secondText: a line of explanation under the title, or null.
    KescDirectoryDialog(std::string_view currentPath, const char* secondText, plat::Wnd* parent = nullptr);

    plat::BOOL OnInitDialog() override;

private:
    std::string m_secondText;
};
