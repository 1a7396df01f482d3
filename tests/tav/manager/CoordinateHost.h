// A minimal host program for tests: a coordinate list (point name, X, Y, Z, and a code
// chosen from a list) kept in a TavData, shown in the library's grid control inside a
// top-level window. Tests drive it through the headless driver like a person.
#pragma once

#include "components/support/QanLimitEdit.h"
#include "components/support/QanNumEdit.h"
#include "platform/resource/Module.h"
#include "platform/ui/Controls.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"
#include "tav/window/TavCellCtrl.h"

#include <vector>

namespace tavtest {

enum CoordinateItem : unsigned { kPointName = 101, kX = 102, kY = 103, kZ = 104, kCode = 105 };

inline const plat::Module& CoordinateModule()
{
    static const plat::Module* module = [] {
        static plat::Module m("coordinates");
        m.AddStrings({{kPointName, "点名\n点名"}, {kX, "X座標\nX"}, {kY, "Y座標\nY"}, {kZ, "Z座標\nZ"},
                      {kCode, "コード\nコード"}});
        return &m;
    }();
    return *module;
}

// A manager whose layout operations the host window and the tests may call, as the window
// classes built on the grid do.
class HostManager : public TavManager {
public:
    using TavManager::TavManager;
    using TavManager::CustomizeTemplate;
    using TavManager::GetControl;
    using TavManager::ReloadTemplate;
    using TavManager::SetColWidth;
    using TavManager::TermChange;
};

class CoordinateManager : public HostManager {
public:
    explicit CoordinateManager(long rows = 100) : HostManager(&CoordinateModule()), m_name(10)
    {
        SetSize(static_cast<long>(m_declaration.size()), rows);
        SetTemplate(m_declaration.data());
        for (QanNumEdit* number : {&m_x, &m_y, &m_z})
            number->SetFractionFigure(3);
    }

    const char* GetRegSection() override { return "Coordinates"; }
    const char* GetSoftware() override { return "Survey"; }

    // The editors live in the window that holds the grid, hidden until the grid places one.
    int OnCreateControl(plat::Wnd* window) override
    {
        plat::Wnd* parent = window != nullptr ? window->GetParent() : nullptr;
        if (parent == nullptr || m_name.IsWindow())
            return TRUE;
        const plat::RECT place{0, 0, 80, 16};
        m_name.Create(plat::ES_LEFT, place, parent, 201);
        m_x.Create(plat::ES_RIGHT, place, parent, 202);
        m_y.Create(plat::ES_RIGHT, place, parent, 203);
        m_z.Create(plat::ES_RIGHT, place, parent, 204);
        m_code.Create(plat::CBS_DROPDOWNLIST, place, parent, 205);
        for (const char* code : {"基準点", "引照点", "多角点"})
            m_code.AddString(code);
        return TRUE;
    }

    plat::Wnd* OnGetControl(unsigned id, int& /*flag*/) override
    {
        switch (id) {
        case kPointName: return &m_name;
        case kX: return &m_x;
        case kY: return &m_y;
        case kZ: return &m_z;
        case kCode: return &m_code;
        default: return nullptr;
        }
    }

    QanLimitEdit m_name;
    QanNumEdit m_x;
    QanNumEdit m_y;
    QanNumEdit m_z;
    plat::ComboBox m_code;
    std::vector<int> m_declaration{kPointName, kX, kY, kZ, kCode};
};

// The program's window: the grid fills it and answers its own notifications.
class CoordinateHost : public plat::Wnd {
public:
    explicit CoordinateHost(HostManager& manager) : m_manager(manager) {}

    // Creates the window (640 x 400 px: 80 by 25 characters) with the grid in it.
    void Open(int width = 640, int height = 400)
    {
        Create("CoordinateHost", "座標", plat::WS_VISIBLE, plat::RECT{0, 0, width, height}, nullptr, 0);
        m_grid.Create(plat::WS_VISIBLE, plat::RECT{0, 0, width, height}, this, 100);
        m_grid.SetFocus();
    }
    // Opens the window and binds the table to its grid, as a host does at start.
    void Show(TavData& data, int width = 640, int height = 400)
    {
        Open(width, height);
        m_manager.Associate(&m_grid, &data);
    }

    TavCellCtrl& Grid() noexcept { return m_grid; }
    HostManager& Manager() noexcept { return m_manager; }

private:
    HostManager& m_manager;
    TavCellCtrl m_grid;
};

} // namespace tavtest
