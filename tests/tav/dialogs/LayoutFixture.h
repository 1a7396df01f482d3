// A coordinate grid bound in a window, with registries and home, temporary and document
// folders of its own, for the layout dialogs driven as a person would through the commands.
#pragma once

#include "tests/tav/command/CommandHost.h"

#include "components/support/GupListCtrl.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/TextMeasure.h"
#include "tav/templates/TavTemplate.h"
#include "tests/ScopedEnvironment.h"
#include "tests/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
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
        std::filesystem::create_directories(root / "home");
        host.Open();
        manager.Associate(&host.grid, &data);
        app.SetMainWnd(&host);
    }
    ~LayoutFixture() override { host.DestroyWindow(); }

    // The menu command, as the frame passes it to the grid.
    void Command(plat::UINT id) { host.grid.SendMessage(plat::WM_COMMAND, id, 0); }

    // Every push button of an open dialog shows its whole caption, as the driver measures it:
    // the dialog's units follow its font, so its buttons grow with the measure.
    static void ExpectCaptionsFit(const plat::DialogOperator& person)
    {
        int buttons = 0;
        for (plat::Wnd* child : person.GetDialog().GetChildren()) {
            const plat::DWORD kind = child->GetStyle() & plat::BS_TYPEMASK;
            if (!dynamic_cast<plat::Button*>(child) || (kind != plat::BS_PUSHBUTTON && kind != plat::BS_DEFPUSHBUTTON))
                continue;
            ++buttons;
            const std::string caption = plat::StripMnemonic(child->GetWindowText());
            plat::RECT box;
            child->GetClientRect(&box);
            EXPECT_LE(plat::GetTextMeasure().Width(plat::WindowLogFont(*child), caption), box.Width())
                << caption << " in " << person.Caption();
        }
        EXPECT_GE(buttons, 2) << "OK and Cancel at least";
    }

    static std::string Selected(const plat::DialogOperator& person, int id)
    {
        auto* view = dynamic_cast<GupListCtrl*>(person.Control(id));
        return view != nullptr && view->GetCurSel() >= 0 ? view->GetItemText(view->GetCurSel(), 0) : std::string();
    }
    // A stored template's items (and widths), none when it cannot be read.
    std::vector<unsigned> StoredItems(const std::string& name, std::vector<unsigned>* widths = nullptr)
    {
        TavStoredTemplate stored;
        if (!TavTemplate(&manager).ReadTemplate(name, stored))
            return {};
        if (widths != nullptr)
            *widths = stored.widths;
        return stored.items;
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

private:
    MemoryRegistry m_registry{MemoryRegistry::Roots::UserAndMachine};
    TemporaryFolder m_folder{"tavlayout"};

public:
    const std::filesystem::path root = m_folder.Path();
    plat::HeadlessDriver driver;
    plat::WinApp app{"Survey", "Application", &driver};
    CheckingManager manager;
    TavData data;
    GridHost<TavCellCtrl> host;

private:
    ScopedEnvironment m_home{"HOME", (root / "home").string()};
    ScopedEnvironment m_config{"XDG_CONFIG_HOME", std::nullopt};
    ScopedEnvironment m_temporary{"TMPDIR", root.string()};
};

} // namespace tavtest
