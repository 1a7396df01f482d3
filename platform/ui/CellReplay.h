// The terminal's way of replaying a window's drawing list: each step rounded to the character
// cells that show it, texts written in cells, two-colour patterns shown as a shade.
#pragma once

#include "platform/ui/Canvas.h"
#include "platform/ui/Gdi.h"

namespace plat {

class CellReplay final : public DrawingConsumer {
public:
    // The recorded coordinates' origin lies at `origin` pixels from the corner of the top-level
    // window whose corner is at `originCells`; nothing is drawn outside the clip (cells).
    CellReplay(Canvas& canvas, const RECT& clip, POINT origin, POINT originCells) noexcept
        : m_canvas(canvas), m_clip(clip), m_origin(origin), m_originCells(originCells)
    {
    }
    ~CellReplay() override { m_canvas.SetClip(m_clip); }
    CellReplay(const CellReplay&) = delete;
    CellReplay& operator=(const CellReplay&) = delete;

    void OnText(const DrawOp& op) override;
    void OnFill(const DrawOp& op) override;
    void OnLine(const DrawOp& op) override;
    void OnFocusRect(const DrawOp& op) override;
    void OnBitmap(const DrawOp& op) override;

private:
    // The recorded rectangle in pixels from the top-level window's corner.
    [[nodiscard]] RECT Pixels(const RECT& recorded) const noexcept;
    [[nodiscard]] RECT Cells(const RECT& pixels) const noexcept;

    Canvas& m_canvas;
    RECT m_clip;
    POINT m_origin;
    POINT m_originCells;
};

} // namespace plat
