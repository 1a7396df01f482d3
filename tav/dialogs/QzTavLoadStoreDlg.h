/// @file
/// The template transfer dialog: copies the templates of one template group from the registry
/// into a folder (export) and back from such a folder (import), one template or all of them.
/// The registry's templates stand on the left, the ones listed in the destination's index on
/// the right; the destination path is typed or chosen and remembered for the next time.
/// An export is staged in a local folder first, so a destination only ever receives whole
/// files, and the index is rewritten only after every file arrived.
#pragma once

#include "components/support/GupListCtrl.h"
#include "components/support/KesDialog.h"
#include "components/support/KesProgressDialog.h"
#include "platform/ui/ListView.h"
#include "tav/templates/QzTavTransferFolders.h"
#include "tav/templates/TavTemplate.h"

#include <string>
#include <vector>

class TavManager;

class QzTavLoadStoreDlg : public KesDialog {
public:
    enum class Direction { Import, Export };

    QzTavLoadStoreDlg(TavManager* manager, plat::Wnd* parent = nullptr);

    [[nodiscard]] TavManager* GetManager() const noexcept { return m_manager; }

    plat::BOOL OnInitDialog() override;
    void DoDataExchange(plat::DataExchange& dx) override;
    [[nodiscard]] plat::UINT GetBaseID() const override { return 0x81E30094; }

    void OnChooseFolder();
    void OnExport();
    void OnImport();
    void OnKillFocusPath();
    // Return in the destination field takes the typed folder as leaving the field does, and the
    // dialog stays open; Return elsewhere presses the default button.
    bool PreTranslateInput(const plat::InputEvent& event) override;

    /// The transfer's messages by number (0 to 9, as the transfer names them), %s being the
    /// destination path, with detail (which file or folder failed, and why) below; the button
    /// pressed.
    int ShowTransferMessage(int number, const std::string& detail = {});

    DECLARE_MESSAGE_MAP()

private:
    void FillSourceList();
    void FillDestinationList();
    /// Reads the destination's index into the destination list, which is emptied first.
    void ShowDestination();
    /// Asks message 8 once when the transfer would replace templates; 0 when the user cancels.
    [[nodiscard]] int ConfirmOverwrite(Direction direction, const std::vector<std::string>& registryNames);
    /// Writes the template into folder/CELLnn.mbf; folder comes back as the file's path. 0 and
    /// the reason in why when it cannot.
    [[nodiscard]] int ExportTemplate(const std::string& name, int number, std::string& folder, std::string& why);
    /// The file numbers of the names about to be exported: the number of the destination file
    /// that already holds a name, else the name's place in the list when no file has that
    /// number, else the lowest free one, so that no other template listed in the index loses
    /// its file.
    std::vector<int> FileNumbers(const std::vector<std::string>& names, const std::vector<int>& places);
    void StartProgress(int steps);
    void ShowProgress(int running, int steps);
    void EndProgress();
    /// Indices of the items a transfer takes: every one with select all, else the one at
    /// position.
    [[nodiscard]] std::vector<int> Taken(int count, int position) const;
    int Message(const std::string& text, plat::UINT style);
    std::string& Destination() noexcept { return m_folders.DestinationPath(); }

    GupListCtrl m_destinationList;
    GupListCtrl m_sourceList;
    int m_selectAll = 0;
    TavManager* m_manager;
    TavTemplate m_store;
    plat::ImageList m_images;
    int m_sourcePosition = 0;
    int m_destinationPosition = 0;
    QzTavTransferFolders m_folders;
    std::vector<std::string> m_destinationFiles;
    std::vector<std::string> m_copiedNames;
    KesProgressDialog m_progress{TRUE};
};
