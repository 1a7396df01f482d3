/// @file
/// The templates of the layout dialogs (template management, item change, template
/// transfer) and bitmap 149, the small table drawn beside every template name: their numbers,
/// their controls' numbers, and the call that puts them into the library's module.
#pragma once

#include "platform/ui/Types.h"

inline constexpr plat::UINT IDD_TAV_TEMPLATE = 135;
inline constexpr plat::UINT IDD_TAV_CHANGE = 136;
inline constexpr plat::UINT IDD_TAV_TRANSFER = 148;
inline constexpr plat::UINT IDB_TAV_TEMPLATE = 149;
/// Magenta pixels of bitmap 149 are transparent.
inline constexpr plat::COLORREF kTavTemplateMask = 0xFF00FF;

/// Template management.
inline constexpr int IDC_TAV_TEMPLATE_LIST = 1018;
inline constexpr int IDC_TAV_TEMPLATE_REGISTER = 1010;
inline constexpr int IDC_TAV_TEMPLATE_LOAD = 1029;
inline constexpr int IDC_TAV_TEMPLATE_DELETE = 1068;
inline constexpr int IDC_TAV_TEMPLATE_TRANSFER = 1069;

/// Item change.
inline constexpr int IDC_TAV_CHANGE_AVAILABLE = 1001;
inline constexpr int IDC_TAV_CHANGE_USED = 1002;
inline constexpr int IDC_TAV_CHANGE_ADD = 1003;
inline constexpr int IDC_TAV_CHANGE_ADDALL = 1004;
inline constexpr int IDC_TAV_CHANGE_REMOVE = 1005;
inline constexpr int IDC_TAV_CHANGE_REMOVEALL = 1006;
inline constexpr int IDC_TAV_CHANGE_UP = 1007;
inline constexpr int IDC_TAV_CHANGE_DOWN = 1008;
inline constexpr int IDC_TAV_CHANGE_RESET = 1009;

/// Template transfer.
inline constexpr int IDC_TAV_TRANSFER_SOURCE = 1073;
inline constexpr int IDC_TAV_TRANSFER_ALL = 1074;
inline constexpr int IDC_TAV_TRANSFER_IMPORT = 1075;
inline constexpr int IDC_TAV_TRANSFER_DESTINATION = 1076;
inline constexpr int IDC_TAV_TRANSFER_CHOOSE = 1077;
inline constexpr int IDC_TAV_TRANSFER_PATH = 1078;
inline constexpr int IDC_TAV_TRANSFER_EXPORT = 1079;

/// Adds the three templates and the bitmap to the library's module; later calls do nothing.
void TavAddLayoutResources();
