// Template and control identifiers of the support library's own dialogs, kept in its module.
#pragma once

#include "platform/ui/Types.h"

inline constexpr plat::UINT KES_IDD_INPUT = 201;
inline constexpr plat::UINT KES_IDD_DIRECTORY = 202;
inline constexpr plat::UINT KES_IDD_PROGRESS = 203;

inline constexpr int KES_IDC_PROMPT = 1000;   // input dialog: the prompt
inline constexpr int KES_IDC_TEXT = 1001;     // input dialog: the text
inline constexpr int KES_IDC_PATH = 1001;     // folder dialog: the path field
inline constexpr int KES_IDC_FOLDERS = 1002;  // folder dialog: the sub folders
inline constexpr int KES_IDC_MESSAGE = 1001;  // progress: the message line
inline constexpr int KES_IDC_PROGRESS = 1002; // progress: the bar
inline constexpr int KES_IDC_PERCENT = 1003;  // progress: the percentage
