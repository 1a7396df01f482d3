// The text of a screenful of cells, as the grid asks for it on every redraw: 60 rows by 12
// columns of numbers, measures, texts and choices through the manager, side by side with
// snprintf of the same numbers, which is the least any number display must spend.
#include "components/support/LunMrmNumEdit.h"
#include "components/support/QanLimitEdit.h"
#include "components/support/QanNumEdit.h"
#include "components/support/TavcToggleButton.h"
#include "platform/ui/Controls.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr long kRecords = 100'000;
constexpr long kFirstRow = 50'000;
constexpr long kRows = 60;
constexpr long kColumns = 12;

// Columns: 0-3 plain numbers (3 decimals), 4-6 measures, 7-9 texts, 10 a list, 11 a toggle.
bool IsNumberColumn(long column) { return column < 7; }

class ScreenManager : public TavManager {
public:
    ScreenManager() : TavManager(nullptr)
    {
        for (int id = 1; id <= kColumns; ++id)
            m_declaration.push_back(id);
        SetSize(kColumns, kRecords);
        SetTemplate(m_declaration.data());
        for (QanNumEdit& edit : m_numbers)
            edit.SetFractionFigure(3);
        const HixMrm rule(5, 0, 3);
        for (LunMrmNumEdit& edit : m_measures)
            edit.SetNumAttr(&rule, 1, 0);
        for (const char* entry : {"境界杭", "金属標", "コンクリート杭", "鋲", "なし"})
            m_list.AddString(entry);
        m_toggle.SetTexts({"左", "右"});
    }

    void Bind(TavData& data)
    {
        AttachTable(&data);
        CollectItems();
        data.SetSize(GetItemCount(), kRecords);
        data.Template() = std::vector<unsigned>(m_declaration.begin(), m_declaration.end());
        CreateTemplateMap();
    }

    const char* GetRegSection() override { return "Bench"; }
    plat::Wnd* OnGetControl(unsigned id, int& /*flag*/) override
    {
        const unsigned column = id - 1;
        if (column < 4)
            return &m_numbers[column];
        if (column < 7)
            return &m_measures[column - 4];
        if (column < 10)
            return &m_texts[column - 7];
        return column == 10 ? static_cast<plat::Wnd*>(&m_list) : &m_toggle;
    }
    unsigned OnGetDataSize(unsigned id) const override
    {
        const unsigned column = id - 1;
        return column < 7 ? 8 : column < 10 ? 21 : 4;
    }

private:
    std::vector<int> m_declaration;
    QanNumEdit m_numbers[4];
    LunMrmNumEdit m_measures[3]{LunMrmNumEdit(5), LunMrmNumEdit(5), LunMrmNumEdit(5)};
    QanLimitEdit m_texts[3]{QanLimitEdit(20), QanLimitEdit(20), QanLimitEdit(20)};
    plat::ComboBox m_list;
    TavcToggleButton m_toggle;
};

double CellNumber(long record, long column) { return 10000.0 + record * 0.125 + column * 1.0137; }

struct Screen {
    ScreenManager manager;
    TavData data;
    Screen()
    {
        manager.Bind(data);
        for (long record = 0; record < kRecords; ++record)
            for (long column = 0; column < kColumns; ++column) {
                if (IsNumberColumn(column))
                    benchmark::DoNotOptimize(data.Set(column, record, CellNumber(record, column)));
                else if (column < 10)
                    benchmark::DoNotOptimize(data.Set(column, record, std::string("No.") + std::to_string(record % 997)));
                else
                    benchmark::DoNotOptimize(data.Set(column, record, static_cast<int>(record % (column == 10 ? 5 : 2))));
            }
    }
};

Screen& TheScreen()
{
    static Screen* screen = new Screen;
    return *screen;
}

void BM_ScreenText(benchmark::State& state)
{
    Screen& screen = TheScreen();
    std::string text;
    for (auto _ : state) {
        for (long row = kFirstRow; row < kFirstRow + kRows; ++row)
            for (long column = 0; column < kColumns; ++column) {
                screen.data.OnGetText(column, row, text);
                benchmark::DoNotOptimize(text.data());
            }
    }
    state.SetItemsProcessed(state.iterations() * kRows * kColumns);
}
BENCHMARK(BM_ScreenText)->Unit(benchmark::kMicrosecond);

// Only the screen's number cells through the manager, for the ratio to bare formatting.
void BM_ScreenNumberText(benchmark::State& state)
{
    Screen& screen = TheScreen();
    std::string text;
    for (auto _ : state) {
        for (long row = kFirstRow; row < kFirstRow + kRows; ++row)
            for (long column = 0; column < kColumns; ++column)
                if (IsNumberColumn(column)) {
                    screen.data.OnGetText(column, row, text);
                    benchmark::DoNotOptimize(text.data());
                }
    }
    state.SetItemsProcessed(state.iterations() * kRows * 7);
}
BENCHMARK(BM_ScreenNumberText)->Unit(benchmark::kMicrosecond);

// The same numbers with snprintf("%.3f") into the same reused string.
void BM_ScreenNumbersSnprintf(benchmark::State& state)
{
    std::string text;
    for (auto _ : state) {
        for (long row = kFirstRow; row < kFirstRow + kRows; ++row)
            for (long column = 0; column < kColumns; ++column)
                if (IsNumberColumn(column)) {
                    char buffer[64];
                    const int length = std::snprintf(buffer, sizeof buffer, "%.*f", 3, CellNumber(row, column));
                    text.assign(buffer, static_cast<std::size_t>(length));
                    benchmark::DoNotOptimize(text.data());
                }
    }
    state.SetItemsProcessed(state.iterations() * kRows * 7);
}
BENCHMARK(BM_ScreenNumbersSnprintf)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
