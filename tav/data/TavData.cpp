// The record table: typed cell encodings, notification translation, layout fields and their
// stored form.
#include "tav/data/TavData.h"

#include "components/mox/MoxCellView.h"
#include "components/mox/MoxDocument.h"
#include "platform/io/Errors.h"
#include "platform/text/CodePage.h"
#include "tav/manager/TavManager.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

namespace {

constexpr std::size_t kRadiusSize = TavData::kRadiusCellSize;
constexpr std::size_t kRadiusValueSize = 16;
static_assert(std::is_trivially_copyable_v<HixReal> && sizeof(HixReal) <= kRadiusValueSize,
              "the radius cell keeps the real value object in its first 16 bytes");

// Scratch buffers for text cells, reused so that reading or writing text does not allocate
// once the first cell of a size was seen.
std::vector<char>& TextScratch(std::size_t size)
{
    thread_local std::vector<char> scratch;
    if (scratch.size() < size)
        scratch.resize(size);
    return scratch;
}

std::string& NarrowScratch()
{
    thread_local std::string scratch;
    return scratch;
}

long DoubleToLong(double value) noexcept
{
    // Truncates toward zero; values a long cannot hold saturate instead of being undefined.
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<long>::max()))
        return std::numeric_limits<long>::max();
    if (value <= static_cast<double>(std::numeric_limits<long>::min()))
        return std::numeric_limits<long>::min();
    return static_cast<long>(value);
}

} // namespace

struct TavData::TemplateBlock {
    std::string name;
    std::string nameBytes;
    std::vector<unsigned> templ;
    plat::BOOL autoWidth = FALSE;
    plat::BOOL cellLock = FALSE;
    TavLockArray locks;
    std::vector<unsigned> widths;
};

TavData::TavData() : MoxData(true) {}

TavData::~TavData()
{
    // The manager forgets the table before an owned manager goes with it.
    if (m_manager != nullptr && m_manager->m_data == this)
        m_manager->m_data = nullptr;
}

TavData& TavData::operator=(const TavData& other)
{
    if (this == &other)
        return *this;
    std::string name = other.m_templateName;
    std::string nameBytes = other.m_templateNameBytes;
    std::vector<unsigned> templ = other.m_template;
    MoxData::operator=(other);
    m_templateName = std::move(name);
    m_templateNameBytes = std::move(nameBytes);
    m_template = std::move(templ);
    return *this;
}

long TavData::ItemOf(unsigned id) const { return m_manager ? m_manager->IDtoItemNo(id) : -1; }

unsigned TavData::ID(long itemNo) const { return m_manager->ItemNotoID(itemNo); }

bool TavData::HasWindow() const noexcept { return m_manager != nullptr && m_manager->Cell() != nullptr; }

plat::Wnd* TavData::Cell() const noexcept { return m_manager ? m_manager->Cell() : nullptr; }

// ---- typed reads ----

plat::BOOL TavData::Get(long itemNo, long record, unsigned char& value) const
{
    std::uint32_t stored = 0;
    const plat::BOOL present = GetBuffer(itemNo, record, &stored, sizeof stored);
    value = static_cast<unsigned char>(stored & 0xFF);
    return present;
}

plat::BOOL TavData::Get(long itemNo, long record, unsigned short& value) const
{
    return GetBuffer(itemNo, record, &value, sizeof value);
}

plat::BOOL TavData::Get(long itemNo, long record, int& value) const
{
    return GetBuffer(itemNo, record, &value, sizeof value);
}

plat::BOOL TavData::Get(long itemNo, long record, long& value) const
{
    double stored = 0.0;
    const plat::BOOL present = GetBuffer(itemNo, record, &stored, sizeof stored);
    value = DoubleToLong(stored);
    return present;
}

plat::BOOL TavData::Get(long itemNo, long record, double& value) const
{
    return GetBuffer(itemNo, record, &value, sizeof value);
}

plat::BOOL TavData::Get(long itemNo, long record, std::string& text) const
{
    const unsigned size = GetItemSize(itemNo);
    if (size == 0) {
        if (!GetBuffer(itemNo, record, nullptr, 0))
            return FALSE;
        text.clear();
        return TRUE;
    }
    std::vector<char>& buffer = TextScratch(size);
    if (!GetBuffer(itemNo, record, buffer.data(), size))
        return FALSE;
    const std::size_t length = ::strnlen(buffer.data(), size);
    // A cell whose bytes are not valid narrow text (a damaged or foreign document) reads as
    // the text before the first bad byte.
    static_cast<void>(plat::NarrowToUtf8Into(std::string_view(buffer.data(), length), text));
    return TRUE;
}

plat::BOOL TavData::Get(long itemNo, long record, HixRadius& radius) const
{
    std::uint8_t cell[kRadiusSize] = {};
    const HixReal noValue;
    std::memcpy(cell, &noValue, sizeof noValue);
    if (!GetBuffer(itemNo, record, cell, sizeof cell))
        return FALSE;
    radius = DecodeRadius(cell);
    return TRUE;
}

void TavData::EncodeRadius(const HixRadius& radius, std::uint8_t (&cell)[kRadiusCellSize]) noexcept
{
    std::memset(cell, 0, sizeof cell);
    const HixReal r = radius.GetR();
    const std::int32_t right = radius.GetRight();
    const std::int32_t small = radius.GetSmall();
    std::memcpy(cell, &r, sizeof r);
    std::memcpy(cell + kRadiusValueSize, &right, sizeof right);
    std::memcpy(cell + kRadiusValueSize + sizeof right, &small, sizeof small);
}

HixRadius TavData::DecodeRadius(const std::uint8_t (&cell)[kRadiusCellSize]) noexcept
{
    HixReal r;
    std::int32_t right = 0;
    std::int32_t small = 0;
    std::memcpy(&r, cell, sizeof r);
    std::memcpy(&right, cell + kRadiusValueSize, sizeof right);
    std::memcpy(&small, cell + kRadiusValueSize + sizeof right, sizeof small);
    HixRadius radius{r};
    radius.SetRight(right);
    radius.SetSmall(small);
    return radius;
}

plat::BOOL TavData::Get(long itemNo, long record, void* buffer, unsigned size) const
{
    return GetBuffer(itemNo, record, buffer, size);
}

plat::BOOL TavData::Get(unsigned id, long record, unsigned char& value) const { return Get(ItemOf(id), record, value); }
plat::BOOL TavData::Get(unsigned id, long record, unsigned short& value) const { return Get(ItemOf(id), record, value); }
plat::BOOL TavData::Get(unsigned id, long record, int& value) const { return Get(ItemOf(id), record, value); }
plat::BOOL TavData::Get(unsigned id, long record, long& value) const { return Get(ItemOf(id), record, value); }
plat::BOOL TavData::Get(unsigned id, long record, double& value) const { return Get(ItemOf(id), record, value); }
plat::BOOL TavData::Get(unsigned id, long record, std::string& text) const { return Get(ItemOf(id), record, text); }
plat::BOOL TavData::Get(unsigned id, long record, HixRadius& radius) const { return Get(ItemOf(id), record, radius); }

plat::BOOL TavData::Get(unsigned id, long record, void* buffer, unsigned size) const
{
    return Get(ItemOf(id), record, buffer, size);
}

// ---- typed writes ----

plat::BOOL TavData::Set(long itemNo, long record, unsigned char value)
{
    const std::uint32_t stored = value;
    return SetBuffer(itemNo, record, &stored, sizeof stored);
}

plat::BOOL TavData::Set(long itemNo, long record, unsigned short value)
{
    return SetBuffer(itemNo, record, &value, sizeof value);
}

plat::BOOL TavData::Set(long itemNo, long record, int value) { return SetBuffer(itemNo, record, &value, sizeof value); }

plat::BOOL TavData::Set(long itemNo, long record, long value)
{
    const auto stored = static_cast<double>(value);
    return SetBuffer(itemNo, record, &stored, sizeof stored);
}

plat::BOOL TavData::Set(long itemNo, long record, const double& value)
{
    return SetBuffer(itemNo, record, &value, sizeof value);
}

plat::BOOL TavData::Set(long itemNo, long record, const char* text)
{
    return SetText(itemNo, record, text ? std::string_view(text) : std::string_view());
}

plat::BOOL TavData::Set(long itemNo, long record, const std::string& text) { return SetText(itemNo, record, text); }

plat::BOOL TavData::SetText(long itemNo, long record, std::string_view text)
{
    const unsigned size = GetItemSize(itemNo);
    if (size == 0)
        return FALSE;
    std::string& narrow = NarrowScratch();
    if (plat::Utf8ToNarrowInto(text, narrow) != std::string::npos)
        return FALSE;
    const std::size_t length = plat::NarrowFitLength(narrow, size - 1);
    // The cell is built in a buffer of this call's own: the change hooks see it and may read
    // or write other text cells meanwhile.
    char small[256];
    std::vector<char> large;
    char* buffer = small;
    if (size > sizeof small) {
        large.resize(size);
        buffer = large.data();
    }
    std::memcpy(buffer, narrow.data(), length);
    std::memset(buffer + length, 0, size - length);
    return SetBuffer(itemNo, record, buffer, size);
}

plat::BOOL TavData::Set(long itemNo, long record, const HixRadius& radius)
{
    std::uint8_t cell[kRadiusSize];
    EncodeRadius(radius, cell);
    return SetBuffer(itemNo, record, cell, sizeof cell);
}

plat::BOOL TavData::Set(long itemNo, long record, const void* buffer, unsigned size)
{
    return SetBuffer(itemNo, record, buffer, size);
}

plat::BOOL TavData::Set(unsigned id, long record, unsigned char value) { return Set(ItemOf(id), record, value); }
plat::BOOL TavData::Set(unsigned id, long record, unsigned short value) { return Set(ItemOf(id), record, value); }
plat::BOOL TavData::Set(unsigned id, long record, int value) { return Set(ItemOf(id), record, value); }
plat::BOOL TavData::Set(unsigned id, long record, long value) { return Set(ItemOf(id), record, value); }
plat::BOOL TavData::Set(unsigned id, long record, const double& value) { return Set(ItemOf(id), record, value); }
plat::BOOL TavData::Set(unsigned id, long record, const char* text) { return Set(ItemOf(id), record, text); }
plat::BOOL TavData::Set(unsigned id, long record, const std::string& text) { return Set(ItemOf(id), record, text); }
plat::BOOL TavData::Set(unsigned id, long record, const HixRadius& radius) { return Set(ItemOf(id), record, radius); }

plat::BOOL TavData::Set(unsigned id, long record, const void* buffer, unsigned size)
{
    return Set(ItemOf(id), record, buffer, size);
}

plat::BOOL TavData::Delete(long itemNo, long record) { return Remove(itemNo, record); }

plat::BOOL TavData::Delete(unsigned id, long record) { return Remove(ItemOf(id), record); }

plat::BOOL TavData::QueryIsBlank(long itemNo, long record) const
{
    // Presence alone answers: no bytes need to be read.
    return GetBuffer(itemNo, record, nullptr, 0) ? FALSE : TRUE;
}

plat::BOOL TavData::QueryIsBlank(unsigned id, long record) const { return QueryIsBlank(ItemOf(id), record); }

// ---- layout ----

template <class Field>
bool TavData::ChangeLayout(Field& field, Field value, TavLayoutChange how)
{
    if (field == value)
        return false;
    const bool edit = how == TavLayoutChange::Edit;
    if (edit) {
        // The lock switch and ranges alone are cheap to keep and to put back without
        // rebuilding the columns, which the rest of the layout needs.
        const void* changing = &field;
        if (changing == &m_locks || changing == &m_cellLock)
            m_history.RecordLocks();
        else
            m_history.RecordLayout();
    }
    field = std::move(value);
    if (edit)
        SetModifiedFlag(TRUE);
    return true;
}

void TavData::SetTemplateName(std::string name, TavLayoutChange how) { ChangeLayout(m_templateName, std::move(name), how); }

void TavData::SetTemplate(std::vector<unsigned> columns, TavLayoutChange how) { ChangeLayout(m_template, std::move(columns), how); }

void TavData::SetWidths(std::vector<unsigned> widths, TavLayoutChange how)
{
    BoundWidths(widths);
    ChangeLayout(m_widths, std::move(widths), how);
}

void TavData::SetItemWidth(long itemNo, unsigned width)
{
    if (itemNo < 0 || static_cast<std::size_t>(itemNo) >= m_widths.size())
        throw plat::InvalidArgument("item number " + std::to_string(itemNo) + " has no width (" +
                                    std::to_string(m_widths.size()) + " widths)");
    std::vector<unsigned> widths = m_widths;
    widths[static_cast<std::size_t>(itemNo)] = width;
    SetWidths(std::move(widths));
}

void TavData::SetLocks(TavLockArray locks, TavLayoutChange how) { ChangeLayout(m_locks, std::move(locks), how); }

plat::BOOL TavData::SetAutoWidthFlag(plat::BOOL on, TavLayoutChange how)
{
    return ChangeLayout(m_autoWidth, on ? TRUE : FALSE, how) ? TRUE : FALSE;
}

plat::BOOL TavData::SetCellLockFlag(plat::BOOL on, TavLayoutChange how)
{
    return ChangeLayout(m_cellLock, on ? TRUE : FALSE, how) ? TRUE : FALSE;
}

void TavData::SetModifiedFlag(plat::BOOL modified)
{
    if (modified)
        m_history.ChangedOutside();
    else
        m_history.MarkSaved();
    MoxData::SetModifiedFlag(modified);
    NotifyDocument(modified);
}

void TavData::NotifyDocument(plat::BOOL modified) const
{
    // Only a live view is asked: a bound window need not have been created yet.
    plat::Wnd* cell = Cell();
    if (!plat::IsWindow(cell))
        return;
    if (auto* view = dynamic_cast<MoxCellView*>(cell); view != nullptr && view->GetDocument() != nullptr)
        view->GetDocument()->SetModifiedFlag(modified);
}

// ---- the base table's questions and notifications ----

plat::BOOL TavData::ChangeDispNumber(long& number, long& /*other*/, plat::BOOL toColumn) const
{
    return m_manager ? m_manager->ChangeDispNumber(number, toColumn) : FALSE;
}

plat::BOOL TavData::GetDispCellSize(long& columns, long& rows)
{
    return m_manager ? m_manager->GetDispCellSize(columns, rows) : MoxData::GetDispCellSize(columns, rows);
}

unsigned TavData::OnGetDataSize(long itemNo) const
{
    if (m_manager == nullptr)
        throw plat::InvalidArgument("the record table has no manager to size item " + std::to_string(itemNo));
    return m_manager->GetDataSize(itemNo);
}

plat::BOOL TavData::OnGetText(long itemNo, long record, std::string& text)
{
    return m_manager ? m_manager->GetText(itemNo, record, text) : FALSE;
}

plat::BOOL TavData::OnGetData(long itemNo, long record, const char* text, void* buffer, unsigned& size)
{
    return m_manager ? m_manager->GetData(itemNo, record, text, buffer, size) : FALSE;
}

plat::BOOL TavData::OnGetData(long itemNo, long record, plat::Wnd* editor, void* buffer, unsigned& size)
{
    return m_manager ? m_manager->GetData(itemNo, record, editor, buffer, size) : FALSE;
}

plat::BOOL TavData::OnDataChanging(long itemNo, long record, const void* newBytes)
{
    // A table that no grid shows is being filled by its host, which needs no asking.
    if (!HasWindow() || m_restoring || OnDataChanging(ID(itemNo), record, newBytes)) {
        m_history.RecordCell(itemNo, record);
        return TRUE;
    }
    return FALSE;
}

void TavData::OnDataChanged(long itemNo, long record)
{
    if (HasWindow() && m_changePaneCall)
        OnDataChanged(ID(itemNo), record);
}

plat::BOOL TavData::OnQueryRemove(long itemNo, long record)
{
    if (m_manager == nullptr || m_restoring) {
        m_history.RecordCell(itemNo, record);
        return TRUE;
    }
    const unsigned id = ID(itemNo);
    if (!m_manager->OnActiveControl(id, record) || !OnQueryRemove(id, record))
        return FALSE;
    m_history.RecordCell(itemNo, record);
    return TRUE;
}

void TavData::OnInitLineData(long /*record*/) {}

void TavData::OnFinishLineData() {}

plat::BOOL TavData::OnDataChanging(unsigned /*id*/, long /*record*/, const void* /*newBytes*/) { return TRUE; }

void TavData::OnDataChanged(unsigned /*id*/, long /*record*/) {}

plat::BOOL TavData::OnQueryRemove(unsigned /*id*/, long /*record*/) { return TRUE; }

TavManager* TavData::OnCreateManagerPtr() { return nullptr; }

// ---- stored form ----

void TavData::WriteTemplateBlock(plat::Archive& archive) const
{
    // A name read from bytes that are not text goes back as those bytes while it is unchanged.
    if (!m_templateNameBytes.empty() && m_templateName == plat::NarrowToUtf8Replacing(m_templateNameBytes))
        archive.WriteNarrowString(m_templateNameBytes);
    else
        archive.WriteString(m_templateName);
    archive.WriteUIntArray(m_template);
    archive.WriteInt32(m_autoWidth);
    archive.WriteInt32(m_cellLock);
    archive.WriteUInt32(static_cast<std::uint32_t>(m_locks.GetSize()));
    for (const TavLockData& lock : m_locks) {
        archive.WriteUInt32(lock.id);
        archive.WriteInt32(lock.first);
        archive.WriteInt32(lock.last);
    }
    archive.WriteUIntArray(m_widths);
}

TavData::TemplateBlock TavData::ReadTemplateBlock(plat::Archive& archive)
{
    TemplateBlock block;
    block.name = archive.ReadStringForShowing(block.nameBytes);
    block.templ = archive.ReadUIntArray();
    block.autoWidth = archive.ReadInt32();
    block.cellLock = archive.ReadInt32();
    const std::uint32_t count = archive.ReadUInt32();
    archive.RequireRemaining(count, sizeof(TavLockData));
    for (std::uint32_t i = 0; i < count; ++i) {
        TavLockData lock;
        lock.id = archive.ReadUInt32();
        lock.first = archive.ReadInt32();
        lock.last = archive.ReadInt32();
        block.locks.Add(lock);
    }
    block.widths = archive.ReadUIntArray();
    BoundWidths(block.widths);
    return block;
}

void TavData::ApplyTemplateBlock(TemplateBlock&& block) noexcept
{
    m_templateName = std::move(block.name);
    m_templateNameBytes = std::move(block.nameBytes);
    m_template = std::move(block.templ);
    m_autoWidth = block.autoWidth;
    m_cellLock = block.cellLock;
    m_locks = std::move(block.locks);
    m_widths = std::move(block.widths);
}

void TavData::BoundWidths(std::vector<unsigned>& widths) noexcept
{
    constexpr auto widest = static_cast<unsigned>(MoxCellCtrl::kMaxPaneWidth);
    for (unsigned& width : widths)
        width = std::min(width, widest);
}

void TavData::SerializeTemplate(plat::Archive& archive)
{
    if (archive.IsStoring())
        WriteTemplateBlock(archive);
    else
        ApplyTemplateBlock(ReadTemplateBlock(archive));
}

void TavData::Serialize(plat::Archive& archive)
{
    if (archive.IsStoring()) {
        StoreTable(archive);
        archive.WriteInt32(m_templateVersion);
        WriteTemplateBlock(archive);
        OnEndSerialize(false);
        return;
    }
    // Everything is read before anything is applied, so a damaged document changes nothing.
    StoredTable table = LoadTable(archive);
    const std::int32_t version = archive.ReadInt32();
    TemplateBlock block = ReadTemplateBlock(archive);
    ApplyTable(std::move(table));
    m_templateVersion = version;
    ApplyTemplateBlock(std::move(block));
    // The steps taken on the table before belong to another document.
    m_history.Clear();
    OnEndSerialize(true);
}
