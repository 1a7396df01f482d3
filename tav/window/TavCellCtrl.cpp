// The control's construction, creation style and message map.
#include "tav/window/TavCellCtrl.h"

#include "tav/window/TavCellRouting.h"

// Style bits the grid windows of the library always carry.
inline constexpr plat::DWORD kTavCellStyle = 0x0003;

TavCellCtrl::TavCellCtrl() { SetCellCtrl(this); }

// Destroyed here, while the routing can still detach the manager.
TavCellCtrl::~TavCellCtrl() { DestroyWindow(); }

plat::BOOL TavCellCtrl::PreCreateWindow(plat::CREATESTRUCT& cs)
{
    cs.style |= kTavCellStyle;
    return MoxCellCtrl::PreCreateWindow(cs);
}

const plat::MessageMap* TavCellCtrl::GetMessageMap() const { return GetThisMessageMap(); }

const plat::MessageMap* TavCellCtrl::GetThisMessageMap()
{
    static const plat::MessageMap map{&MoxCellCtrl::GetThisMessageMap, TavCellRouting<TavCellCtrl>::Entries()};
    return &map;
}
