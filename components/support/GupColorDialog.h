// The colour chooser that a colour button opens: the terminal's sixteen colours to pick from,
// and the red, green and blue values typed in for any other colour.
#pragma once

#include "platform/ui/Dialog.h"

#include <array>
#include <string_view>

struct GupNamedColor {
    std::string_view name;
    plat::COLORREF color;
};

// The sixteen colours every colour terminal has, as xterm shows them, in its order.
[[nodiscard]] const std::array<GupNamedColor, 16>& GupBasicColors();

// Draws a filled rectangle of its colour (the chooser's sample).
class GupColorSwatch : public plat::Wnd {
public:
    void SetColor(plat::COLORREF color);
    [[nodiscard]] plat::COLORREF GetColor() const noexcept { return m_color; }
    plat::LRESULT WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override;

private:
    plat::COLORREF m_color = 0;
};

class GupColorDialog : public plat::Dialog {
public:
    enum : int { IDC_PALETTE = 1001, IDC_RED = 1002, IDC_GREEN = 1003, IDC_BLUE = 1004, IDC_SAMPLE = 1005 };

    explicit GupColorDialog(plat::COLORREF color = 0, plat::Wnd* parent = nullptr);
    // The colour chosen; after OK, the one the person confirmed.
    [[nodiscard]] plat::COLORREF GetColor() const noexcept { return plat::RGB(m_red, m_green, m_blue); }

    plat::BOOL OnInitDialog() override;
    void DoDataExchange(plat::DataExchange& dx) override;

    void OnPaletteChange();
    void OnValueChange();

    DECLARE_MESSAGE_MAP()

private:
    int m_red;
    int m_green;
    int m_blue;
    GupColorSwatch m_sample;
    bool m_filling = false; // the palette is writing the values; their changes are its own
};
