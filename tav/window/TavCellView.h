/// @file
/// The grid as a document view: the same routing as TavCellCtrl over the base grid's view.
#pragma once

#include "components/mox/MoxCellView.h"
#include "tav/command/TavCommon.h"

/// The grid as a document view: TavCellCtrl's behaviour in a view, so that the table's
/// modified mark reaches the view's document.
class TavCellView : public MoxCellView, public virtual TavCommon {
public:
    TavCellView();
    ~TavCellView() override;

    /// Gives the window the grid's class and styles before it is made.
    plat::BOOL PreCreateWindow(plat::CREATESTRUCT& cs) override;

    DECLARE_MESSAGE_MAP()
};
