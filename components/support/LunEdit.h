// The checking half of the suite's text editors: the edit object behind an edit window that
// judges its text, answers the editors' registered messages and shows invalid text in the
// error colour. A checking editor is a platform edit class joined with it (LunEditOf below);
// LunGetEdit finds it behind a window.
//
// Registered messages (wParam 0, lParam 0 unless said):
//   "LUN_STR_EDIT_SETDIALOGMODE"  wParam non-zero: the edit sits in a dialog; zero: it is a
//                                 grid cell's in-place editor. Returns 0.
//   "LUN_STR_EDIT_ENABLECHECK"    from now on every change of the text is judged and invalid
//                                 text is shown in the error colour. Returns 0.
//   "LUN_STR_EDIT_RESETTEMPTEXT"  the current text becomes the one Escape goes back to. Returns 0.
//   "LUN_STR_EDIT_CHECK"          judges the text as a finished value and shows the verdict;
//                                 non-zero when it is valid.
//   "LUN_STR_EDIT_GETCTLCOLOR"    the colour the text is to be drawn in.
// Every editor refuses a text that the narrow code page cannot hold, since its cell could
// not store it.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/Types.h"

#include <string>
#include <string_view>
#include <utility>

struct LunEditMessages {
    plat::UINT setDialogMode;
    plat::UINT enableCheck;
    plat::UINT resetTempText;
    plat::UINT check;
    plat::UINT getCtlColor;
    plat::UINT ok;
};

// The numbers of the names above (and "LUN_STR_EDIT_OK"), registered on first use.
[[nodiscard]] const LunEditMessages& LunGetEditMessages();

class LunEdit {
public:
    // Text colour of valid text.
    static constexpr plat::COLORREF kTextColor = plat::RGB(0, 0, 0);

    LunEdit() = default;
    LunEdit(const LunEdit&) = delete;
    LunEdit& operator=(const LunEdit&) = delete;
    virtual ~LunEdit() = default;

    // Non-zero when the text is valid. complete: the text must be a finished value (a lone
    // "-" that a person is still typing is not); show: the verdict is also shown, the text
    // taking the error colour when it is not valid. An empty text is valid: it clears.
    virtual plat::BOOL IsDataOK(plat::BOOL complete, plat::BOOL show);
    // The current text becomes the text that Escape returns to.
    void ResetTempText();
    [[nodiscard]] const std::string& GetTempText() const noexcept { return m_tempText; }

    [[nodiscard]] bool IsDialogMode() const noexcept { return m_dialogMode; }
    void SetDialogMode(bool dialog) noexcept { m_dialogMode = dialog; }
    [[nodiscard]] bool IsCheckEnabled() const noexcept { return m_checkEnabled; }
    void EnableCheck(bool enable = true);
    // What the renderer draws the text in: the error colour (LunSetErrorColor) while the
    // text is shown as invalid.
    [[nodiscard]] plat::COLORREF GetTextColor() const noexcept;
    [[nodiscard]] bool IsErrorShown() const noexcept { return m_errorShown; }

    [[nodiscard]] virtual plat::Edit& EditWnd() noexcept = 0;
    [[nodiscard]] const plat::Edit& EditWnd() const noexcept { return const_cast<LunEdit*>(this)->EditWnd(); }

protected:
    // The editor's own rule for a text the narrow code page holds.
    [[nodiscard]] virtual bool CheckText(std::string_view text, bool complete) const;
    // For the window procedure: answers the registered messages and Escape (true when the
    // message was handled here), and judges the text again after a change.
    bool BeforeMessage(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam, plat::LRESULT& result);
    void AfterMessage(plat::UINT message);

private:
    [[nodiscard]] bool Judge(bool complete) const;
    void ShowVerdict(bool valid);

    std::string m_tempText;
    bool m_dialogMode = false;
    bool m_checkEnabled = false;
    bool m_errorShown = false;
};

// A platform edit class joined with the checking half.
template <class EditBase>
class LunEditOf : public EditBase, public LunEdit {
public:
    template <class... Args>
    explicit LunEditOf(Args&&... args) : EditBase(std::forward<Args>(args)...)
    {
    }

    plat::Edit& EditWnd() noexcept override { return *this; }
    plat::COLORREF TextColor(plat::COLORREF normal) const noexcept override
    {
        return IsErrorShown() ? GetTextColor() : normal;
    }

    plat::LRESULT WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override
    {
        plat::LRESULT result = 0;
        if (BeforeMessage(message, wParam, lParam, result))
            return result;
        result = EditBase::WindowProc(message, wParam, lParam);
        AfterMessage(message);
        return result;
    }
};

// The checking edit behind a window, or null when the window has none.
[[nodiscard]] LunEdit* LunGetEdit(plat::Wnd* window) noexcept;
