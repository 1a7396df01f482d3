// A grid control whose hooks a test can steer and watch, in a top-level window, bound to a
// coordinate manager whose point name is edited by a checking text edit.
#pragma once

#include "components/support/LunLimitEdit.h"
#include "platform/ui/App.h"
#include "platform/ui/HeadlessDriver.h"
#include "tav/frame/TavFrame.h"
#include "tav/window/TavCellCtrl.h"
#include "tav/window/TavCellView.h"
#include "tests/tav/manager/CoordinateHost.h"
#include "tests/platform/registry/MemoryRegistry.h"

#include <memory>
#include <string>
#include <vector>

namespace tavtest {

template <class Base>
class ProbeOf : public Base {
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
    int OnBeginPaste() override
    {
        pastingSeen = this->Manager().IsPasteData();
        return 1;
    }
    bool OnGetPaneTextColor(const MoxPos& /*cell*/, plat::COLORREF& colour) override
    {
        colour = hostColour;
        return hostColour != 0;
    }
    // Marks the given line blocks as a pending line command would.
    void Pend(plat::UINT command, const MoxRect& block)
    {
        this->m_lineCommand = command;
        this->m_srcBlocks.RemoveAll();
        this->m_dstBlocks.RemoveAll();
        this->m_srcBlocks.Add(block, MoxRectArray::kWholeLines);
        this->m_dstBlocks.Add(block, MoxRectArray::kWholeLines);
        this->m_dstBounds = MoxRect(block.First(), MoxPos{block.Second().column, block.Second().row + 1});
    }
    using TavCommon::QueryBlankLine;
    using TavCommon::QueryDisablePane;

    std::vector<std::string> calls;
    int allowBegin = 1;
    int allowCopy = 1;
    int pastingSeen = -1;
    plat::COLORREF hostColour = 0;
    std::string cornerText;
    int OnFixedCellText(const MoxPos& /*corner*/, std::string& text) override
    {
        text = cornerText;
        return cornerText.empty() ? 0 : 1;
    }
};
using ProbeGrid = ProbeOf<TavCellCtrl>;
using ProbeView = ProbeOf<TavCellView>;

// A checking text edit that notes the library's registered messages it receives.
class RecordingEdit : public LunLimitEdit {
public:
    using LunLimitEdit::LunLimitEdit;
    plat::LRESULT WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override
    {
        const TavRegisteredMessages& names = TavMessages();
        if (message == names.editSetDialogMode)
            heard.push_back("dialog mode");
        else if (message == names.editEnableCheck)
            heard.push_back("enable check");
        else if (message == names.editResetTempText)
            heard.push_back("reset");
        else if (message == names.editCheck)
            heard.push_back("check");
        return LunLimitEdit::WindowProc(message, wParam, lParam);
    }
    std::vector<std::string> heard;
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
    RecordingEdit m_checkedName{10};
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
template <class Grid = ProbeGrid, class Table = TavData, class Manager = ProbeManager>
class BoundGrid {
public:
    tavtest::MemoryRegistry m_registry;
    BoundGrid()
    {
        host.Open();
        manager.Associate(&host.grid, &data);
        app.SetMainWnd(&host);
    }
    ~BoundGrid() { host.DestroyWindow(); }
    // Types the keys into the program as a person would.
    void Keys(std::initializer_list<int> keys)
    {
        for (int key : keys)
            driver.PushKey(key);
        app.Run();
    }

    plat::HeadlessDriver driver;
    plat::WinApp app{"CommandTest", "Test", &driver};
    Manager manager;
    Table data;
    GridHost<Grid> host;
    Grid& grid = host.grid;
};

} // namespace tavtest
