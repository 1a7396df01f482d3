// A curve radius input: a number edit for the radius with two check boxes, the side the
// curve turns to (右, right; unchecked: 左, left) and whether the arc is the small one (小).
//
// Text form (SetText/GetText, what a grid cell shows): the radius, then 右 or 左, then 小 for
// the small arc: "120.000 右 小". Read back, blanks (of either width) separate the parts, the
// marks in any order; R and L stand for the sides and S for the small arc; a missing side is
// left. The radius must be a number above zero; an empty text is valid and holds no radius.
//
// As a grid cell's editor the control is given the keys itself: R and L (or 右 and 左) set
// the side, S (or 小) turns the small arc on and off, everything else goes to the radius field.
// The check boxes are shown while there is room for them beside a field of six characters.
#pragma once

#include "components/support/HixRadius.h"
#include "components/support/QanNumEdit.h"

#include <string>
#include <string_view>

class TavcRadiusCtrl : public plat::Wnd {
public:
    // Child identifiers of the parts, for a renderer and for tests.
    static constexpr plat::UINT kEditId = 1;
    static constexpr plat::UINT kRightId = 2;
    static constexpr plat::UINT kSmallId = 3;

    TavcRadiusCtrl();

    // Creates the window and its three parts side by side.
    plat::BOOL Create(plat::DWORD style, const plat::RECT& rect, plat::Wnd* parent, plat::UINT id);

    void SetData(const HixRadius& radius);
    // FALSE when the parts do not make a radius (see IsDataOK); an empty radius field gives
    // an unset radius value.
    plat::BOOL GetData(HixRadius& radius) const;
    void SetText(std::string_view text);
    void GetText(std::string& text) const;
    // The text GetText gives once SetData(radius) has been called, leaving the control as it
    // is: what a grid shows for a radius cell.
    void FormatText(const HixRadius& radius, std::string& text) const;
    [[nodiscard]] plat::BOOL IsDataOK() const;

    // The radius field.
    [[nodiscard]] QanNumEdit& GetEdit() noexcept { return m_edit; }
    [[nodiscard]] const QanNumEdit& GetEdit() const noexcept { return m_edit; }
    [[nodiscard]] plat::Button& GetRightCheck() noexcept { return m_right; }
    [[nodiscard]] plat::Button& GetSmallCheck() noexcept { return m_small; }

protected:
    DECLARE_MESSAGE_MAP()
    plat::LRESULT OnSize(plat::WPARAM wParam, plat::LPARAM lParam);
    plat::LRESULT OnKeyDown(plat::WPARAM wParam, plat::LPARAM lParam);
    plat::LRESULT OnChar(plat::WPARAM wParam, plat::LPARAM lParam);

private:
    // Places the parts in the control's client area.
    void Layout();

    QanNumEdit m_edit;
    plat::Button m_right;
    plat::Button m_small;
    // A part of the last text that named neither a side nor the small arc.
    bool m_badText = false;
};
