// The frame's menus, routing and document commands.
#include "LotFrame.h"

#include "LotCsv.h"
#include "LotData.h"
#include "LotResources.h"
#include "components/mox/MoxMessages.h"
#include "components/mox/MoxRectArray.h"
#include "components/support/KescInputDialog.h"
#include "components/support/NifCommonMenu.h"
#include "platform/io/Archive.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/ui/App.h"
#include "platform/ui/Help.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/Renderer.h"
#include "tav/data/TavAttr.h"
#include "tav/frame/TavFrame.h"
#include "tav/settings/TavColorPage.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace lots {

namespace {

// Posted to the frame after each input, when what the input changed is known.
constexpr plat::UINT kUpdateStatus = plat::WM_USER + 0x301;
constexpr plat::UINT kGridId = 100;
constexpr const char* kTitle = "地番一覧";

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

// ファイル, the suite's shared 編集 and ｾﾙ, ツール and ヘルプ.
void MakeMenuBar(plat::Menu& bar)
{
    bar.CreateMenu();
    plat::Menu file;
    file.CreatePopupMenu();
    file.AppendMenu(plat::MF_STRING, ID_FILE_OPEN, "開く(&O)...\tCtrl+O");
    file.AppendMenu(plat::MF_STRING, ID_FILE_SAVE, "上書き保存(&S)\tCtrl+S");
    file.AppendMenu(plat::MF_STRING, ID_FILE_SAVE_AS, "名前を付けて保存(&A)...");
    file.AppendMenu(plat::MF_SEPARATOR);
    file.AppendMenu(plat::MF_STRING, LotFrame::ID_FILE_IMPORT, "読み込み(&I)...");
    file.AppendMenu(plat::MF_STRING, LotFrame::ID_FILE_EXPORT, "書き出し(&E)...");
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
    tools.AppendMenu(plat::MF_STRING, LotFrame::ID_TOOLS_SORT, "地番順に並べ替え(&S)");
    tools.AppendMenu(plat::MF_STRING, LotFrame::ID_TOOLS_OPTIONS, "オプション(&O)...");
    AppendPopup(bar, tools, "ツール(&T)");
    plat::Menu help;
    help.CreatePopupMenu();
    help.AppendMenu(plat::MF_STRING, ID_HELP, "項目の説明(&I)\tF1");
    help.AppendMenu(plat::MF_STRING, ID_HELP_INDEX, "目次(&C)");
    help.AppendMenu(plat::MF_SEPARATOR);
    help.AppendMenu(plat::MF_STRING, ID_APP_ABOUT, "バージョン情報(&A)...");
    AppendPopup(bar, help, "ヘルプ(&H)");
}

// [guide:load]
// A document is the record table and nothing after it: bytes past its end mark a damaged or
// foreign file. They are found only after reading, so a document is read into a table aside.
void ReadDocument(std::span<const std::uint8_t> bytes, TavData& table)
{
    plat::Archive archive = plat::Archive::ForLoading(bytes);
    table.Serialize(archive);
    if (archive.Remaining() != 0)
        throw plat::ArchiveError(std::to_string(archive.Remaining()) + " bytes after the end of the document");
}
// [/guide:load]

// The numbers of a lot number, part by part ("12-3" is {12, 3}), for a numeric order.
std::vector<unsigned long> LotNumberParts(const std::string& text)
{
    std::vector<unsigned long> parts;
    const char* at = text.c_str();
    while (*at != '\0') {
        char* end = nullptr;
        parts.push_back(std::strtoul(at, &end, 10));
        at = *end == '-' ? end + 1 : end;
        if (end == at && *end != '\0')
            break;
    }
    return parts;
}

} // namespace

BEGIN_MESSAGE_MAP(LotFrame, plat::FrameWnd)
    ON_MESSAGE(plat::WM_SIZE, OnSize)
    ON_MESSAGE(plat::WM_CLOSE, OnClose)
    ON_MESSAGE(kUpdateStatus, OnGridChanged)
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
    ON_COMMAND(ID_TOOLS_SORT, OnToolsSort)
    ON_UPDATE_COMMAND_UI_RANGE(0xC100, 0xC3FF, OnUpdateGridCommand)
    ON_UPDATE_COMMAND_UI_RANGE(plat::ID_EDIT_PASTE_SPECIAL, plat::ID_EDIT_REDO, OnUpdateGridCommand)
END_MESSAGE_MAP()

LotFrame::LotFrame(LotManager& manager, TavData& data) : m_manager(manager), m_data(data)
{
    m_grid.SetChangeMessage(kUpdateStatus);
}

// [guide:window]
bool LotFrame::Open(plat::SIZE screen)
{
    if (!Create("LotFrame", kTitle, plat::WS_VISIBLE, plat::RECT{0, 0, screen.cx, screen.cy}, nullptr, 0))
        return false;
    MakeMenuBar(m_menuBar);
    SetMenu(&m_menuBar);
    // The status line finds the prompts of the program's own commands in its module.
    plat::AddMessageStringModule(&LotModule());
    if (!m_grid.Create(plat::WS_VISIBLE, GetContentRect(), this, kGridId))
        return false;
    // Binding makes the editors, takes the template and hands the table to the grid.
    m_manager.Associate(&m_grid, &m_data);
    m_grid.SetFocus();
    UpdateStatus();
    return true;
}
// [/guide:window]

void LotFrame::SetDocumentPath(std::filesystem::path path)
{
    m_path = std::move(path);
    UpdateStatus();
}

void LotFrame::UpdateStatus()
{
    const std::string name = m_path.empty() ? std::string("(無題)") : m_path.filename().string();
    SetWindowText(std::string(kTitle) + " - " + name + (m_data.IsModified() ? " *" : ""));
    m_grid.SetMessageString();
    std::string indicators = m_lastMessage.empty() ? std::string() : m_lastMessage + "   ";
    if (m_grid.QueryLineCommand() != 0)
        indicators += "↑↓ 移動先  Enter 実行  Esc 取消   ";
    indicators += "行 " + std::to_string(m_grid.GetCaret().row + 1) + "   F10 メニュー  F1 ヘルプ  Ctrl+Q 終了";
    SetIndicatorText(indicators);
}

void LotFrame::FinishEditing()
{
    if (m_grid.IsWindow() && m_grid.SendMessage(MOXM_ISEDITING) != 0)
        m_grid.SendMessage(MOXM_CLOSEEDITOR, 1);
}

// [guide:save]
bool LotFrame::Save()
{
    FinishEditing();
    if (m_path.empty()) {
        KescInputDialog ask("名前を付けて保存", "ファイル名(&F):", this);
        ask.SetText("地番.tld");
        if (ask.DoModal() != plat::IDOK || ask.GetText().empty())
            return false;
        m_path = ask.GetText();
    }
    try {
        plat::Archive archive = plat::Archive::ForStoring();
        m_data.Serialize(archive);
        archive.SaveFile(m_path); // a new file in place of the old, or the old one untouched
    } catch (const plat::ArchiveError& error) {
        plat::MessageBox(this, std::string("保存できませんでした。\n") + error.what(), kTitle, plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return false;
    }
    m_data.SetModifiedFlag(FALSE); // also the undo history's saved point
    m_lastMessage = "保存しました";
    UpdateStatus();
    return true;
}
// [/guide:save]

bool LotFrame::OpenFile(const std::filesystem::path& path)
{
    std::vector<std::uint8_t> bytes;
    if (const std::error_code error = plat::ReadWholeFile(path, bytes)) {
        FinishEditing();
        ShowOpenError("cannot read " + path.string() + ": " + error.message());
        return false;
    }
    return OpenDocument(bytes, path);
}

void LotFrame::ShowOpenError(const std::string& why)
{
    plat::MessageBox(this, "ファイルを開けませんでした。\n" + why, kTitle, plat::MB_OK | plat::MB_ICONEXCLAMATION);
}

// [guide:open]
bool LotFrame::OpenDocument(std::span<const std::uint8_t> bytes, const std::filesystem::path& path)
{
    FinishEditing();
    try {
        LotData read;
        ReadDocument(bytes, read);
        // More lots than rows: the library's own message, and the editor keeps its table.
        if (m_manager.GetOverflowRecordCount(read) > 0) {
            TavCoGrOverflowMessage(0, plat::MB_OK | plat::MB_ICONEXCLAMATION);
            return false;
        }
        if (const long unknown = m_manager.GetUnknownItemCount(read); unknown > 0) {
            const std::string text = "この文書には、この版では扱えない項目が " + std::to_string(unknown) +
                                     " 個あります。\n開いて保存すると、その項目のデータは失われます。\n開きますか？";
            if (plat::MessageBox(this, text, kTitle, plat::MB_YESNO | plat::MB_ICONEXCLAMATION | plat::MB_DEFBUTTON2) != plat::IDYES)
                return false;
        }
        ReadDocument(bytes, m_data);
    } catch (const plat::ArchiveError& error) {
        ShowOpenError(error.what());
        return false;
    }
    m_manager.Associate(&m_grid, &m_data);
    m_data.SetModifiedFlag(FALSE);
    m_path = path;
    m_lastMessage = "開きました";
    m_grid.Invalidate();
    UpdateStatus();
    return true;
}
// [/guide:open]

bool LotFrame::CanLeave()
{
    FinishEditing();
    if (!m_data.IsModified())
        return true;
    switch (plat::MessageBox(this, "変更を保存しますか？", kTitle, plat::MB_YESNOCANCEL | plat::MB_ICONQUESTION)) {
    case plat::IDYES: return Save();
    case plat::IDNO: return true;
    default: return false;
    }
}

void LotFrame::Quit()
{
    if (CanLeave())
        DestroyWindow();
}

void LotFrame::SelectLines(long first, long last)
{
    MoxRectArray lines;
    const auto lastColumn = static_cast<std::int32_t>(m_grid.GetColumnCount() - 1);
    lines.Add(MoxRect(MoxPos{0, static_cast<std::int32_t>(first)}, MoxPos{lastColumn, static_cast<std::int32_t>(last)}),
              MoxRectArray::kWholeLines);
    m_grid.SendMessage(MOXM_SETSELECTION, reinterpret_cast<plat::WPARAM>(&lines));
}

// [guide:lines]
bool LotFrame::InsertLines(long before, long count)
{
    // Line commands work on the selected whole lines, as when a person selected them; the
    // command is one undo step of its own, and the marks and locks move with their lines.
    SelectLines(before, before + count - 1);
    return m_grid.LineInsert() == 1;
}

bool LotFrame::SortByLotNumber()
{
    FinishEditing();
    const long last = m_data.GetLastInputRecordNo();
    if (last < 1)
        return false;
    const long items = m_manager.GetItemCount();
    std::vector<long> order(static_cast<std::size_t>(last + 1));
    std::vector<std::vector<unsigned long>> keys(order.size());
    std::vector<std::vector<std::uint8_t>> cells(order.size() * static_cast<std::size_t>(items));
    for (long record = 0; record <= last; ++record) {
        order[static_cast<std::size_t>(record)] = record;
        std::string lotNo;
        // A lot without a number reads as empty and goes last.
        static_cast<void>(m_data.Get(static_cast<unsigned>(kLotNo), record, lotNo));
        keys[static_cast<std::size_t>(record)] = LotNumberParts(lotNo);
        for (long item = 0; item < items; ++item) {
            auto& cell = cells[static_cast<std::size_t>(record * items + item)];
            cell.resize(m_data.OnGetDataSize(item));
            if (!m_data.Get(item, record, cell.data(), static_cast<unsigned>(cell.size())))
                cell.clear(); // blank stays blank
        }
    }
    // Lots without a number go last, in their order.
    std::stable_sort(order.begin(), order.end(), [&](long a, long b) {
        const auto& left = keys[static_cast<std::size_t>(a)];
        const auto& right = keys[static_cast<std::size_t>(b)];
        return !left.empty() && (right.empty() || left < right);
    });
    // Every cell written inside the step is one undo; a cell the table refuses puts all back.
    TavUndoHistory& history = m_data.History();
    history.OpenStep("並べ替え");
    for (long record = 0; record <= last; ++record) {
        for (long item = 0; item < items; ++item) {
            const auto& cell = cells[static_cast<std::size_t>(order[static_cast<std::size_t>(record)] * items + item)];
            const plat::BOOL written = cell.empty() ? m_data.Delete(item, record)
                                                    : m_data.Set(item, record, cell.data(), static_cast<unsigned>(cell.size()));
            if (!written) {
                history.CancelStep();
                m_grid.Invalidate();
                return false;
            }
        }
    }
    history.CloseStep();
    m_grid.Invalidate();
    UpdateStatus();
    return true;
}
// [/guide:lines]

bool LotFrame::PreTranslateInput(const plat::InputEvent& event)
{
    PostMessage(kUpdateStatus);
    if (event.kind == plat::InputEvent::Kind::Close) {
        Quit();
        return true;
    }
    if (event.kind != plat::InputEvent::Kind::Key)
        return false;
    if (event.control && !event.shift && !event.alt) {
        const plat::UINT command = event.key == 'Q' ? ID_APP_EXIT : event.key == 'S' ? ID_FILE_SAVE : event.key == 'O' ? ID_FILE_OPEN : 0;
        if (command != 0) {
            SendMessage(plat::WM_COMMAND, command);
            return true;
        }
    }
    if (GridKey(event))
        return true;
    m_lastMessage.clear();
    return false;
}

bool LotFrame::GridKey(const plat::InputEvent& event)
{
    // Only while the grid has the keys and no cell is being edited: then they are the editor's.
    if (plat::Wnd::GetFocus() != &m_grid || m_grid.SendMessage(MOXM_ISEDITING) != 0)
        return false;
    const bool plain = !event.control && !event.shift && !event.alt;
    const bool controlOnly = event.control && !event.shift && !event.alt;
    const MoxRectArray& selection = m_grid.GetSelection();
    bool wholeLines = !selection.IsEmpty();
    for (std::size_t i = 0; i < selection.GetSize(); ++i)
        wholeLines = wholeLines && (selection.GetFlags(i) & MoxRectArray::kWholeLines) != 0;
    plat::UINT command = 0;
    if (controlOnly)
        command = event.key == 'F' ? NifCommand::Find : event.key == 'G' ? NifCommand::Jump : 0;
    else if (plain && event.key == plat::VK_INSERT)
        command = NifCommand::LineInsert;
    else if (plain && event.key == plat::VK_DELETE && wholeLines)
        command = NifCommand::LineDelete; // cells selected: Delete clears them, as the grid does
    if (command != 0) {
        m_grid.SendMessage(plat::WM_COMMAND, command);
        UpdateStatus();
        return true;
    }
    if (controlOnly && event.key == 'L' && !selection.IsEmpty()) {
        SelectLines(selection.GetAt(0).Top(), selection.GetAt(selection.GetSize() - 1).Bottom());
        return true;
    }
    return false;
}

void LotFrame::OnFileOpen()
{
    if (!CanLeave())
        return;
    KescInputDialog ask("開く", "ファイル名(&F):", this);
    ask.SetText(m_path.string());
    if (ask.DoModal() == plat::IDOK && !ask.GetText().empty())
        OpenFile(ask.GetText());
}

void LotFrame::OnFileSave() { Save(); }

void LotFrame::OnFileSaveAs()
{
    FinishEditing();
    KescInputDialog ask("名前を付けて保存", "ファイル名(&F):", this);
    ask.SetText(m_path.empty() ? std::string("地番.tld") : m_path.string());
    if (ask.DoModal() != plat::IDOK || ask.GetText().empty())
        return;
    const std::filesystem::path old = m_path;
    m_path = ask.GetText();
    if (!Save()) {
        m_path = old; // the table still belongs where it came from
        UpdateStatus();
    }
}

bool LotFrame::ImportCsv(const std::filesystem::path& path, bool replace)
{
    FinishEditing();
    const auto refuse = [&](const std::string& why) {
        plat::MessageBox(this, "読み込めませんでした。\n" + why, "読み込み", plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return false;
    };
    std::vector<std::uint8_t> bytes;
    if (const std::error_code error = plat::ReadWholeFile(path, bytes))
        return refuse(path.string() + " を読めません: " + error.message());
    const long last = m_data.GetLastInputRecordNo();
    bool overflow = false;
    LotCsvImport import = ReadLotCsv(m_data, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                                     replace ? 0 : last + 1, overflow);
    const auto where = [&] {
        std::string text = path.filename().string() + " の " + std::to_string(import.errorRow) + " 行目";
        if (import.errorColumn > 0)
            text += " " + std::to_string(import.errorColumn) + " 列目";
        return text + ": " + import.error;
    };
    if (overflow) {
        TavCoGrOverflowMessage(0, plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return false;
    }
    if (!import.ok)
        return refuse(where());
    TavUndoHistory& history = m_data.History();
    history.OpenStep("読み込み");
    // The lots replaced go as a line delete takes them, their marks and lock ranges with them.
    if (replace && last >= 0) {
        const long count = last + 1;
        const TavLockArray locksBefore = m_data.Lock();
        history.AddRemovedRecords(0, count);
        m_data.RemoveRecord(0, count);
        m_manager.AttrWarning().RemoveRecord(0, count, 0);
        m_manager.AttrDisable().RemoveRecord(0, count, 0);
        TavLockArray kept;
        for (const TavLockData& lock : locksBefore) {
            const long firstLine = std::max(long{lock.first} - count, 0L);
            const long lastLine = long{lock.last} - count;
            if (lock.first > lock.last)
                kept.Add(lock);
            else if (firstLine <= lastLine)
                kept.Add({lock.id, static_cast<std::int32_t>(firstLine), static_cast<std::int32_t>(lastLine)});
        }
        m_data.SetLocks(std::move(kept));
    }
    if (!ApplyLotCsv(m_data, import)) {
        history.CancelStep();
        m_grid.Invalidate();
        return refuse(where());
    }
    history.CloseStep();
    m_grid.Invalidate();
    m_lastMessage = std::to_string(import.records) + " 筆を読み込みました";
    UpdateStatus();
    return true;
}

bool LotFrame::ExportCsv(const std::filesystem::path& path, plat::CsvEncoding encoding)
{
    FinishEditing();
    std::string bytes;
    std::string why;
    if (!WriteLotCsv(m_data, encoding, bytes))
        why = "シフト JIS で表せない文字があります。UTF-8 で書き出してください。";
    else if (const std::error_code error = plat::WriteFileAtomically(path, bytes))
        why = path.string() + " に書き出せません: " + error.message();
    if (!why.empty()) {
        plat::MessageBox(this, "書き出せませんでした。\n" + why, "書き出し", plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return false;
    }
    m_lastMessage = "書き出しました";
    UpdateStatus();
    return true;
}

void LotFrame::OnFileImport()
{
    FinishEditing();
    KescInputDialog ask("読み込み", "CSV ファイル(&F):", this);
    if (ask.DoModal() != plat::IDOK || ask.GetText().empty())
        return;
    bool replace = true;
    if (m_data.GetLastInputRecordNo() >= 0) {
        switch (plat::MessageBox(this, "今の地番を読み込む地番で置き換えますか？\n（いいえ: 最後の地番の後に追加します）", "読み込み",
                                 plat::MB_YESNOCANCEL | plat::MB_ICONQUESTION)) {
        case plat::IDYES: break;
        case plat::IDNO: replace = false; break;
        default: return;
        }
    }
    ImportCsv(ask.GetText(), replace);
}

void LotFrame::OnFileExport()
{
    FinishEditing();
    KescInputDialog ask("書き出し", "CSV ファイル名(&F):", this);
    std::filesystem::path suggested = m_path.empty() ? std::filesystem::path("地番.tld") : m_path;
    ask.SetText(suggested.replace_extension(".csv").string());
    if (ask.DoModal() != plat::IDOK || ask.GetText().empty())
        return;
    plat::CsvEncoding encoding = plat::CsvEncoding::NarrowCodePage;
    switch (plat::MessageBox(this, "UTF-8 (BOM 付き) で書き出しますか？\n（いいえ: シフト JIS）", "書き出し",
                             plat::MB_YESNOCANCEL | plat::MB_ICONQUESTION)) {
    case plat::IDYES: encoding = plat::CsvEncoding::Utf8WithMark; break;
    case plat::IDNO: break;
    default: return;
    }
    const std::filesystem::path target = ask.GetText();
    if (plat::PathExists(target) &&
        plat::MessageBox(this, target.filename().string() + " は既にあります。\n上書きしますか？", "書き出し",
                         plat::MB_YESNO | plat::MB_ICONEXCLAMATION | plat::MB_DEFBUTTON2) != plat::IDYES)
        return;
    ExportCsv(target, encoding);
}

void LotFrame::OnAppExit() { Quit(); }

void LotFrame::OnHelpItem()
{
    if (m_grid.IsWindow())
        static_cast<void>(m_grid.CommandHelp(0)); // without a topic nothing shows, as with F1
}

void LotFrame::OnHelpIndex() { plat::GetApp()->WinHelp(0, plat::HELP_CONTENTS); }

void LotFrame::OnAppAbout()
{
    plat::MessageBox(this, "地番一覧\ntavcell の地番一覧エディタ", "バージョン情報", plat::MB_OK | plat::MB_ICONINFORMATION);
}

void LotFrame::OnToolsOptions()
{
    // The library's cell page: colours of warning and locked cells and the grid font, kept for
    // every program that uses the library.
    TavColorPage cells;
    plat::PropertySheet sheet("オプション", this);
    sheet.AddPage(&cells);
    sheet.DoModal();
}

void LotFrame::OnToolsSort() { SortByLotNumber(); }

void LotFrame::OnUpdateGridCommand(plat::CmdUI* cmdUI)
{
    cmdUI->Enable(m_grid.IsWindow() && m_grid.OnCmdMsg(cmdUI->m_id, plat::CN_COMMAND, nullptr, true));
}

plat::LRESULT LotFrame::OnSize(plat::WPARAM, plat::LPARAM)
{
    if (m_grid.IsWindow()) {
        m_grid.MoveWindow(GetContentRect());
        if (m_data.Manager() == &m_manager)
            m_manager.SetColWidth(TRUE); // automatic widths follow the window
    }
    return 0;
}

plat::LRESULT LotFrame::OnClose(plat::WPARAM, plat::LPARAM)
{
    Quit();
    return 0;
}

plat::LRESULT LotFrame::OnGridChanged(plat::WPARAM, plat::LPARAM)
{
    UpdateStatus();
    return 0;
}

} // namespace lots
