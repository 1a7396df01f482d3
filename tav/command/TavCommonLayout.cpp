// The layout commands of the grid windows: the open editor closes first, keeping its text,
// so the dialog sees and the rebuild keeps what was typed.
#include "tav/command/TavCommon.h"

#include "platform/io/Archive.h"
#include "tav/data/TavData.h"
#include "tav/data/TavUndoHistory.h"
#include "tav/manager/TavManager.h"

namespace {

constexpr plat::WPARAM kKeepText = 1;

std::vector<std::uint8_t> StoredLayout(TavData& data)
{
    plat::Archive archive = plat::Archive::ForStoring();
    data.SerializeTemplate(archive);
    return archive.TakeBytes();
}

// Runs a layout dialog as one step: the layout block as it was goes into the history when
// the dialog changed it.
template <class Run>
void LayoutStep(TavData* data, const char* name, Run run)
{
    if (data == nullptr) {
        run();
        return;
    }
    std::vector<std::uint8_t> before = StoredLayout(*data);
    const TavUndoStep step(&data->History(), name);
    run();
    data->History().AddLayout(std::move(before));
}

} // namespace

void TavCommon::CellChange()
{
    Request(MOXM_CLOSEEDITOR, kKeepText);
    if (Request(MOXM_ISEDITING) != 0)
        return;
    if (TavManager* manager = ManagerPtr())
        LayoutStep(manager->Data(), "項目変更", [&] { manager->CellChange(); });
}

void TavCommon::CellTemplate()
{
    Request(MOXM_CLOSEEDITOR, kKeepText);
    if (Request(MOXM_ISEDITING) != 0)
        return;
    if (TavManager* manager = ManagerPtr())
        LayoutStep(manager->Data(), "ﾃﾝﾌﾟﾚｰﾄ", [&] { manager->CellTemplate(); });
}
