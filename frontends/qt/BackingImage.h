// The pixels of one top-level window as last painted, brought up to date by painting only
// what changed: a window that draws itself and scrolled keeps its pixels (they are moved) but
// for the parts it invalidated; everything else is painted anew.
#pragma once

#include <QImage>
#include <QRegion>

#include <unordered_map>

namespace plat {
class Wnd;
}

namespace qtfe {

class WindowPainter;

class BackingImage {
public:
    // What an update changed, in the window's device-independent pixels.
    struct Changes {
        QRegion painted;
        QRegion moved; // pixels kept, in a new place
        [[nodiscard]] QRegion All() const { return painted.united(moved); }
    };
    // Brings the picture in line with the tree.
    Changes Update(WindowPainter& painter, plat::Wnd& top, qreal devicePixelRatio, int barHighlight);
    [[nodiscard]] const QImage& Image() const noexcept { return m_image; }
    [[nodiscard]] bool IsEmpty() const noexcept { return m_image.isNull(); }

private:
    QImage m_image;
    // Windows whose pixels in the image are theirs alone, and where they lie.
    std::unordered_map<const plat::Wnd*, QRect> m_kept;
};

} // namespace qtfe
