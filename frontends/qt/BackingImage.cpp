// A window's pixels are kept only while they are its alone: no window painted after it (its
// children, windows above it) lies over it now, and none did when it was last painted, so
// moving them never drags another window's pixels along.
#include "frontends/qt/BackingImage.h"

#include "frontends/qt/WindowPainter.h"
#include "platform/ui/PictureChange.h"
#include "platform/ui/UpdatePass.h"
#include "platform/ui/Wnd.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace qtfe {

namespace {

struct Placed {
    plat::Wnd* wnd;
    QRect place; // the whole window, in the top-level window's pixels
    QRect shown; // the part its parents leave in view
};

// Visible windows in the order the painter paints them.
void CollectInPaintOrder(plat::Wnd& wnd, const QPoint& origin, const QRect& clip, std::vector<Placed>& out)
{
    plat::RECT screen;
    wnd.GetWindowRect(&screen);
    const QRect place(screen.left - origin.x(), screen.top - origin.y(), screen.Width(), screen.Height());
    const QRect shown = place.intersected(clip);
    if (shown.isEmpty())
        return;
    out.push_back(Placed{&wnd, place, shown});
    const std::vector<plat::Wnd*>& children = wnd.GetChildren();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (plat::IsWindow(*it) && ((*it)->GetStyle() & plat::WS_VISIBLE))
            CollectInPaintOrder(**it, origin, shown, out);
}

QRect ToQRect(const plat::RECT& rect) { return QRect(rect.left, rect.top, rect.Width(), rect.Height()); }

// Moves the pixels of an area (device pixels) by (dx, dy); what leaves the area is dropped.
void ScrollPixels(QImage& image, const QRect& area, int dx, int dy)
{
    const QRect target = area.translated(dx, dy).intersected(area);
    if (target.isEmpty())
        return;
    const int bytesPerPixel = image.depth() / 8;
    const auto length = static_cast<std::size_t>(target.width() * bytesPerPixel);
    const auto copyRow = [&](int y) {
        std::memmove(image.scanLine(y) + target.left() * bytesPerPixel, image.constScanLine(y - dy) + (target.left() - dx) * bytesPerPixel,
                     length);
    };
    // Rows are taken before they are written over.
    if (dy > 0)
        for (int y = target.bottom(); y >= target.top(); --y)
            copyRow(y);
    else
        for (int y = target.top(); y <= target.bottom(); ++y)
            copyRow(y);
}

} // namespace

BackingImage::Changes BackingImage::Update(WindowPainter& painter, plat::Wnd& top, qreal devicePixelRatio, int barHighlight)
{
    plat::RECT screen;
    top.GetWindowRect(&screen);
    const QRect all(0, 0, std::max<int>(1, screen.Width()), std::max<int>(1, screen.Height()));
    const QSize deviceSize(static_cast<int>(std::ceil(all.width() * devicePixelRatio)), static_cast<int>(std::ceil(all.height() * devicePixelRatio)));
    if (m_image.size() != deviceSize || m_image.devicePixelRatio() != devicePixelRatio) {
        m_image = QImage(deviceSize, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(devicePixelRatio);
        m_kept.clear();
    }

    std::vector<Placed> windows;
    CollectInPaintOrder(top, QPoint(screen.left, screen.top), all, windows);
    // Pixels move by whole device pixels only.
    const bool wholePixels = std::abs(devicePixelRatio - std::round(devicePixelRatio)) < 1e-9;
    const int scale = static_cast<int>(std::round(devicePixelRatio));

    QRegion kept;
    QRegion moved;
    std::unordered_map<const plat::Wnd*, QRect> nowKept;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const Placed& window = windows[i];
        if (!plat::DrawsItself(*window.wnd))
            continue;
        const plat::PictureChange change = window.wnd->TakePictureChange();
        bool alone = window.shown == window.place;
        for (std::size_t j = i + 1; j < windows.size() && alone; ++j)
            alone = !windows[j].shown.intersects(window.place);
        if (!alone)
            continue;
        nowKept.emplace(window.wnd, window.place);
        const auto before = m_kept.find(window.wnd);
        // Only a window that scrolled keeps its pixels: every other change paints the window
        // whole, so that a change its window forgot to invalidate still shows.
        if (change.IsWhole() || change.Scrolls().empty() || !wholePixels || before == m_kept.end() || before->second != window.place)
            continue;
        for (const plat::ScrollStep& step : change.Scrolls()) {
            const QRect area = ToQRect(step.area).translated(window.place.topLeft()).intersected(window.place);
            ScrollPixels(m_image, QRect(area.topLeft() * scale, area.size() * scale), step.dx * scale, step.dy * scale);
            moved += area;
        }
        QRegion stale;
        for (const plat::RECT& redraw : change.Redraws())
            stale += ToQRect(redraw).translated(window.place.topLeft()).intersected(window.place);
        kept += QRegion(window.place).subtracted(stale);
    }
    m_kept.swap(nowKept);

    const QRegion repaint = QRegion(all).subtracted(kept);
    if (!repaint.isEmpty()) {
        QPainter imagePainter(&m_image);
        painter.Paint(imagePainter, top, barHighlight, &repaint);
    }
    return Changes{repaint, moved};
}

} // namespace qtfe
