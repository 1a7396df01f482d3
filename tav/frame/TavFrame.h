/// @file
/// The library's frame in its host process: its module (the string table it shows texts
/// from), the named window messages its windows, dialogs and edit controls share with the
/// host, and the message shown when a host's table grows past its limit.
#pragma once

#include "platform/resource/Module.h"
#include "platform/ui/Types.h"

/// The numbers of the registered messages, obtained once when the library loads and kept for
/// the life of the process. Message maps refer to the members by address.
struct TavRegisteredMessages {
    plat::UINT termChange = 0;        ///< "NV_MESSAGE001": the host changed its item controls
    plat::UINT colorChange = 0;       ///< "TAV_WM_COLORCHANGE": new appearance settings
    plat::UINT speech = 0;            ///< "TAV_STR_WM_SPEECH": read the current cell aloud
    plat::UINT queryMessageString = 0; ///< "NV_MESSAGE002": the query of a message string
    plat::UINT editCheck = 0;         ///< "LUN_STR_EDIT_CHECK"
    plat::UINT editEnableCheck = 0;   ///< "LUN_STR_EDIT_ENABLECHECK"
    plat::UINT editResetTempText = 0; ///< "LUN_STR_EDIT_RESETTEMPTEXT"
    plat::UINT editSetDialogMode = 0; ///< "LUN_STR_EDIT_SETDIALOGMODE"
    plat::UINT editGetCtlColor = 0;   ///< "LUN_STR_EDIT_GETCTLCOLOR"
    plat::UINT editOk = 0;            ///< "LUN_STR_EDIT_OK"
    plat::UINT checkTemplate = 0;     ///< "TAV_CHECKTEMPL"
};

/// The registered message numbers; the same in every program that registers the names.
[[nodiscard]] const TavRegisteredMessages& TavMessages();

/// The library's module: every string, message box and dialog template of the library is
/// loaded from it.
[[nodiscard]] plat::ModuleHandle TavGetModuleHandle();

/// Tells the user that the largest number of coordinates (coordinates non-zero) or of lot
/// numbers has been passed, in a message box of the given style; returns the button pressed.
int TavCoGrOverflowMessage(int coordinates, unsigned int style);
