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

/// What the find and area correction dialogs ask of the grid window that opens them;
/// `TavCommon` answers it for every grid.
class TavGridAccess {
public:
    /// The grid window the dialog works on.
    [[nodiscard]] virtual plat::Wnd* GetCellWindow() const noexcept = 0;
    /// The bound manager; throws plat::InvalidArgument while none holds a table.
    virtual TavManager& Manager() = 0;
    /// The bound manager, or null while none is bound.
    virtual TavManager* ManagerPtr() = 0;
    /// The bound record table; throws plat::InvalidArgument while none is bound.
    virtual TavData& Data() = 0;
    /// The item shown in a column, -1 for none.
    virtual long FindItemOfColumn(long column) = 0;
    /// The editor control of an item, which the find dialog borrows.
    virtual plat::Wnd* FindItemEditor(long itemNo) = 0;
    /// The cell size of an item in bytes.
    virtual unsigned FindItemDataSize(long itemNo) = 0;
    /// The host's correction of an item over the ranges; 0 when the item cannot be corrected.
    virtual int OnAreaCorrect(unsigned id, const MoxRectArray* ranges, plat::Wnd* parent) = 0;
    /// The host's own comparison of a record's value; 0 lets the dialog compare the bytes.
    virtual int OnFindCompare(unsigned id, long record, const void* value, unsigned size, int& result) = 0;

protected:
    /// Made only as part of the grid's command object.
    TavGridAccess() = default;
    /// Never destroyed through this interface.
    ~TavGridAccess() = default;
    /// Copied only with the command object that holds it.
    TavGridAccess(const TavGridAccess&) = default;
    /// Assigned only with the command object that holds it.
    TavGridAccess& operator=(const TavGridAccess&) = default;
};
