/// @file
/// The grid as a child control for dialogs, property pages and frames: the base grid draws and
/// edits, the command layer answers; this class only routes between them.
#pragma once

#include "components/mox/MoxCellCtrl.h"
#include "tav/command/TavCommon.h"

/// The grid as a child control of a frame, dialog or property page. Create it in its parent,
/// then bind it with TavManager::Associate; derive from it to override TavCommon's hooks, and
/// route the shared menus' commands to it.
class TavCellCtrl : public MoxCellCtrl, public virtual TavCommon {
public:
    TavCellCtrl();
    ~TavCellCtrl() override;

    /// Gives the window the grid's class and styles before it is made.
    plat::BOOL PreCreateWindow(plat::CREATESTRUCT& cs) override;

    DECLARE_MESSAGE_MAP()
};
