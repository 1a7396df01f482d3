/// @file
/// The cell page a host puts into its options sheet: the text colour of invalid data, the
/// background of locked cells and the display font of every grid, stored when the sheet
/// applies it and taken up at once by every grid of the program.
#pragma once

#include "components/support/GupColorButton.h"
#include "components/support/KesDialog.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"

#include <memory>

/// The library's cell page for a host's options sheet: the text colour of cells in warning,
/// the background of locked cells and the grids' font, shared by every program of the library.
/// Add it to a plat::PropertySheet; applying it stores the settings and repaints every grid.
class TavColorPage : public KesPropertyPage {
public:
    enum : plat::UINT { IDD = 129 };
    enum : int {
        IDC_WARNING_COLOR = 1024,
        IDC_LOCK_COLOR = 1025,
        IDC_USE_FONT = 1084,
        IDC_FONT = 1085,
        IDC_FONT_SAMPLE = 1086,
    };

    /// Reads the stored settings; the page does not read them again while it lives.
    TavColorPage();
    ~TavColorPage() override;
    /// Dynamic creation, for hosts that make their pages from a list of kinds.
    [[nodiscard]] static std::unique_ptr<TavColorPage> CreateObject();

    /// The page's help base identifier.
    [[nodiscard]] plat::UINT GetBaseID() const override { return 0x81E1D081u; }
    /// The page has no help topics of its own controls.
    [[nodiscard]] const plat::DWORD* GetHelpMap() const noexcept { return nullptr; }

    /// Moves the font switch between the page and its check box.
    void DoDataExchange(plat::DataExchange& dx) override;
    /// Shows the stored colours and font.
    plat::BOOL OnInitDialog() override;
    /// Stores the settings, tells every window below the main window that the colours
    /// changed, then gives every grid the font (or its own again).
    plat::BOOL OnApply() override;

    /// The point size the sample names for a font height on the screen.
    [[nodiscard]] static int PointSize(plat::LONG height);

    /// Read by the tests and by hosts that show the settings elsewhere.
    [[nodiscard]] const plat::LOGFONTA& GetLogFont() const noexcept { return m_logFont; }
    /// Whether the grids use the chosen font rather than their own.
    [[nodiscard]] plat::BOOL GetUseFont() const noexcept { return m_useFont; }

    DECLARE_MESSAGE_MAP()

protected:
    /// The font switch was clicked: the font button and sample follow it.
    void OnUseFont();
    /// Opens the font chooser and shows the chosen font in the sample.
    void OnFont();
    /// A colour button confirmed a colour: the page may be applied.
    void OnColorChosen();
    /// Shows the font's name and size in the sample, in that font.
    void SetFontSample();
    /// Enables the font button and sample while the font switch is on.
    void EnableFontControl();

    plat::Button m_btnFont; ///< opens the font chooser
    plat::Static m_stcFontSample; ///< shows the chosen font
    GupColorButton m_btnWarningColor; ///< the text colour of cells in warning
    GupColorButton m_btnLockColor; ///< the background of locked cells
    int m_useFont = FALSE; ///< see GetUseFont
    plat::LONG m_sampleHeight = 0; ///< the sample's height on the screen, for the point size
    plat::LOGFONTA m_logFont; ///< see GetLogFont
    plat::Font m_sampleFont; ///< the font the sample is drawn in
};
