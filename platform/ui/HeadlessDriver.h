// The driver for tests: input comes from a script, message boxes are answered from a queue
// that also records each box, and a hook runs when a dialog opens so that a test can work
// the dialog as a person would (type, click, pick, press Return or Escape).
#pragma once

#include "platform/ui/App.h"

#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plat {

class Dialog;
class Wnd;

// A person at an open dialog. Each action goes through the same routes as real input: keys
// and characters through the dialog's keyboard handling to the focus, clicks to the control
// under the mouse. An action that a person could not do (the control is missing, hidden or
// disabled) does nothing and answers false.
class DialogOperator {
public:
    explicit DialogOperator(Dialog& dialog) : m_dialog(dialog) {}

    [[nodiscard]] Dialog& GetDialog() const noexcept { return m_dialog; }
    [[nodiscard]] std::string Caption() const;
    [[nodiscard]] Wnd* Control(int id) const;
    [[nodiscard]] std::string Text(int id) const;
    [[nodiscard]] bool IsOpen() const;

    // Focuses the control, selects all its text and types the new text over it.
    bool SetText(int id, std::string_view text);
    // Types into whatever has the focus.
    void Type(std::string_view text);
    void Key(int virtualKey, bool shift = false, bool control = false);
    void Return() { Key(VK_RETURN); }
    void Escape() { Key(VK_ESCAPE); }
    void Tab(bool shift = false) { Key(VK_TAB, shift); }
    void CloseBox();
    // A click in the middle of the control.
    bool Click(int id);
    // A click on the button whose caption, without its '&' marks, is the text.
    bool ClickCaption(std::string_view caption);
    bool DoubleClick(int id);
    // Picks an entry of a list box, combo box or list view: by index, or by its text.
    bool Pick(int id, int index);
    bool Pick(int id, std::string_view text);
    // A double click on an entry of a list box or list view.
    bool DoubleClickItem(int id, int index);
    bool SetCheck(int id, bool checked);

private:
    bool Usable(Wnd* control) const;
    bool ClickAt(Wnd& control, POINT clientPoint, InputEvent::Kind kind);
    bool ClickMiddle(int id, InputEvent::Kind kind);

    Dialog& m_dialog;
};

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    UINT style = 0;
    int answer = 0;
};

class HeadlessDriver : public Driver {
public:
    using DialogHandler = std::function<void(DialogOperator&)>;
    using UnusedReporter = std::function<void(const std::string& what)>;

    HeadlessDriver() = default;
    // Answers and dialog handlers still queued when the driver goes were meant for boxes and
    // dialogs that never came: the test that queued them is told through the reporter.
    ~HeadlessDriver() override;
    HeadlessDriver(const HeadlessDriver&) = delete;
    HeadlessDriver& operator=(const HeadlessDriver&) = delete;
    // Where unused answers and handlers are told; without a reporter the driver writes them to
    // standard error and aborts. Answers the reporter it replaces.
    static UnusedReporter SetUnusedReporter(UnusedReporter reporter);
    // The measure of every headless driver that was given none (null: the terminal's cells),
    // so that a whole test program can run under another measure. It must outlive its use.
    static void SetDefaultTextMeasure(const TextMeasure* measure) noexcept;

    // The script of input events, taken in order by the running loop.
    void Push(const InputEvent& event) { m_events.push_back(event); }
    void PushKey(int virtualKey, bool shift = false, bool control = false);
    // Plain key presses in order, as a script of arrows and Return reads.
    void PushKeys(std::initializer_list<int> virtualKeys);
    void PushText(std::string_view text);
    void PushClick(POINT screen);
    [[nodiscard]] std::size_t PendingEvents() const noexcept { return m_events.size(); }
    // Runs a step when the script has that many events left, once: a test looks at the screen
    // while a menu or a dialog the script opened is still open.
    void WhenEventsLeft(std::size_t left, std::function<void()> step) { m_steps[left] = std::move(step); }

    // The handler for the next modal dialog that opens (one each, in order); dialogs with no
    // queued handler go to the standing handler, if any, and otherwise take the script.
    void OnNextDialog(DialogHandler handler) { m_nextDialogs.push_back(std::move(handler)); }
    void OnEveryDialog(DialogHandler handler) { m_everyDialog = std::move(handler); }
    // Captions of the dialogs opened so far, modeless ones included.
    [[nodiscard]] const std::vector<std::string>& OpenedDialogs() const noexcept { return m_opened; }

    // Answers for the next message boxes, in order; without one the answerer decides, and
    // without an answerer a box takes its default button.
    void AnswerMessageBox(int answer) { m_answers.push_back(answer); }
    // The answer for the first box whose text holds textPart, wherever it comes; such a box
    // leaves the answers in order for the others.
    void AnswerMessageBox(std::string textPart, int answer) { m_textAnswers.push_back({std::move(textPart), answer}); }
    void SetMessageBoxAnswerer(std::function<int(const MessageBoxRecord&)> answerer) { m_answerer = std::move(answerer); }
    [[nodiscard]] const std::vector<MessageBoxRecord>& MessageBoxes() const noexcept { return m_boxes; }
    void ClearMessageBoxes() { m_boxes.clear(); }

    // Keys held down whatever the events say (Shift for a shifted click, say).
    void SetKeyDown(int virtualKey, bool down);
    [[nodiscard]] bool IsWaitCursorShown() const noexcept { return m_waitCursor; }
    [[nodiscard]] int WaitCursorShowings() const noexcept { return m_waitShowings; }
    void SetScreenSize(SIZE size) noexcept { m_screen = size; }
    void SetLogPixels(int perInch) noexcept { m_logPixels = perInch; }
    // Text measured another way than by terminal cells (null: the cell model again); the
    // measure must outlive its use.
    void SetTextMeasure(const TextMeasure* measure) noexcept { m_measure = measure; }

    std::optional<InputEvent> NextEvent() override;
    int MessageBox(Wnd* owner, const std::string& text, const std::string& caption, UINT style) override;
    [[nodiscard]] bool IsKeyDown(int virtualKey) const override;
    void DialogOpened(Dialog& dialog) override;
    void WaitCursorChanged(bool shown) override;
    [[nodiscard]] SIZE ScreenSize() const override { return m_screen; }
    [[nodiscard]] int LogPixels() const override { return m_logPixels; }
    [[nodiscard]] const TextMeasure& GetTextMeasure() const override;

    // The modifiers of the event being handled; DialogOperator sets them for its actions.
    void SetCurrentModifiers(const InputEvent& event) noexcept { m_current = event; }

private:
    std::deque<InputEvent> m_events;
    std::map<std::size_t, std::function<void()>> m_steps;
    std::deque<DialogHandler> m_nextDialogs;
    DialogHandler m_everyDialog;
    std::vector<std::string> m_opened;
    std::deque<int> m_answers;
    std::vector<std::pair<std::string, int>> m_textAnswers;
    std::function<int(const MessageBoxRecord&)> m_answerer;
    std::vector<MessageBoxRecord> m_boxes;
    std::vector<int> m_held;
    InputEvent m_current;
    bool m_waitCursor = false;
    int m_waitShowings = 0;
    SIZE m_screen{640, 400};
    int m_logPixels = 96;
    const TextMeasure* m_measure = nullptr;
};

} // namespace plat
