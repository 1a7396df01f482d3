// A grid control whose hooks a test can steer and watch, in a top-level window, bound to a
// coordinate manager whose point name is edited by a checking text edit; and what a test reads
// off an open dialog's lists.
#pragma once

#include "components/support/LunLimitEdit.h"
#include "platform/ui/App.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/HeadlessDriver.h"
#include "platform/ui/ListView.h"
#include "tav/frame/TavFrame.h"
#include "tav/window/TavCellCtrl.h"
#include "tav/window/TavCellView.h"
#include "tests/tav/manager/CoordinateHost.h"
#include "tests/platform/registry/MemoryRegistry.h"

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
    using TavCommon::QueryBlankLine;

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

// The texts of a list view or list box of an open dialog.
inline std::vector<std::string> Items(const plat::DialogOperator& person, int id)
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

// A checking text edit that notes the library's registered messages it receives.
class RecordingEdit : public LunLimitEdit {
public:
    using LunLimitEdit::LunLimitEdit;
    plat::LRESULT WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override
    {
        const TavRegisteredMessages& names = TavMessages();
        for (const auto& [known, name] : {std::pair{names.editSetDialogMode, "dialog mode"}, std::pair{names.editEnableCheck, "enable check"},
                                          std::pair{names.editResetTempText, "reset"}, std::pair{names.editCheck, "check"}})
            if (message == known)
                heard.push_back(name);
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
    // Selects these ranges, with these flags (whole lines, say), as the grid's selection.
    void Select(std::initializer_list<MoxRect> ranges, std::uint8_t flags = 0)
    {
        MoxRectArray selection;
        for (const MoxRect& range : ranges)
            selection.Add(range, flags);
        grid.SendMessage(MOXM_SETSELECTION, reinterpret_cast<plat::WPARAM>(&selection));
    }
    // The texts of the message boxes shown since the last call.
    std::vector<std::string> Boxes()
    {
        std::vector<std::string> texts;
        for (const plat::MessageBoxRecord& box : driver.MessageBoxes())
            texts.push_back(box.text);
        driver.ClearMessageBoxes();
        return texts;
    }

    plat::HeadlessDriver driver;
    plat::WinApp app{"CommandTest", "Test", &driver};
    Manager manager;
    Table data;
    GridHost<Grid> host;
    Grid& grid = host.grid;
};

} // namespace tavtest
