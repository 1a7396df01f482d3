// A window's drawing list replayed in pixels with QPainter: texts in their logical fonts,
// clipped and aligned in their rectangles, fills (8 × 8 patterns as tiled patterns), lines,
// focus rectangles and bitmaps.
#pragma once

#include "frontends/qt/QtFonts.h"
#include "platform/ui/Gdi.h"

#include <QPainter>
#include <QRegion>

namespace qtfe {

[[nodiscard]] inline QColor ToQColor(plat::COLORREF color)
{
    return QColor(plat::GetRValue(color), plat::GetGValue(color), plat::GetBValue(color));
}

class PixelReplay final : public plat::DrawingConsumer {
public:
    // Recorded coordinates have their origin at `origin` in the painter's coordinates; nothing
    // is drawn outside the clip, and steps wholly outside `area` (when given) are passed over.
    // The painter's state is given back as it was.
    PixelReplay(QPainter& painter, const QtTextMeasure& measure, QPoint origin, const QRect& clip, const QRegion* area = nullptr);
    ~PixelReplay() override;
    PixelReplay(const PixelReplay&) = delete;
    PixelReplay& operator=(const PixelReplay&) = delete;

    void OnText(const plat::DrawOp& op) override;
    void OnFill(const plat::DrawOp& op) override;
    void OnLine(const plat::DrawOp& op) override;
    void OnFocusRect(const plat::DrawOp& op) override;
    void OnBitmap(const plat::DrawOp& op) override;

private:
    [[nodiscard]] QRect Place(const plat::RECT& recorded) const;
    [[nodiscard]] bool Outside(const QRect& placed) const { return m_area && !m_area->intersects(placed); }

    QPainter& m_painter;
    const QtTextMeasure& m_measure;
    QPoint m_origin;
    const QRegion* m_area;
};

} // namespace qtfe
