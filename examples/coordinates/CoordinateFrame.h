// The editor's main window: a frame with its menu bar, the grid of the coordinate list, and
// its status line. It answers the grid's questions through the manager, and takes the
// document commands from its menus or keys: Ctrl+N starts an empty list, Ctrl+S saves
// (atomically, asking before it writes over what another program saved), Ctrl+O opens another
// file, Ctrl+Q quits, asking first whether to save changes; F10 opens the menu bar. The grid
// itself opens its context menu (right button, Shift+F10) and shows the caret item's help (F1).
// The grid's line commands, search and jump have keys too.
#pragma once

#include "examples/coordinates/CoordinateGrid.h"
#include "examples/coordinates/CoordinateManager.h"
#include "examples/coordinates/DocumentFile.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Frames.h"
#include "platform/ui/Menu.h"
#include "tav/data/TavData.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace coordinates {

class CoordinateFrame : public plat::FrameWnd {
public:
    CoordinateFrame(CoordinateManager& manager, TavData& data);

    // Creates the frame over the screen with the grid in it, and binds the table.
    bool Open(plat::SIZE screen);
    // Takes path as the document's name (a new document, when nothing is there yet), saying
    // when another editor has it open.
    void SetDocumentPath(std::filesystem::path path);
    [[nodiscard]] const std::filesystem::path& GetDocumentPath() const noexcept { return m_path; }
    [[nodiscard]] CoordinateGrid& Grid() noexcept { return m_grid; }

    // The commands; false when they did not happen (a failure was shown, or the person
    // cancelled).
    bool Save();
    // Asks for a name and saves there; a file already there is written over only when the
    // person says so.
    bool SaveAs();
    bool OpenFile(const std::filesystem::path& path);
    // An empty list, untitled (the caller asked about unsaved changes).
    bool NewDocument();
    // Opens a document from its bytes, as read from path. A document that is damaged, has
    // bytes after its end or holds more points than the editor has rows is refused with a
    // message, and the editor keeps what it had.
    bool OpenDocument(std::span<const std::uint8_t> bytes, const std::filesystem::path& path);
    // Asks to save a modified table; false when the person cancelled.
    bool CanLeave();

    // The recovery copy: the table's unsaved changes kept when the program has to end
    // without asking (see plat::WinApp::SetRecoveryWriter). It lies beside the document as
    // "<document>.recovery"; for an untitled table, or when nothing can be written beside the
    // document, in the user's data folder (FallbackRecoveryPath).
    [[nodiscard]] static std::filesystem::path RecoveryPath(const std::filesystem::path& document);
    [[nodiscard]] static std::filesystem::path FallbackRecoveryPath(const std::filesystem::path& document);
    // Writes it, atomically, when the table has unsaved changes (the text of an open cell
    // editor among them); true when nothing is lost.
    bool WriteRecovery();
    // When the document has a recovery copy, asks whether to take it: yes loads it (the
    // table is then modified, to be saved into the document), no removes it.
    bool OfferRecovery();
    void Quit();
    // Shows the document and its state on the title and status lines.
    void UpdateStatus();

    bool PreTranslateInput(const plat::InputEvent& event) override;

    // File > Import and Export of SIMA and CSV files.
    static constexpr plat::UINT ID_FILE_IMPORT = 0xE110;
    static constexpr plat::UINT ID_FILE_EXPORT = 0xE111;

    // Tools > Options: the options sheet with the library's cell page.
    static constexpr plat::UINT ID_TOOLS_OPTIONS = 0x8100;
    void OnToolsOptions();

    DECLARE_MESSAGE_MAP()

private:
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    // ファイル > 読み込み and 書き出し: SIMA and CSV files (CoordinateExchange).
    void OnFileImport();
    void OnFileExport();
    void OnAppExit();
    void OnHelpIndex();
    void OnHelpItem();
    void OnAppAbout();
    // Commands of the shared menu that the grid cannot carry out yet show disabled.
    void OnUpdateGridCommand(plat::CmdUI* cmdUI);
    // 表示設定 opens the options sheet's colours; 読み上げ needs the read-aloud program.
    void OnUpdateViewSettings(plat::CmdUI* cmdUI);
    void OnUpdateRead(plat::CmdUI* cmdUI);
    plat::LRESULT OnSize(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnClose(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnGridChanged(plat::WPARAM w, plat::LPARAM l);

    // The grid's keys: Ctrl+F find, Ctrl+G jump, Ctrl+A select all, Insert and Delete of selected lines, Ctrl+L
    // or Shift+Space to select whole lines; true when the key was one of them.
    bool GridKey(const plat::InputEvent& event);
    void SelectSearchRange();
    // The cell being edited goes into the table before the table is saved or left.
    void FinishEditing();
    void ShowOpenError(const std::string& why);
    // Writes the table to target; on failure the document keeps its name.
    bool SaveTo(const std::filesystem::path& target);
    void TakeDocumentPath(const std::filesystem::path& path);
    void RemoveRecoveryCopies(const std::filesystem::path& document);

    CoordinateManager& m_manager;
    TavData& m_data;
    CoordinateGrid m_grid;
    plat::Menu m_menuBar;
    std::filesystem::path m_path;
    DocumentFile m_document;
    std::string m_lastMessage;
    bool m_recovering = false;
};

} // namespace coordinates
