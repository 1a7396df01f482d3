// The editor's main window: a frame with its menu bar, the grid of the lot list and its status
// line. It takes the document commands from its menus and keys (Ctrl+O, Ctrl+S, Ctrl+Q, asking
// before unsaved changes are lost), the grid's line commands, search and jump from keys, and
// sorts the list by lot number as one step that undo takes back.
#pragma once

#include "LotGrid.h"
#include "LotManager.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Frames.h"
#include "platform/ui/Menu.h"
#include "tav/data/TavData.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace lots {

class LotFrame : public plat::FrameWnd {
public:
    LotFrame(LotManager& manager, TavData& data);

    // Creates the frame over the screen with the grid in it, and binds the table.
    bool Open(plat::SIZE screen);
    void SetDocumentPath(std::filesystem::path path);
    [[nodiscard]] const std::filesystem::path& GetDocumentPath() const noexcept { return m_path; }
    [[nodiscard]] LotGrid& Grid() noexcept { return m_grid; }

    // The commands; false when they did not happen (a failure was shown, or the person
    // cancelled).
    bool Save();
    bool OpenFile(const std::filesystem::path& path);
    // A document that is damaged, has bytes after its end or holds more lots than the editor
    // has rows is refused with a message, and the editor keeps what it had.
    bool OpenDocument(std::span<const std::uint8_t> bytes, const std::filesystem::path& path);
    // Asks to save a modified table; false when the person cancelled.
    bool CanLeave();
    void Quit();

    // Inserts count empty lines before a record, as 行挿入 on those lines would.
    bool InsertLines(long before, long count);
    // Sorts the filled records by lot number (numerically, part by part); one undo step.
    bool SortByLotNumber();

    void UpdateStatus();
    bool PreTranslateInput(const plat::InputEvent& event) override;

    static constexpr plat::UINT ID_TOOLS_OPTIONS = 0x8100;
    static constexpr plat::UINT ID_TOOLS_SORT = 0x8101;

    DECLARE_MESSAGE_MAP()

private:
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnAppExit();
    void OnHelpIndex();
    void OnHelpItem();
    void OnAppAbout();
    void OnToolsOptions();
    void OnToolsSort();
    void OnUpdateGridCommand(plat::CmdUI* cmdUI);
    plat::LRESULT OnSize(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnClose(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnGridChanged(plat::WPARAM, plat::LPARAM);

    // The grid's keys: Ctrl+F find, Ctrl+G jump, Insert and Delete of selected lines, Ctrl+L
    // to select whole lines; true when the key was one of them.
    bool GridKey(const plat::InputEvent& event);
    void SelectLines(long first, long last);
    // The cell being edited goes into the table before the table is saved or left.
    void FinishEditing();
    void ShowOpenError(const std::string& why);

    LotManager& m_manager;
    TavData& m_data;
    LotGrid m_grid;
    plat::Menu m_menuBar;
    std::filesystem::path m_path;
    std::string m_lastMessage;
};

} // namespace lots
