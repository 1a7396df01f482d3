// A group of 1,000 stored templates on the SQLite registry in a temporary folder, for the
// template store and transfer benchmarks: 40 items, 40 widths and 8 lock ranges each, as a
// user who keeps many layouts of a wide table would have.
#pragma once

#include "platform/registry/Registry.h"
#include "platform/registry/SqliteRegistryStore.h"
#include "tav/data/TavData.h"
#include "tav/manager/TavManager.h"
#include "tav/templates/TavTemplate.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace bench {

constexpr int kTemplates = 1000;
constexpr unsigned kItems = 40;

class BenchManager : public TavManager {
public:
    explicit BenchManager(TavData& data) : TavManager(nullptr) { AttachTable(&data); }
    const char* GetRegSection() override { return "Points"; }
    const char* GetSoftware() override { return "Bench"; }
};

inline std::string TemplateNameOf(int index)
{
    char name[32];
    std::snprintf(name, sizeof name, "Layout %04d", index);
    return name;
}

// The user's registry file in a folder of its own for the whole run, removed at exit.
class StoredTemplates {
public:
    StoredTemplates()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavtemplates-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        m_folder = pattern;
        auto opened = plat::SqliteRegistryStore::Open(m_folder / "user.sqlite3", plat::SqliteRegistryStore::Mode::ReadWrite);
        if (!opened.store)
            throw std::runtime_error("cannot open the registry file: " + opened.error);
        plat::RegSetStore(plat::HKEY_CURRENT_USER, std::move(opened.store));

        for (unsigned item = 0; item < kItems; ++item) {
            m_data.Template().push_back(1000 + item);
            m_data.Width().push_back(64 + item);
        }
        for (int lock = 0; lock < 8; ++lock)
            m_data.Lock().Add({1000u + static_cast<unsigned>(lock), lock * 100, lock * 100 + 99});
        m_data.SetCellLockFlag(TRUE);
        TavTemplate templates(&m_manager);
        for (int index = 0; index < kTemplates; ++index)
            if (!templates.SaveTemplate(TemplateNameOf(index)))
                std::abort(); // an in-memory store refuses nothing; the bench needs every template
    }
    ~StoredTemplates()
    {
        plat::RegSetStore(plat::HKEY_CURRENT_USER, nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    StoredTemplates(const StoredTemplates&) = delete;
    StoredTemplates& operator=(const StoredTemplates&) = delete;

    [[nodiscard]] const std::filesystem::path& Folder() const noexcept { return m_folder; }

    TavData m_data;
    BenchManager m_manager{m_data};

private:
    std::filesystem::path m_folder;
};

} // namespace bench
