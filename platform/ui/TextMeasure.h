// How text measures on the device that shows it. Layout and hit-testing ask the measure of the
// application's driver, so a front end that draws real fonts lays out with them; the terminal
// and the headless driver answer with the character-cell model.
#pragma once

#include "platform/ui/Types.h"

#include <cstddef>
#include <string_view>

namespace plat {

struct FontMetrics {
    int height = 0;       // one line
    int ascent = 0;
    int averageWidth = 0; // the width dialog units and "n characters wide" are counted in
    int maxWidth = 0;
};

class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    // The advance of one character drawn in the font.
    [[nodiscard]] virtual int Advance(const LOGFONTA& font, char32_t ch) const = 0;
    [[nodiscard]] virtual FontMetrics Metrics(const LOGFONTA& font) const = 0;
    // A front end whose fonts kern may answer for whole texts; by default the advances add up.
    [[nodiscard]] virtual int Width(const LOGFONTA& font, std::string_view text) const;

    [[nodiscard]] int LineHeight(const LOGFONTA& font) const { return Metrics(font).height; }
    [[nodiscard]] int AverageWidth(const LOGFONTA& font) const { return Metrics(font).averageWidth; }
    // The bytes of the text's leading characters that fit in so many pixels; never cuts a
    // character in two.
    [[nodiscard]] std::size_t Fit(const LOGFONTA& font, std::string_view text, int width) const;
    // The character under x pixels from the text's start, counted in characters; the count
    // of characters past the end. A click puts the caret before it.
    [[nodiscard]] int CharacterAt(const LOGFONTA& font, std::string_view text, int x) const;
    // The pixels before the character boundary numbered index.
    [[nodiscard]] int OffsetOf(const LOGFONTA& font, std::string_view text, int index) const;
};

// The character-cell model: a half-width character is 8 px wide, a full-width one 16 px, a
// line 16 px high, whatever the font.
class CellTextMeasure final : public TextMeasure {
public:
    static constexpr int kColumnWidth = 8;
    static constexpr int kLineHeight = 16;
    [[nodiscard]] int Advance(const LOGFONTA& font, char32_t ch) const override;
    [[nodiscard]] FontMetrics Metrics(const LOGFONTA& font) const override;
    [[nodiscard]] int Width(const LOGFONTA& font, std::string_view text) const override;
};

[[nodiscard]] const TextMeasure& GetCellTextMeasure() noexcept;

// The measure of the application's driver; the cell model before there is one.
[[nodiscard]] const TextMeasure& GetTextMeasure() noexcept;

// The font text is laid out in when a window names none.
[[nodiscard]] LOGFONTA DefaultLogFont();
class Wnd;
// The font a window shows its text in.
[[nodiscard]] LOGFONTA WindowLogFont(const Wnd& wnd);

} // namespace plat
