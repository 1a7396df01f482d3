// The library's module, registered messages and overflow message.
#include "tav/frame/TavFrame.h"

#include "components/support/NifResource.h"
#include "platform/ui/Wnd.h"
#include "tav/resources/TavStrings.h"

const TavRegisteredMessages& TavMessages()
{
    static const TavRegisteredMessages messages = [] {
        TavRegisteredMessages m;
        m.termChange = plat::RegisterWindowMessage("NV_MESSAGE001");
        m.colorChange = plat::RegisterWindowMessage("TAV_WM_COLORCHANGE");
        m.speech = plat::RegisterWindowMessage("TAV_STR_WM_SPEECH");
        m.queryMessageString = plat::RegisterWindowMessage("NV_MESSAGE002");
        m.editCheck = plat::RegisterWindowMessage("LUN_STR_EDIT_CHECK");
        m.editEnableCheck = plat::RegisterWindowMessage("LUN_STR_EDIT_ENABLECHECK");
        m.editResetTempText = plat::RegisterWindowMessage("LUN_STR_EDIT_RESETTEMPTEXT");
        m.editSetDialogMode = plat::RegisterWindowMessage("LUN_STR_EDIT_SETDIALOGMODE");
        m.editGetCtlColor = plat::RegisterWindowMessage("LUN_STR_EDIT_GETCTLCOLOR");
        m.editOk = plat::RegisterWindowMessage("LUN_STR_EDIT_OK");
        m.checkTemplate = plat::RegisterWindowMessage("TAV_CHECKTEMPL");
        return m;
    }();
    return messages;
}

plat::ModuleHandle TavGetModuleHandle()
{
    static const plat::Module* module = [] {
        static plat::Module library("tavcell");
        TavAddStrings(library);
        return &library;
    }();
    return module;
}

namespace {

// Loading the library registers its messages and its module before any host code runs, so
// numbers and resources are there whatever the host touches first.
[[maybe_unused]] const bool g_loaded = TavMessages().colorChange != 0 && TavGetModuleHandle() != nullptr;

} // namespace

int TavCoGrOverflowMessage(int coordinates, unsigned int style)
{
    return NifMessageBox(TavGetModuleHandle(), coordinates ? IDS_TAV_TOO_MANY_COORDINATES : IDS_TAV_TOO_MANY_LOT_NUMBERS,
                         style);
}
