// Text measures: the shared walks over a text's characters, and the character-cell model.
#include "platform/ui/TextMeasure.h"

#include "platform/text/DisplayWidth.h"
#include "platform/text/Utf8.h"
#include "platform/ui/App.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Wnd.h"

namespace plat {

int TextMeasure::Width(const LOGFONTA& font, std::string_view text) const
{
    int width = 0;
    for (std::size_t pos = 0; pos < text.size();)
        width += Advance(font, DecodeUtf8(text, pos));
    return width;
}

std::size_t TextMeasure::Fit(const LOGFONTA& font, std::string_view text, int width) const
{
    int used = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t next = pos;
        used += Advance(font, DecodeUtf8(text, next));
        if (used > width)
            break;
        pos = next;
    }
    return pos;
}

int TextMeasure::CharacterAt(const LOGFONTA& font, std::string_view text, int x) const
{
    int index = 0;
    int right = 0;
    for (std::size_t pos = 0; pos < text.size(); ++index) {
        right += Advance(font, DecodeUtf8(text, pos));
        if (x < right)
            return index;
    }
    return index;
}

int TextMeasure::OffsetOf(const LOGFONTA& font, std::string_view text, int index) const
{
    int width = 0;
    for (std::size_t pos = 0; pos < text.size() && index > 0; --index)
        width += Advance(font, DecodeUtf8(text, pos));
    return width;
}

int CellTextMeasure::Advance(const LOGFONTA&, char32_t ch) const { return CodePointWidth(ch) * kColumnWidth; }

FontMetrics CellTextMeasure::Metrics(const LOGFONTA&) const
{
    return FontMetrics{kLineHeight, 13, kColumnWidth, 2 * kColumnWidth};
}

int CellTextMeasure::Width(const LOGFONTA&, std::string_view text) const { return DisplayWidth(text) * kColumnWidth; }

const TextMeasure& GetCellTextMeasure() noexcept
{
    static const CellTextMeasure measure;
    return measure;
}

const TextMeasure& Driver::GetTextMeasure() const { return GetCellTextMeasure(); }

const TextMeasure& GetTextMeasure() noexcept
{
    const WinApp* app = GetApp();
    const Driver* driver = app ? app->GetDriver() : nullptr;
    return driver ? driver->GetTextMeasure() : GetCellTextMeasure();
}

LOGFONTA DefaultLogFont()
{
    LOGFONTA logFont;
    GetStockFont(DEFAULT_GUI_FONT)->GetLogFont(&logFont);
    return logFont;
}

LOGFONTA WindowLogFont(const Wnd& wnd)
{
    LOGFONTA logFont;
    const Font* font = wnd.GetFont();
    if (!font || !font->GetLogFont(&logFont))
        return DefaultLogFont();
    return logFont;
}

} // namespace plat
