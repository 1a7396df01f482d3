// The coordinate list the grid benchmarks bind and draw: four items (a name and three
// coordinates to the millimetre), a window around the grid that answers its headings and line
// numbers as a host does, and the headless application they run in.
#pragma once

#include "components/mox/MoxMessages.h"
#include "components/mox/MoxPos.h"
#include "components/support/QanLimitEdit.h"
#include "components/support/QanNumEdit.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/resource/Module.h"
#include "platform/ui/App.h"
#include "platform/ui/HeadlessDriver.h"
#include "platform/ui/Wnd.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace bench {

inline const plat::Module& PointModule()
{
    static const plat::Module* module = [] {
        static plat::Module m("point list bench");
        m.AddStrings({{101, "点名\n点名"}, {102, "X座標\nX"}, {103, "Y座標\nY"}, {104, "Z座標\nZ"}});
        return &m;
    }();
    return *module;
}

class PointManager : public TavManager {
public:
    explicit PointManager(long rows) : TavManager(&PointModule()), m_name(10)
    {
        SetSize(static_cast<long>(m_declaration.size()), rows);
        SetTemplate(m_declaration.data());
        for (QanNumEdit* number : {&m_x, &m_y, &m_z})
            number->SetFractionFigure(3);
    }
    const char* GetRegSection() override { return "PointListBench"; }
    const char* GetSoftware() override { return "Bench"; }
    plat::Wnd* OnGetControl(unsigned id, int&) override
    {
        switch (id) {
        case 101: return &m_name;
        case 102: return &m_x;
        case 103: return &m_y;
        case 104: return &m_z;
        default: return nullptr;
        }
    }

private:
    QanLimitEdit m_name;
    QanNumEdit m_x;
    QanNumEdit m_y;
    QanNumEdit m_z;
    std::vector<int> m_declaration{101, 102, 103, 104};
};

// The window around the grid answers headings and line numbers as a host does.
class HostWindow : public plat::Wnd {
public:
    explicit HostWindow(TavManager& manager) : m_manager(manager) {}
    plat::LRESULT WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override
    {
        const auto* pos = reinterpret_cast<const MoxPos*>(wParam);
        auto* text = reinterpret_cast<std::string*>(lParam);
        switch (message) {
        case MOXN_FIXEDCOLTEXT: return m_manager.OnSetFixedColText(*pos, *text);
        case MOXN_FIXEDROWTEXT: return m_manager.OnSetFixedRowText(*pos, *text);
        case MOXN_FIXEDCELLTEXT: return *text = "No.", 1;
        default: return Wnd::WindowProc(message, wParam, lParam);
        }
    }

private:
    TavManager& m_manager;
};

// Fills the first `count` records with points P1, P2, ... and their coordinates, with the
// views' updates off as a host filling a table does.
inline void FillPoints(TavData& data, long count)
{
    data.m_viewUpdate = 0;
    // The bench's table refuses nothing: a refused write would have another table measured.
    const auto stored = [](plat::BOOL done) {
        if (!done)
            std::abort();
    };
    for (long record = 0; record < count; ++record) {
        char name[24];
        std::snprintf(name, sizeof name, "P%ld", record + 1);
        stored(data.Set(0L, record, name));
        stored(data.Set(1L, record, -12345.5 + record));
        stored(data.Set(2L, record, 67890.25 + record));
        stored(data.Set(3L, record, 12.125));
    }
    data.m_viewUpdate = 1;
}

// The headless application and a settings store in memory, made once per benchmark program.
struct Environment {
    Environment() { plat::RegSetStore(plat::HKEY_CURRENT_USER, std::make_shared<plat::MemoryRegistryStore>()); }
    plat::HeadlessDriver driver;
    plat::WinApp app{"PointListBench", "Bench", &driver};
};

} // namespace bench
