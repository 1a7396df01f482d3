// A button that cycles through a fixed list of texts: each click shows the next one. Items
// with a few fixed choices (a side, a kind) use it in place of a list; the cell stores the
// index.
#pragma once

#include "platform/ui/Controls.h"

#include <string>
#include <string_view>
#include <vector>

class TavcToggleButton : public plat::Button {
public:
    explicit TavcToggleButton(std::vector<std::string> texts = {});

    void SetTexts(std::vector<std::string> texts);
    [[nodiscard]] int GetCount() const noexcept { return static_cast<int>(m_texts.size()); }
    // FALSE, text unchanged, for an index outside the list.
    plat::BOOL GetText(int index, std::string& text) const;
    // The index of the entry equal to the text, -1 when there is none.
    [[nodiscard]] int FindString(std::string_view text) const;
    // An index outside the list shows nothing (-1).
    void SetIndex(int index);
    [[nodiscard]] int GetIndex() const noexcept { return m_index; }

    void Click() override;
    plat::LRESULT WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override;

private:
    void Advance();

    std::vector<std::string> m_texts;
    int m_index = -1;
};
