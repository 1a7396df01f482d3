// The manager: numbering between items, identifiers and columns, the attribute tables, the
// hooks' defaults and the default header text.
#include "tav/manager/TavManager.h"

#include "platform/io/Errors.h"
#include "platform/resource/AppIdentity.h"
#include "platform/text/CodePage.h"
#include "tav/data/TavData.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

// Header texts come from a 256-byte resource buffer: longer strings are cut to what fits,
// at a character boundary of the narrow code page.
std::string FitResourceBuffer(std::string_view text)
{
    constexpr std::size_t kBufferBytes = 256;
    if (text.size() < kBufferBytes)
        return std::string(text);
    const plat::TextConversion narrow = plat::Utf8ToNarrow(text);
    if (!narrow.ok() || narrow.text.size() < kBufferBytes)
        return std::string(text);
    const std::size_t keep = plat::NarrowFitLength(narrow.text, kBufferBytes - 1);
    return plat::NarrowToUtf8(std::string_view(narrow.text).substr(0, keep)).text;
}

} // namespace

TavManager::TavManager(plat::ModuleHandle resourceModule) : m_resourceModule(resourceModule) {}

TavManager::~TavManager()
{
    for (TavManager** slot : m_cachedIn)
        *slot = nullptr;
    if (plat::Wnd* cell = m_cell; cell != nullptr && cell->GetExtension() == this)
        cell->SetExtension(nullptr);
    Detach();
}

void TavManager::AddCachedIn(TavManager** slot) { m_cachedIn.push_back(slot); }

void TavManager::RemoveCachedIn(TavManager** slot) noexcept
{
    m_cachedIn.erase(std::remove(m_cachedIn.begin(), m_cachedIn.end(), slot), m_cachedIn.end());
}

void TavManager::SetSize(long itemCount, long dispRowCount) noexcept
{
    m_itemCount = itemCount;
    m_dispRowCount = dispRowCount;
}

void TavManager::AttachTable(TavData* data) noexcept
{
    m_data = data;
    if (data != nullptr)
        data->SetManagerPtr(this);
}

void TavManager::Detach() noexcept
{
    if (m_data != nullptr && m_data->Manager() == this)
        m_data->SetManagerPtr(nullptr);
    m_data = nullptr;
    m_cell = nullptr;
}

void TavManager::CollectItems() { CollectControls(OnAddItemCount()); }

// ---- numbering ----

int TavManager::DeclarationEntry(long itemNo) const
{
    if (m_declaration == nullptr)
        throw plat::InvalidArgument("no items are declared");
    // The declaration holds the declared items and, once the binding collected them, the
    // extra ones: no entry beyond those may be read, whatever column or number is asked.
    const long declared = std::max(m_itemCount, static_cast<long>(m_dataSizes.size()));
    if (itemNo < 0 || itemNo >= declared)
        throw plat::InvalidArgument("item number " + std::to_string(itemNo) + " is not declared (" +
                                    std::to_string(declared) + " items)");
    return m_declaration[itemNo];
}

unsigned TavManager::ItemNotoID(long itemNo) const
{
    return static_cast<unsigned>(std::abs(static_cast<long long>(DeclarationEntry(itemNo))));
}

long TavManager::IDtoItemNo(unsigned id) const
{
    const auto found = m_idToItem.find(static_cast<std::int32_t>(id));
    return found == m_idToItem.end() ? -1 : found->second;
}

long TavManager::IDtoCol(unsigned id) const
{
    const long item = IDtoItemNo(id);
    if (item < 0)
        return -1;
    const auto found = m_itemToCol.find(static_cast<std::int32_t>(item));
    return found == m_itemToCol.end() ? -1 : found->second;
}

unsigned TavManager::ColtoID(long column) const
{
    const auto found = m_colToItem.find(static_cast<std::int32_t>(column));
    return ItemNotoID(found == m_colToItem.end() ? column : found->second);
}

plat::BOOL TavManager::ChangeDispNumber(long& number, plat::BOOL toColumn) const
{
    const NumberMap& map = toColumn ? m_itemToCol : m_colToItem;
    const auto found = map.find(static_cast<std::int32_t>(number));
    if (found == map.end())
        return FALSE;
    number = found->second;
    return TRUE;
}

unsigned TavManager::GetDataSize(long itemNo) const
{
    if (itemNo < 0 || static_cast<std::size_t>(itemNo) >= m_dataSizes.size())
        throw plat::InvalidArgument("item number " + std::to_string(itemNo) + " has no data size (" +
                                    std::to_string(m_dataSizes.size()) + " items collected)");
    return m_dataSizes[static_cast<std::size_t>(itemNo)];
}

unsigned TavManager::GetRecordSize() const
{
    unsigned total = 0;
    for (long item = 0; item < m_itemCount; ++item)
        total += GetDataSize(item);
    return total;
}

plat::BOOL TavManager::GetDispCellSize(long& columns, long& rows) const
{
    const std::size_t templateColumns = m_data != nullptr ? m_data->Template().size() : 0;
    columns = templateColumns != 0 ? static_cast<long>(templateColumns) : m_itemCount;
    rows = OnGetDispRowCount();
    return TRUE;
}

void TavManager::CreateTemplateMap()
{
    m_itemToCol.clear();
    m_colToItem.clear();
    if (m_data == nullptr)
        return;
    const std::vector<unsigned>& columns = m_data->Template();
    // First column of each identifier and first item of each identifier, so that both maps
    // are built in one pass each instead of a search per entry.
    std::unordered_map<unsigned, std::int32_t> firstColumn;
    for (std::size_t column = 0; column < columns.size(); ++column)
        firstColumn.try_emplace(columns[column], static_cast<std::int32_t>(column));
    std::unordered_map<unsigned, std::int32_t> firstItem;
    for (long item = 0; item < m_itemCount; ++item) {
        const unsigned id = ItemNotoID(item);
        firstItem.try_emplace(id, static_cast<std::int32_t>(item));
        if (const auto found = firstColumn.find(id); found != firstColumn.end())
            m_itemToCol[static_cast<std::int32_t>(item)] = found->second;
    }
    for (std::size_t column = 0; column < columns.size(); ++column)
        if (const auto found = firstItem.find(columns[column]); found != firstItem.end())
            m_colToItem[static_cast<std::int32_t>(column)] = found->second;
}

// ---- attributes and switches ----

TavAttr& TavManager::AttrWarning()
{
    // Creation fails only by throwing; its TRUE says nothing more.
    if (!m_attrWarning.IsCreate())
        static_cast<void>(m_attrWarning.Create(this));
    return m_attrWarning;
}

TavAttr& TavManager::AttrDisable()
{
    if (!m_attrDisable.IsCreate())
        static_cast<void>(m_attrDisable.Create(this));
    return m_attrDisable;
}

plat::BOOL TavManager::QueryAutoWidth() const { return m_data != nullptr ? m_data->GetAutoWidthFlag() : FALSE; }

plat::BOOL TavManager::QueryCellLock() const { return m_data != nullptr ? m_data->GetCellLockFlag() : FALSE; }

void TavManager::SetCellLock(plat::BOOL on)
{
    if (m_data != nullptr)
        m_data->SetCellLockFlag(on);
}

// ---- text and data ----

plat::Wnd* TavManager::ControlOf(long itemNo) const
{
    if (itemNo < 0)
        throw plat::InvalidArgument("item number " + std::to_string(itemNo) + " has no control");
    const auto index = static_cast<std::size_t>(itemNo);
    return index < m_controls.size() ? m_controls[index] : nullptr;
}

// ---- hook defaults ----

int TavManager::OnCheckTemplate(const std::vector<unsigned>& /*ids*/) { return TRUE; }

int TavManager::OnAddItemCount() { return 0; }

int TavManager::OnCreateControl(plat::Wnd* /*window*/) { return TRUE; }

void TavManager::OnSetCtrlNumAttr() {}

int TavManager::OnSetTextAlign(unsigned /*id*/, unsigned& /*align*/) { return FALSE; }

plat::Wnd* TavManager::OnGetControl(unsigned /*id*/, int& /*flag*/) { return nullptr; }

int TavManager::OnActiveControl(unsigned id, long record)
{
    // Asking AttrDisable() would create the table as a side effect of a question.
    if (!m_attrDisable.IsCreate())
        return TRUE;
    return m_attrDisable.Get(id, record) ? FALSE : TRUE;
}

unsigned TavManager::OnGetDataSize(unsigned /*id*/) const { return 0; }

long TavManager::OnGetDispRowCount() const { return m_dispRowCount; }

unsigned char TavManager::OnGetPaneWidth(unsigned /*id*/) { return 0; }

int TavManager::OnGetText(unsigned /*id*/, long /*record*/, std::string& /*text*/) { return FALSE; }

int TavManager::OnGetData(unsigned /*id*/, long /*record*/, const char* /*text*/, void* /*buffer*/, unsigned& /*size*/)
{
    return FALSE;
}

int TavManager::OnGetData(unsigned /*id*/, long /*record*/, plat::Wnd* /*control*/, void* /*buffer*/,
                          unsigned& /*size*/)
{
    return FALSE;
}

void TavManager::OnDrawItem(plat::DC* /*dc*/, unsigned /*id*/, long /*record*/, const plat::RECT* /*rect*/) {}

int TavManager::OnSetFixedCol(const plat::TEXTMETRIC& /*metrics*/) { return FALSE; }

int TavManager::OnSetFixedColText(const MoxPos& pos, std::string& text)
{
    text = std::to_string(static_cast<long long>(pos.row) + 1);
    return TRUE;
}

int TavManager::OnSetFixedRowText(const MoxPos& pos, std::string& text)
{
    const std::vector<unsigned>* columns = m_data != nullptr ? &m_data->Template() : nullptr;
    if (columns == nullptr || pos.column < 0 || static_cast<std::size_t>(pos.column) >= columns->size())
        throw plat::InvalidArgument("column " + std::to_string(pos.column) + " is not in the template (" +
                                    std::to_string(columns ? columns->size() : 0) + " columns)");
    const unsigned id = (*columns)[static_cast<std::size_t>(pos.column)];
    if (m_resourceModule == nullptr)
        return TRUE;
    const std::optional<std::string_view> names = m_resourceModule->FindString(id);
    if (!names)
        return TRUE;
    // Field 0 is the item's long name, field 1 its heading.
    const std::string loaded = FitResourceBuffer(*names);
    const std::size_t first = loaded.find('\n');
    if (first == std::string::npos) {
        text.clear();
        return TRUE;
    }
    const std::size_t second = loaded.find('\n', first + 1);
    text = loaded.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    return TRUE;
}

int TavManager::OnGetSpeechText(unsigned /*id*/, long /*record*/, std::string& /*text*/) { return FALSE; }

void TavManager::OnTermChange() {}

void TavManager::OnRecordOverflow(long /*count*/) {}

unsigned TavManager::OnGetHelpItemID(unsigned id) { return id; }

const char* TavManager::GetSoftware() { return plat::GetAppIdentity().softwareName.c_str(); }

const char* TavManager::GetRegCategory() { return "Application"; }

const char* TavManager::GetTemplateGroup() { return GetRegSection(); }

const char* TavManager::GetUseTemplate() { return nullptr; }

unsigned long TavManager::GetHelpID(unsigned short /*commandId*/) { return 0; }
