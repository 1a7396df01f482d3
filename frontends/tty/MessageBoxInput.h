// The keys and clicks of a message box shown in the terminal: arrows and Tab move between its
// buttons, Return or Space presses the focused one, Y and N answer yes and no, Escape cancels,
// a click on a button presses it.
#pragma once

#include "platform/ui/App.h"
#include "platform/ui/Renderer.h"

#include <optional>
#include <string>
#include <vector>

namespace tty {

class MessageBoxInput {
public:
    MessageBoxInput(std::string text, std::string caption, plat::UINT style);

    [[nodiscard]] const plat::MessageBoxView& View() const noexcept { return m_view; }
    // The size of the screen the box is centred on, in cells, to find the button clicked.
    void SetScreen(int columns, int lines) noexcept
    {
        m_columns = columns;
        m_lines = lines;
    }
    // The answer this event gives, or nothing while the box stays open.
    [[nodiscard]] std::optional<int> Handle(const plat::InputEvent& event);
    // What the box answers when the input ends before a choice: Cancel when it offers one,
    // else its default button.
    [[nodiscard]] int AnswerWithoutInput() const;

private:
    [[nodiscard]] bool Offers(int answer) const;
    // Escape: Cancel, or OK when OK is the only button; nothing otherwise.
    [[nodiscard]] std::optional<int> EscapeAnswer() const;

    [[nodiscard]] std::optional<int> ButtonAt(plat::POINT point) const;

    plat::MessageBoxView m_view;
    std::vector<int> m_buttons;
    int m_columns = 80;
    int m_lines = 25;
};

} // namespace tty
