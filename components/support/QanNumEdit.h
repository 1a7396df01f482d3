// A number edit: a real value typed as text, shown with a fixed number of decimals. Typing
// is limited to what a number is made of; what a typed text is worth is read by Get.
// Validity checks (bounds, digits) belong to the checking edits built on it (LunNumEdit).
#pragma once

#include "components/support/HixReal.h"
#include "components/support/QanEdit.h"

#include <string>
#include <string_view>

class QanNumEdit : public QanEdit {
public:
    QanNumEdit();

    // The value of the text, unset when the text is empty or not a number.
    [[nodiscard]] HixReal Get() const;
    // Shows the value with the edit's decimals; an unset value empties the text.
    void Set(const HixReal& value);

    // Decimals shown, and digits a typed number may have after the point.
    [[nodiscard]] int FractionFigure() const noexcept { return m_fractionFigure; }
    void SetFractionFigure(int figure);
    // Digits before the point (0: as many as a double holds).
    [[nodiscard]] int IntegerFigure() const noexcept { return m_integerFigure; }
    void SetIntegerFigure(int figure);
    // Whether a minus sign may be typed.
    [[nodiscard]] bool IsSigned() const noexcept { return m_signed; }
    void SetSigned(bool allowed);
    // The widest text the edit takes, in characters: sign, digits, point and decimals.
    [[nodiscard]] unsigned GetLimitAttr() const noexcept;

    // Whether typing could have given the value: no more figures before the point than the
    // edit takes, and no minus sign unless it takes one.
    [[nodiscard]] bool FitsFigures(double value) const noexcept;

    // Numbers are typed as they are, never composed, in a dialog as in a grid's cell.
    [[nodiscard]] bool TakesComposedText() const noexcept override { return false; }

    // The text a value is shown as, and the value a text stands for (false: not a number).
    virtual void TextOfValue(double value, std::string& text) const;
    [[nodiscard]] virtual bool ValueOfText(std::string_view text, double& value) const;

    plat::LRESULT WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override;

protected:
    // Whether a typed character may enter the text.
    [[nodiscard]] virtual bool AcceptsChar(char32_t ch) const;
    // What typing may add up to, in bytes; 0 for the platform's default.
    [[nodiscard]] virtual unsigned TextLimit() const { return GetLimitAttr(); }
    // Hands TextLimit to the platform edit after a figure changed.
    void UpdateLimit();

private:
    int m_fractionFigure = 0;
    int m_integerFigure = 8;
    bool m_signed = true;
};
