// The manager's translation between cell bytes, display text and editor controls, and the
// per-column alignment it hands to the grid. The grid asks for the text of every visible
// cell on each redraw, so the class of each item's control is looked up once, not per cell.
#include "tav/manager/TavManager.h"

#include "components/mox/MoxCellCtrl.h"
#include "components/support/HixAngleMrm.h"
#include "components/support/HixMrm.h"
#include "components/support/HixNumber.h"
#include "components/support/LunArrowTypeComboBox.h"
#include "components/support/LunEdit.h"
#include "components/support/LunMrmDMSEdit.h"
#include "components/support/LunMrmNumEdit.h"
#include "components/support/QanLimitEdit.h"
#include "components/support/QanNumEdit.h"
#include "components/support/TavcRadiusCtrl.h"
#include "components/support/TavcToggleButton.h"
#include "platform/io/Errors.h"
#include "platform/text/CodePage.h"
#include "platform/ui/Controls.h"
#include "tav/data/TavData.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Control classes, as bits: a control belongs to every class it derives from.
enum ControlClass : unsigned {
    kClassified = 1u << 0,
    kLunMrmDMSEdit = 1u << 1,
    kLunDMSEdit = 1u << 2,
    kLunMrmNumEdit = 1u << 3,
    kQanNumEdit = 1u << 4,
    kQanLimitEdit = 1u << 5,
    kRadiusCtrl = 1u << 6,
    kArrowTypeComboBox = 1u << 7,
    kLineTypeComboBox = 1u << 8,
    kComboBox = 1u << 9,
    kToggleButton = 1u << 10,
    kEdit = 1u << 11,
    kButton = 1u << 12,
};

template <class T>
unsigned BitIf(const plat::Wnd* control, unsigned bit)
{
    return dynamic_cast<const T*>(control) != nullptr ? bit : 0;
}

unsigned Classify(const plat::Wnd* control)
{
    if (control == nullptr)
        return kClassified;
    return kClassified | BitIf<LunMrmDMSEdit>(control, kLunMrmDMSEdit) | BitIf<LunDMSEdit>(control, kLunDMSEdit) |
           BitIf<LunMrmNumEdit>(control, kLunMrmNumEdit) | BitIf<QanNumEdit>(control, kQanNumEdit) |
           BitIf<QanLimitEdit>(control, kQanLimitEdit) | BitIf<TavcRadiusCtrl>(control, kRadiusCtrl) |
           BitIf<LunArrowTypeComboBox>(control, kArrowTypeComboBox) |
           BitIf<LunLineTypeComboBox>(control, kLineTypeComboBox) | BitIf<plat::ComboBox>(control, kComboBox) |
           BitIf<TavcToggleButton>(control, kToggleButton) | BitIf<plat::Edit>(control, kEdit) |
           BitIf<plat::Button>(control, kButton);
}

// "%.*lf" into the caller's string, which keeps its capacity from cell to cell.
void AssignPrintf(std::string& text, double value, int decimals)
{
    char buffer[kHixNumberBuffer];
    text.assign(buffer, HixWritePrintf(value, decimals, buffer));
}

// Copies up to size bytes of a value into the cell buffer.
template <class T>
void CopyValue(void* buffer, unsigned size, const T& value)
{
    std::memcpy(buffer, &value, std::min<std::size_t>(size, sizeof value));
}

void CopyRadiusCell(void* buffer, unsigned size, const HixRadius& radius)
{
    std::uint8_t cell[TavData::kRadiusCellSize];
    TavData::EncodeRadius(radius, cell);
    std::memcpy(buffer, cell, std::min<std::size_t>(size, sizeof cell));
}

// The index a choice control holds, by its class in the order the cells are read; -1 (and
// CB_ERR, which is -1 too) for none.
std::int32_t ChosenIndex(unsigned classes, plat::Wnd* control)
{
    if (classes & kArrowTypeComboBox)
        return static_cast<LunArrowTypeComboBox*>(control)->Get();
    if (classes & kLineTypeComboBox)
        return static_cast<LunLineTypeComboBox*>(control)->Get();
    if (classes & kComboBox)
        return static_cast<plat::ComboBox*>(control)->GetCurSel();
    return static_cast<TavcToggleButton*>(control)->GetIndex();
}

constexpr unsigned kAlignLeft = 0;
constexpr unsigned kAlignCenter = 1;
constexpr unsigned kAlignRight = 2;
// Vertically centred, on a single line: every column's text is drawn so.
constexpr unsigned kAlignCell = 0x24;
constexpr plat::UINT kRequestBeginFormat = 1081;
constexpr plat::UINT kRequestColumnFormat = 1060;

} // namespace

unsigned TavManager::ControlClasses(long itemNo, const plat::Wnd* control)
{
    const auto index = static_cast<std::size_t>(itemNo);
    if (index >= m_controlClasses.size())
        return Classify(control);
    unsigned& classes = m_controlClasses[index];
    if (classes == 0)
        classes = Classify(control);
    return classes;
}

plat::BOOL TavManager::GetText(long itemNo, long record, std::string& text)
{
    if (m_data == nullptr || m_data->GetLastInputRecordNo() < record)
        return FALSE;
    plat::Wnd* control = ControlOf(itemNo);
    if (OnGetText(ItemNotoID(itemNo), record, text))
        return TRUE;
    if (control == nullptr)
        return FALSE;
    const unsigned classes = ControlClasses(itemNo, control);
    if (classes & (kLunMrmDMSEdit | kLunDMSEdit | kLunMrmNumEdit | kQanNumEdit)) {
        double value = 0;
        if (!m_data->Get(itemNo, record, value))
            return FALSE;
        if (classes & kLunMrmDMSEdit) {
            HixAngleMrm angle(3);
            static_cast<LunMrmDMSEdit*>(control)->GetNumAttr(&angle, nullptr);
            angle.StrDouble(value, -1, text);
        } else if (classes & kLunMrmNumEdit) {
            HixMrm measure(5, 0, 4);
            static_cast<LunMrmNumEdit*>(control)->GetNumAttr(&measure, nullptr, nullptr);
            measure.StrDouble(value, -1, text);
        } else {
            // A ddd.mmss angle edit is shown by its decimals like any number edit.
            AssignPrintf(text, value, static_cast<QanNumEdit*>(control)->FractionFigure());
        }
        return TRUE;
    }
    if (classes & kQanLimitEdit)
        return m_data->Get(itemNo, record, text);
    if (classes & kRadiusCtrl) {
        HixRadius radius{HixReal()};
        if (!m_data->Get(itemNo, record, radius))
            return FALSE;
        // The control's text for that radius, without handing the radius to the control: the
        // same control may be open as a cell's editor while other cells are drawn.
        static_cast<const TavcRadiusCtrl*>(control)->FormatText(radius, text);
        return TRUE;
    }
    if (classes & kComboBox) {
        // An owner-drawn list draws its cells itself (DrawItem).
        if (control->GetStyle() & (plat::CBS_OWNERDRAWFIXED | plat::CBS_OWNERDRAWVARIABLE))
            return FALSE;
        int index = 0;
        if (!m_data->Get(itemNo, record, index))
            return FALSE;
        const auto* combo = static_cast<plat::ComboBox*>(control);
        const int count = combo->GetCount();
        // An index the list does not (or no longer) have leaves the text as it was.
        if (count == plat::CB_ERR || index < 0 || index >= count)
            return TRUE;
        text = combo->GetLBText(index);
        return TRUE;
    }
    if (classes & kToggleButton) {
        int index = 0;
        if (!m_data->Get(itemNo, record, index))
            return FALSE;
        static_cast<TavcToggleButton*>(control)->GetText(index, text);
        return TRUE;
    }
    return FALSE;
}

plat::BOOL TavManager::GetData(long itemNo, long record, plat::Wnd* /*editor*/, void* buffer, unsigned& size)
{
    plat::Wnd* control = ControlOf(itemNo);
    // Record -1 turns a search value into cell bytes, which is not the host's to answer.
    if (record != -1 && OnGetData(ItemNotoID(itemNo), record, control, buffer, size))
        return TRUE;
    if (control == nullptr)
        return TRUE;
    const unsigned classes = ControlClasses(itemNo, control);
    // A content the control cannot turn into a value (a number edit holding "-", a text the
    // narrow code page lacks, a radius of "abc") gives FALSE: the cell keeps what it had
    // rather than the unset marker or a cut text.
    if (classes & kEdit) {
        const std::string text = control->GetWindowText();
        if (text.empty()) {
            size = 0;
        } else if (classes & kQanNumEdit) {
            const HixReal value = static_cast<QanNumEdit*>(control)->Get();
            if (value.IsShoki())
                return FALSE;
            CopyValue(buffer, size, value.Get());
        } else if ((classes & kQanLimitEdit) && size > 0) {
            std::string narrow;
            if (plat::Utf8ToNarrowInto(text, narrow) != std::string::npos)
                return FALSE;
            // Cut at a character boundary, leaving room for the terminator. Only the
            // characters: the caller's buffer comes cleared and may be larger than the cell.
            const std::size_t keep = plat::NarrowFitLength(narrow, size - 1);
            std::memcpy(buffer, narrow.data(), keep);
        }
    } else if (classes & kRadiusCtrl) {
        auto* radiusCtrl = static_cast<TavcRadiusCtrl*>(control);
        if (radiusCtrl->GetEdit().IsEmpty()) {
            size = 0;
        } else {
            HixRadius radius;
            if (!radiusCtrl->GetData(radius))
                return FALSE;
            CopyRadiusCell(buffer, size, radius);
        }
    } else if (classes & (kArrowTypeComboBox | kLineTypeComboBox | kComboBox | kToggleButton)) {
        const std::int32_t index = ChosenIndex(classes, control);
        if (index == -1)
            size = 0;
        else
            CopyValue(buffer, size, index);
    }
    return TRUE;
}

plat::BOOL TavManager::GetData(long itemNo, long record, const char* text, void* buffer, unsigned& size)
{
    if (OnGetData(ItemNotoID(itemNo), record, text, buffer, size))
        return TRUE;
    plat::Wnd* control = ControlOf(itemNo);
    if (control == nullptr)
        return FALSE;
    const std::string_view given = text != nullptr ? std::string_view(text) : std::string_view();
    const unsigned classes = ControlClasses(itemNo, control);
    if (LunEdit* edit = LunGetEdit(control)) {
        // Numbers arrive from other programs with blanks around them.
        control->SetWindowText((classes & kQanNumEdit) ? HixTrim(given) : given);
        if (!edit->IsDataOK(TRUE, FALSE))
            return FALSE;
    } else if (classes & kQanNumEdit) {
        // Typing could not go past the edit's figures or give a sign it does not take, and
        // neither may a paste.
        const auto* number = static_cast<QanNumEdit*>(control);
        const std::string_view trimmed = HixTrim(given);
        double value = 0;
        if (!trimmed.empty() && (!number->ValueOfText(trimmed, value) || !number->FitsFigures(value)))
            return FALSE;
        control->SetWindowText(trimmed);
    } else if (classes & kEdit) {
        control->SetWindowText(given);
    } else if (classes & kComboBox) {
        // A text that is none of the entries is refused rather than taken as "no entry",
        // which would clear the cell; only an empty text clears it.
        auto* combo = static_cast<plat::ComboBox*>(control);
        const int index = given.empty() ? plat::CB_ERR : combo->FindStringExact(-1, given);
        if (index == plat::CB_ERR && !given.empty())
            return FALSE;
        combo->SetCurSel(index);
    } else if (classes & kToggleButton) {
        auto* toggle = static_cast<TavcToggleButton*>(control);
        const int index = given.empty() ? -1 : toggle->FindString(given);
        if (index < 0 && !given.empty())
            return FALSE;
        toggle->SetIndex(index);
    } else if (classes & kRadiusCtrl) {
        auto* radiusCtrl = static_cast<TavcRadiusCtrl*>(control);
        radiusCtrl->SetText(given);
        if (const plat::BOOL ok = radiusCtrl->IsDataOK(); !ok)
            return ok;
    }
    return GetData(itemNo, record, control, buffer, size);
}

void TavManager::SetTextFormat()
{
    GridRequest(kRequestBeginFormat, 1, 0);
    if (m_data == nullptr)
        return;
    const std::vector<unsigned>& columns = m_data->Template();
    m_textAligns.assign(columns.size(), 0);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const auto column = static_cast<long>(c);
        long itemNo = column;
        if (const auto found = m_colToItem.find(static_cast<std::int32_t>(column)); found != m_colToItem.end())
            itemNo = found->second;
        if (std::find(m_flaggedItems.begin(), m_flaggedItems.end(), itemNo) != m_flaggedItems.end())
            GridRequest(kRequestColumnFormat, static_cast<plat::WPARAM>(column), 1);
        plat::Wnd* control = ControlOf(itemNo);
        // A column whose identifier the declaration does not hold is named by the template.
        const unsigned id = static_cast<std::size_t>(itemNo) < m_controls.size() ? ItemNotoID(itemNo) : columns[c];
        unsigned align = kAlignLeft;
        if (!OnSetTextAlign(id, align)) {
            align = kAlignLeft;
            const unsigned classes = ControlClasses(itemNo, control);
            if (classes & kEdit) {
                const plat::DWORD style = control->GetStyle();
                align = (style & plat::ES_CENTER) ? kAlignCenter : (style & plat::ES_RIGHT) ? kAlignRight : kAlignLeft;
            } else if (classes & kRadiusCtrl) {
                align = kAlignRight;
            } else if (classes & (kComboBox | kButton)) {
                align = kAlignCenter;
            }
        }
        GridSetTextAlign(align | kAlignCell, column);
    }
}

unsigned TavManager::GetTextAlign(long column) const noexcept
{
    return column >= 0 && static_cast<std::size_t>(column) < m_textAligns.size()
               ? m_textAligns[static_cast<std::size_t>(column)]
               : 0;
}

void TavManager::GridRequest(plat::UINT request, plat::WPARAM wParam, plat::LPARAM lParam)
{
    if (m_cell != nullptr)
        m_cell->SendMessage(request, wParam, lParam);
}

void TavManager::GridSetTextAlign(unsigned flags, long column)
{
    const auto index = static_cast<std::size_t>(column);
    if (index >= m_textAligns.size())
        m_textAligns.resize(index + 1, 0);
    m_textAligns[index] = flags;
    if (auto* grid = plat::IsWindow(m_cell) ? dynamic_cast<MoxCellCtrl*>(m_cell.Get()) : nullptr)
        grid->SetTextAlign(flags, column);
}
