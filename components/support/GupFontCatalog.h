// The fonts installed on this machine, as fontconfig knows them: families and their styles,
// read once and kept for the process. The font chooser offers them and checks a typed face
// against them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct GupFontStyle {
    std::string name; // as the font names it ("Bold", "Oblique", "太字")
    long weight = 400; // 100 to 900, 400 regular and 700 bold, as a logical font counts it
    bool italic = false;
    int width = 100; // percent of the normal width: 75 condensed, 125 expanded
    friend bool operator==(const GupFontStyle&, const GupFontStyle&) = default;
};

struct GupFontFamily {
    std::string name;
    std::vector<GupFontStyle> styles; // upright before slanted, normal width first, nearest the regular weight first
};

class GupFontCatalog {
public:
    // The machine's fonts, read on first use.
    [[nodiscard]] static const GupFontCatalog& Machine();
    // A catalog of the given families (tests; a front end that lists fonts of its own).
    explicit GupFontCatalog(std::vector<GupFontFamily> families);

    // Sorted by name; families whose name does not fit a logical font's 31 bytes are left
    // out, since a font record could not name them.
    [[nodiscard]] const std::vector<GupFontFamily>& Families() const noexcept { return m_families; }
    // The family of that name, compared without regard to ASCII case; null when none.
    [[nodiscard]] const GupFontFamily* Find(std::string_view name) const noexcept;

private:
    std::vector<GupFontFamily> m_families;
};
