// Message box keys and clicks, as the platform's message boxes take them.
#include "frontends/tty/MessageBoxInput.h"

#include "platform/ui/Gdi.h"
#include "platform/ui/TextMeasure.h"

#include <algorithm>

namespace tty {

using plat::InputEvent;

MessageBoxInput::MessageBoxInput(std::string text, std::string caption, plat::UINT style)
    : m_view{std::move(text), std::move(caption), style, plat::MessageBoxDefaultIndex(style)},
      m_buttons(plat::MessageBoxButtons(style))
{
}

bool MessageBoxInput::Offers(int answer) const
{
    return std::find(m_buttons.begin(), m_buttons.end(), answer) != m_buttons.end();
}

std::optional<int> MessageBoxInput::EscapeAnswer() const
{
    if (Offers(plat::IDCANCEL))
        return plat::IDCANCEL;
    if (m_buttons.size() == 1 && m_buttons.front() == plat::IDOK)
        return plat::IDOK;
    return std::nullopt;
}

int MessageBoxInput::AnswerWithoutInput() const
{
    if (Offers(plat::IDCANCEL))
        return plat::IDCANCEL;
    return m_buttons[static_cast<std::size_t>(m_view.focus)];
}

std::optional<int> MessageBoxInput::ButtonAt(plat::POINT point) const
{
    const plat::POINT cell{point.x / plat::CellTextMeasure::kColumnWidth, point.y / plat::CellTextMeasure::kLineHeight};
    for (const auto& button : plat::LayOutMessageBox(m_view, m_columns, m_lines).buttons)
        if (cell.x >= button.cells.left && cell.x < button.cells.right && cell.y >= button.cells.top &&
            cell.y < button.cells.bottom)
            return button.answer;
    return std::nullopt;
}

std::optional<int> MessageBoxInput::Handle(const InputEvent& event)
{
    const int count = static_cast<int>(m_buttons.size());
    auto letter = [&](char32_t ch) -> std::optional<int> {
        if ((ch == U'y' || ch == U'Y') && Offers(plat::IDYES))
            return plat::IDYES;
        if ((ch == U'n' || ch == U'N') && Offers(plat::IDNO))
            return plat::IDNO;
        return std::nullopt;
    };
    switch (event.kind) {
    case InputEvent::Kind::Close:
        return EscapeAnswer();
    case InputEvent::Kind::Click:
    case InputEvent::Kind::DoubleClick:
        return ButtonAt(event.point);
    case InputEvent::Kind::Char:
        if (event.ch == U' ')
            return m_buttons[static_cast<std::size_t>(m_view.focus)];
        return letter(event.ch);
    case InputEvent::Kind::Key:
        switch (event.key) {
        case plat::VK_RETURN:
            return m_buttons[static_cast<std::size_t>(m_view.focus)];
        case plat::VK_ESCAPE:
            return EscapeAnswer();
        case plat::VK_LEFT:
        case plat::VK_UP:
            m_view.focus = (m_view.focus + count - 1) % count;
            return std::nullopt;
        case plat::VK_RIGHT:
        case plat::VK_DOWN:
            m_view.focus = (m_view.focus + 1) % count;
            return std::nullopt;
        case plat::VK_TAB:
            m_view.focus = (m_view.focus + (event.shift ? count - 1 : 1)) % count;
            return std::nullopt;
        default:
            // Alt+Y and Alt+N, the buttons' mnemonics.
            if (event.alt && event.key >= 'A' && event.key <= 'Z')
                return letter(static_cast<char32_t>(event.key));
            return std::nullopt;
        }
    default:
        return std::nullopt;
    }
}

} // namespace tty
