// What the find and area correction dialogs need of the grid window that opens them. The
// command layer above implements it, so the dialogs reach the grid without knowing that layer.
#pragma once

#include "platform/ui/Types.h"

class MoxRectArray;
class TavData;
class TavManager;
namespace plat {
class Wnd;
}

class TavGridAccess {
public:
    [[nodiscard]] virtual plat::Wnd* GetCellWindow() const noexcept = 0;
    // The bound manager and its table; the references assume one is bound.
    virtual TavManager& Manager() = 0;
    virtual TavManager* ManagerPtr() = 0;
    virtual TavData& Data() = 0;
    // The item shown in a column (-1: none), the item's editor control and its cell size.
    virtual long FindItemOfColumn(long column) = 0;
    virtual plat::Wnd* FindItemEditor(long itemNo) = 0;
    virtual unsigned FindItemDataSize(long itemNo) = 0;
    // The host's hooks: corrects an item over the ranges (0: the item cannot be corrected);
    // compares a record's value itself (false: the dialog compares the bytes).
    virtual int OnAreaCorrect(unsigned id, const MoxRectArray* ranges, plat::Wnd* parent) = 0;
    virtual int OnFindCompare(unsigned id, long record, const void* value, unsigned size, int& result) = 0;

protected:
    TavGridAccess() = default;
    ~TavGridAccess() = default;
    TavGridAccess(const TavGridAccess&) = default;
    TavGridAccess& operator=(const TavGridAccess&) = default;
};
