// The standard controls as models: static, buttons (push, default, check box, radio, group
// box, owner-drawn), edit, combo box and list box. They hold state, answer the messages the
// upper layers send and tell their parent what the user did; the renderer draws them.
#pragma once

#include "platform/ui/Ime.h"
#include "platform/ui/Wnd.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// The platform's class names, as dialog templates name their controls.
inline constexpr std::string_view kStaticClass = "STATIC";
inline constexpr std::string_view kButtonClass = "BUTTON";
inline constexpr std::string_view kEditClass = "EDIT";
inline constexpr std::string_view kComboBoxClass = "COMBOBOX";
inline constexpr std::string_view kListBoxClass = "LISTBOX";
inline constexpr std::string_view kListViewClass = "SysListView32";
inline constexpr std::string_view kProgressClass = "msctls_progress32";

// Window classes that a template may name: the standard controls, and any the program adds
// (a grid). Names compare without regard to ASCII case.
using WindowFactory = std::function<std::unique_ptr<Wnd>()>;
void RegisterWindowClass(std::string_view className, WindowFactory factory);
// A new, not yet created window object of the class; null for an unknown class.
[[nodiscard]] std::unique_ptr<Wnd> CreateWindowObject(std::string_view className);

class Static : public Wnd {
public:
    BOOL Create(std::string_view text, DWORD style, const RECT& rect, Wnd* parent, UINT id = 0xFFFF);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    bool IsHitTestVisible() const override { return (GetStyle() & SS_NOTIFY) != 0; }
};

class Button : public Wnd {
public:
    BOOL Create(std::string_view text, DWORD style, const RECT& rect, Wnd* parent, UINT id);
    [[nodiscard]] UINT GetButtonStyle() const noexcept { return GetStyle() & BS_TYPEMASK; }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);
    [[nodiscard]] int GetCheck() const noexcept { return m_check; }
    void SetCheck(int check);
    [[nodiscard]] bool IsPushButton() const noexcept;
    [[nodiscard]] bool IsRadio() const noexcept;
    // What a click does: toggles an automatic check box, checks an automatic radio button
    // and clears the others of its group, then tells the parent BN_CLICKED. Buttons that do
    // something of their own on a click (open a chooser) replace it.
    virtual void Click();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    bool IsHitTestVisible() const override { return GetButtonStyle() != BS_GROUPBOX; }

private:
    int m_check = BST_UNCHECKED;
};

// Text, selection and caret are counted in characters (code points). The limit counts
// bytes of the narrow code page, the size a cell stores.
class Edit : public Wnd {
public:
    BOOL Create(DWORD style, const RECT& rect, Wnd* parent, UINT id);
    void SetLimitText(UINT maxBytes) noexcept { m_limit = maxBytes ? maxBytes : kDefaultLimit; }
    [[nodiscard]] UINT GetLimitText() const noexcept { return m_limit; }
    // end -1: to the end of the text; start -1: no selection (the caret stays).
    void SetSel(int start, int end);
    void GetSel(int& start, int& end) const noexcept;
    // Replaces the selection as typing does; refused (false) when the result would pass the
    // limit.
    bool ReplaceSel(std::string_view text);
    void SetReadOnly(bool readOnly = true);
    [[nodiscard]] bool IsReadOnly() const noexcept { return (GetStyle() & ES_READONLY) != 0; }
    // The colour the text is drawn in, given the usual one: an edit that judges its text
    // shows invalid text in a colour of its own.
    [[nodiscard]] virtual COLORREF TextColor(COLORREF normal) const noexcept { return normal; }
    // Whether the input method may compose into it: a field of numbers (ES_NUMBER, or a
    // number edit of its own kind) takes keys as digits, whatever the person's input method.
    [[nodiscard]] virtual bool TakesComposedText() const noexcept;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // How a one-line edit shows its text, in its client area: the characters scrolled out on
    // the left so that the caret shows, and where the rest begins after the alignment. What
    // a front end draws and where a click lands both follow it.
    struct View {
        int firstShown = 0;
        int textLeft = 0;
    };
    [[nodiscard]] View GetView() const;
    // The text as shown: a password's characters hidden.
    [[nodiscard]] std::string GetShownText() const;
    // The character boundary a click at x (client pixels) puts the caret on.
    [[nodiscard]] int CharacterFromX(int x) const;
    // What the input method composes at the caret: shown (GetShownText holds it, from the
    // caret on) but not part of the text until the input method gives it up.
    [[nodiscard]] const CompositionString& GetComposition() const noexcept { return m_composition; }
    // Where the caret is shown, in characters of the shown text: inside a composition, at its
    // own caret.
    [[nodiscard]] int ShownCaret() const noexcept { return m_selEnd + (m_composition.text.empty() ? 0 : m_composition.caret); }
    // Whether the edit shows a caret: it has the focus, or it is the in-place editor laid over
    // the window that has it (a grid keeps the focus while its cell editor takes the typing).
    [[nodiscard]] bool ShowsCaret() const;

    static constexpr UINT kDefaultLimit = 30000;

private:
    void DeleteRange(int start, int end);
    int Length() const;
    LRESULT OnComposition(UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_limit = kDefaultLimit;
    int m_selStart = 0;
    int m_selEnd = 0;
    CompositionString m_composition;
};

// Entries of a list or combo box: text and item data, kept in order or sorted.
struct ListEntry {
    std::string text;
    std::uintptr_t data = 0;
};

// What a combo box and a list box share: their entries, kept in order or sorted (by the
// style bit given), and the current selection. CB_ERR and LB_ERR are both -1.
class ListControl : public Wnd {
public:
    int AddString(std::string_view text);
    int InsertString(int index, std::string_view text);
    // The count left, or -1 for an index outside the list.
    int DeleteString(int index);
    void ResetContent();
    [[nodiscard]] int GetCount() const noexcept { return static_cast<int>(m_items.size()); }
    [[nodiscard]] int GetCurSel() const noexcept { return m_curSel; }
    // Selects an entry, or none for an index outside the list; returns the index, or -1.
    int SetCurSel(int index);
    int SetItemData(int index, std::uintptr_t data);
    [[nodiscard]] std::uintptr_t GetItemData(int index) const;
    // The entry whose whole text equals the text without regard to case, searching after
    // startAfter (-1: from the start) and wrapping; -1 when none.
    [[nodiscard]] int FindStringExact(int startAfter, std::string_view text) const;
    // The text of an entry, empty for an index outside the list.
    [[nodiscard]] std::string EntryText(int index) const;
    // What a person's choice does; the derived control tells its parent.
    virtual void UserSelect(int index) = 0;

protected:
    static constexpr int kNoEntry = -1;
    explicit ListControl(DWORD sortStyle) noexcept : m_sortStyle(sortStyle) {}
    [[nodiscard]] bool HasEntry(int index) const noexcept { return index >= 0 && index < GetCount(); }
    [[nodiscard]] int EntryTextLength(int index) const;
    // Answers a GETTEXT message: the text into the std::string that lParam points to.
    LRESULT CopyEntryText(int index, LPARAM lParam) const;
    // The keys that move the selection (Up, Down, Home, End); true when the key was one.
    bool MoveSelectionByKey(int key);
    // After the selection was set, and after entries were removed.
    virtual void OnSelectionSet() {}
    virtual void OnEntriesRemoved() {}

private:
    DWORD m_sortStyle;
    std::vector<ListEntry> m_items;
    int m_curSel = kNoEntry;
};

class ComboBox : public ListControl {
public:
    ComboBox() noexcept : ListControl(CBS_SORT) {}
    BOOL Create(DWORD style, const RECT& rect, Wnd* parent, UINT id);
    [[nodiscard]] std::string GetLBText(int index) const { return EntryText(index); }
    [[nodiscard]] int GetLBTextLen(int index) const { return EntryTextLength(index); }
    // What a person's choice does: selects and tells the parent CBN_SELCHANGE.
    void UserSelect(int index) override;
    [[nodiscard]] bool IsDropDownList() const noexcept { return (GetStyle() & 3) == CBS_DROPDOWNLIST; }
    // The list opened below the box (Alt+Down or F4; Return, Escape or leaving closes it, Escape
    // going back to the entry chosen before it opened).
    void ShowDropDown(bool show = true);
    [[nodiscard]] bool GetDroppedState() const noexcept { return m_dropped; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The closed box shows the chosen entry.
    void OnSelectionSet() override;

    bool m_dropped = false;
    int m_selBeforeDrop = CB_ERR;
};

class ListBox : public ListControl {
public:
    ListBox() noexcept : ListControl(LBS_SORT) {}
    BOOL Create(DWORD style, const RECT& rect, Wnd* parent, UINT id);
    [[nodiscard]] std::string GetText(int index) const { return EntryText(index); }
    [[nodiscard]] int GetTextLen(int index) const { return EntryTextLength(index); }
    [[nodiscard]] int GetTopIndex() const noexcept { return m_topIndex; }
    // Entry under a client point, or LB_ERR (the frame too).
    [[nodiscard]] int ItemFromPoint(POINT clientPoint) const noexcept;
    // Where an entry's row lies in client coordinates, inside the frame; rows above the top
    // entry lie above the client area.
    [[nodiscard]] RECT GetItemRect(int index) const;
    // What a person does: selecting tells the parent LBN_SELCHANGE, a double click
    // LBN_DBLCLK (with LBS_NOTIFY, as the platform requires).
    void UserSelect(int index) override;
    void UserDoubleClick(int index);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnSelectionSet() override;
    void OnEntriesRemoved() override;
    void EnsureVisible(int index) noexcept;

    int m_topIndex = 0;
};

inline constexpr UINT PBM_SETPOS = WM_USER + 2;
inline constexpr UINT PBM_DELTAPOS = WM_USER + 3;
inline constexpr UINT PBM_SETSTEP = WM_USER + 4;
inline constexpr UINT PBM_STEPIT = WM_USER + 5;
inline constexpr UINT PBM_SETRANGE32 = WM_USER + 6;
inline constexpr UINT PBM_GETPOS = WM_USER + 8;

// A progress bar: a position within a range, advanced by steps. Positions are kept inside
// the range; stepping past the end starts again from the low end, as the platform's does.
class ProgressCtrl : public Wnd {
public:
    BOOL Create(DWORD style, const RECT& rect, Wnd* parent, UINT id);
    void SetRange(int low, int high);
    void GetRange(int& low, int& high) const noexcept;
    int SetPos(int position); // returns the previous position
    [[nodiscard]] int GetPos() const noexcept { return m_pos; }
    int SetStep(int step);
    int StepIt();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int m_low = 0;
    int m_high = 100;
    int m_pos = 0;
    int m_step = 10;
};

// The members of a dialog group: from the nearest sibling at or before the window that has
// WS_GROUP (or the first sibling) up to the next one that has it.
[[nodiscard]] std::vector<Wnd*> GetDialogGroup(const Wnd& member);
} // namespace plat
