// The font chooser: a face from the machine's fonts, one of its styles and a size in points,
// written into the caller's logical font when the person confirms them.
#pragma once

#include "components/support/GupFontCatalog.h"
#include "platform/ui/Dialog.h"

// What the chooser offers and checks.
inline constexpr plat::DWORD CF_SCREENFONTS = 0x00000001;
inline constexpr plat::DWORD CF_EFFECTS = 0x00000100;      // colour, underline, strike-out
inline constexpr plat::DWORD CF_FORCEFONTEXIST = 0x00010000; // a face not on the machine is refused

class GupFontDialog : public plat::Dialog {
public:
    enum : int {
        IDC_FACE = 1101, IDC_FACES = 1102, IDC_STYLES = 1103, IDC_SIZE = 1104, IDC_SIZES = 1105, IDC_SAMPLE = 1106
    };

    // The chooser starts from the font (its face, weight, slant and size) and, on OK, writes
    // the chosen one back into it. Without CF_EFFECTS the written font has no underline or
    // strike-out. The catalog is the machine's unless another is given.
    GupFontDialog(plat::LOGFONTA* logFont, plat::DWORD flags, plat::Wnd* parent = nullptr,
                  const GupFontCatalog* catalog = nullptr);

    plat::BOOL OnInitDialog() override;
    void OnOK() override;
    // Up and Down in the face or size field walk the list below it, as in a combo box.
    bool PreTranslateInput(const plat::InputEvent& event) override;

    void OnFaceEdited();
    void OnFacePicked();
    void OnStylePicked();
    void OnSizeEdited();
    void OnSizePicked();

    DECLARE_MESSAGE_MAP()

private:
    // Fills the style list with the family's styles, keeping the nearest to the one chosen.
    void FillStyles(const GupFontFamily* family);
    void UpdateSample();
    [[nodiscard]] const GupFontStyle* ChosenStyle() const;

    plat::LOGFONTA* m_target;
    plat::DWORD m_flags;
    const GupFontCatalog& m_catalog;
    const GupFontFamily* m_family = nullptr;
    long m_weight;
    bool m_italic;
    bool m_updating = false; // a list is writing into an edit; its change is not the person's
};
