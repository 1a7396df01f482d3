// Face mapping and the cache of measured fonts.
#include "frontends/qt/QtFonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstring>

namespace qtfe {

namespace {

constexpr plat::BYTE kFixedPitch = 1;
constexpr int kLineAir = 2;

// A face of the system's for Japanese text of the kind asked (gothic or mincho, proportional
// or fixed), found once; the IPA faces only where the system has no other.
const QString& JapaneseFace(bool mincho, bool proportional)
{
    static const auto faces = [] {
        const auto isMincho = [](const QString& name) {
            return name.contains(QStringLiteral("Mincho"), Qt::CaseInsensitive) || name.contains(QStringLiteral("明朝")) ||
                   name.contains(QStringLiteral("Serif"), Qt::CaseInsensitive);
        };
        const auto isFixed = [](const QString& name) { return name.contains(QStringLiteral("Mono"), Qt::CaseInsensitive); };
        std::array<QString, 4> found{QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAMincho"),
                                     QStringLiteral("IPAPMincho")};
        std::array<bool, 4> own{};
        for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
            if (family.startsWith(QStringLiteral("IPA")))
                continue;
            const std::size_t slot = (isMincho(family) ? 2 : 0) + (isFixed(family) ? 0 : 1);
            if (!own[slot]) {
                found[slot] = family;
                own[slot] = true;
            }
        }
        return found;
    }();
    return faces[(mincho ? 2 : 0) + (proportional ? 1 : 0)];
}

// The faces a logical face is drawn in: the face itself when the desktop has it, with the
// Japanese face of its kind for the characters it lacks; else that Japanese face alone, so
// that "ＭＳ Ｐゴシック" stays proportional and "ＭＳ ゴシック" stays fixed.
QStringList InstalledFaces(const plat::LOGFONTA& logFont)
{
    const std::size_t length = strnlen(logFont.lfFaceName, sizeof logFont.lfFaceName);
    const QString face = QString::fromUtf8(logFont.lfFaceName, static_cast<qsizetype>(length));
    const bool mincho = face.contains(QStringLiteral("明朝")) || face.contains(QStringLiteral("Mincho"), Qt::CaseInsensitive);
    const bool proportional = face.contains(QChar(0xFF30)) /* Ｐ */ || face.contains(QStringLiteral("P"), Qt::CaseSensitive) ||
                              (face.isEmpty() && !(logFont.lfPitchAndFamily & kFixedPitch));
    const bool fixed = (logFont.lfPitchAndFamily & 3) == kFixedPitch;
    const QString& japanese = JapaneseFace(mincho, proportional && !fixed);
    if (!face.isEmpty() && QFontDatabase::hasFamily(face))
        return face == japanese ? QStringList{face} : QStringList{face, japanese};
    return QStringList{japanese};
}

} // namespace

QFont FontFromLogFont(const plat::LOGFONTA& logFont)
{
    QFont font;
    font.setFamilies(InstalledFaces(logFont));
    // The Japanese faces hold ascent and descent within one em, so the cell height and the
    // character height give the same pixel size.
    const int height = logFont.lfHeight == 0 ? 12 : std::abs(static_cast<int>(logFont.lfHeight));
    font.setPixelSize(std::max(1, height));
    font.setWeight(logFont.lfWeight <= 0 ? QFont::Normal : static_cast<QFont::Weight>(std::clamp<int>(logFont.lfWeight, 100, 900)));
    font.setItalic(logFont.lfItalic != 0);
    font.setUnderline(logFont.lfUnderline != 0);
    font.setStrikeOut(logFont.lfStrikeOut != 0);
    // Advances that add up to the drawn width: a text measured to fit a cell is drawn inside it.
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

const QtTextMeasure::Entry& QtTextMeasure::Find(const plat::LOGFONTA& font) const
{
    std::string key(reinterpret_cast<const char*>(&font), sizeof font);
    if (auto it = m_entries.find(key); it != m_entries.end())
        return *it->second;
    QFont qfont = FontFromLogFont(font);
    QFontMetrics metrics(qfont);
    auto entry = std::unique_ptr<Entry>(new Entry{qfont, metrics, {}, {}, {}});
    for (int ch = 0; ch < 128; ++ch)
        entry->asciiAdvance[ch] = metrics.horizontalAdvance(QChar(ch));
    // A line keeps some air above and below its characters, as desktop lists and grids do;
    // the ascent counts from the line's top.
    entry->summary.height = metrics.height() + 2 * kLineAir;
    entry->summary.ascent = metrics.ascent() + kLineAir;
    entry->summary.averageWidth = std::max(1, metrics.averageCharWidth());
    entry->summary.maxWidth = std::max(1, metrics.maxWidth());
    return *m_entries.emplace(std::move(key), std::move(entry)).first->second;
}

int QtTextMeasure::Advance(const plat::LOGFONTA& font, char32_t ch) const
{
    const Entry& entry = Find(font);
    if (ch < 128)
        return entry.asciiAdvance[ch];
    if (auto it = entry.otherAdvances.find(ch); it != entry.otherAdvances.end())
        return it->second;
    const int advance = entry.metrics.horizontalAdvance(QString::fromUcs4(&ch, 1));
    entry.otherAdvances.emplace(ch, advance);
    return advance;
}

plat::FontMetrics QtTextMeasure::Metrics(const plat::LOGFONTA& font) const { return Find(font).summary; }

int QtTextMeasure::Width(const plat::LOGFONTA& font, std::string_view text) const
{
    int width = 0;
    const Entry& entry = Find(font);
    for (unsigned char byte : text)
        if (byte >= 128)
            return entry.metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        else
            width += entry.asciiAdvance[byte];
    return width;
}

plat::LOGFONTA DesktopLogFont()
{
    const QFontInfo desktop(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    plat::LOGFONTA logFont;
    logFont.lfHeight = -std::max(1, desktop.pixelSize());
    logFont.lfWeight = 400;
    logFont.lfCharSet = 128;
    // A face named in more bytes than the record holds is cut at a character boundary.
    const QByteArray face = desktop.family().toUtf8();
    std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(face.size()), sizeof logFont.lfFaceName - 1);
    while (length > 0 && length < static_cast<std::size_t>(face.size()) && (static_cast<unsigned char>(face[static_cast<qsizetype>(length)]) & 0xC0) == 0x80)
        --length;
    std::memcpy(logFont.lfFaceName, face.constData(), length);
    return logFont;
}

} // namespace qtfe
