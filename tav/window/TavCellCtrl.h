// The grid as a child control for dialogs, property pages and frames: the base grid draws and
// edits, the command layer answers; this class only routes between them.
#pragma once

#include "components/mox/MoxCellCtrl.h"
#include "tav/command/TavCommon.h"

class TavCellCtrl : public MoxCellCtrl, public virtual TavCommon {
public:
    TavCellCtrl();
    ~TavCellCtrl() override;

    plat::BOOL PreCreateWindow(plat::CREATESTRUCT& cs) override;

    DECLARE_MESSAGE_MAP()
};
