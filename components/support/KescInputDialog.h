// A one-line text prompt: a title, a prompt over a text field, OK and Cancel.
#pragma once

#include "components/support/KesDialog.h"

#include <string>
#include <string_view>

class KescInputDialog : public KesDialog {
public:
    KescInputDialog(std::string_view title, std::string_view prompt, plat::Wnd* parent = nullptr);

    // The text shown when the dialog opens, and after OK the text entered.
    void SetText(std::string_view text) { m_text = std::string(text); }
    [[nodiscard]] const std::string& GetText() const noexcept { return m_text; }

    plat::BOOL OnInitDialog() override;
    void DoDataExchange(plat::DataExchange& dx) override;

private:
    std::string m_prompt;
    std::string m_text;
};
