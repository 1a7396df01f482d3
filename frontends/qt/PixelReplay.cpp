// Drawing steps in pixels. Recorded rectangles have exclusive right and bottom edges, as the
// device contexts record them; lines leave out their last pixel, as the platform draws them.
#include "frontends/qt/PixelReplay.h"

#include <QImage>

#include <algorithm>

namespace qtfe {

PixelReplay::PixelReplay(QPainter& painter, const QtTextMeasure& measure, QPoint origin, const QRect& clip, const QRegion* area)
    : m_painter(painter), m_measure(measure), m_origin(origin), m_area(area)
{
    m_painter.save();
    m_painter.setClipRect(clip, Qt::IntersectClip);
}

PixelReplay::~PixelReplay() { m_painter.restore(); }

QRect PixelReplay::Place(const plat::RECT& recorded) const
{
    return QRect(QPoint(recorded.left, recorded.top) + m_origin, QSize(recorded.right - recorded.left, recorded.bottom - recorded.top));
}

void PixelReplay::OnFill(const plat::DrawOp& op)
{
    if (!op.brush.IsCreated())
        return;
    const QRect area = Place(op.rect);
    if (Outside(area))
        return;
    if (op.brush.GetKind() != plat::Brush::Kind::Pattern) {
        m_painter.fillRect(area, ToQColor(op.brush.ColorAt(0, 0)));
        return;
    }
    QImage tile(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            tile.setPixel(x, y, ToQColor(op.brush.ColorAt(x, y)).rgb());
    QBrush brush(tile);
    // The pattern keeps to the window's own grid of 8 × 8 pixels, so that neighbouring cells
    // filled one by one join into one hatching.
    m_painter.setBrushOrigin(m_origin);
    m_painter.fillRect(area, brush);
}

void PixelReplay::OnText(const plat::DrawOp& op)
{
    const QRect area = Place(op.rect);
    if ((area.isEmpty() && !(op.format & plat::DT_SINGLELINE)) || Outside(area))
        return;
    const QtTextMeasure::Entry& font = m_measure.Find(op.font);
    const QString text = QString::fromUtf8(op.text.data(), static_cast<qsizetype>(op.text.size()));
    int flags = Qt::TextDontClip;
    if (op.format & plat::DT_RIGHT)
        flags |= Qt::AlignRight;
    else if (op.format & plat::DT_CENTER)
        flags |= Qt::AlignHCenter;
    else
        flags |= Qt::AlignLeft;
    const bool single = (op.format & plat::DT_SINGLELINE) || op.text.find('\n') == std::string::npos;
    flags |= (op.format & plat::DT_VCENTER) && single ? Qt::AlignVCenter : Qt::AlignTop;
    if (!single)
        flags |= Qt::TextWordWrap;
    m_painter.save();
    m_painter.setClipRect(area, Qt::IntersectClip);
    m_painter.setFont(font.font);
    if (op.bkMode == plat::OPAQUE) {
        // The background goes behind the text itself, not the whole rectangle.
        const QRect bounds = m_painter.boundingRect(area, flags, text);
        m_painter.fillRect(bounds, ToQColor(op.bkColor));
    }
    m_painter.setPen(ToQColor(op.textColor));
    m_painter.drawText(area, flags, text);
    m_painter.restore();
}

void PixelReplay::OnLine(const plat::DrawOp& op)
{
    QPoint from = QPoint(op.rect.left, op.rect.top) + m_origin;
    QPoint to = QPoint(op.rect.right, op.rect.bottom) + m_origin;
    if (from == to || Outside(QRect(from, to).normalized().adjusted(0, 0, 1, 1)))
        return;
    // The last pixel is not drawn.
    const QPoint step((to.x() > from.x()) - (to.x() < from.x()), (to.y() > from.y()) - (to.y() < from.y()));
    if (from.x() == to.x() || from.y() == to.y())
        to -= step;
    const int width = std::max(1, op.pen.GetWidth());
    Qt::PenStyle style = Qt::SolidLine;
    if (op.pen.GetStyle() == plat::PS_DOT)
        style = Qt::DotLine;
    else if (op.pen.GetStyle() == plat::PS_DASH)
        style = Qt::DashLine;
    m_painter.setPen(QPen(ToQColor(op.pen.GetColor()), width, style, Qt::FlatCap));
    m_painter.drawLine(from, to);
}

void PixelReplay::OnFocusRect(const plat::DrawOp& op)
{
    const QRect area = Place(op.rect);
    if (area.width() < 2 || area.height() < 2)
        return;
    m_painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(area.adjusted(0, 0, -1, -1));
}

void PixelReplay::OnBitmap(const plat::DrawOp& op)
{
    if (!op.bitmap)
        return;
    const QRect area = Place(op.rect);
    const plat::SIZE size = op.bitmap->GetSize();
    QImage image(size.cx, size.cy, QImage::Format_ARGB32);
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            const plat::COLORREF color = op.bitmap->GetPixel(x, y);
            image.setPixel(x, y, color == plat::CLR_NONE ? qRgba(0, 0, 0, 0) : ToQColor(color).rgb());
        }
    m_painter.save();
    m_painter.setClipRect(area, Qt::IntersectClip);
    m_painter.drawImage(area.topLeft(), image);
    m_painter.restore();
}

} // namespace qtfe
