// The scripted driver and the person-at-a-dialog operations that tests use.
#include "platform/ui/HeadlessDriver.h"

#include "platform/text/Utf8.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListView.h"
#include "platform/ui/TextMeasure.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace plat {

namespace {

void Dispatch(const InputEvent& event)
{
    if (auto* driver = dynamic_cast<HeadlessDriver*>(GetApp() ? GetApp()->GetDriver() : nullptr))
        driver->SetCurrentModifiers(event);
    DispatchInput(event);
    if (auto* driver = dynamic_cast<HeadlessDriver*>(GetApp() ? GetApp()->GetDriver() : nullptr))
        driver->SetCurrentModifiers(InputEvent{});
}

std::string WithoutMnemonics(std::string_view caption)
{
    std::string plain;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

} // namespace

// ---- DialogOperator ----

std::string DialogOperator::Caption() const { return m_dialog.GetWindowText(); }

Wnd* DialogOperator::Control(int id) const { return m_dialog.IsWindow() ? m_dialog.GetDlgItem(id) : nullptr; }

std::string DialogOperator::Text(int id) const
{
    Wnd* control = Control(id);
    return control ? control->GetWindowText() : std::string();
}

bool DialogOperator::IsOpen() const
{
    if (!m_dialog.IsWindow())
        return false;
    return m_dialog.IsModal() ? m_dialog.IsInModalLoop() : m_dialog.IsWindowVisible();
}

bool DialogOperator::Usable(Wnd* control) const
{
    return control && control->IsWindowVisible() && control->IsWindowEnabled();
}

bool DialogOperator::ClickAt(Wnd& control, POINT clientPoint, InputEvent::Kind kind)
{
    control.ClientToScreen(&clientPoint);
    Dispatch(InputEvent::MouseClick(clientPoint, kind));
    return true;
}

bool DialogOperator::SetText(int id, std::string_view text)
{
    Wnd* control = Control(id);
    if (!Usable(control))
        return false;
    m_dialog.GotoDlgCtrl(control);
    if (dynamic_cast<Edit*>(control)) {
        Key(VK_DELETE);
        Type(text);
    } else {
        control->SetWindowText(text);
    }
    return true;
}

void DialogOperator::Type(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t ch = DecodeUtf8(text, pos);
        if (ch != kInvalidCodePoint)
            Dispatch(InputEvent::Character(ch));
    }
}

void DialogOperator::Key(int virtualKey, bool shift, bool control)
{
    Dispatch(InputEvent::KeyPress(virtualKey, shift, control));
}

void DialogOperator::CloseBox() { Dispatch(InputEvent::CloseBox()); }

bool DialogOperator::ClickMiddle(int id, InputEvent::Kind kind)
{
    Wnd* control = Control(id);
    if (!Usable(control))
        return false;
    RECT client;
    control->GetClientRect(&client);
    return ClickAt(*control, POINT{client.Width() / 2, client.Height() / 2}, kind);
}

bool DialogOperator::Click(int id) { return ClickMiddle(id, InputEvent::Kind::Click); }

bool DialogOperator::ClickCaption(std::string_view caption)
{
    for (Wnd* child : m_dialog.GetChildren())
        if (dynamic_cast<Button*>(child) && WithoutMnemonics(child->GetWindowText()) == WithoutMnemonics(caption))
            return Click(child->GetDlgCtrlID());
    return false;
}

bool DialogOperator::DoubleClick(int id) { return ClickMiddle(id, InputEvent::Kind::DoubleClick); }

bool DialogOperator::Pick(int id, int index)
{
    Wnd* control = Control(id);
    if (!Usable(control))
        return false;
    m_dialog.GotoDlgCtrl(control);
    if (auto* list = dynamic_cast<ListControl*>(control); list && index >= 0 && index < list->GetCount()) {
        list->UserSelect(index);
        return true;
    }
    if (auto* view = dynamic_cast<ListView*>(control); view && index >= 0 && index < view->GetItemCount()) {
        view->UserSelect(index);
        return true;
    }
    return false;
}

bool DialogOperator::Pick(int id, std::string_view text)
{
    Wnd* control = Control(id);
    if (auto* list = dynamic_cast<ListControl*>(control))
        for (int i = 0; i < list->GetCount(); ++i)
            if (list->EntryText(i) == text)
                return Pick(id, i);
    if (auto* view = dynamic_cast<ListView*>(control))
        if (int i = view->FindItem(text); i >= 0)
            return Pick(id, i);
    return false;
}

bool DialogOperator::DoubleClickItem(int id, int index)
{
    Wnd* control = Control(id);
    if (!Usable(control))
        return false;
    m_dialog.GotoDlgCtrl(control);
    if (auto* list = dynamic_cast<ListBox*>(control); list && index >= 0 && index < list->GetCount()) {
        list->UserDoubleClick(index);
        return true;
    }
    if (auto* view = dynamic_cast<ListView*>(control); view && view->EnsureVisible(index)) {
        const RECT item = view->GetItemRect(index);
        return ClickAt(*view, POINT{2, item.top + 1}, InputEvent::Kind::DoubleClick);
    }
    return false;
}

bool DialogOperator::SetCheck(int id, bool checked)
{
    Wnd* control = Control(id);
    if (!Usable(control))
        return false;
    if ((control->SendMessage(BM_GETCHECK) == BST_CHECKED) != checked)
        Click(id);
    return (control->SendMessage(BM_GETCHECK) == BST_CHECKED) == checked;
}

// ---- HeadlessDriver ----

void HeadlessDriver::PushKey(int virtualKey, bool shift, bool control)
{
    Push(InputEvent::KeyPress(virtualKey, shift, control));
}

void HeadlessDriver::PushKeys(std::initializer_list<int> virtualKeys)
{
    for (const int key : virtualKeys)
        PushKey(key);
}

void HeadlessDriver::PushText(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t ch = DecodeUtf8(text, pos);
        if (ch != kInvalidCodePoint)
            Push(InputEvent::Character(ch));
    }
}

void HeadlessDriver::PushClick(POINT screen) { Push(InputEvent::MouseClick(screen)); }

namespace {

const TextMeasure*& DefaultMeasure() noexcept
{
    static const TextMeasure* measure = nullptr;
    return measure;
}

} // namespace

void HeadlessDriver::SetDefaultTextMeasure(const TextMeasure* measure) noexcept { DefaultMeasure() = measure; }

const TextMeasure& HeadlessDriver::GetTextMeasure() const
{
    if (m_measure != nullptr)
        return *m_measure;
    return DefaultMeasure() != nullptr ? *DefaultMeasure() : GetCellTextMeasure();
}

std::optional<InputEvent> HeadlessDriver::NextEvent()
{
    if (auto found = m_steps.find(m_events.size()); found != m_steps.end()) {
        const std::function<void()> step = std::move(found->second);
        m_steps.erase(found);
        step();
    }
    if (m_events.empty()) {
        m_current = InputEvent{};
        return std::nullopt;
    }
    m_current = m_events.front();
    m_events.pop_front();
    return m_current;
}

namespace {

HeadlessDriver::UnusedReporter& Reporter()
{
    static HeadlessDriver::UnusedReporter reporter;
    return reporter;
}

} // namespace

HeadlessDriver::~HeadlessDriver()
{
    std::string unused;
    for (const int answer : m_answers)
        unused += "a message box answer " + std::to_string(answer) + " that no box took\n";
    for (const auto& [textPart, answer] : m_textAnswers)
        unused += "the answer " + std::to_string(answer) + " for a box saying \"" + textPart + "\", which never came\n";
    if (!m_nextDialogs.empty())
        unused += std::to_string(m_nextDialogs.size()) + " dialog handler(s) for dialogs that never opened\n";
    if (unused.empty())
        return;
    unused = "The headless driver was left with\n" + unused;
    if (Reporter()) {
        Reporter()(unused);
        return;
    }
    std::fputs(unused.c_str(), stderr);
    std::abort();
}

HeadlessDriver::UnusedReporter HeadlessDriver::SetUnusedReporter(UnusedReporter reporter)
{
    return std::exchange(Reporter(), std::move(reporter));
}

int HeadlessDriver::MessageBox(Wnd*, const std::string& text, const std::string& caption, UINT style)
{
    int answer = 0;
    const auto byText = std::find_if(m_textAnswers.begin(), m_textAnswers.end(),
                                     [&](const auto& expected) { return text.find(expected.first) != std::string::npos; });
    if (byText != m_textAnswers.end()) {
        answer = byText->second;
        m_textAnswers.erase(byText);
    } else if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    } else if (m_answerer) {
        answer = m_answerer(MessageBoxRecord{text, caption, style, 0});
    } else {
        // The default button: the first, or the one MB_DEFBUTTONn names.
        static constexpr int kButtons[][3] = {
            {IDOK, 0, 0}, {IDOK, IDCANCEL, 0}, {3, 4, 5}, {IDYES, IDNO, IDCANCEL}, {IDYES, IDNO, 0}, {4, IDCANCEL, 0}};
        const UINT type = std::min<UINT>(style & MB_TYPEMASK, 5);
        const UINT which = std::min<UINT>((style & MB_DEFMASK) >> 8, 2);
        answer = kButtons[type][which] ? kButtons[type][which] : kButtons[type][0];
    }
    m_boxes.push_back(MessageBoxRecord{text, caption, style, answer});
    return answer;
}

void HeadlessDriver::SetKeyDown(int virtualKey, bool down)
{
    m_held.erase(std::remove(m_held.begin(), m_held.end(), virtualKey), m_held.end());
    if (down)
        m_held.push_back(virtualKey);
}

bool HeadlessDriver::IsKeyDown(int virtualKey) const
{
    if (std::find(m_held.begin(), m_held.end(), virtualKey) != m_held.end())
        return true;
    switch (virtualKey) {
    case VK_SHIFT: return m_current.shift;
    case VK_CONTROL: return m_current.control;
    case VK_MENU: return m_current.alt;
    default: return false;
    }
}

void HeadlessDriver::DialogOpened(Dialog& dialog)
{
    m_opened.push_back(dialog.GetWindowText());
    if (!dialog.IsModal() && !dialog.GetParent())
        return;
    DialogHandler handler;
    if (!m_nextDialogs.empty()) {
        handler = std::move(m_nextDialogs.front());
        m_nextDialogs.pop_front();
    } else {
        handler = m_everyDialog;
    }
    if (handler) {
        DialogOperator person(dialog);
        handler(person);
    }
}

void HeadlessDriver::WaitCursorChanged(bool shown)
{
    m_waitCursor = shown;
    if (shown)
        ++m_waitShowings;
}

} // namespace plat
