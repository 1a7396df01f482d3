// Binding a record table and a grid window to the manager: the items' controls and cell
// sizes, the template (the host's, the stored one, or the default built from the
// declaration), the row-number column, default widths and their layout on the grid, and the
// grid's per-cell requests for an editor and for owner drawing.
#include "tav/manager/TavManager.h"

#include "components/mox/MoxCellCtrl.h"
#include "components/support/LunArrowTypeComboBox.h"
#include "components/support/NifResource.h"
#include "components/support/QanLimitEdit.h"
#include "components/support/QanNumEdit.h"
#include "components/support/TavcRadiusCtrl.h"
#include "components/support/TavcToggleButton.h"
#include "platform/io/Errors.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"
#include "tav/data/TavData.h"
#include "tav/frame/TavFrame.h"
#include "tav/resources/TavStrings.h"
#include "tav/templates/TavTemplate.h"

#include <algorithm>
#include <cstdint>

namespace {

// Widths are measured with a little air on both sides of the text.
constexpr unsigned kWidthPadding = 8;
constexpr unsigned kRowNumberPadding = 8;
constexpr int kMargin = 2;
constexpr plat::LPARAM kAutoColumnStyle = 0x20002;
// Characters a radius takes: "9999.999" and a side mark.
constexpr unsigned kRadiusChars = 9;

// The grid behind a window; null for a window that is not (or no longer) a grid.
MoxCellCtrl* GridOf(plat::Wnd* window)
{
    return plat::IsWindow(window) ? dynamic_cast<MoxCellCtrl*>(window) : nullptr;
}

plat::LRESULT Request(plat::Wnd* window, plat::UINT message, plat::WPARAM wParam = 0, plat::LPARAM lParam = 0)
{
    return plat::IsWindow(window) ? window->SendMessage(message, wParam, lParam) : 0;
}

// Field 1 (the heading) of a newline-separated resource string.
std::string HeadingField(const std::string& names)
{
    const std::size_t first = names.find('\n');
    if (first == std::string::npos)
        return {};
    const std::size_t second = names.find('\n', first + 1);
    return names.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
}

bool IsOwnerDrawnCombo(const plat::Wnd* control)
{
    return (control->GetStyle() & (plat::CBS_OWNERDRAWFIXED | plat::CBS_OWNERDRAWVARIABLE)) != 0;
}

} // namespace

// ---- binding ----

void TavManager::Associate(plat::Wnd* window, TavData* data)
{
    m_cell = window;
    Request(m_cell, MOXM_SETEXTDATA, reinterpret_cast<plat::WPARAM>(this));
    Associate(data, TRUE);
}

void TavManager::Associate(TavData* data, plat::BOOL full)
{
    AttachTable(data);
    // The host's answer changes nothing: its controls are collected next either way.
    if (full)
        static_cast<void>(OnCreateControl(m_cell));
    OnSetCtrlNumAttr();
    const long extra = std::max(OnAddItemCount(), 0);
    CollectControls(extra);
    if (full) {
        CreateTemplate();
        CreateTemplateMap();
    }
    if (m_data == nullptr)
        return;
    // Records past the row count that hold data stay in the table: cutting them here would
    // lose them silently at the next save. The host hears of them once the binding is done.
    const long overflow = GetOverflowRecordCount(*m_data);
    // Refused only when memory runs out; the table then keeps the size it had. Binding has no
    // result to report it with and goes on: every cell access checks its bounds, so a cell
    // past the kept size is refused with plat::InvalidArgument, never read out of bounds.
    static_cast<void>(m_data->SetSize(m_itemCount, m_dispRowCount + overflow));
    if (extra > 0)
        static_cast<void>(m_data->AddItem(extra)); // as SetSize
    if (!full) {
        if (overflow > 0)
            OnRecordOverflow(overflow);
        return;
    }

    if (m_data->Width().empty() || extra > 0)
        CalcItemWidth();
    if (RepairLayout())
        CreateTemplateMap();
    Request(m_cell, MOXM_SETDATA, reinterpret_cast<plat::WPARAM>(m_data));
    if (plat::IsWindow(m_cell)) {
        auto* font = reinterpret_cast<plat::Font*>(Request(m_cell, MOXM_GETFONT, 0));
        plat::ClientDC dc(m_cell);
        dc.SelectObject(font);
        plat::TEXTMETRIC metrics;
        dc.GetTextMetrics(&metrics);
        if (!OnSetFixedCol(metrics)) {
            const int rows = dc.GetTextExtent(std::to_string(m_dispRowCount)).cx;
            const int label = dc.GetTextExtent("No.").cx;
            m_fixedColWidth = static_cast<std::uint8_t>(static_cast<unsigned>(std::max(rows, label)) + kRowNumberPadding);
            Request(m_cell, MOXM_SETFIXEDCOLWIDTH, m_fixedColWidth);
        } else {
            m_fixedColWidth = static_cast<std::uint8_t>(Request(m_cell, MOXM_GETFIXEDCOLWIDTH) & 0xFF);
        }
    }
    Request(m_cell, MOXM_FIXEDCOLDONE, static_cast<plat::WPARAM>(-1));
    SetTextFormat();
    SetColWidth(TRUE);
    if (overflow > 0)
        OnRecordOverflow(overflow);
}

long TavManager::GetOverflowRecordCount(const TavData& data) const
{
    return std::max(data.GetLastInputRecordNo() + 1 - std::max(m_dispRowCount, 0L), 0L);
}

long TavManager::GetUnknownItemCount(const TavData& data) const
{
    // The items collected at the last binding: the declared ones and the host's additions.
    const long known = std::max(static_cast<long>(m_controls.size()), m_itemCount);
    const long last = data.GetLastInputRecordNo();
    long unknown = 0;
    for (long item = known; item < data.GetItemCount(); ++item)
        for (long record = 0; record <= last; ++record)
            if (data.GetBuffer(item, record, nullptr, 0)) {
                ++unknown;
                break;
            }
    return unknown;
}

void TavManager::CollectControls(long extra)
{
    const long count = m_itemCount + extra;
    m_idToItem.clear();
    m_flaggedItems.clear();
    m_controls.assign(static_cast<std::size_t>(std::max(count, 0L)), nullptr);
    m_dataSizes.assign(m_controls.size(), 0);
    m_controlClasses.assign(m_controls.size(), 0);
    for (long item = 0; item < count; ++item) {
        const unsigned id = ItemNotoID(item);
        m_idToItem[static_cast<std::int32_t>(id)] = static_cast<std::int32_t>(item);
        int flag = 0;
        plat::Wnd* control = OnGetControl(id, flag);
        if (flag != 0)
            m_flaggedItems.push_back(item);
        // An editor stays out of sight until the grid places it on a cell.
        if (control != nullptr && plat::IsWindow(control))
            control->ShowWindow(plat::SW_HIDE);
        m_controls[static_cast<std::size_t>(item)] = control;
        unsigned size = OnGetDataSize(id);
        if (size == 0 && control != nullptr) {
            if (dynamic_cast<QanNumEdit*>(control))
                size = sizeof(double);
            else if (auto* limit = dynamic_cast<QanLimitEdit*>(control))
                size = (limit->GetLimitAttr() + 1) & 0xFF; // the text and its terminator
            else if (dynamic_cast<TavcRadiusCtrl*>(control))
                size = 24;
            else if (dynamic_cast<plat::ComboBox*>(control) || dynamic_cast<plat::Button*>(control))
                size = sizeof(std::int32_t); // an index
        }
        m_dataSizes[static_cast<std::size_t>(item)] = size;
    }
}

void TavManager::Abscind()
{
    Request(m_cell, MOXM_SETEXTDATA, 0);
    Detach();
}

// ---- templates ----

void TavManager::CreateTemplate()
{
    if (m_data == nullptr)
        return;
    constexpr TavLayoutChange adopt = TavLayoutChange::Adopt;
    auto usable = [this] { return !m_data->TemplateName().empty() && !m_data->Template().empty(); };
    // A layout made by a newer version may name items this host does not declare; only
    // when none of its columns is left does another template take its place.
    static_cast<void>(RepairLayout());
    if (!usable()) {
        TavTemplate store(this);
        const char* wanted = GetUseTemplate();
        std::string name = wanted != nullptr ? wanted : "";
        if (name.empty())
            name = store.GetCurrentName();
        m_data->SetTemplateName(name, adopt);
        // A template that cannot be read leaves the table as it was, to be laid out below.
        static_cast<void>(store.LoadTemplate(name, adopt));
        static_cast<void>(RepairLayout());
    }
    if (usable())
        return;
    // Nothing usable stored: every item declared positively, in declaration order.
    const std::string name = NifLoadString(TavGetModuleHandle(), IDS_TAV_STANDARD);
    std::vector<unsigned> columns;
    for (long item = 0; item < m_itemCount; ++item)
        if (DeclarationEntry(item) > 0)
            columns.push_back(ItemNotoID(item));
    m_data->SetTemplateName(name, adopt);
    m_data->SetTemplate(std::move(columns), adopt);
    TavTemplate store(this);
    // The table has its layout either way; a store that refuses it is asked again next time.
    static_cast<void>(store.SaveTemplate(name));
    store.SetCurrentName(name);
}

void TavManager::GetTemplateName(std::string& name)
{
    TavTemplate store(this);
    name = store.GetCurrentName();
}

int TavManager::GetTemplateNameArray(std::vector<std::string>& names)
{
    TavTemplate store(this);
    return store.GetNameArray(names);
}

bool TavManager::IsDeclaredID(unsigned id) const
{
    const long item = IDtoItemNo(id);
    return item >= 0 && item < m_itemCount;
}

bool TavManager::RepairLayout()
{
    if (m_data == nullptr)
        return false;
    std::vector<unsigned> columns = m_data->Template();
    const std::size_t shown = columns.size();
    std::erase_if(columns, [this](unsigned id) { return !IsDeclaredID(id); });
    const bool dropped = columns.size() != shown;
    m_data->SetTemplate(std::move(columns), TavLayoutChange::Adopt);
    // Widths are by item number: those past the declared items belonged to items this host
    // does not have; the missing ones are measured, keeping the ones given.
    std::vector<unsigned> widths = m_data->Width();
    const auto items = static_cast<std::size_t>(std::max(m_itemCount, 0L));
    if (widths.size() > items)
        widths.resize(items);
    if (widths.size() < items) {
        std::vector<unsigned> measured = MeasureItemWidths();
        std::copy(widths.begin(), widths.end(), measured.begin());
        widths = std::move(measured);
    }
    m_data->SetWidths(std::move(widths), TavLayoutChange::Adopt);
    return dropped;
}

void TavManager::RebuildLayout()
{
    // A template handed over by the host or loaded by a command may disagree with the items.
    if (RepairLayout())
        CreateTemplateMap();
    Request(m_cell, MOXM_REBUILDCOLUMNS);
    SetTextFormat();
    SetColWidth(TRUE);
    if (plat::IsWindow(m_cell))
        m_cell->Invalidate(TRUE);
}

void TavManager::CustomizeTemplate(const std::vector<unsigned>& ids)
{
    if (m_data == nullptr)
        return;
    m_data->SetTemplate(ids);
    ApplyChangedTemplate();
}

void TavManager::ReloadTemplate()
{
    if (m_data == nullptr)
        return;
    m_data->SetTemplateName({}, TavLayoutChange::Adopt);
    CreateTemplate();
    CreateTemplateMap();
    RebuildLayout();
}

void TavManager::TermChange()
{
    m_controls.clear();
    for (long item = 0; item < m_itemCount; ++item) {
        int flag = 0;
        m_controls.push_back(OnGetControl(ItemNotoID(item), flag));
    }
    // The classes found for the old controls say nothing about the new ones.
    m_controlClasses.assign(m_controls.size(), 0);
    OnSetCtrlNumAttr();
    Request(m_cell, MOXM_REBUILDCOLUMNS);
    CalcItemWidth();
    SetColWidth(TRUE);
    SetTextFormat();
    if (plat::IsWindow(m_cell))
        m_cell->Invalidate(TRUE);
    OnTermChange();
}

// ---- widths ----

void TavManager::CalcItemWidth()
{
    if (m_data != nullptr)
        m_data->SetWidths(MeasureItemWidths(), TavLayoutChange::Adopt);
}

std::vector<unsigned> TavManager::MeasureItemWidths()
{
    std::vector<unsigned> widths;
    plat::ClientDC dc(plat::IsWindow(m_cell) ? m_cell : nullptr);
    dc.SelectObject(reinterpret_cast<plat::Font*>(Request(m_cell, MOXM_GETFONT, 1)));
    for (long item = 0; item < m_itemCount; ++item) {
        if (static_cast<std::size_t>(item) >= m_controls.size())
            throw plat::InvalidArgument("item number " + std::to_string(item) + " has no control slot (" +
                                        std::to_string(m_controls.size()) + " collected)");
        plat::Wnd* control = m_controls[static_cast<std::size_t>(item)];
        const unsigned id = ItemNotoID(item);
        unsigned chars = OnGetPaneWidth(id);
        bool numeric = false;
        int header = 0;
        if (chars == 0 && control != nullptr) {
            if (auto* number = dynamic_cast<QanNumEdit*>(control)) {
                chars = number->GetLimitAttr() & 0xFF;
                numeric = true;
            } else if (auto* limit = dynamic_cast<QanLimitEdit*>(control)) {
                chars = limit->GetLimitAttr() & 0xFF;
            } else if (dynamic_cast<TavcRadiusCtrl*>(control)) {
                chars = kRadiusChars;
            }
            const std::string names = NifLoadString(m_resourceModule, id);
            if (!names.empty())
                header = dc.GetTextExtent(HeadingField(names)).cx;
        }
        const std::string sample(chars, numeric ? '4' : 'M');
        const int sampleWidth = dc.GetTextExtent(sample).cx;
        widths.push_back(static_cast<unsigned>(std::max(sampleWidth, header)) + kWidthPadding);
    }
    return widths;
}

void TavManager::SetColWidth(plat::BOOL keepCaret)
{
    MoxCellCtrl* grid = GridOf(m_cell);
    if (m_data == nullptr || grid == nullptr)
        return;
    MoxPos caret;
    if (keepCaret) {
        Request(m_cell, MOXM_GETCARET, reinterpret_cast<plat::WPARAM>(&caret));
        const MoxPos lineStart{0, caret.row};
        Request(m_cell, MOXM_SETCARET, reinterpret_cast<plat::WPARAM>(&lineStart));
    }
    const plat::BOOL autoWidth = m_data->GetAutoWidthFlag();
    const std::size_t columns = m_data->Template().size();
    auto widthOf = [this](std::size_t column) -> unsigned {
        long item = static_cast<long>(column);
        if (const auto found = m_colToItem.find(static_cast<std::int32_t>(column)); found != m_colToItem.end())
            item = found->second;
        const std::vector<unsigned>& widths = m_data->Width();
        if (item < 0 || static_cast<std::size_t>(item) >= widths.size())
            throw plat::InvalidArgument("column " + std::to_string(column) + " shows item " + std::to_string(item) +
                                        ", which has no width (" + std::to_string(widths.size()) + " widths)");
        return widths[static_cast<std::size_t>(item)];
    };
    if (!autoWidth) {
        for (std::size_t c = 0; c < columns; ++c) {
            grid->SetPaneWidth(static_cast<int>(widthOf(c)), static_cast<long>(c));
            grid->SetMargin(static_cast<long>(c), kMargin, kMargin);
        }
    } else {
        plat::RECT client;
        m_cell->GetClientRect(&client);
        // Widths share the window in 32-bit unsigned arithmetic, as stored layouts expect.
        const auto available = static_cast<std::uint32_t>(client.right - m_fixedColWidth - client.left);
        auto sum = [&] {
            std::uint32_t total = 0;
            for (std::size_t c = 0; c < columns; ++c)
                total += widthOf(c);
            return total;
        };
        std::uint32_t total = sum();
        if (total == 0) {
            // Measured once more; an empty template or widths that all measure 0 leave the
            // columns as they are rather than retrying for ever.
            CalcItemWidth();
            total = sum();
        }
        if (total != 0) {
            std::uint32_t running = 0;
            for (std::size_t c = 0; c < columns; ++c) {
                std::uint32_t width = 0;
                if (c + 1 < columns) {
                    width = static_cast<std::uint32_t>(widthOf(c) * available) / total;
                    running += width;
                } else {
                    width = available - running;
                }
                Request(m_cell, MOXM_SETCOLWIDTH, c, static_cast<plat::LPARAM>(static_cast<std::int32_t>(width)));
                Request(m_cell, MOXM_SETCOLSTYLE, c, kAutoColumnStyle);
            }
        }
    }
    grid->SetUserResize(autoWidth ? FALSE : TRUE);
    if (keepCaret)
        grid->SetCurSel(caret, 0);
}

void TavManager::SetAutoWidth(plat::BOOL on)
{
    if (m_data == nullptr || !m_data->SetAutoWidthFlag(on))
        return;
    SetColWidth(TRUE);
    if (plat::IsWindow(m_cell))
        m_cell->Invalidate(FALSE);
}

// ---- the grid's per-cell requests ----

void TavManager::DrawItem(plat::DC* dc, long column, long record, const plat::RECT* rect)
{
    long item = column;
    static_cast<void>(ChangeDispNumber(item, FALSE)); // an unmapped column is an item number, as ColtoID takes it
    OnDrawItem(dc, ItemNotoID(item), record, rect);
}

int TavManager::GetControl(const MoxPos& pos, plat::Wnd** editor)
{
    if (m_data == nullptr || editor == nullptr)
        return FALSE;
    long item = pos.column;
    static_cast<void>(ChangeDispNumber(item, FALSE)); // as in DrawItem
    if (!OnActiveControl(ItemNotoID(item), pos.row))
        return FALSE;
    if (item < 0 || static_cast<std::size_t>(item) >= m_controls.size() || m_controls[static_cast<std::size_t>(item)] == nullptr)
        return FALSE;
    plat::Wnd* control = m_controls[static_cast<std::size_t>(item)];
    // A control object whose window was never made is no editor.
    if (!plat::IsWindow(control))
        return FALSE;
    *editor = control;
    const long record = pos.row;
    int value = 0;
    if (auto* toggle = dynamic_cast<TavcToggleButton*>(control)) {
        // No editor opens: each request steps the cell to the next text.
        *editor = nullptr;
        const int count = toggle->GetCount();
        if (count == 0)
            return TRUE; // no texts to step through: the cell stays
        const bool held = m_data->Get(item, record, value) != FALSE;
        static_cast<void>(m_data->Set(item, record, held ? (value + 1) % count : 0));
        return TRUE;
    }
    if (auto* radiusCtrl = dynamic_cast<TavcRadiusCtrl*>(control)) {
        HixRadius radius{HixReal()};
        static_cast<void>(m_data->Get(item, record, radius));
        radiusCtrl->SetData(radius);
        return TRUE;
    }
    if (auto* arrow = dynamic_cast<LunArrowTypeComboBox*>(control)) {
        arrow->Set(m_data->Get(item, record, value) ? value : -1);
        return TRUE;
    }
    if (auto* line = dynamic_cast<LunLineTypeComboBox*>(control)) {
        line->Set(m_data->Get(item, record, value) ? value : -1);
        return TRUE;
    }
    if (auto* combo = dynamic_cast<plat::ComboBox*>(control)) {
        if (IsOwnerDrawnCombo(combo))
            combo->SetCurSel(m_data->Get(item, record, value) ? value : -1);
        return TRUE;
    }
    if (Request(m_cell, MOXM_QUERYEDITTEXT, static_cast<plat::WPARAM>(pos.column)) != 0) {
        std::string text;
        if (!GetText(item, record, text))
            text.clear();
        control->SetWindowText(text);
    }
    return TRUE;
}
