// The view's construction, creation style and message map.
#include "tav/window/TavCellView.h"

#include "tav/window/TavCellRouting.h"

inline constexpr plat::DWORD kTavViewStyle = 0x0003;

TavCellView::TavCellView() { SetCellCtrl(this); }

// Destroyed here, while the routing can still detach the manager.
TavCellView::~TavCellView() { DestroyWindow(); }

plat::BOOL TavCellView::PreCreateWindow(plat::CREATESTRUCT& cs)
{
    cs.style |= kTavViewStyle;
    return MoxCellView::PreCreateWindow(cs);
}

const plat::MessageMap* TavCellView::GetMessageMap() const { return GetThisMessageMap(); }

const plat::MessageMap* TavCellView::GetThisMessageMap()
{
    static const plat::MessageMap map{&MoxCellView::GetThisMessageMap, TavCellRouting<TavCellView>::Entries()};
    return &map;
}
