/// @file
/// The user's appearance settings shared by every grid of every program: the text colour of
/// warning cells, the background of locked cells, and an optional grid font.
#pragma once

#include "platform/ui/Types.h"

#include <string>

/// The stored appearance settings, read with Load and written with Save; the colour page edits
/// them and TavInitCell applies the font at a program's start.
class TavColorSetting {
public:
    /// Holders read the fields even when Load fails, so they start from the defaults that a
    /// missing value gives.
    plat::COLORREF m_warningTextColor = kDefaultWarningTextColor;
    plat::COLORREF m_lockBackColor = kDefaultLockBackColor; ///< the background of locked cells
    plat::BOOL m_useFont = FALSE; ///< TRUE when the grids use m_logFont
    plat::LOGFONTA m_logFont{}; ///< the grids' font while m_useFont is on

    static constexpr plat::COLORREF kDefaultWarningTextColor = 0x000000FF; ///< red
    static constexpr plat::COLORREF kDefaultLockBackColor = 0x0080FFFF;    ///< pale yellow

    /// The settings' key below the current user's root: "`<system key>`\Pallete\QzTav".
    [[nodiscard]] static std::string GetKeyPath();

    /// Reads the four fields (creating the key when it is missing) and hands the warning colour
    /// to the edit controls; 1 on success, 0 when the key cannot be opened (fields untouched).
    [[nodiscard]] int Load();
    /// Writes the four fields; the font is stored only while it is in use. 1 on success.
    [[nodiscard]] int Save();
    /// Moves the colours from the old location ("`<system key>`\Pallete" itself) to the key of
    /// GetKeyPath, once: nothing happens when the old key is missing or the new one exists.
    void MigrateOldSetting();
};
