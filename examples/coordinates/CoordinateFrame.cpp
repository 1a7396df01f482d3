// The frame's routing and document commands.
#include "examples/coordinates/CoordinateFrame.h"

#include "components/mox/MoxMessages.h"
#include "components/support/KescInputDialog.h"
#include "components/support/NifCommonMenu.h"
#include "components/support/NifResource.h"
#include "examples/coordinates/CoordinateExchange.h"
#include "examples/coordinates/CoordinateResources.h"
#include "examples/coordinates/CoordinateSpeech.h"
#include "examples/coordinates/SystemErrorText.h"
#include "platform/io/Archive.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/ui/App.h"
#include "platform/ui/Help.h"
#include "platform/ui/Renderer.h"
#include "tav/frame/TavFrame.h"

#include <cstdio>

namespace coordinates {

namespace {

// Posted to the frame after each input, when what the input changed is known.
constexpr plat::UINT kUpdateStatus = plat::WM_USER + 0x301;
constexpr plat::UINT kGridId = 100;

// The document and help commands, with the numbers programs of this kind give them.
constexpr plat::UINT ID_FILE_NEW = 0xE100;
constexpr plat::UINT ID_FILE_OPEN = 0xE101;
constexpr plat::UINT ID_FILE_SAVE = 0xE103;
constexpr plat::UINT ID_FILE_SAVE_AS = 0xE104;
constexpr plat::UINT ID_APP_ABOUT = 0xE140;
constexpr plat::UINT ID_APP_EXIT = 0xE141;
constexpr plat::UINT ID_HELP_INDEX = 0xE142;
constexpr plat::UINT ID_HELP = 0xE146;

void AppendPopup(plat::Menu& bar, plat::Menu& popup, const char* text)
{
    bar.AppendMenu(plat::MF_POPUP, reinterpret_cast<plat::UINT_PTR>(popup.Detach()), text);
}

// ファイル, the shared 編集 and ｾﾙ, and ヘルプ.
void MakeMenuBar(plat::Menu& bar)
{
    bar.CreateMenu();
    plat::Menu file;
    file.CreatePopupMenu();
    file.AppendMenu(plat::MF_STRING, ID_FILE_NEW, "新規(&N)\tCtrl+N");
    file.AppendMenu(plat::MF_STRING, ID_FILE_OPEN, "開く(&O)...\tCtrl+O");
    file.AppendMenu(plat::MF_STRING, ID_FILE_SAVE, "上書き保存(&S)\tCtrl+S");
    file.AppendMenu(plat::MF_STRING, ID_FILE_SAVE_AS, "名前を付けて保存(&A)...");
    file.AppendMenu(plat::MF_SEPARATOR);
    file.AppendMenu(plat::MF_STRING, CoordinateFrame::ID_FILE_IMPORT, "読み込み(&I)...");
    file.AppendMenu(plat::MF_STRING, CoordinateFrame::ID_FILE_EXPORT, "書き出し(&E)...");
    file.AppendMenu(plat::MF_SEPARATOR);
    file.AppendMenu(plat::MF_STRING, ID_APP_EXIT, "終了(&X)\tCtrl+Q");
    AppendPopup(bar, file, "ファイル(&F)");
    NifGetCommonMenu(bar);
    // The shared Edit menu has undo only; the grid redoes too.
    for (int i = 0; i < bar.GetMenuItemCount(); ++i)
        if (plat::Menu* edit = bar.GetSubMenu(i); edit != nullptr && bar.GetMenuString(static_cast<plat::UINT>(i), plat::MF_BYPOSITION) == "編集(&E)")
            edit->InsertMenu(1, plat::MF_BYPOSITION | plat::MF_STRING, plat::ID_EDIT_REDO, "やり直し(&R)\tCtrl+Y");
    plat::Menu tools;
    tools.CreatePopupMenu();
    tools.AppendMenu(plat::MF_STRING, CoordinateFrame::ID_TOOLS_OPTIONS, "オプション(&O)...");
    AppendPopup(bar, tools, "ツール(&T)");
    plat::Menu help;
    help.CreatePopupMenu();
    help.AppendMenu(plat::MF_STRING, ID_HELP, "項目の説明(&I)\tF1");
    help.AppendMenu(plat::MF_STRING, ID_HELP_INDEX, "目次(&C)");
    help.AppendMenu(plat::MF_SEPARATOR);
    help.AppendMenu(plat::MF_STRING, ID_APP_ABOUT, "バージョン情報(&A)...");
    AppendPopup(bar, help, "ヘルプ(&H)");
}

// The document is the record table and nothing after it: bytes past its end are no part of
// anything this editor writes, so they mark a damaged or foreign file and are refused. They
// are found only after the table was read into, so the editor reads into a table of its own
// first.
void ReadDocument(std::span<const std::uint8_t> bytes, TavData& table)
{
    plat::Archive archive = plat::Archive::ForLoading(bytes);
    table.Serialize(archive);
    if (archive.Remaining() != 0)
        throw plat::ArchiveError(std::to_string(archive.Remaining()) + " bytes after the end of the document");
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error))
        return true;
    return std::filesystem::absolute(a, error).lexically_normal() == std::filesystem::absolute(b, error).lexically_normal();
}

bool AskOverwrite(plat::Wnd* owner, const std::string& text)
{
    return plat::MessageBox(owner, text, "座標一覧", plat::MB_YESNO | plat::MB_ICONEXCLAMATION | plat::MB_DEFBUTTON2) == plat::IDYES;
}

} // namespace

BEGIN_MESSAGE_MAP(CoordinateFrame, plat::FrameWnd)
    ON_MESSAGE(plat::WM_SIZE, OnSize)
    ON_MESSAGE(plat::WM_CLOSE, OnClose)
    ON_MESSAGE(kUpdateStatus, OnGridChanged)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
    ON_COMMAND(ID_FILE_IMPORT, OnFileImport)
    ON_COMMAND(ID_FILE_EXPORT, OnFileExport)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND(ID_HELP, OnHelpItem)
    ON_COMMAND(ID_HELP_INDEX, OnHelpIndex)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_TOOLS_OPTIONS, OnToolsOptions)
    ON_COMMAND(NifCommand::ViewSettings, OnToolsOptions)
    ON_UPDATE_COMMAND_UI(NifCommand::ViewSettings, OnUpdateViewSettings)
    ON_UPDATE_COMMAND_UI(NifCommand::Read, OnUpdateRead)
    ON_UPDATE_COMMAND_UI_RANGE(0xC100, 0xC3FF, OnUpdateGridCommand)
    ON_UPDATE_COMMAND_UI_RANGE(plat::ID_EDIT_PASTE_SPECIAL, plat::ID_EDIT_REDO, OnUpdateGridCommand)
END_MESSAGE_MAP()

CoordinateFrame::CoordinateFrame(CoordinateManager& manager, TavData& data) : m_manager(manager), m_data(data)
{
    m_grid.SetChangeMessage(kUpdateStatus);
}

bool CoordinateFrame::Open(plat::SIZE screen)
{
    if (!Create("CoordinateFrame", "座標一覧", plat::WS_VISIBLE, plat::RECT{0, 0, screen.cx, screen.cy}, nullptr, 0))
        return false;
    MakeMenuBar(m_menuBar);
    SetMenu(&m_menuBar);
    plat::AddMessageStringModule(&CoordinateModule());
    if (!m_grid.Create(plat::WS_VISIBLE, GetContentRect(), this, kGridId))
        return false;
    m_manager.Associate(&m_grid, &m_data);
    m_grid.SetFocus();
    UpdateStatus();
    return true;
}

void CoordinateFrame::SetDocumentPath(std::filesystem::path path)
{
    TakeDocumentPath(path);
    UpdateStatus();
}

void CoordinateFrame::TakeDocumentPath(const std::filesystem::path& path)
{
    m_path = path;
    if (const std::string holder = m_document.Attach(path); !holder.empty())
        plat::MessageBox(this,
                         "この文書は、ほかの座標一覧でも開かれています（" + holder + "）。\n" + path.string() +
                             "\n両方で保存すると、一方の変更が失われることがあります。",
                         "座標一覧", plat::MB_OK | plat::MB_ICONINFORMATION);
}

void CoordinateFrame::UpdateStatus()
{
    const std::string name = m_path.empty() ? std::string("(無題)") : m_path.filename().string();
    SetWindowText("座標一覧 - " + name + (m_data.IsModified() ? " *" : ""));
    // The grid puts its caret item's prompt on the status line (a menu closing put the idle
    // prompt there).
    m_grid.SetMessageString();
    const MoxPos& caret = m_grid.GetCaret();
    if (std::string notice = m_grid.TakeNotice(); !notice.empty())
        m_lastMessage = std::move(notice);
    std::string indicators = m_lastMessage.empty() ? std::string() : m_lastMessage + "   ";
    // While lines are marked for a move, copy or swap, the way on and the way out.
    if (m_grid.QueryLineCommand() != 0)
        indicators += "↑↓ 移動先  Enter 実行  Esc 取消   ";
    indicators += "行 " + std::to_string(caret.row + 1) + "   F10 メニュー  F1 ヘルプ  Ctrl+Q 終了";
    SetIndicatorText(indicators);
}

void CoordinateFrame::FinishEditing()
{
    if (m_grid.IsWindow() && m_grid.SendMessage(MOXM_ISEDITING) != 0)
        m_grid.SendMessage(MOXM_CLOSEEDITOR, 1);
}

bool CoordinateFrame::Save()
{
    FinishEditing();
    return m_path.empty() ? SaveAs() : SaveTo(m_path);
}

bool CoordinateFrame::SaveAs()
{
    FinishEditing();
    KescInputDialog ask("名前を付けて保存", "ファイル名(&F):", this);
    ask.SetText(m_path.empty() ? std::string("座標.tcd") : m_path.string());
    if (ask.DoModal() != plat::IDOK || ask.GetText().empty())
        return false;
    const std::filesystem::path target = ask.GetText();
    if ((m_path.empty() || !SameFile(target, m_path)) && plat::PathExists(target) &&
        !AskOverwrite(this, target.string() + " は既にあります。\n上書きしますか？"))
        return false;
    return SaveTo(target);
}

bool CoordinateFrame::SaveTo(const std::filesystem::path& target)
{
    const bool sameDocument = !m_path.empty() && SameFile(target, m_path);
    if (sameDocument && m_document.ChangedOnDisk() &&
        !AskOverwrite(this, target.string() + "\nこの文書は、開いた後または前回保存した後に、ほかのプログラムで変更されています。\n"
                            "上書きすると、その変更は失われます。上書きしますか？"))
        return false;
    std::error_code error;
    try {
        plat::Archive archive = plat::Archive::ForStoring();
        m_data.Serialize(archive);
        // A new file in place of the old, or the old one untouched.
        error = plat::WriteFileAtomically(target, archive.Bytes());
    } catch (const plat::ArchiveError& failure) {
        plat::MessageBox(this, std::string("保存できませんでした。\n") + failure.what(), "座標一覧", plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return false;
    }
    if (error) {
        // The name stays as it was: a name that cannot be written is no place for the next
        // save or for a recovery copy.
        plat::MessageBox(this, "保存できませんでした。\n" + PathErrorText(target, error), "座標一覧", plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return false;
    }
    m_data.SetModifiedFlag(FALSE);
    // Saved: the changes a recovery copy kept are in the document now.
    RemoveRecoveryCopies(m_path);
    if (sameDocument)
        m_document.Remember();
    else
        TakeDocumentPath(target);
    RemoveRecoveryCopies(m_path);
    m_lastMessage = "保存しました";
    UpdateStatus();
    return true;
}

void CoordinateFrame::RemoveRecoveryCopies(const std::filesystem::path& document)
{
    for (const std::filesystem::path& recovery : {RecoveryPath(document), FallbackRecoveryPath(document)})
        if (!recovery.empty())
            static_cast<void>(plat::RemovePath(recovery));
}

bool CoordinateFrame::OpenFile(const std::filesystem::path& path)
{
    std::vector<std::uint8_t> bytes;
    if (const std::error_code error = plat::ReadWholeFile(path, bytes)) {
        FinishEditing();
        ShowOpenError(PathErrorText(path, error));
        return false;
    }
    return OpenDocument(bytes, path);
}

void CoordinateFrame::ShowOpenError(const std::string& why)
{
    plat::MessageBox(this, "ファイルを開けませんでした。\n" + why, "座標一覧", plat::MB_OK | plat::MB_ICONEXCLAMATION);
}

bool CoordinateFrame::OpenDocument(std::span<const std::uint8_t> bytes, const std::filesystem::path& path)
{
    FinishEditing();
    try {
        // Read aside first: a document the editor cannot hold whole is refused before the
        // table changes. Reading applies nothing of a damaged document either.
        TavData read;
        ReadDocument(bytes, read);
        if (m_manager.GetOverflowRecordCount(read) > 0) {
            TavCoGrOverflowMessage(1, plat::MB_OK | plat::MB_ICONEXCLAMATION);
            return false;
        }
        if (const long unknown = m_manager.GetUnknownItemCount(read); unknown > 0) {
            const std::string text = "この文書には、この版では扱えない項目が " + std::to_string(unknown) +
                                     " 個あります。\n開いて保存すると、その項目のデータは失われます。\n開きますか？";
            if (plat::MessageBox(this, text, "座標一覧", plat::MB_YESNO | plat::MB_ICONEXCLAMATION | plat::MB_DEFBUTTON2) != plat::IDYES)
                return false;
        }
        ReadDocument(bytes, m_data);
    } catch (const plat::ArchiveError& error) {
        ShowOpenError(error.what());
        return false;
    }
    m_manager.Associate(&m_grid, &m_data);
    m_data.SetModifiedFlag(FALSE);
    if (m_recovering)
        m_path = path; // the document's own name comes back when the copy is read
    else
        TakeDocumentPath(path);
    m_lastMessage = "開きました";
    m_grid.Invalidate();
    UpdateStatus();
    if (!m_recovering)
        OfferRecovery();
    return true;
}

bool CoordinateFrame::NewDocument()
{
    FinishEditing();
    try {
        // Read as a document is, so that the table, its layout and its history start as a
        // freshly opened one does.
        plat::Archive empty = plat::Archive::ForStoring();
        TavData().Serialize(empty);
        ReadDocument(empty.Bytes(), m_data);
    } catch (const plat::ArchiveError& error) {
        ShowOpenError(error.what());
        return false;
    }
    m_manager.Associate(&m_grid, &m_data);
    m_data.SetModifiedFlag(FALSE);
    TakeDocumentPath({});
    const MoxPos first{0, 0};
    m_grid.SendMessage(MOXM_SETCARET, reinterpret_cast<plat::WPARAM>(&first));
    m_lastMessage.clear();
    m_grid.Invalidate();
    UpdateStatus();
    return true;
}

std::filesystem::path CoordinateFrame::RecoveryPath(const std::filesystem::path& document)
{
    if (document.empty())
        return FallbackRecoveryPath(document);
    std::filesystem::path recovery = document;
    recovery += ".recovery";
    return recovery;
}

std::filesystem::path CoordinateFrame::FallbackRecoveryPath(const std::filesystem::path& document)
{
    std::filesystem::path data;
    if (plat::GetDataFolder(data))
        return {};
    if (document.empty())
        return data / "tavcell" / "coordinates-untitled.tcd.recovery";
    // Documents of one name in different folders keep copies of their own.
    std::error_code ignored;
    const std::string full = std::filesystem::absolute(document, ignored).lexically_normal().string();
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : full)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, "-%016llx", static_cast<unsigned long long>(hash));
    return data / "tavcell" / (document.filename().string() + suffix + ".recovery");
}

bool CoordinateFrame::WriteRecovery()
{
    // What is typed in an open cell editor is part of the work; closing the editor could ask
    // the person something, so its text is taken as it stands.
    if (m_grid.IsWindow() && m_grid.SendMessage(MOXM_ISEDITING) != 0)
        m_grid.KeepEditorText();
    if (!m_data.IsModified())
        return true;
    std::vector<std::uint8_t> bytes;
    try {
        plat::Archive archive = plat::Archive::ForStoring();
        m_data.Serialize(archive);
        bytes = archive.TakeBytes();
    } catch (const plat::ArchiveError&) {
        return false;
    }
    if (!m_path.empty() && !plat::WriteFileAtomically(RecoveryPath(m_path), bytes))
        return true;
    // Beside the document nothing could be written (a folder that is gone or read-only).
    const std::filesystem::path fallback = FallbackRecoveryPath(m_path);
    return !fallback.empty() && !plat::MakeFolders(fallback.parent_path()) && !plat::WriteFileAtomically(fallback, bytes);
}

bool CoordinateFrame::OfferRecovery()
{
    const std::filesystem::path document = m_path;
    std::filesystem::path recovery;
    for (const std::filesystem::path& candidate : {RecoveryPath(document), FallbackRecoveryPath(document)})
        if (recovery.empty() && !candidate.empty() && plat::PathExists(candidate))
            recovery = candidate;
    if (recovery.empty())
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
    // A note such as "保存しました" is about the last command; any key goes on to the next one
    // (which may set its own).
    m_lastMessage.clear();
    // The accelerators of the File menu.
    if (event.control && !event.shift && !event.alt) {
        const plat::UINT command = event.key == 'Q' ? ID_APP_EXIT
                                   : event.key == 'S' ? ID_FILE_SAVE
                                   : event.key == 'O' ? ID_FILE_OPEN
                                   : event.key == 'N' ? ID_FILE_NEW
                                                      : 0;
        if (command != 0) {
            SendMessage(plat::WM_COMMAND, command);
            return true;
        }
    }
    return GridKey(event);
}

bool CoordinateFrame::GridKey(const plat::InputEvent& event)
{
    // Only while the grid has the keys and no cell is being edited: then they are the editor's.
    if (plat::Wnd::GetFocus() != &m_grid || m_grid.SendMessage(MOXM_ISEDITING) != 0)
        return false;
    const bool plain = !event.control && !event.shift && !event.alt;
    const bool wholeLines = [&] {
        const MoxRectArray& selection = m_grid.GetSelection();
        for (std::size_t i = 0; i < selection.GetSize(); ++i)
            if (!(selection.GetFlags(i) & MoxRectArray::kWholeLines))
                return false;
        return !selection.IsEmpty();
    }();
    plat::UINT command = 0;
    if (event.control && !event.shift && !event.alt)
        command = event.key == 'F'   ? NifCommand::Find
                  : event.key == 'G' ? NifCommand::Jump
                  : event.key == 'A' ? plat::ID_EDIT_SELECT_ALL
                                     : 0;
    else if (plain && event.key == plat::VK_INSERT)
        command = NifCommand::LineInsert;
    else if (plain && event.key == plat::VK_DELETE && wholeLines)
        command = NifCommand::LineDelete; // cells selected: Delete clears them, as the grid does
    if (command == NifCommand::Find)
        SelectSearchRange();
    if (command != 0) {
        m_grid.SendMessage(plat::WM_COMMAND, command);
        UpdateStatus(); // a search or a jump moved the caret without the grid telling
        return true;
    }
    // Ctrl+L (or Shift+Space) widens the selection to the whole lines it touches, for the line
    // commands to work on.
    if ((event.control && !event.shift && !event.alt && event.key == 'L') ||
        (event.shift && !event.control && !event.alt && event.key == plat::VK_SPACE)) {
        MoxRectArray lines;
        const MoxRectArray& selection = m_grid.GetSelection();
        const auto lastColumn = static_cast<std::int32_t>(m_grid.GetColumnCount() - 1);
        for (std::size_t i = 0; i < selection.GetSize(); ++i)
            lines.Add(MoxRect(MoxPos{0, selection.GetAt(i).Top()}, MoxPos{lastColumn, selection.GetAt(i).Bottom()}),
                      MoxRectArray::kWholeLines);
        m_grid.SendMessage(MOXM_SETSELECTION, reinterpret_cast<plat::WPARAM>(&lines));
        return true;
    }
    return false;
}

void CoordinateFrame::SelectSearchRange()
{
    // The find dialog searches the selected rows; with only the caret there, the person means
    // the caret's column from the caret down to the last point.
    const MoxRectArray& selection = m_grid.GetSelection();
    const MoxPos caret = m_grid.GetCaret();
    const bool caretOnly = selection.IsEmpty() || (selection.GetSize() == 1 && selection.GetAt(0).First() == caret &&
                                                   selection.GetAt(0).Second() == caret);
    const long last = m_data.GetLastInputRecordNo();
    if (!caretOnly || last <= caret.row)
        return;
    MoxRectArray range;
    range.Add(MoxRect(caret, MoxPos{caret.column, static_cast<std::int32_t>(last)}));
    m_grid.SendMessage(MOXM_SETSELECTION, reinterpret_cast<plat::WPARAM>(&range));
}

void CoordinateFrame::OnFileNew()
{
    if (CanLeave())
        NewDocument();
}

void CoordinateFrame::OnFileOpen()
{
    if (!CanLeave())
        return;
    KescInputDialog ask("開く", "ファイル名(&F):", this);
    ask.SetText(m_path.string());
    if (ask.DoModal() == plat::IDOK && !ask.GetText().empty())
        OpenFile(ask.GetText());
}

void CoordinateFrame::OnFileSave() { Save(); }

void CoordinateFrame::OnFileSaveAs() { SaveAs(); }

void CoordinateFrame::OnFileImport()
{
    FinishEditing();
    KescInputDialog ask("読み込み", "SIMA または CSV ファイル(&F):", this);
    if (ask.DoModal() != plat::IDOK || ask.GetText().empty())
        return;
    ImportMode mode = ImportMode::Replace;
    if (m_data.GetLastInputRecordNo() >= 0) {
        switch (plat::MessageBox(this, "今の点を読み込む点で置き換えますか？\n（いいえ: 最後の点の後に追加します）", "読み込み",
                                 plat::MB_YESNOCANCEL | plat::MB_ICONQUESTION)) {
        case plat::IDYES: break;
        case plat::IDNO: mode = ImportMode::Append; break;
        default: return;
        }
    }
    const ExchangeReport report = ImportCoordinates(ask.GetText(), m_data, mode);
    if (report.outcome == ExchangeReport::Outcome::Overflow) {
        TavCoGrOverflowMessage(1, plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return;
    }
    if (!report.ok()) {
        plat::MessageBox(this, "読み込めませんでした。\n" + report.message, "読み込み", plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return;
    }
    m_lastMessage = "読み込みました";
    UpdateStatus();
    plat::MessageBox(this, report.message, "読み込み", plat::MB_OK | plat::MB_ICONINFORMATION);
}

void CoordinateFrame::OnFileExport()
{
    FinishEditing();
    KescInputDialog ask("書き出し", "ファイル名 (.sim または .csv)(&F):", this);
    std::filesystem::path suggested = m_path.empty() ? std::filesystem::path("座標.tcd") : m_path;
    ask.SetText(suggested.replace_extension(".sim").string());
    if (ask.DoModal() != plat::IDOK || ask.GetText().empty())
        return;
    const std::filesystem::path target = ask.GetText();
    CsvEncoding encoding = CsvEncoding::NarrowCodePage;
    if (KindForWriting(target) == ExchangeKind::Csv) {
        switch (plat::MessageBox(this, "UTF-8 (BOM 付き) で書き出しますか？\n（いいえ: シフト JIS）", "書き出し",
                                 plat::MB_YESNOCANCEL | plat::MB_ICONQUESTION)) {
        case plat::IDYES: encoding = CsvEncoding::Utf8WithMark; break;
        case plat::IDNO: break;
        default: return;
        }
    }
    if (plat::PathExists(target) &&
        plat::MessageBox(this, target.filename().string() + " は既にあります。\n上書きしますか？", "書き出し",
                         plat::MB_YESNO | plat::MB_ICONEXCLAMATION | plat::MB_DEFBUTTON2) != plat::IDYES)
        return;
    const std::string title = m_path.empty() ? std::string("座標一覧") : m_path.stem().string();
    const ExchangeReport report = ExportCoordinates(m_data, target, title, encoding);
    if (!report.ok()) {
        plat::MessageBox(this, "書き出せませんでした。\n" + report.message, "書き出し", plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return;
    }
    m_lastMessage = "書き出しました";
    UpdateStatus();
}

void CoordinateFrame::OnAppExit() { Quit(); }

void CoordinateFrame::OnHelpItem()
{
    // The grid's help is the caret item's topic, as F1 on the grid shows it.
    if (m_grid.IsWindow())
        static_cast<void>(m_grid.CommandHelp(0)); // without a topic nothing shows, as with F1
}

void CoordinateFrame::OnHelpIndex() { plat::GetApp()->WinHelp(0, plat::HELP_CONTENTS); }

void CoordinateFrame::OnAppAbout()
{
    plat::MessageBox(this, "座標一覧\ntavcell の座標一覧エディタ", "バージョン情報", plat::MB_OK | plat::MB_ICONINFORMATION);
}

void CoordinateFrame::OnUpdateViewSettings(plat::CmdUI* cmdUI) { cmdUI->Enable(TRUE); }

void CoordinateFrame::OnUpdateRead(plat::CmdUI* cmdUI)
{
    // The grid would take the command, but without the program nothing would be heard.
    cmdUI->Enable(m_grid.IsWindow() && SpeechAvailable());
}

void CoordinateFrame::OnUpdateGridCommand(plat::CmdUI* cmdUI)
{
    // Enabled only once the grid carries the command out; until then it says so by its grey.
    cmdUI->Enable(m_grid.IsWindow() && m_grid.OnCmdMsg(cmdUI->m_id, plat::CN_COMMAND, nullptr, true));
}

plat::LRESULT CoordinateFrame::OnSize(plat::WPARAM, plat::LPARAM)
{
    if (m_grid.IsWindow()) {
        const plat::RECT content = GetContentRect();
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
