// A coordinate grid bound in a window, with registries and home, temporary and document
// folders of its own, for the layout dialogs driven as a person would through the commands.
#pragma once

#include "tests/tav/command/CommandHost.h"

#include "components/support/GupListCtrl.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "tav/templates/TavTemplate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tavtest {

// Counts the checks of a new column list and refuses them while told to.
class CheckingManager : public CoordinateManager {
public:
    int OnCheckTemplate(const std::vector<unsigned>& ids) override
    {
        checked.push_back(ids);
        return refuse ? 0 : 1;
    }
    std::vector<std::vector<unsigned>> checked;
    bool refuse = false;
};

class LayoutFixture : public ::testing::Test {
protected:
    LayoutFixture()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavlayout-XXXXXX").string();
        root = mkdtemp(pattern.data());
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "TMPDIR"}) {
            const char* value = std::getenv(name);
            m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        std::filesystem::create_directories(root / "home");
        setenv("HOME", (root / "home").c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        setenv("TMPDIR", root.c_str(), 1);
        plat::RegSetStore(plat::HKEY_CURRENT_USER, std::make_shared<plat::MemoryRegistryStore>());
        plat::RegSetStore(plat::HKEY_LOCAL_MACHINE, std::make_shared<plat::MemoryRegistryStore>());
        host.Open();
        manager.Associate(&host.grid, &data);
        app.SetMainWnd(&host);
    }
    ~LayoutFixture() override
    {
        host.DestroyWindow();
        plat::RegSetStore(plat::HKEY_CURRENT_USER, nullptr);
        plat::RegSetStore(plat::HKEY_LOCAL_MACHINE, std::make_shared<plat::MemoryRegistryStore>(true));
        for (const auto& [name, value] : m_saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        std::error_code error;
        std::filesystem::remove_all(root, error);
    }

    // The menu command, as the frame passes it to the grid.
    void Command(plat::UINT id) { host.grid.SendMessage(plat::WM_COMMAND, id, 0); }

    // The texts of a list view or list box of an open dialog.
    static std::vector<std::string> Items(const plat::DialogOperator& person, int id)
    {
        std::vector<std::string> items;
        if (auto* view = dynamic_cast<plat::ListView*>(person.Control(id)))
            for (int i = 0; i < view->GetItemCount(); ++i)
                items.push_back(view->GetItemText(i, 0));
        if (auto* box = dynamic_cast<plat::ListBox*>(person.Control(id)))
            for (int i = 0; i < box->GetCount(); ++i)
                items.push_back(box->GetText(i));
        return items;
    }
    static std::string Selected(const plat::DialogOperator& person, int id)
    {
        auto* view = dynamic_cast<GupListCtrl*>(person.Control(id));
        return view != nullptr && view->GetCurSel() >= 0 ? view->GetItemText(view->GetCurSel(), 0) : std::string();
    }
    std::vector<std::string> StoredNames()
    {
        std::vector<std::string> names;
        TavTemplate(&manager).GetNameArray(names);
        return names;
    }
    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const plat::MessageBoxRecord& box : driver.MessageBoxes())
            texts.push_back(box.text);
        return texts;
    }

    std::filesystem::path root;
    plat::HeadlessDriver driver;
    plat::WinApp app{"Survey", "Application", &driver};
    CheckingManager manager;
    TavData data;
    GridHost<TavCellCtrl> host;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

} // namespace tavtest
