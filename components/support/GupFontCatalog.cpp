// Listing the machine's fonts through fontconfig.
#include "components/support/GupFontCatalog.h"

#include "platform/text/NameCompare.h"
#include "platform/ui/Types.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

struct ConfigDeleter {
    void operator()(FcConfig* config) const noexcept { FcConfigDestroy(config); }
};
struct PatternDeleter {
    void operator()(FcPattern* pattern) const noexcept { FcPatternDestroy(pattern); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet* set) const noexcept { FcObjectSetDestroy(set); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* set) const noexcept { FcFontSetDestroy(set); }
};

std::vector<GupFontFamily> ListMachineFonts()
{
    // A configuration of our own, so that nothing here touches what the rest of the process
    // may have set as fontconfig's current one.
    std::unique_ptr<FcConfig, ConfigDeleter> config(FcInitLoadConfigAndFonts());
    if (!config)
        return {};
    std::unique_ptr<FcPattern, PatternDeleter> all(FcPatternCreate());
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> wanted(
        FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_WEIGHT, FC_SLANT, FC_WIDTH, static_cast<char*>(nullptr)));
    if (!all || !wanted)
        return {};
    std::unique_ptr<FcFontSet, FontSetDeleter> fonts(FcFontList(config.get(), all.get(), wanted.get()));
    if (!fonts)
        return {};
    std::map<std::string, std::vector<GupFontStyle>> byFamily;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        FcChar8* family = nullptr;
        if (FcPatternGetString(font, FC_FAMILY, 0, &family) != FcResultMatch || !family)
            continue;
        const std::string name(reinterpret_cast<const char*>(family));
        if (name.empty() || name.size() >= static_cast<std::size_t>(plat::LF_FACESIZE))
            continue;
        GupFontStyle style;
        FcChar8* styleName = nullptr;
        if (FcPatternGetString(font, FC_STYLE, 0, &styleName) == FcResultMatch && styleName)
            style.name = reinterpret_cast<const char*>(styleName);
        int weight = FC_WEIGHT_REGULAR;
        FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
        style.weight = std::clamp(static_cast<long>(FcWeightToOpenType(weight)), 100L, 900L);
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(font, FC_SLANT, 0, &slant);
        style.italic = slant != FC_SLANT_ROMAN;
        int width = FC_WIDTH_NORMAL;
        FcPatternGetInteger(font, FC_WIDTH, 0, &width);
        style.width = width;
        if (style.name.empty())
            style.name = style.weight >= 700 ? (style.italic ? "Bold Italic" : "Bold")
                                             : (style.italic ? "Italic" : "Regular");
        auto& styles = byFamily[name];
        if (std::find(styles.begin(), styles.end(), style) == styles.end())
            styles.push_back(std::move(style));
    }
    std::vector<GupFontFamily> families;
    families.reserve(byFamily.size());
    for (auto& [name, styles] : byFamily)
        families.push_back(GupFontFamily{name, std::move(styles)});
    return families;
}

} // namespace

GupFontCatalog::GupFontCatalog(std::vector<GupFontFamily> families) : m_families(std::move(families))
{
    std::sort(m_families.begin(), m_families.end(),
              [](const GupFontFamily& a, const GupFontFamily& b) { return a.name < b.name; });
    for (GupFontFamily& family : m_families)
        std::stable_sort(family.styles.begin(), family.styles.end(), [](const GupFontStyle& a, const GupFontStyle& b) {
            const long da = a.weight > 400 ? a.weight - 400 : 400 - a.weight;
            const long db = b.weight > 400 ? b.weight - 400 : 400 - b.weight;
            if (a.italic != b.italic)
                return !a.italic;
            const int wa = std::abs(a.width - 100);
            const int wb = std::abs(b.width - 100);
            if (wa != wb)
                return wa < wb;
            if (a.width != b.width)
                return a.width < b.width;
            return da != db ? da < db : a.weight < b.weight;
        });
}

const GupFontCatalog& GupFontCatalog::Machine()
{
    static const GupFontCatalog catalog(ListMachineFonts());
    return catalog;
}

const GupFontFamily* GupFontCatalog::Find(std::string_view name) const noexcept
{
    for (const GupFontFamily& family : m_families)
        if (plat::EqualNoCase(family.name, name))
            return &family;
    return nullptr;
}
