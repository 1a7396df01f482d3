// The colour button: its look, and the chooser it opens.
#include "components/support/GupColorButton.h"

#include "components/support/GupColorDialog.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Renderer.h"

using namespace plat;

void GupColorButton::Click()
{
    if (!IsWindowEnabled())
        return;
    SetFocus();
    GupColorDialog chooser(GetColor(), this);
    if (chooser.DoModal() != IDOK || chooser.GetColor() == GetColor())
        return;
    SetColor(chooser.GetColor());
    NotifyParent(BN_CLICKED);
}

LRESULT GupColorButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SETTEXT: {
        const LRESULT result = QanColorPicker::WindowProc(message, wParam, lParam);
        Invalidate(FALSE);
        return result;
    }
    default:
        return QanColorPicker::WindowProc(message, wParam, lParam);
    }
}

void GupColorButton::Paint()
{
    PaintDC dc(this);
    RECT client;
    GetClientRect(&client);
    const bool focused = GetFocus() == this;
    const bool enabled = IsWindowEnabled();
    const Palette look;
    const FontMetrics text = GetTextMeasure().Metrics(WindowLogFont(*this));
    // The middle line of a taller button, as the standard buttons sit.
    const LONG top = client.top + (std::max<LONG>(client.Height(), text.height) / text.height - 1) / 2 * text.height;
    const RECT line{client.left, top, client.right, top + text.height};
    // The swatch takes three characters and a blank before the text.
    const LONG swatchWidth = 3 * text.averageWidth;
    dc.FillSolidRect(line, focused ? look.highlight : look.face);
    dc.FillSolidRect(RECT{line.left, line.top, line.left + swatchWidth, line.bottom}, GetColor());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(!enabled ? look.grayText : focused ? look.highlightText : look.faceText);
    const RECT label{line.left + swatchWidth + text.averageWidth, line.top, line.right, line.bottom};
    dc.DrawText(StripMnemonic(GetWindowText()), label, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
}
