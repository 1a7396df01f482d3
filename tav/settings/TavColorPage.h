// The cell page a host puts into its options sheet: the text colour of invalid data, the
// background of locked cells and the display font of every grid, stored when the sheet
// applies it and taken up at once by every grid of the program.
#pragma once

#include "components/support/GupColorButton.h"
#include "components/support/KesDialog.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"

#include <memory>

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

    // Reads the stored settings; the page does not read them again while it lives.
    TavColorPage();
    ~TavColorPage() override;
    // Dynamic creation, for hosts that make their pages from a list of kinds.
    [[nodiscard]] static std::unique_ptr<TavColorPage> CreateObject();

    [[nodiscard]] plat::UINT GetBaseID() const override { return 0x81E1D081u; }
    // The page has no help topics of its own controls.
    [[nodiscard]] const plat::DWORD* GetHelpMap() const noexcept { return nullptr; }

    void DoDataExchange(plat::DataExchange& dx) override;
    plat::BOOL OnInitDialog() override;
    // Stores the settings, tells every window below the main window that the colours
    // changed, then gives every grid the font (or its own again).
    plat::BOOL OnApply() override;

    // The point size the sample names for a font height on the screen.
    [[nodiscard]] static int PointSize(plat::LONG height);

    // Read by the tests and by hosts that show the settings elsewhere.
    [[nodiscard]] const plat::LOGFONTA& GetLogFont() const noexcept { return m_logFont; }
    [[nodiscard]] plat::BOOL GetUseFont() const noexcept { return m_useFont; }

    DECLARE_MESSAGE_MAP()

protected:
    void OnUseFont();
    void OnFont();
    void OnColorChosen();
    void SetFontSample();
    void EnableFontControl();

    plat::Button m_btnFont;
    plat::Static m_stcFontSample;
    GupColorButton m_btnWarningColor;
    GupColorButton m_btnLockColor;
    int m_useFont = FALSE;
    plat::LONG m_sampleHeight = 0;
    plat::LOGFONTA m_logFont;
    plat::Font m_sampleFont;
};
