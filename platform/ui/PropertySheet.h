// Property pages and the sheet that holds them: pages are made when first shown, and OK or
// Apply asks every page made so far to apply its changes.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

#include <memory>
#include <string>
#include <vector>

namespace plat {

class PropertySheet;

class PropertyPage : public Dialog {
public:
    PropertyPage() = default;
    // The caption is the module's string captionId, or the template's caption when 0.
    PropertyPage(ModuleHandle module, UINT templateId, UINT captionId = 0);
    explicit PropertyPage(UINT templateId, UINT captionId = 0) : PropertyPage(nullptr, templateId, captionId) {}

    // Asked when the page is shown and left; leaving fails when its data does not validate.
    virtual BOOL OnSetActive() { return TRUE; }
    virtual BOOL OnKillActive() { return UpdateData(TRUE); }
    // Asked to apply on OK and Apply; FALSE keeps the sheet open on this page.
    virtual BOOL OnApply();
    void OnOK() override {}
    void OnCancel() override {}
    void SetModified(BOOL modified = TRUE);
    [[nodiscard]] bool IsModified() const noexcept { return m_modified; }
    [[nodiscard]] std::string GetCaption() const;
    [[nodiscard]] PropertySheet* GetSheet() const noexcept { return m_sheet; }

    // Made as a child of the sheet.
    BOOL CreatePage(PropertySheet& sheet);

private:
    friend class PropertySheet;
    UINT m_captionId = 0;
    PropertySheet* m_sheet = nullptr;
    bool m_modified = false;
};

inline constexpr int ID_APPLY_NOW = 0x3021;

class PropertySheet : public Wnd {
public:
    explicit PropertySheet(std::string caption, Wnd* parent = nullptr, int startPage = 0);

    void AddPage(PropertyPage* page);
    [[nodiscard]] int GetPageCount() const noexcept { return static_cast<int>(m_pages.size()); }
    [[nodiscard]] PropertyPage* GetPage(int index) const;
    [[nodiscard]] PropertyPage* GetActivePage() const;
    [[nodiscard]] int GetActiveIndex() const noexcept { return m_active; }
    BOOL SetActivePage(int index);

    // IDOK or IDCANCEL; -1 when it could not run.
    int DoModal();
    // Applies every page made so far; false when one refused (it becomes the active page).
    bool Apply();
    void PageModified();

    // Where a page's tab lies in the tab row along the sheet's top, in client pixels; empty
    // for a page the sheet does not hold.
    [[nodiscard]] RECT GetTabRect(int index) const;
    // The page whose tab holds the client point, or -1.
    [[nodiscard]] int HitTestTab(POINT clientPoint) const;

    bool PreTranslateInput(const InputEvent& event) override;
    LRESULT OnCommandMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnCloseMessage(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    // Tab and Shift+Tab walk the page's tab stops and then the sheet's buttons.
    void MoveTabFocus(bool back);
    // Alt and a letter on the sheet's own buttons, once the page has no use for it.
    bool UseButtonMnemonic(int key);

    std::string m_caption;
    Wnd* m_parentWnd;
    std::vector<PropertyPage*> m_pages;
    int m_active = -1;
    int m_startPage;
    Button m_ok;
    Button m_cancel;
    Button m_apply;
};

} // namespace plat
