// The editor's main window: a frame with the grid of the coordinate list between its title
// and its status line (the grid answers its own questions through the manager). It takes the
// document commands: Ctrl+S saves (atomically), Ctrl+O opens another file, F10 or Ctrl+Q
// quits, asking first whether to save changes.
#pragma once

#include "examples/coordinates/CoordinateGrid.h"
#include "examples/coordinates/CoordinateManager.h"
#include "platform/ui/Frames.h"
#include "tav/data/TavData.h"

#include <filesystem>
#include <string>

namespace coordinates {

class CoordinateFrame : public plat::FrameWnd {
public:
    CoordinateFrame(CoordinateManager& manager, TavData& data);

    // Creates the frame over the screen with the grid in it, and binds the table.
    bool Open(plat::SIZE screen);
    void SetDocumentPath(std::filesystem::path path);
    [[nodiscard]] const std::filesystem::path& GetDocumentPath() const noexcept { return m_path; }
    [[nodiscard]] CoordinateGrid& Grid() noexcept { return m_grid; }

    // The commands; false when they did not happen (a failure was shown, or the person
    // cancelled).
    bool Save();
    bool OpenFile(const std::filesystem::path& path);
    // Asks to save a modified table; false when the person cancelled.
    bool CanLeave();

    // The recovery copy: the table's unsaved changes kept when the program has to end
    // without asking (see plat::WinApp::SetRecoveryWriter). It lies beside the document as
    // "<document>.recovery", or for an untitled table in the user's data folder.
    [[nodiscard]] static std::filesystem::path RecoveryPath(const std::filesystem::path& document);
    // Writes it, atomically, when the table has unsaved changes; true when nothing is lost.
    bool WriteRecovery();
    // When the document has a recovery copy, asks whether to take it: yes loads it (the
    // table is then modified, to be saved into the document), no removes it.
    bool OfferRecovery();
    void Quit();
    // Shows the document and its state on the title and status lines.
    void UpdateStatus();

    bool PreTranslateInput(const plat::InputEvent& event) override;

    DECLARE_MESSAGE_MAP()

private:
    plat::LRESULT OnSize(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnClose(plat::WPARAM, plat::LPARAM);
    plat::LRESULT OnGridChanged(plat::WPARAM w, plat::LPARAM l);

    // The cell being edited goes into the table before the table is saved or left.
    void FinishEditing();

    CoordinateManager& m_manager;
    TavData& m_data;
    CoordinateGrid m_grid;
    std::filesystem::path m_path;
    std::string m_lastMessage;
    bool m_recovering = false;
};

} // namespace coordinates
