// Logical fonts as the desktop draws them: a LOGFONTA record turned into a QFont (faces that
// are not installed fall to an installed Japanese face through fontconfig's families), and the
// driver's text measure answered with that font's metrics, so that layout and painting agree.
#pragma once

#include "platform/ui/TextMeasure.h"
#include "platform/ui/Types.h"

#include <QFont>
#include <QFontMetrics>

#include <memory>
#include <string>
#include <unordered_map>

namespace qtfe {

// The QFont a logical font names. Heights are in device-independent pixels: a negative
// height is the characters' own, a positive one the whole cell's.
[[nodiscard]] QFont FontFromLogFont(const plat::LOGFONTA& logFont);

// The desktop's font for dialogs and menus as a logical font.
[[nodiscard]] plat::LOGFONTA DesktopLogFont();

class QtTextMeasure final : public plat::TextMeasure {
public:
    [[nodiscard]] int Advance(const plat::LOGFONTA& font, char32_t ch) const override;
    [[nodiscard]] plat::FontMetrics Metrics(const plat::LOGFONTA& font) const override;
    [[nodiscard]] int Width(const plat::LOGFONTA& font, std::string_view text) const override;

    // The font and its metrics, made once per logical font.
    struct Entry {
        QFont font;
        QFontMetrics metrics;
        plat::FontMetrics summary;
        int asciiAdvance[128];
        mutable std::unordered_map<char32_t, int> otherAdvances;
    };
    [[nodiscard]] const Entry& Find(const plat::LOGFONTA& font) const;

private:
    mutable std::unordered_map<std::string, std::unique_ptr<Entry>> m_entries;
};

} // namespace qtfe
