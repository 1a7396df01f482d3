// The registry store kept in a SQLite database file: one per user, shared by every program of
// that user at once (WAL, a busy timeout, each change one transaction, durable on return).
#pragma once

#include "platform/registry/RegistryStore.h"

#include <array>
#include <filesystem>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace plat {

class SqliteRegistryStore final : public RegistryStore {
public:
    enum class Mode { ReadWrite, ReadOnly };

    struct OpenResult {
        std::unique_ptr<SqliteRegistryStore> store;
        // Why the store could not be opened; empty on success, and when the file is missing.
        std::string error;
        // The file does not exist (or, read-only, holds no registry yet): nothing to read.
        bool missing = false;
        // Read-write only: the file or its folder cannot be written, though it may be read
        // in ReadOnly mode.
        bool notWritable = false;
    };

    // Opens a registry database, creating it (and its folder) when it is missing and the mode
    // allows. A file that is not a registry database is refused and left untouched.
    [[nodiscard]] static OpenResult Open(const std::filesystem::path& path, Mode mode);

    ~SqliteRegistryStore() override;

    const std::filesystem::path& Path() const noexcept { return m_path; }

    bool IsReadOnly() const noexcept override { return m_readOnly; }
    RegKeyId RootKey() const noexcept override { return kRootKey; }

    LONG FindKey(RegKeyId parent, std::string_view name, RegKeyId& key) override;
    LONG CreateKeyPath(RegKeyId parent, std::span<const std::string_view> names, std::string_view className,
                       RegKeyId& key, bool& created) override;
    LONG GetClass(RegKeyId key, std::string& className) override;
    LONG ListSubKeys(RegKeyId key, std::vector<RegSubKeyEntry>& subKeys) override;
    LONG ListValues(RegKeyId key, std::vector<RegValueEntry>& values) override;
    LONG GetValue(RegKeyId key, std::string_view name, DWORD& type, std::vector<BYTE>& data) override;
    LONG SetValue(RegKeyId key, std::string_view name, DWORD type, std::span<const BYTE> data) override;
    LONG DeleteValue(RegKeyId key, std::string_view name) override;
    LONG DeleteKey(RegKeyId parent, std::string_view name, bool wholeTree) override;
    LONG KeyDepth(RegKeyId key, std::size_t& depth) override { return DepthOf(key, depth); }
    LONG Apply(RegKeyId base, std::span<const RegChange> changes) override;
    std::uint64_t Generation() override;
    std::string LastError() const override { return m_lastError; }

    // The marker in the database header that tells a registry database from any other.
    static constexpr std::int32_t kApplicationId = 0x54415652; // "TAVR"
    static constexpr std::int32_t kSchemaVersion = 1;

private:
    static constexpr RegKeyId kRootKey = 1;

    enum Statement {
        kBegin,
        kCommit,
        kRollback,
        kFindKey,
        kInsertKey,
        kKeyClass,
        kKeyExists,
        kListKeys,
        kHasSubKeys,
        kDeleteKey,
        kDeleteTree,
        kListValues,
        kGetValue,
        kSetValue,
        kDeleteValue,
        kDataVersion,
        kKeyDepth,
        kStatementCount
    };

    class Query;
    class Transaction;

    SqliteRegistryStore(sqlite3* db, std::filesystem::path path, bool readOnly);
    [[nodiscard]] std::string Prepare();
    LONG Fail(int sqliteCode);
    LONG FindChild(RegKeyId parent, std::string_view folded, RegKeyId& key);
    LONG DepthOf(RegKeyId key, std::size_t& depth);
    LONG CreatePathIn(RegKeyId parent, std::span<const std::string_view> names, std::string_view className,
                      RegKeyId& key, bool& created);
    LONG DeleteKeyIn(RegKeyId parent, std::string_view name, bool wholeTree);
    LONG SetValueIn(RegKeyId key, std::string_view name, DWORD type, std::span<const BYTE> data);
    LONG DeleteValueIn(RegKeyId key, std::string_view name, bool& deleted);
    // Before a change: the file at the path must still be the one this connection writes.
    // A file deleted under a running program is made again from what the connection holds;
    // one replaced by another program is taken as it is.
    LONG FollowFile();
    void RememberFile();

    sqlite3* m_db;
    std::filesystem::path m_path;
    bool m_readOnly;
    std::array<sqlite3_stmt*, kStatementCount> m_statements{};
    std::string m_lastError;
    std::int64_t m_dataVersion = -1;
    std::uint64_t m_generation = 0;
    // The identity of the file the connection was opened on.
    std::uint64_t m_device = 0;
    std::uint64_t m_inode = 0;
};

} // namespace plat
