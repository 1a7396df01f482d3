// Template transfer of a group of 1,000 stored templates on the SQLite registry in a temporary
// file: capture and save of each to its template file, and restore of each from its file, each
// beside the bare operation it cannot avoid (the atomic write of the same bytes; one store
// transaction), so that the ratio shows what capture, archive and checks add. Timed by the
// clock on the wall, as both wait for the disk.
#include "bench/StoredTemplates.h"
#include "platform/io/Files.h"
#include "platform/registry/Registry.h"
#include "platform/registry/SqliteRegistryStore.h"
#include "tav/data/TavData.h"
#include "tav/data/TavUserData.h"
#include "tav/manager/TavManager.h"
#include "tav/templates/RegKeyFile.h"
#include "tav/templates/TavTemplate.h"
#include "tav/templates/TransferFolders.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using bench::kTemplates;

std::string NameOf(int index) { return bench::TemplateNameOf(index); }

const char* kGroupPath = "Software\\Zervan Soft\\Bench\\Application\\Points\\Cell Template\\Points";

// The stored group and a file of each template beside the registry file, for the whole run.
class Group {
public:
    Group()
    {
        if (plat::RegOpenKeyEx(plat::HKEY_CURRENT_USER, kGroupPath, 0, plat::KEY_ALL_ACCESS, &m_group)
            != plat::ERROR_SUCCESS)
            throw std::runtime_error("the group key is missing");
        // Every benchmark finds the files, whichever runs first.
        for (int index = 0; index < kTemplates; ++index) {
            plat::HKEY key = nullptr;
            (void)plat::RegOpenKeyEx(m_group, NameOf(index).c_str(), 0, plat::KEY_READ, &key);
            TavUserData header;
            header.SetString(NameOf(index));
            if (!SaveKeyToFile(key, FileOf(index), header))
                throw std::runtime_error("cannot write the template files");
            plat::RegCloseKey(key);
        }
    }
    ~Group() { plat::RegCloseKey(m_group); }

    std::filesystem::path FileOf(int index) const { return m_stored.Folder() / TemplateFileName(index + 1); }

    plat::HKEY m_group = nullptr;

private:
    bench::StoredTemplates m_stored; // made before the constructor's body opens its group
};

Group& TheGroup()
{
    static Group group;
    return group;
}

void PerTemplate(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * kTemplates);
    state.counters["per_template"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kTemplates), benchmark::Counter::kIsRate |
                                                                                      benchmark::Counter::kInvert);
}

void SaveGroupToFiles(benchmark::State& state)
{
    Group& group = TheGroup();
    for (auto _ : state) {
        for (int index = 0; index < kTemplates; ++index) {
            plat::HKEY key = nullptr;
            if (plat::RegOpenKeyEx(group.m_group, NameOf(index).c_str(), 0, plat::KEY_READ, &key) != plat::ERROR_SUCCESS)
                state.SkipWithError("a template is missing");
            TavUserData header;
            header.SetString(NameOf(index));
            if (!SaveKeyToFile(key, group.FileOf(index), header))
                state.SkipWithError("a save failed");
            plat::RegCloseKey(key);
        }
    }
    PerTemplate(state);
}
BENCHMARK(SaveGroupToFiles)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The bare part of a save: the same bytes written to the same files the same atomic way.
void PlainFileWrites(benchmark::State& state)
{
    Group& group = TheGroup();
    std::vector<std::uint8_t> bytes;
    if (plat::ReadWholeFile(group.FileOf(0), bytes))
        state.SkipWithError("no template file");
    for (auto _ : state) {
        for (int index = 0; index < kTemplates; ++index) {
            if (plat::WriteFileAtomically(group.FileOf(index), bytes))
                state.SkipWithError("a write failed");
        }
    }
    state.counters["bytes_per_file"] = static_cast<double>(bytes.size());
    PerTemplate(state);
}
BENCHMARK(PlainFileWrites)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void RestoreGroupFromFiles(benchmark::State& state)
{
    Group& group = TheGroup();
    for (auto _ : state) {
        for (int index = 0; index < kTemplates; ++index) {
            TavUserData header;
            if (!RestoreKeyFromFile(group.m_group, NameOf(index), group.FileOf(index), header, true))
                state.SkipWithError("a restore failed");
        }
    }
    PerTemplate(state);
}
BENCHMARK(RestoreGroupFromFiles)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The bare part of a restore: one store transaction that changes one value.
void OneValueTransactions(benchmark::State& state)
{
    Group& group = TheGroup();
    std::vector<plat::BYTE> data = {'0', ',', 0};
    for (auto _ : state) {
        for (int index = 0; index < kTemplates; ++index) {
            data[0] = static_cast<plat::BYTE>('0' + (data[0] - '0' + 1) % 10);
            const plat::RegChange change{plat::RegChange::Kind::SetValue, "Bare", "Template", plat::REG_SZ, data, {}};
            if (plat::RegApplyChanges(group.m_group, std::span(&change, 1)) != plat::ERROR_SUCCESS)
                state.SkipWithError("a transaction failed");
        }
    }
    PerTemplate(state);
}
BENCHMARK(OneValueTransactions)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// An empty store transaction: what the store costs without reaching the disk.
void EmptyTransactions(benchmark::State& state)
{
    Group& group = TheGroup();
    for (auto _ : state) {
        for (int index = 0; index < kTemplates; ++index) {
            if (plat::RegApplyChanges(group.m_group, {}) != plat::ERROR_SUCCESS)
                state.SkipWithError("a transaction failed");
        }
    }
    PerTemplate(state);
}
BENCHMARK(EmptyTransactions)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
