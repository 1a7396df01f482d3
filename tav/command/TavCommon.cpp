// The shared behaviour of the grid windows: finding the manager, the state questions, the
// answers to in-place editing, selection and clipboard notifications, the input method
// switching, and the colours of warning, disabled and locked cells.
#include "tav/command/TavCommon.h"

#include "components/support/LunEdit.h"
#include "components/support/NifResource.h"
#include "components/support/QanNumEdit.h"
#include "components/support/TavcRadiusCtrl.h"
#include "platform/io/Errors.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Frames.h"
#include "platform/ui/Ime.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/UiContext.h"
#include "platform/ui/Wnd.h"
#include "tav/data/TavAttr.h"
#include "tav/data/TavData.h"
#include "tav/frame/TavFrame.h"
#include "tav/manager/TavManager.h"
#include "tav/settings/TavColorSetting.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

constexpr plat::UINT kIdleMessage = 0xE001;
constexpr plat::UINT kSetMessageString = 0x0362;
constexpr plat::UINT kNoLineSelected = 12;
constexpr plat::UINT kSeveralLinesSelected = 13;
constexpr plat::UINT kWarningOk = 0x30;
constexpr plat::COLORREF kHatchSecond = 0xD2D2D2;

MoxRect Shifted(const MoxRect& rect, std::int32_t rows)
{
    if (rect.IsEmpty())
        return rect;
    return MoxRect(MoxPos{rect.First().column, rect.First().row + rows}, MoxPos{rect.Second().column, rect.Second().row + rows});
}

struct CellBrushes {
    plat::Brush lock;
    plat::Brush disable;
};

CellBrushes& Brushes() { return plat::CurrentUiContext().Get<CellBrushes>(); }

} // namespace

const plat::Brush& TavCommon::LockBrush() { return Brushes().lock; }

const plat::Brush& TavCommon::DisableBrush() { return Brushes().disable; }

TavCommon::TavCommon() = default;

TavCommon::~TavCommon()
{
    if (m_manager != nullptr)
        m_manager->RemoveCachedIn(&m_manager);
}

plat::LRESULT TavCommon::Request(plat::UINT request, plat::WPARAM wParam, plat::LPARAM lParam)
{
    return m_window != nullptr ? m_window->SendMessage(request, wParam, lParam) : 0;
}

TavManager* TavCommon::ManagerPtr()
{
    if (m_manager == nullptr) {
        m_manager = reinterpret_cast<TavManager*>(Request(MOXM_GETEXTDATA));
        if (m_manager != nullptr)
            m_manager->AddCachedIn(&m_manager);
    }
    return m_manager;
}

TavManager& TavCommon::Manager()
{
    if (ManagerPtr() == nullptr)
        throw plat::InvalidArgument("the grid has no manager");
    return *m_manager;
}

bool TavCommon::IsBound() { return ManagerPtr() != nullptr && m_manager->Data() != nullptr; }

TavData& TavCommon::Data()
{
    if (!IsBound())
        throw plat::InvalidArgument("the grid's manager holds no table");
    return *m_manager->Data();
}

TavAttr& TavCommon::AttrWarning() { return Manager().AttrWarning(); }

TavAttr& TavCommon::AttrDisable() { return Manager().AttrDisable(); }

// ---- state questions ----

int TavCommon::QueryEditAble(const MoxPos& pos)
{
    MoxPos asked = pos;
    plat::RECT rect{0, 0, 0, 0};
    Request(MOXM_GETCELLRECT, reinterpret_cast<plat::WPARAM>(&asked), reinterpret_cast<plat::LPARAM>(&rect));
    if (rect.IsEmpty())
        return 0;
    if (QueryDisablePane(pos) != 0)
        return 0;
    return Manager().OnActiveControl(Manager().ColtoID(pos.column), pos.row);
}

int TavCommon::QueryDisablePane(const MoxPos& pos)
{
    TavAttr& attr = AttrDisable();
    return attr.IsCreate() ? attr.Get(Manager().ColtoID(pos.column), static_cast<long>(pos.row)) : 0;
}

int TavCommon::QueryWarningPane(const MoxPos& pos)
{
    TavAttr& attr = AttrWarning();
    return attr.IsCreate() ? attr.Get(Manager().ColtoID(pos.column), static_cast<long>(pos.row)) : 0;
}

int TavCommon::QueryLockPane(const MoxPos& pos)
{
    if (!Manager().QueryCellLock())
        return 0;
    const unsigned id = Manager().ColtoID(pos.column);
    if (m_lockIndexed) {
        // The last entry of the item that starts at or before the row; its reach says
        // whether any range up to it covers the row.
        const auto after = std::upper_bound(m_lockIndex.begin(), m_lockIndex.end(), std::pair{id, pos.row},
                                            [](const std::pair<unsigned, std::int32_t>& key, const LockEntry& entry) {
                                                return key.first != entry.id ? key.first < entry.id : key.second < entry.first;
                                            });
        if (after == m_lockIndex.begin())
            return 0;
        const LockEntry& entry = *(after - 1);
        return entry.id == id && entry.reach >= pos.row ? 1 : 0;
    }
    for (const TavLockData& lock : Data().Lock())
        if (lock.id == id && pos.row >= lock.first && pos.row <= lock.last)
            return 1;
    return 0;
}

void TavCommon::BeginCellPaint()
{
    m_lockIndexed = false;
    TavManager* manager = ManagerPtr();
    if (manager == nullptr || manager->Data() == nullptr || !manager->QueryCellLock())
        return;
    // Most repaints find the ranges as they were: the index stands.
    if (Data().Lock() == m_lockIndexSource && !m_lockIndexSource.IsEmpty()) {
        m_lockIndexed = true;
        return;
    }
    m_lockIndexSource = Data().Lock();
    m_lockIndex.clear();
    for (const TavLockData& lock : Data().Lock())
        if (lock.first <= lock.last)
            m_lockIndex.push_back({lock.id, lock.first, lock.last, lock.last});
    std::sort(m_lockIndex.begin(), m_lockIndex.end(), [](const LockEntry& a, const LockEntry& b) {
        return a.id != b.id ? a.id < b.id : a.first < b.first;
    });
    for (std::size_t i = 1; i < m_lockIndex.size(); ++i)
        if (m_lockIndex[i].id == m_lockIndex[i - 1].id)
            m_lockIndex[i].reach = std::max(m_lockIndex[i].reach, m_lockIndex[i - 1].reach);
    m_lockIndexed = true;
}

int TavCommon::QueryBlankLine(long record)
{
    long columns = 0;
    long rows = 0;
    Request(MOXM_GETCELLCOUNT, reinterpret_cast<plat::WPARAM>(&columns), reinterpret_cast<plat::LPARAM>(&rows));
    // Only what is shown counts: hidden items of the record may hold data.
    for (long column = 0; column < columns; ++column)
        if (!Data().QueryIsBlank(Manager().ColtoID(column), record))
            return 0;
    return 1;
}

int TavCommon::QueryIsLineSel(const std::vector<std::uint8_t>* flags, int single)
{
    if (flags == nullptr || flags->empty()) {
        NifMessageBox(TavGetModuleHandle(), kNoLineSelected, kWarningOk, m_window);
        return 0;
    }
    if (single != 0 && flags->size() >= 2) {
        NifMessageBox(TavGetModuleHandle(), kSeveralLinesSelected, kWarningOk, m_window);
        return 0;
    }
    for (const std::uint8_t flag : *flags) {
        if ((flag & MoxRectArray::kWholeLines) == 0) {
            NifMessageBox(TavGetModuleHandle(), kNoLineSelected, kWarningOk, m_window);
            return 0;
        }
    }
    return static_cast<int>(flags->size());
}

int TavCommon::QueryMessageString(plat::UINT& id)
{
    id = kIdleMessage;
    TavManager* manager = ManagerPtr();
    if (manager == nullptr)
        return 0;
    MoxPos caret{0, 0};
    Request(MOXM_GETCARET, reinterpret_cast<plat::WPARAM>(&caret));
    id = manager->ColtoID(caret.column);
    return 1;
}

// ---- services bound to the window's life ----

plat::UINT TavCommon::GetDlgCode(plat::UINT code) const noexcept
{
    // While lines are marked for a command, Return and Escape belong to the grid, not the dialog.
    if (m_lineCommand != 0)
        return plat::DLGC_WANTALLKEYS | plat::DLGC_DEFPUSHBUTTON | plat::DLGC_WANTCHARS;
    return code;
}

void TavCommon::ImeNotify(plat::UINT notification)
{
    // The library's own changes are not the user's choice.
    if (m_imeGuard != 0 || notification != plat::IMN_SETOPENSTATUS)
        return;
    if (plat::HIMC context = plat::ImmGetContext(m_window)) {
        m_imeState = plat::ImmGetOpenStatus(context);
        plat::ImmReleaseContext(m_window, context);
    }
}

void TavCommon::SwitchInputMethod(long column)
{
    int flag = 0;
    plat::Wnd* control = Manager().OnGetControl(Manager().ColtoID(column), flag);
    const bool numeric = dynamic_cast<QanNumEdit*>(control) != nullptr;
    plat::HIMC context = plat::ImmGetContext(m_window);
    if (context == nullptr)
        return;
    const bool open = plat::ImmGetOpenStatus(context) != FALSE;
    if (open && numeric) {
        // Open here, it was the person's choice (or given back as theirs): a text column
        // gives it back, even when they opened it before this grid could hear of it.
        m_imeState = 1;
        m_imeGuard = 1;
        plat::ImmSetOpenStatus(context, FALSE);
        m_imeGuard = 0;
    } else if (!open && !numeric && m_imeState != 0) {
        m_imeGuard = 1;
        plat::ImmSetOpenStatus(context, TRUE);
        m_imeGuard = 0;
    }
    plat::ImmReleaseContext(m_window, context);
}

void TavCommon::AllowComposition(const MoxPos& caret)
{
    plat::HIMC context = plat::ImmGetContext(m_window);
    if (context == nullptr || ManagerPtr() == nullptr)
        return;
    int flag = 0;
    plat::Wnd* control = Manager().OnGetControl(Manager().ColtoID(caret.column), flag);
    const auto* editor = dynamic_cast<const plat::Edit*>(control);
    const bool takesText = editor != nullptr && editor->TakesComposedText();
    plat::ImmAllowComposition(context, takesText && m_lineCommand == 0 && QueryDisablePane(caret) == 0);
    plat::ImmReleaseContext(m_window, context);
}

void TavCommon::UserResize(long column, int width)
{
    OnUserResize(column, width);
    long item = column;
    if (!Manager().ChangeDispNumber(item, FALSE))
        return;
    Data().SetItemWidth(item, static_cast<unsigned>(std::max(width, 0)));
}

void TavCommon::SetColSize()
{
    TavManager* manager = ManagerPtr();
    if (manager == nullptr || manager->Data() == nullptr || !manager->QueryAutoWidth())
        return;
    manager->SetColWidth(FALSE);
    m_window->Invalidate(FALSE);
}

void TavCommon::SetOwnerWindow()
{
    plat::Wnd* up = m_window->GetParent();
    if (up == nullptr)
        return;
    for (;; up = up->GetParent()) {
        if (up == nullptr)
            return; // no frame, page or dialog above: the owner stays
        if (dynamic_cast<plat::FrameWnd*>(up))
            break;
        if (dynamic_cast<plat::PropertyPage*>(up)) {
            m_window->SetOwner(up->GetParent());
            return;
        }
        if (dynamic_cast<plat::Dialog*>(up)) {
            m_window->SetOwner(up);
            return;
        }
    }
    if (auto* child = dynamic_cast<plat::MDIChildWnd*>(up))
        m_window->SetOwner(child->GetMDIFrame());
    else
        m_window->SetOwner(up);
}

void TavCommon::DestroyCellWindow()
{
    if (TavManager* manager = ManagerPtr())
        manager->Abscind();
}

// ---- in-place editing, selection, clipboard ----

int TavCommon::BeginPaneEdit(const MoxPos& pos)
{
    if (m_lineCommand != 0 || QueryDisablePane(pos) != 0)
        return 1;
    return OnBeginEdit(Manager().ColtoID(pos.column), pos.row) > 0 ? 0 : 1;
}

void TavCommon::ShowPaneEdit(const MoxPos& /*pos*/, plat::Wnd* editor)
{
    // What the editor showed before any typing: its undo goes back to it.
    m_editOriginal = editor != nullptr ? editor->GetWindowText() : std::string();
    m_editUndone.clear();
    if (editor == nullptr || LunGetEdit(editor) == nullptr)
        return;
    const TavRegisteredMessages& messages = TavMessages();
    editor->SendMessage(messages.editSetDialogMode, 0, 0);
    editor->SendMessage(messages.editEnableCheck, 0, 0);
    editor->SendMessage(messages.editResetTempText, 0, 0);
}

int TavCommon::EndPaneEdit(const MoxPos& pos)
{
    if (auto* editor = reinterpret_cast<plat::Wnd*>(Request(MOXM_GETEDITOR))) {
        if (LunGetEdit(editor) != nullptr && editor->SendMessage(TavMessages().editCheck, 0, 0) == 0)
            return 1;
        if (auto* radius = dynamic_cast<TavcRadiusCtrl*>(editor); radius != nullptr && !radius->IsDataOK())
            return 1;
    }
    if (OnEndEdit(Manager().ColtoID(pos.column), pos.row) <= 0)
        return 1;
    // The grid stores the value next and then says so (MOXN_EDITSTORED): one step.
    // A step the grid never closed (an exception stopped it) is gone: this input gets its own.
    if (TavUndoHistory* history = History(); !m_editStep || (history != nullptr && !history->IsStepOpen())) {
        OpenUndoStep("入力");
        m_editStep = true;
    }
    return 0;
}

int TavCommon::SelChanging(const MoxPos& from, const MoxPos& to)
{
    if (m_lineCommand == 0)
        return OnSelChanging(from, to) > 0 ? 0 : 1;
    // A pending line command drags its blocks with the caret, never off the table.
    std::int32_t shift = to.row - from.row;
    long columns = 0;
    long rows = 0;
    Request(MOXM_GETCELLCOUNT, reinterpret_cast<plat::WPARAM>(&columns), reinterpret_cast<plat::LPARAM>(&rows));
    bool refused = false;
    if (m_dstBounds.Top() + shift < 0 || m_dstBounds.Bottom() + shift > rows) {
        shift = 0;
        refused = true;
    }
    m_dstBounds = Shifted(m_dstBounds, shift);
    for (std::size_t i = 0; i < m_dstBlocks.GetSize(); ++i)
        m_dstBlocks.SetAt(i, Shifted(m_dstBlocks.GetAt(i), shift));
    Request(MOXM_SETSELECTION, reinterpret_cast<plat::WPARAM>(&m_dstBlocks));
    return refused ? 1 : 0;
}

void TavCommon::SelChanged(const MoxPos& from, const MoxPos& to)
{
    if (m_lineCommand != 0)
        return;
    SetMessageString();
    if (from.column != to.column)
        SwitchInputMethod(to.column);
    AllowComposition(to);
    OnSelChanged(from, to);
}

void TavCommon::EscapeKeyDown()
{
    if (m_lineCommand == 0)
        return;
    OnCancelLineEdit();
    // The selection falls back to the caret cell.
    MoxPos caret;
    Request(MOXM_GETCARET, reinterpret_cast<plat::WPARAM>(&caret));
    Request(MOXM_SETCARET, reinterpret_cast<plat::WPARAM>(&caret));
}

void TavCommon::EditCut()
{
    const TavUndoStep step(History(), "切り取り");
    if (Request(MOXM_COPY) != 0)
        Request(MOXM_CLEAR);
}

void TavCommon::EditCopy() { Request(MOXM_COPY); }

void TavCommon::EditPaste()
{
    // The flag ends with the paste, an exception included, or later edits would pass for pastes.
    struct Pasting {
        int& flag;
        ~Pasting() { flag = 0; }
    } pasting{m_paste};
    m_paste = 1;
    Request(MOXM_PASTE);
    Request(MOXM_SETLINEMARK, 0);
}

void TavCommon::EditOpen() { Request(MOXM_OPENEDITOR); }

int TavCommon::FixedCellText(const MoxPos& pos, std::string& text)
{
    if (OnFixedCellText(pos, text))
        return 1;
    if (pos.column == 0 && pos.row == 0) {
        text = "No.";
        return 1;
    }
    return 0;
}

int TavCommon::FixedColText(const MoxPos& pos, std::string& text) { return Manager().OnSetFixedColText(pos, text); }

int TavCommon::FixedRowText(const MoxPos& pos, std::string& text) { return Manager().OnSetFixedRowText(pos, text); }

int TavCommon::GetControl(const MoxPos& pos, plat::Wnd** control) { return Manager().GetControl(pos, control); }

void TavCommon::DrawItem(const MOX_DRAWITEMSTRUCT& item) { Manager().DrawItem(item.dc, item.column, item.row, &item.rect); }

void TavCommon::TermChange()
{
    if (TavManager* manager = ManagerPtr())
        manager->TermChange();
}

void TavCommon::SetMessageString()
{
    if (m_window == nullptr || plat::Wnd::GetFocus() != m_window || !m_window->IsWindowVisible())
        return;
    plat::UINT id = 0;
    if (!QueryMessageString(id))
        return;
    std::string prompt = NifLoadString(Manager().GetResourceModule(), id);
    if (prompt.size() > 512)
        prompt.resize(512);
    prompt = prompt.substr(0, prompt.find('\n'));
    plat::Wnd* owner = m_window->GetOwner();
    if (!prompt.empty() && plat::IsWindow(owner))
        owner->SendMessage(kSetMessageString, 0, reinterpret_cast<plat::LPARAM>(prompt.c_str()));
}

void TavCommon::EndLineCommand()
{
    Request(MOXM_SETSELECTION, reinterpret_cast<plat::WPARAM>(&m_dstBlocks));
    m_lineCommand = 0;
    Request(MOXM_SETLINEMARK, 0);
    m_dstBlocks.RemoveAll();
}

// ---- colours ----

plat::Brush* TavCommon::CellCtlColor(const MoxPos& cell, plat::DC& dc)
{
    // Warning text wins over the host's colour; disabled hatching over locked.
    plat::COLORREF colour = 0;
    if (QueryWarningPane(cell) != 0)
        dc.SetTextColor(m_warningTextColor);
    else if (OnGetPaneTextColor(cell, colour))
        dc.SetTextColor(colour);
    if (QueryDisablePane(cell) != 0)
        return &Brushes().disable;
    if (QueryLockPane(cell) != 0)
        return &Brushes().lock;
    return nullptr;
}

void TavCommon::CreateResourceObject()
{
    TavColorSetting settings;
    static_cast<void>(settings.Load());
    const auto disabled = static_cast<plat::COLORREF>(Request(MOXM_GETCOLOR, MOXC_DISABLED));
    CreateBrush(Brushes().lock, settings.m_lockBackColor, kHatchSecond);
    CreateBrush(Brushes().disable, disabled, kHatchSecond);
    m_warningTextColor = settings.m_warningTextColor;
}

void TavCommon::CreateBrush(plat::Brush& brush, plat::COLORREF first, plat::COLORREF second)
{
    brush.DeleteObject();
    plat::ClientDC client(plat::IsWindow(m_window) ? m_window : nullptr);
    plat::Bitmap bitmap;
    bitmap.CreateBitmap(8, 8);
    plat::DC memory;
    memory.CreateCompatibleDC(nullptr);
    plat::Bitmap* previous = memory.SelectObject(&bitmap);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y)
            memory.SetPixel(x, y, (x + y) % 2 != 0 ? first : second);
    memory.SelectObject(previous);
    brush.CreatePatternBrush(bitmap);
}

// ---- hooks ----

int TavCommon::OnFixedCellText(const MoxPos& /*corner*/, std::string& /*text*/) { return 0; }
int TavCommon::OnSelChanging(const MoxPos& /*from*/, const MoxPos& /*to*/) { return 1; }
void TavCommon::OnSelChanged(const MoxPos& /*from*/, const MoxPos& /*to*/) {}
int TavCommon::OnBeginEdit(unsigned /*id*/, long /*record*/) { return 1; }
int TavCommon::OnEndEdit(unsigned /*id*/, long /*record*/) { return 1; }
void TavCommon::OnUserResize(long /*column*/, int /*width*/) {}
int TavCommon::OnCheckSrcLineEditArea(const MoxRectArray& /*blocks*/) { return 1; }
int TavCommon::OnCheckDstLineEditArea(const MoxRectArray& /*blocks*/) { return 1; }
void TavCommon::OnBeginLineEdit() {}
void TavCommon::OnFinishLineEdit() { EndLineCommand(); }
void TavCommon::OnCancelLineEdit() { EndLineCommand(); }
int TavCommon::OnFindCompare(unsigned /*id*/, long /*record*/, const void* /*value*/, unsigned /*size*/, int& /*result*/)
{
    return 0;
}
int TavCommon::OnChangeCurPos(const MoxPos& /*from*/, const MoxPos& /*to*/) { return 1; }
int TavCommon::OnEnableFindCommand(unsigned /*id*/) { return 1; }
int TavCommon::OnBeginCopy() { return 1; }
void TavCommon::OnEndCopy() {}
int TavCommon::OnBeginPaste() { return 1; }
void TavCommon::OnEndPaste() {}
int TavCommon::OnBeginDelete() { return 1; }
void TavCommon::OnEndDelete() {}
bool TavCommon::OnGetPaneTextColor(const MoxPos& /*cell*/, plat::COLORREF& /*colour*/) { return false; }

// The manager's question about a paste in progress is answered by the window it is bound to.
int TavManager::IsPasteData() const
{
    const auto* common = dynamic_cast<const TavCommon*>(m_cell.Get());
    return common != nullptr ? common->IsPasting() : 0;
}
