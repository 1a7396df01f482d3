// A nine-column table of texts, 2,000 rows, shown in a grid, for pasting whole blocks through
// the clipboard as a person does: what the undo history keeps of many such pastes.
#pragma once

#include "bench/PointList.h"
#include "components/support/QanLimitEdit.h"
#include "tav/window/TavCellCtrl.h"

#include <array>
#include <string>

namespace bench {

inline const plat::Module& BlockModule()
{
    static const plat::Module* module = [] {
        static plat::Module m("paste block bench");
        for (unsigned id = 101; id <= 109; ++id)
            m.AddStrings({{id, "項目" + std::to_string(id - 100) + "\n" + std::to_string(id - 100)}});
        return &m;
    }();
    return *module;
}

class BlockManager : public TavManager {
public:
    static constexpr long kRows = 2000;
    static constexpr unsigned kTextBytes = 16;

    BlockManager() : TavManager(&BlockModule())
    {
        SetSize(static_cast<long>(m_declaration.size()), kRows);
        SetTemplate(m_declaration.data());
    }
    const char* GetRegSection() override { return "PasteBlockBench"; }
    const char* GetSoftware() override { return "Bench"; }
    plat::Wnd* OnGetControl(unsigned id, int&) override { return id >= 101 && id <= 109 ? &m_texts[id - 101] : nullptr; }

private:
    std::array<QanLimitEdit, 9> m_texts{QanLimitEdit(kTextBytes), QanLimitEdit(kTextBytes), QanLimitEdit(kTextBytes),
                                        QanLimitEdit(kTextBytes), QanLimitEdit(kTextBytes), QanLimitEdit(kTextBytes),
                                        QanLimitEdit(kTextBytes), QanLimitEdit(kTextBytes), QanLimitEdit(kTextBytes)};
    std::array<int, 9> m_declaration{101, 102, 103, 104, 105, 106, 107, 108, 109};
};

// The block as a spreadsheet puts it on the clipboard: every field the same text.
inline std::string BlockText(const std::string& field)
{
    std::string line;
    for (int column = 0; column < 9; ++column)
        line += (column == 0 ? "" : "\t") + field;
    line += '\n';
    std::string text;
    text.reserve(line.size() * BlockManager::kRows);
    for (long row = 0; row < BlockManager::kRows; ++row)
        text += line;
    return text;
}

struct PasteBlock {
    PasteBlock() : host(manager)
    {
        host.Create("Host", "", plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, nullptr, 0);
        grid.Create(plat::WS_VISIBLE, plat::RECT{0, 0, 640, 400}, &host, 1);
        manager.Associate(&grid, &data);
    }

    Environment environment;
    BlockManager manager;
    TavData data;
    HostWindow host;
    TavCellCtrl grid;
};

} // namespace bench
