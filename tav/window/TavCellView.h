// The grid as a document view: the same routing as TavCellCtrl over the base grid's view.
#pragma once

#include "components/mox/MoxCellView.h"
#include "tav/command/TavCommon.h"

class TavCellView : public MoxCellView, public virtual TavCommon {
public:
    TavCellView();
    ~TavCellView() override;

    plat::BOOL PreCreateWindow(plat::CREATESTRUCT& cs) override;

    DECLARE_MESSAGE_MAP()
};
