// A measured number column of a million records under a grid, selected whole, whose area
// correction dialog is answered at once with "add 0.001": the bulk correction benchmarks and
// the undo of a correction share it.
#pragma once

#include "components/support/LunMrmNumEdit.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/resource/Module.h"
#include "platform/ui/App.h"
#include "platform/ui/HeadlessDriver.h"
#include "tav/data/TavData.h"
#include "tav/dialogs/TavInputNumDialog.h"
#include "tav/manager/TavManager.h"
#include "tav/window/TavCellCtrl.h"

#include <cstdlib>
#include <memory>
#include <vector>

namespace bench {

inline constexpr long kCorrectedRecords = 1'000'000;

inline const plat::Module& HeightModule()
{
    static const plat::Module* module = [] {
        static plat::Module m("corrected column bench");
        m.AddStrings({{102, "X座標\nX"}});
        return &m;
    }();
    return *module;
}

class HeightManager : public TavManager {
public:
    HeightManager() : TavManager(&HeightModule())
    {
        SetSize(1, kCorrectedRecords);
        SetTemplate(m_declaration.data());
        const HixMrm measure(5, 0, 3);
        m_x.SetNumAttr(&measure, 1, 3);
    }
    const char* GetRegSection() override { return "CorrectedBench"; }
    int OnCreateControl(plat::Wnd* window) override
    {
        if (window != nullptr && window->GetParent() != nullptr && !m_x.IsWindow())
            m_x.Create(plat::ES_RIGHT, plat::RECT{0, 0, 80, 16}, window->GetParent(), 200);
        return TRUE;
    }
    plat::Wnd* OnGetControl(unsigned id, int&) override { return id == 102 ? &m_x : nullptr; }

private:
    LunMrmNumEdit m_x{5};
    std::vector<int> m_declaration{102};
};

struct Corrected {
    Corrected()
    {
        plat::RegSetStore(plat::HKEY_CURRENT_USER, std::make_shared<plat::MemoryRegistryStore>());
        host.Create("Host", "", plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, nullptr, 0);
        grid.Create(plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, &host, 1);
        manager.Associate(&grid, &data);
        app.SetMainWnd(&host);
        data.m_viewUpdate = 0;
        for (long record = 0; record < kCorrectedRecords; ++record)
            if (!data.Set(0L, record, 1000.0 + record))
                std::abort(); // nothing refuses here; a refusal would measure another column
        data.m_viewUpdate = 1;
        MoxRectArray selection;
        selection.Add(MoxRect(MoxPos{0, 0}, MoxPos{0, static_cast<std::int32_t>(kCorrectedRecords - 1)}));
        grid.SendMessage(MOXM_SETSELECTION, reinterpret_cast<plat::WPARAM>(&selection));
        driver.OnEveryDialog([](plat::DialogOperator& dialog) {
            if (dialog.Caption() != "数値補正")
                return;
            dialog.SetText(TAV_IDC_INPUTNUM_VALUE, "0.001");
            dialog.Return();
        });
    }
    void Correct() { grid.SendMessage(plat::WM_COMMAND, 0xC10A); }

    plat::HeadlessDriver driver;
    plat::WinApp app{"CorrectedBench", "Bench", &driver};
    HeightManager manager;
    TavData data;
    plat::Wnd host;
    TavCellCtrl grid;
};

} // namespace bench
