// The suite's shared menu: the Edit and Cell menus that every program of the suite shows in
// its menu bar and that the grids assemble their context menu from, and the rework that
// tidies a menu assembled from it.
#pragma once

#include "platform/ui/Menu.h"
#include "platform/resource/Module.h"

// The command identifiers of the shared menu, beside the edit commands (plat::ID_EDIT_*).
namespace NifCommand {
inline constexpr plat::UINT MoveTop = 0xC100;
inline constexpr plat::UINT MoveBottom = 0xC101;
inline constexpr plat::UINT Jump = 0xC102;
inline constexpr plat::UINT Find = 0xC103;
inline constexpr plat::UINT LineInsert = 0xC104;
inline constexpr plat::UINT LineDelete = 0xC105;
inline constexpr plat::UINT LineMove = 0xC106;
inline constexpr plat::UINT LineCopy = 0xC107;
inline constexpr plat::UINT LineSwap = 0xC108;
inline constexpr plat::UINT LineCloseUp = 0xC109;
inline constexpr plat::UINT AreaCorrect = 0xC10A;
inline constexpr plat::UINT Lock = 0xC300;
inline constexpr plat::UINT AutoWidth = 0xC301;
inline constexpr plat::UINT Template = 0xC302;
inline constexpr plat::UINT Read = 0xC303;
inline constexpr plat::UINT ViewSettings = 0xC304;
inline constexpr plat::UINT EditOpen = 0xC305;
inline constexpr plat::UINT DedicatedSettings = 0xC306;
inline constexpr plat::UINT CellChange = 0xC307;
inline constexpr plat::UINT CellPrint = 0xC308;
} // namespace NifCommand

// NifRemakeMenu's flag: also drop the accelerator texts (for a menu opened where the keys
// they name do not apply).
inline constexpr int NIF_REMAKE_NOACCEL = 0x0001;

// Fills the menu (made here as a menu bar when it holds none) with the shared "編集(&E)" and
// "ｾﾙ(&C)" menus; FALSE when the menu could not be made. The status prompts of the shared
// commands become available to every frame.
plat::BOOL NifGetCommonMenu(plat::Menu& menu);

// Tidies a menu assembled from the shared one, sub menus included: separators at its start
// or end and runs of separators go, leaving one; with NIF_REMAKE_NOACCEL the accelerator
// texts go too. FALSE for a menu that does not exist.
plat::BOOL NifRemakeMenu(plat::Menu* menu, int flag);

// The module that holds the shared commands' status prompts.
[[nodiscard]] plat::ModuleHandle NifCommonMenuModule();
