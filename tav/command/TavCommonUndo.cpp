// Undo and redo in the grid windows: the open editor's own typing first, then the table's
// history; the steps of the grid's paste, clear and input; the edit menu's items.
#include "tav/command/TavCommon.h"

#include "platform/ui/App.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Wnd.h"
#include "tav/data/TavData.h"
#include "tav/data/TavUndoHistory.h"
#include "tav/manager/TavManager.h"

#include <string>

namespace {

constexpr const char* kUndoText = "元に戻す(&U)";
constexpr const char* kRedoText = "やり直し(&R)";
constexpr const char* kInputName = "入力";

void TellRefused(plat::Wnd* window, bool undo)
{
    plat::Wnd* owner = window != nullptr ? window->GetOwner() : nullptr;
    plat::MessageBox(owner != nullptr ? owner : window,
                     std::string("変更が受け付けられなかったため、") + (undo ? "元に戻せませんでした。" : "やり直せませんでした。"),
                     {}, plat::MB_OK | plat::MB_ICONWARNING);
}

std::string ItemText(const char* text, const std::string& name, const char* keys)
{
    return std::string(text) + (name.empty() ? std::string() : ": " + name) + "\t" + keys;
}

} // namespace

TavUndoHistory* TavCommon::History()
{
    TavManager* manager = ManagerPtr();
    return manager != nullptr && manager->Data() != nullptr ? &manager->Data()->History() : nullptr;
}

void TavCommon::OpenUndoStep(const char* name)
{
    if (TavUndoHistory* history = History())
        history->OpenStep(name);
}

void TavCommon::CloseUndoStep()
{
    if (TavUndoHistory* history = History())
        history->CloseStep();
}

void TavCommon::EditUndo()
{
    if (auto* editor = reinterpret_cast<plat::Wnd*>(Request(MOXM_GETEDITOR))) {
        // As in a text field: what was typed goes first, and only an editor holding nothing
        // typed gives way to the table's history.
        const std::string text = editor->GetWindowText();
        if (text != m_editOriginal) {
            m_editUndone = text;
            editor->SetWindowText(m_editOriginal);
            if (auto* edit = dynamic_cast<plat::Edit*>(editor))
                edit->SetSel(0, -1);
            return;
        }
        Request(MOXM_CLOSEEDITOR, 0);
        if (Request(MOXM_ISEDITING) != 0)
            return;
    }
    TavUndoHistory* history = History();
    if (m_lineCommand != 0 || history == nullptr || !history->CanUndo())
        return;
    if (!history->Undo())
        TellRefused(m_window, true);
    if (m_window != nullptr)
        m_window->Invalidate(FALSE);
}

void TavCommon::EditRedo()
{
    if (auto* editor = reinterpret_cast<plat::Wnd*>(Request(MOXM_GETEDITOR))) {
        const std::string text = editor->GetWindowText();
        if (text != m_editOriginal)
            return; // typing waits in the editor: a step done again would pass it by
        if (!m_editUndone.empty()) {
            editor->SetWindowText(m_editUndone);
            m_editUndone.clear();
            return;
        }
        Request(MOXM_CLOSEEDITOR, 0);
        if (Request(MOXM_ISEDITING) != 0)
            return;
    }
    TavUndoHistory* history = History();
    if (m_lineCommand != 0 || history == nullptr || !history->CanRedo())
        return;
    if (!history->Redo())
        TellRefused(m_window, false);
    if (m_window != nullptr)
        m_window->Invalidate(FALSE);
}

void TavCommon::UpdateEditUndo(plat::CmdUI& cmdUI)
{
    std::string name;
    if (auto* editor = reinterpret_cast<plat::Wnd*>(Request(MOXM_GETEDITOR)); editor != nullptr && editor->GetWindowText() != m_editOriginal)
        name = kInputName;
    else if (TavUndoHistory* history = History(); history != nullptr && m_lineCommand == 0)
        name = history->UndoName();
    cmdUI.Enable(name.empty() ? FALSE : TRUE);
    cmdUI.SetText(ItemText(kUndoText, name, "Ctrl+Z"));
}

void TavCommon::UpdateEditRedo(plat::CmdUI& cmdUI)
{
    std::string name;
    if (auto* editor = reinterpret_cast<plat::Wnd*>(Request(MOXM_GETEDITOR)); editor != nullptr) {
        if (editor->GetWindowText() == m_editOriginal)
            name = !m_editUndone.empty() ? kInputName : History() != nullptr ? History()->RedoName() : std::string();
    } else if (TavUndoHistory* history = History(); history != nullptr && m_lineCommand == 0) {
        name = history->RedoName();
    }
    cmdUI.Enable(name.empty() ? FALSE : TRUE);
    cmdUI.SetText(ItemText(kRedoText, name, "Ctrl+Y"));
}

int TavCommon::BeginPasteStep()
{
    const int allowed = OnBeginPaste();
    if (allowed > 0)
        OpenUndoStep("貼り付け");
    return allowed;
}

void TavCommon::EndPasteStep()
{
    OnEndPaste();
    CloseUndoStep();
}

int TavCommon::BeginDeleteStep()
{
    const int allowed = OnBeginDelete();
    if (allowed > 0)
        OpenUndoStep("消去");
    return allowed;
}

void TavCommon::EndDeleteStep()
{
    OnEndDelete();
    CloseUndoStep();
}

void TavCommon::PaneEditStored()
{
    if (!m_editStep)
        return;
    m_editStep = false;
    CloseUndoStep();
}
