// A grid control whose hooks a test can steer and watch, in a top-level window, bound to a
// coordinate manager whose point name is edited by a checking text edit.
#pragma once

#include "components/support/LunLimitEdit.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/ui/App.h"
#include "platform/ui/HeadlessDriver.h"
#include "tav/window/TavCellCtrl.h"
#include "tests/tav/manager/CoordinateHost.h"

#include <memory>
#include <string>
#include <vector>

namespace tavtest {

class ProbeGrid : public TavCellCtrl {
public:
    int OnBeginEdit(unsigned id, long record) override
    {
        calls.push_back("begin " + std::to_string(id) + "," + std::to_string(record));
        return allowBegin;
    }
    int OnEndEdit(unsigned /*id*/, long /*record*/) override
    {
        calls.push_back("end");
        return 1;
    }
    int OnBeginCopy() override { return allowCopy; }
    bool OnGetPaneTextColor(const MoxPos& /*cell*/, plat::COLORREF& colour) override
    {
        colour = hostColour;
        return hostColour != 0;
    }
    // Marks the given line blocks as a pending line command would.
    void Pend(plat::UINT command, const MoxRect& block)
    {
        m_lineCommand = command;
        m_srcBlocks.RemoveAll();
        m_dstBlocks.RemoveAll();
        m_srcBlocks.Add(block, MoxRectArray::kWholeLines);
        m_dstBlocks.Add(block, MoxRectArray::kWholeLines);
        m_dstBounds = MoxRect(block.First(), MoxPos{block.Second().column, block.Second().row + 1});
    }
    using TavCommon::QueryBlankLine;
    using TavCommon::QueryDisablePane;

    std::vector<std::string> calls;
    int allowBegin = 1;
    int allowCopy = 1;
    plat::COLORREF hostColour = 0;
};

// The coordinate manager with a checking text edit for the point name.
class ProbeManager : public CoordinateManager {
public:
    int OnCreateControl(plat::Wnd* window) override
    {
        if (window != nullptr && window->GetParent() != nullptr && !m_checkedName.IsWindow())
            m_checkedName.Create(plat::ES_LEFT, plat::RECT{0, 0, 80, 16}, window->GetParent(), 210);
        return CoordinateManager::OnCreateControl(window);
    }
    plat::Wnd* OnGetControl(unsigned id, int& flag) override
    {
        return id == kPointName ? &m_checkedName : CoordinateManager::OnGetControl(id, flag);
    }
    LunLimitEdit m_checkedName{10};
};

template <class Grid>
class GridHost : public plat::Wnd {
public:
    void Open()
    {
        Create("GridHost", "座標", plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, nullptr, 0);
        grid.Create(plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, this, 100);
        grid.SetFocus();
    }
    Grid grid;
};

// The application, an in-memory registry, and the grid bound to a 100-record table.
template <class Grid = ProbeGrid>
class BoundGrid {
public:
    BoundGrid()
    {
        plat::RegSetStore(plat::HKEY_CURRENT_USER, std::make_shared<plat::MemoryRegistryStore>());
        host.Open();
        manager.Associate(&host.grid, &data);
        app.SetMainWnd(&host);
    }
    ~BoundGrid()
    {
        host.DestroyWindow();
        plat::RegSetStore(plat::HKEY_CURRENT_USER, nullptr);
    }
    // Types the keys into the program as a person would.
    void Keys(std::initializer_list<int> keys)
    {
        for (int key : keys)
            driver.PushKey(key);
        app.Run();
    }

    plat::HeadlessDriver driver;
    plat::WinApp app{"CommandTest", "Test", &driver};
    ProbeManager manager;
    TavData data;
    GridHost<Grid> host;
    Grid& grid = host.grid;
};

} // namespace tavtest
