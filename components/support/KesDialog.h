// Dialog frames of the support library: the modal dialog and the property page that every
// dialog of the library derives from, made from a module's template and reporting the help
// base identifier that belongs to that template.
#pragma once

#include "platform/resource/Module.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/PropertySheet.h"

#include <optional>
#include <string>
#include <string_view>

// 0x81E00000 + (templateId - 100) * 0x1000 + templateId: where a dialog's help topics start.
[[nodiscard]] constexpr plat::UINT KesHelpBaseID(plat::UINT templateId) noexcept
{
    return 0x81E00000u + (templateId - 100u) * 0x1000u + templateId;
}

// The support library's own module: the templates of its input, folder and progress dialogs.
[[nodiscard]] plat::ModuleHandle KesGetModule();

class KesDialog : public plat::Dialog {
public:
    KesDialog(plat::ModuleHandle module, plat::UINT templateId, plat::Wnd* parent = nullptr);

    // Replaces the title: at once when the window exists, else when it is made.
    void SetCaption(std::string_view caption);
    [[nodiscard]] virtual plat::UINT GetBaseID() const { return KesHelpBaseID(GetTemplateId()); }
    plat::BOOL OnInitDialog() override;
    // F1 anywhere in the dialog shows its topic (GetBaseID) from the program's help file.
    plat::LRESULT WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override;

private:
    std::optional<std::string> m_caption;
};

class KesPropertyPage : public plat::PropertyPage {
public:
    KesPropertyPage(plat::ModuleHandle module, plat::UINT templateId, plat::UINT captionId = 0);
    [[nodiscard]] virtual plat::UINT GetBaseID() const { return KesHelpBaseID(GetTemplateId()); }
    plat::LRESULT WindowProc(plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) override;
};
