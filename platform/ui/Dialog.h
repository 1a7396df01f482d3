// Dialogs built from templates: modal (DoModal runs until EndDialog) and modeless, the
// keyboard handling a person expects of a dialog (Return presses the default button,
// Escape and the close box cancel, Tab walks the tab stops, arrows walk a radio group), and
// data exchange between a dialog's members and its controls.
#pragma once

#include "platform/resource/Module.h"
#include "platform/ui/Resources.h"
#include "platform/ui/Wnd.h"

#include <optional>
#include <string>

namespace plat {

class Dialog;

// One pass of data exchange; Fail() abandons it after telling the person what is wrong.
class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate) : m_dialog(&dialog), m_bSaveAndValidate(saveAndValidate) {}
    // The control of a field, remembered so that Fail() can take the person back to it;
    // null when the dialog has no such control.
    Wnd* PrepareCtrl(int id);
    Wnd* PrepareEditCtrl(int id);
    // Focuses the last prepared control and abandons the exchange (UpdateData returns FALSE).
    [[noreturn]] void Fail();
    [[nodiscard]] Dialog& GetDialog() const noexcept { return *m_dialog; }

    Dialog* m_dialog;
    bool m_bSaveAndValidate;

private:
    Wnd* m_last = nullptr;
    bool m_lastIsEdit = false;
};

// Thrown by DataExchange::Fail and caught by Dialog::UpdateData only.
struct DataExchangeFailure {};

class Dialog : public Wnd {
public:
    Dialog() = default;
    // Dialog units in pixels, following this dialog's font.
    [[nodiscard]] RECT MapDialogRect(int x, int y, int cx, int cy) const;
    // The template comes from the current resource module when the dialog is made.
    explicit Dialog(UINT templateId, Wnd* parent = nullptr);
    Dialog(ModuleHandle module, UINT templateId, Wnd* parent = nullptr);
    Dialog(DialogTemplate dialogTemplate, Wnd* parent = nullptr);
    // A dialog still open is destroyed here, while OnDestroy can run; a derived class that
    // overrides OnDestroy destroys the window in its own destructor for the same reason.
    ~Dialog() override;

    // Runs the dialog modally; the EndDialog result, or -1 when it could not be made (no
    // template, no driver).
    virtual int DoModal();
    // A modeless dialog.
    BOOL Create(UINT templateId, Wnd* parent = nullptr);
    BOOL CreateIndirect(const DialogTemplate& dialogTemplate, Wnd* parent = nullptr);
    void EndDialog(int result);
    [[nodiscard]] bool IsModal() const noexcept { return m_modal; }

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnDestroy() {}
    virtual void DoDataExchange(DataExchange& dx) { (void)dx; }
    // Moves data out of (TRUE) or into (FALSE) the controls; FALSE when validation failed.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Focus among the controls.
    [[nodiscard]] Wnd* GetNextDlgTabItem(Wnd* control, bool previous = false) const;
    void GotoDlgCtrl(Wnd* control);
    void NextDlgCtrl();
    void PrevDlgCtrl();
    [[nodiscard]] int GetDefID() const;
    void SetDefID(int id);

    void SetDlgItemText(int id, std::string_view text);
    [[nodiscard]] std::string GetDlgItemText(int id) const;
    void SetDlgItemInt(int id, int value);
    void CheckDlgButton(int id, int check);
    [[nodiscard]] int IsDlgButtonChecked(int id) const;
    void CheckRadioButton(int firstId, int lastId, int checkId);
    [[nodiscard]] int GetCheckedRadioButton(int firstId, int lastId) const;

    [[nodiscard]] const DialogTemplate* GetTemplate() const noexcept { return m_template ? &*m_template : nullptr; }
    [[nodiscard]] Wnd* GetParentWnd() const noexcept { return m_parentWnd; }
    void SetParentWnd(Wnd* parent) noexcept { m_parentWnd = parent; }
    [[nodiscard]] UINT GetTemplateId() const noexcept { return m_templateId; }
    [[nodiscard]] ModuleHandle GetTemplateModule() const noexcept { return m_module; }

    bool PreTranslateInput(const InputEvent& event) override;
    void OnInputEnded() override;

    LRESULT OnInitDialogMessage(WPARAM, LPARAM);
    LRESULT OnDestroyMessage(WPARAM, LPARAM);
    LRESULT OnCloseMessage(WPARAM, LPARAM);
    LRESULT OnGetDefId(WPARAM, LPARAM);
    LRESULT OnSetDefId(WPARAM, LPARAM);
    LRESULT OnNextDlgCtl(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()

protected:
    // Makes the window and its controls from the template, inside parent when child.
    BOOL CreateFromTemplate(const DialogTemplate& dialogTemplate, Wnd* parent, bool child);
    // The template this dialog is made from, loaded on first use.
    const DialogTemplate* ResolveTemplate();

    ModuleHandle m_module = nullptr;
    UINT m_templateId = 0;
    std::optional<DialogTemplate> m_template;
    Wnd* m_parentWnd = nullptr;
    bool m_modal = false;

private:
    bool PressButton(int id);
    // Alt and a letter: presses or checks the button that the letter marks, or goes to the
    // control after the label or group box that it marks; false when none does.
    bool UseMnemonic(char letter);
    int m_defId = 0;
    std::optional<int> m_endedEarly; // EndDialog before the modal loop began
};

// Tab walks on from a radio button as from the end of its group (the start, going back), so
// that it leaves the group; and when it reaches a radio group, it goes to the checked button,
// so that walking through a dialog does not land on a choice that was not made.
[[nodiscard]] Wnd* TabOrigin(Wnd* focus, bool back);
[[nodiscard]] Wnd* TabFocusTarget(Wnd* stop);

// Exchange of a field between a member and a control.
void DDX_Text(DataExchange& dx, int id, std::string& value);
void DDX_Text(DataExchange& dx, int id, int& value);
void DDX_Text(DataExchange& dx, int id, long& value);
void DDX_Text(DataExchange& dx, int id, double& value);
void DDX_Check(DataExchange& dx, int id, int& value);
// The index of the checked button of the radio group that starts at the control; -1: none.
void DDX_Radio(DataExchange& dx, int id, int& value);
void DDX_LBIndex(DataExchange& dx, int id, int& index);
void DDX_CBIndex(DataExchange& dx, int id, int& index);
// Binds a member control object to the template's control.
void DDX_Control(DataExchange& dx, int id, Wnd& control);
// Validation, on saving only: out of range tells the person the bounds and fails.
void DDV_MinMaxInt(DataExchange& dx, int value, int minValue, int maxValue);
void DDV_MinMaxLong(DataExchange& dx, long value, long minValue, long maxValue);
void DDV_MinMaxDouble(DataExchange& dx, double value, double minValue, double maxValue);
void DDV_MaxChars(DataExchange& dx, const std::string& value, int maxChars);

} // namespace plat
