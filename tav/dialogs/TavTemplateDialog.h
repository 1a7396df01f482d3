/// @file
/// The template management dialog: the stored templates of a table's template group, with
/// registering the table's layout under a name, loading one into the table, deleting one and
/// the transfer of templates to and from files. It ends with OK only after a load, so that the
/// caller rebuilds the grid from the table's new layout; registering and deleting take effect
/// in the store at once and leave the dialog open.
#pragma once

#include "components/support/GupListCtrl.h"
#include "components/support/KesDialog.h"
#include "platform/ui/ListView.h"
#include "tav/templates/TavTemplate.h"

#include <string>

class TavData;
class TavManager;

class TavTemplateDialog : public KesDialog {
public:
    /// The longest template name taken, in characters: a registry key name holds no more.
    static constexpr std::size_t kMaxNameLength = 255;

    /// The manager's resource module is kept for the host; the record table (may be null) is
    /// the one whose template name is shown and set.
    TavTemplateDialog(plat::ModuleHandle resourceModule, TavManager* manager, TavData* data, plat::Wnd* parent = nullptr);

    /// Why a name cannot name a template, as the user is told; empty when it can. A comma has
    /// a message of its own (string 5) and gives the text of that string.
    [[nodiscard]] static std::string NameProblem(const std::string& name);

    /// The manager's resource module, kept for derived dialogs of a host.
    [[nodiscard]] plat::ModuleHandle GetResourceModule() const noexcept { return m_resourceModule; }

    plat::BOOL OnInitDialog() override;
    void DoDataExchange(plat::DataExchange& dx) override;
    [[nodiscard]] plat::UINT GetBaseID() const override { return 0x81E23087; }

    void OnRegister();
    void OnLoad();
    void OnDelete();
    void OnTransfer();
    void OnListKeyDown(plat::NMHDR* header, plat::LRESULT* result);

    DECLARE_MESSAGE_MAP()

private:
    void FillList();
    void ShowCurrent();
    [[nodiscard]] std::string SelectedName() const;
    [[nodiscard]] int Ask(plat::UINT stringId, const std::string& name);

    GupListCtrl m_list;
    plat::ModuleHandle m_resourceModule;
    TavManager* m_manager;
    TavData* m_data;
    TavTemplate m_store;
    plat::ImageList m_images;
    std::string m_caption;
};
