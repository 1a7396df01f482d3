// Reading and writing the lot list as CSV.
#include "LotCsv.h"

#include "LotResources.h"
#include "tav/manager/TavManager.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace lots {

namespace {

constexpr Item kItems[] = {kLotNo, kCategory, kArea, kOwner, kNote};

struct ItemNames {
    std::string longName;
    std::string heading;
};

// The names the string table gives an item: its long name, then its column heading.
ItemNames NamesOf(Item item)
{
    ItemNames names;
    const std::optional<std::string_view> found = LotModule().FindString(item);
    if (!found)
        return names;
    const std::size_t feed = found->find('\n');
    names.longName = std::string(found->substr(0, feed));
    names.heading = feed == std::string_view::npos ? names.longName : std::string(found->substr(feed + 1));
    return names;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

LotCsvImport ReadLotCsv(TavData& data, std::string_view bytes, long first, bool& overflow)
{
    LotCsvImport import;
    overflow = false;
    const auto fail = [&](std::size_t row, std::size_t column, std::string why) {
        import.errorRow = row;
        import.errorColumn = column;
        import.error = std::move(why);
        import.cells.clear();
        return import;
    };
    const plat::CsvDecoded decoded = plat::DecodeCsv(bytes);
    if (!decoded.ok)
        return decoded.line == 0 ? fail(0, 0, "UTF-8 として正しくない文字があります") : fail(decoded.line, 0, "文字コードで表せない文字があります");
    plat::CsvRowReader rows(decoded.text);
    std::vector<std::string> fields;
    if (!rows.NextRow(fields))
        return fail(1, 0, rows.Failed() ? "引用符が閉じていません" : "見出しの行がありません");
    std::vector<long> itemOfColumn;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string_view heading = Trimmed(fields[i]);
        const auto found = std::find_if(std::begin(kItems), std::end(kItems), [&](Item item) {
            const ItemNames names = NamesOf(item);
            return heading == names.heading || heading == names.longName;
        });
        if (found == std::end(kItems))
            return fail(1, i + 1, "見出し \"" + std::string(heading) + "\" は地番一覧の項目ではありません");
        const long itemNo = data.Manager()->IDtoItemNo(*found);
        if (std::find(itemOfColumn.begin(), itemOfColumn.end(), itemNo) != itemOfColumn.end())
            return fail(1, i + 1, "見出し \"" + std::string(heading) + "\" が二度あります");
        itemOfColumn.push_back(itemNo);
    }
    import.first = first;
    std::vector<std::uint8_t> cell;
    while (rows.NextRow(fields)) {
        if (std::all_of(fields.begin(), fields.end(), [](const std::string& field) { return Trimmed(field).empty(); }))
            continue;
        if (fields.size() > itemOfColumn.size())
            return fail(rows.Row(), itemOfColumn.size() + 1, "見出しのない列に値があります");
        const long record = first + import.records;
        if (record >= data.GetRecordCount()) {
            overflow = true;
            return fail(rows.Row(), 0, "行が多すぎます");
        }
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const std::string_view text = Trimmed(fields[i]);
            if (text.empty())
                continue;
            const long itemNo = itemOfColumn[i];
            const unsigned cellSize = data.GetItemSize(itemNo);
            unsigned size = cellSize;
            cell.assign(cellSize, 0);
            // The text as the item's editor takes it when typed or pasted.
            if (!data.OnGetData(itemNo, record, std::string(text).c_str(), cell.data(), size))
                return fail(rows.Row(), i + 1, "\"" + std::string(text.substr(0, 40)) + "\" はこの列の値として読めません");
            if (size == 0)
                continue;
            // Kept zero-filled to the cell's size, as the change hook is handed a cell.
            import.cells.push_back({itemNo, record, rows.Row(), i + 1, import.bytes.size(), cellSize});
            import.bytes.insert(import.bytes.end(), cell.begin(), cell.end());
        }
        ++import.records;
    }
    if (rows.Failed())
        return fail(rows.Row(), 0, "引用符の使い方が正しくありません");
    import.ok = true;
    return import;
}

bool ApplyLotCsv(TavData& data, LotCsvImport& import)
{
    for (const LotCsvImport::Cell& cell : import.cells) {
        if (!data.Set(cell.itemNo, cell.record, import.bytes.data() + cell.offset, cell.size)) {
            import.errorRow = cell.row;
            import.errorColumn = cell.column;
            import.error = "地番一覧がこの値を受け付けません";
            return false;
        }
    }
    return true;
}

bool WriteLotCsv(TavData& data, plat::CsvEncoding encoding, std::string& bytes)
{
    std::string text;
    for (const Item item : kItems) {
        if (item != kItems[0])
            text += ',';
        plat::AppendCsvField(text, NamesOf(item).heading);
    }
    text += "\r\n";
    long itemNos[std::size(kItems)];
    for (std::size_t i = 0; i < std::size(kItems); ++i)
        itemNos[i] = data.Manager()->IDtoItemNo(kItems[i]);
    std::string shown;
    const long last = data.GetLastInputRecordNo();
    for (long record = 0; record <= last; ++record) {
        if (std::all_of(std::begin(itemNos), std::end(itemNos), [&](long itemNo) { return data.QueryIsBlank(itemNo, record); }))
            continue;
        for (std::size_t i = 0; i < std::size(kItems); ++i) {
            if (i > 0)
                text += ',';
            shown.clear();
            if (!data.QueryIsBlank(itemNos[i], record) && data.OnGetText(itemNos[i], record, shown))
                plat::AppendCsvField(text, shown);
        }
        text += "\r\n";
    }
    return plat::EncodeCsv(text, encoding, bytes);
}

} // namespace lots
