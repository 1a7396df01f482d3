// The frame's routing and document commands.
#include "examples/coordinates/CoordinateFrame.h"

#include "components/mox/MoxMessages.h"
#include "components/support/KescInputDialog.h"
#include "platform/io/Archive.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/ui/App.h"
#include "platform/ui/Renderer.h"

namespace coordinates {

namespace {

// From the grid when the caret moved or an edit ended.
constexpr plat::UINT kUpdateStatus = plat::WM_USER + 0x301;
constexpr plat::UINT kGridId = 100;

} // namespace

BEGIN_MESSAGE_MAP(CoordinateFrame, plat::FrameWnd)
    ON_MESSAGE(plat::WM_SIZE, OnSize)
    ON_MESSAGE(plat::WM_CLOSE, OnClose)
    ON_MESSAGE(kUpdateStatus, OnGridChanged)
END_MESSAGE_MAP()

CoordinateFrame::CoordinateFrame(CoordinateManager& manager, TavData& data) : m_manager(manager), m_data(data)
{
    m_grid.SetChangeMessage(kUpdateStatus);
}

bool CoordinateFrame::Open(plat::SIZE screen)
{
    if (!Create("CoordinateFrame", "座標一覧", plat::WS_VISIBLE, plat::RECT{0, 0, screen.cx, screen.cy}, nullptr, 0))
        return false;
    if (!m_grid.Create(plat::WS_VISIBLE, plat::FrameContentRect(*this), this, kGridId))
        return false;
    m_manager.Associate(&m_grid, &m_data);
    m_grid.SetFocus();
    UpdateStatus();
    return true;
}

void CoordinateFrame::SetDocumentPath(std::filesystem::path path)
{
    m_path = std::move(path);
    UpdateStatus();
}

void CoordinateFrame::UpdateStatus()
{
    const std::string name = m_path.empty() ? std::string("(無題)") : m_path.filename().string();
    SetWindowText("座標一覧 - " + name + (m_data.IsModified() ? " *" : ""));
    std::string status = m_lastMessage.empty() ? std::string() : m_lastMessage + "   ";
    const MoxPos& caret = m_grid.GetCaret();
    status += "行 " + std::to_string(caret.row + 1) + "   Ctrl+S 保存  Ctrl+O 開く  F10 終了";
    SetMessageText(status);
}

void CoordinateFrame::FinishEditing()
{
    if (m_grid.IsWindow() && m_grid.SendMessage(MOXM_ISEDITING) != 0)
        m_grid.SendMessage(MOXM_CLOSEEDITOR, 1);
}

bool CoordinateFrame::Save()
{
    FinishEditing();
    const std::filesystem::path untitledRecovery = m_path.empty() ? RecoveryPath({}) : std::filesystem::path();
    if (m_path.empty()) {
        KescInputDialog ask("名前を付けて保存", "ファイル名(&F):", this);
        ask.SetText("座標.tcd");
        if (ask.DoModal() != plat::IDOK || ask.GetText().empty())
            return false;
        m_path = ask.GetText();
    }
    try {
        plat::Archive archive = plat::Archive::ForStoring();
        m_data.Serialize(archive);
        archive.SaveFile(m_path); // a new file in place of the old, or the old one untouched
    } catch (const plat::ArchiveError& error) {
        plat::MessageBox(this, std::string("保存できませんでした。\n") + error.what(), "座標一覧", plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return false;
    }
    m_data.SetModifiedFlag(FALSE);
    // Saved: the changes a recovery copy kept are in the document now.
    for (const std::filesystem::path& recovery : {RecoveryPath(m_path), untitledRecovery})
        if (!recovery.empty())
            static_cast<void>(plat::RemovePath(recovery));
    m_lastMessage = "保存しました";
    UpdateStatus();
    return true;
}

bool CoordinateFrame::OpenFile(const std::filesystem::path& path)
{
    FinishEditing();
    try {
        plat::Archive archive = plat::Archive::LoadFile(path);
        // A damaged file throws before anything of it is applied: the table stays as it was.
        m_data.Serialize(archive);
    } catch (const plat::ArchiveError& error) {
        plat::MessageBox(this, std::string("ファイルを開けませんでした。\n") + error.what(), "座標一覧",
                         plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return false;
    }
    m_manager.Associate(&m_grid, &m_data);
    m_data.SetModifiedFlag(FALSE);
    m_path = path;
    m_lastMessage = "開きました";
    m_grid.Invalidate();
    UpdateStatus();
    if (!m_recovering)
        OfferRecovery();
    return true;
}

std::filesystem::path CoordinateFrame::RecoveryPath(const std::filesystem::path& document)
{
    if (!document.empty()) {
        std::filesystem::path recovery = document;
        recovery += ".recovery";
        return recovery;
    }
    std::filesystem::path data;
    if (plat::GetDataFolder(data))
        return {};
    return data / "tavcell" / "coordinates-untitled.tcd.recovery";
}

bool CoordinateFrame::WriteRecovery()
{
    // An editor still open is left as it is: closing it could ask the person something.
    if (!m_data.IsModified())
        return true;
    const std::filesystem::path recovery = RecoveryPath(m_path);
    if (recovery.empty() || (m_path.empty() && plat::MakeFolders(recovery.parent_path())))
        return false;
    try {
        plat::Archive archive = plat::Archive::ForStoring();
        m_data.Serialize(archive);
        archive.SaveFile(recovery);
    } catch (const plat::ArchiveError&) {
        return false;
    }
    return true;
}

bool CoordinateFrame::OfferRecovery()
{
    const std::filesystem::path document = m_path;
    const std::filesystem::path recovery = RecoveryPath(document);
    if (recovery.empty() || !plat::PathExists(recovery))
        return false;
    const std::string text = "前回保存されなかった変更が回復用コピーに残っています。\n" + recovery.filename().string() +
                             "\n回復用コピーを読み込みますか？";
    if (plat::MessageBox(this, text, "座標一覧", plat::MB_YESNO | plat::MB_ICONQUESTION) != plat::IDYES) {
        static_cast<void>(plat::RemovePath(recovery));
        return false;
    }
    // Read as a document is, so a damaged copy is refused the same way and changes nothing.
    m_recovering = true;
    const bool loaded = OpenFile(recovery);
    m_recovering = false;
    m_path = document;
    if (loaded) {
        m_data.SetModifiedFlag(TRUE);
        m_lastMessage = "回復しました";
    }
    UpdateStatus();
    return loaded;
}

bool CoordinateFrame::CanLeave()
{
    FinishEditing();
    if (!m_data.IsModified())
        return true;
    switch (plat::MessageBox(this, "変更を保存しますか？", "座標一覧", plat::MB_YESNOCANCEL | plat::MB_ICONQUESTION)) {
    case plat::IDYES: return Save();
    case plat::IDNO: return true;
    default: return false;
    }
}

void CoordinateFrame::Quit()
{
    if (CanLeave())
        DestroyWindow();
}

bool CoordinateFrame::PreTranslateInput(const plat::InputEvent& event)
{
    PostMessage(kUpdateStatus);
    if (event.kind == plat::InputEvent::Kind::Close) {
        Quit();
        return true;
    }
    if (event.kind != plat::InputEvent::Kind::Key)
        return false;
    if (event.key == plat::VK_F10 || (event.control && event.key == 'Q')) {
        Quit();
        return true;
    }
    if (event.control && event.key == 'S') {
        Save();
        return true;
    }
    if (event.control && event.key == 'O') {
        if (!CanLeave())
            return true;
        KescInputDialog ask("開く", "ファイル名(&F):", this);
        ask.SetText(m_path.string());
        if (ask.DoModal() == plat::IDOK && !ask.GetText().empty())
            OpenFile(ask.GetText());
        return true;
    }
    m_lastMessage.clear();
    return false;
}

plat::LRESULT CoordinateFrame::OnSize(plat::WPARAM, plat::LPARAM)
{
    if (m_grid.IsWindow()) {
        const plat::RECT content = plat::FrameContentRect(*this);
        m_grid.MoveWindow(content);
        // Automatic widths follow the window.
        if (m_data.Manager() == &m_manager)
            m_manager.SetColWidth(TRUE);
    }
    return 0;
}

plat::LRESULT CoordinateFrame::OnClose(plat::WPARAM, plat::LPARAM)
{
    Quit();
    return 0;
}

plat::LRESULT CoordinateFrame::OnGridChanged(plat::WPARAM, plat::LPARAM)
{
    UpdateStatus();
    return 0;
}

} // namespace coordinates
