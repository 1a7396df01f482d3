// The SQLite registry store: keys and values in two tables, statements prepared once per
// store, every change in one transaction.
#include "platform/registry/SqliteRegistryStore.h"

#include "platform/text/NameCompare.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sqlite3.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace plat {
namespace {

constexpr int kBusyTimeoutMs = 10000;

// Key ids are never reused (AUTOINCREMENT): a handle kept on a deleted key must find it gone,
// not land in a key created later.
constexpr const char* kSchema = R"sql(
CREATE TABLE reg_key(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER REFERENCES reg_key(id),
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    class TEXT NOT NULL DEFAULT '',
    UNIQUE(parent, folded));
CREATE TABLE reg_value(
    id INTEGER PRIMARY KEY,
    key_id INTEGER NOT NULL REFERENCES reg_key(id) ON DELETE CASCADE,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE(key_id, folded));
INSERT INTO reg_key(id, parent, name, folded) VALUES(1, NULL, '', '');
)sql";

// Text bound from a string_view; SQLite copies it, so the view may die after the bind. An
// empty view may have no data pointer, which would bind NULL instead of an empty text.
int BindText(sqlite3_stmt* statement, int index, std::string_view text)
{
    return sqlite3_bind_text64(statement, index, text.empty() ? "" : text.data(), text.size(), SQLITE_TRANSIENT,
                               SQLITE_UTF8);
}

using Connection = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;

// Opens a connection (a path, or a URI with SQLITE_OPEN_URI) in place of the one held.
int OpenConnection(const std::string& name, int flags, Connection& db)
{
    sqlite3* opened = nullptr;
    const int rc = sqlite3_open_v2(name.c_str(), &opened, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    db.reset(opened);
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(opened, 1);
        sqlite3_busy_timeout(opened, kBusyTimeoutMs);
    }
    return rc;
}

// The file: URI of a path, for the options that only a URI can carry.
std::string FileUri(const std::filesystem::path& path)
{
    std::string uri = "file:";
    for (const char c : path.string()) {
        if (c == '%' || c == '?' || c == '#') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
            uri += escaped;
        } else {
            uri += c;
        }
    }
    return uri;
}

// Runs a statement that answers one integer (a pragma or a count); SQLITE_OK when it did.
int QueryInteger(sqlite3* db, const char* sql, std::int64_t& result)
{
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW)
        result = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return rc == SQLITE_ROW ? SQLITE_OK : rc;
}

// The file's mark and the number of its schema objects, read in one transaction: another
// program may be initialising the file at this moment, and reads apart could see its schema
// without yet seeing its mark.
int ReadMark(sqlite3* db, std::int64_t& applicationId, std::int64_t& objects)
{
    int rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = QueryInteger(db, "PRAGMA application_id", applicationId);
    if (rc == SQLITE_OK)
        rc = QueryInteger(db, "SELECT count(*) FROM sqlite_schema", objects);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return rc;
}

std::string ErrorText(sqlite3* db) { return db ? sqlite3_errmsg(db) : "out of memory"; }

// Takes a message SQLite allocated, or says nothing when there is none.
std::string TakeMessage(char* message)
{
    std::string text = message ? message : "";
    sqlite3_free(message);
    return text;
}

// Puts the schema and the mark into an empty file; applicationId is then what the file holds.
// Two programs may meet here on a fresh file: the second waits for the first and then finds
// the schema in place. Empty on success, else why it failed.
std::string Initialise(sqlite3* db, std::int64_t& applicationId)
{
    char* message = nullptr;
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, &message) != SQLITE_OK)
        return TakeMessage(message);
    std::int64_t objects = 0;
    if (QueryInteger(db, "PRAGMA application_id", applicationId) != SQLITE_OK
        || QueryInteger(db, "SELECT count(*) FROM sqlite_schema", objects) != SQLITE_OK) {
        std::string error = sqlite3_errmsg(db);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return error;
    }
    if (applicationId != 0 || objects != 0) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return {};
    }
    const std::string init = std::string(kSchema) + "PRAGMA application_id = "
        + std::to_string(SqliteRegistryStore::kApplicationId)
        + "; PRAGMA user_version = " + std::to_string(SqliteRegistryStore::kSchemaVersion) + "; COMMIT;";
    if (sqlite3_exec(db, init.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::string error = TakeMessage(message);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return error;
    }
    applicationId = SqliteRegistryStore::kApplicationId;
    return {};
}

} // namespace

// One use of a cached statement: reset and cleared when it ends, so the next use starts clean.
class SqliteRegistryStore::Query {
public:
    Query(SqliteRegistryStore& store, Statement which) : m_statement(store.m_statements[which]) {}
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    ~Query()
    {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }

    Query& Bind(int index, std::int64_t value)
    {
        sqlite3_bind_int64(m_statement, index, value);
        return *this;
    }
    Query& Bind(int index, std::string_view text)
    {
        BindText(m_statement, index, text);
        return *this;
    }
    Query& BindBlob(int index, std::span<const BYTE> data)
    {
        // A zero-length blob must still be a blob, not NULL: the column refuses NULL.
        static const BYTE empty = 0;
        sqlite3_bind_blob64(m_statement, index, data.empty() ? &empty : data.data(), data.size(), SQLITE_TRANSIENT);
        return *this;
    }
    int Step() { return sqlite3_step(m_statement); }
    std::int64_t Integer(int column) { return sqlite3_column_int64(m_statement, column); }
    std::string_view Text(int column)
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(m_statement, column)))
                    : std::string_view();
    }
    void Blob(int column, std::vector<BYTE>& data)
    {
        const auto* bytes = static_cast<const BYTE*>(sqlite3_column_blob(m_statement, column));
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(m_statement, column));
        data.assign(bytes, bytes + (bytes ? size : 0));
    }

private:
    sqlite3_stmt* m_statement;
};

// BEGIN IMMEDIATE takes the write lock at once, so a second writer waits in the busy handler
// instead of failing when it tries to upgrade a read.
class SqliteRegistryStore::Transaction {
public:
    explicit Transaction(SqliteRegistryStore& store) : m_store(store) { m_rc = Query(store, kBegin).Step(); }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction()
    {
        if (m_rc == SQLITE_DONE && !m_committed)
            (void)Query(m_store, kRollback).Step();
    }
    // The status of BEGIN; anything but ERROR_SUCCESS means the transaction did not start.
    LONG Started() { return m_rc == SQLITE_DONE ? ERROR_SUCCESS : m_store.Fail(m_rc); }
    LONG Commit()
    {
        const int rc = Query(m_store, kCommit).Step();
        if (rc != SQLITE_DONE)
            return m_store.Fail(rc);
        m_committed = true;
        ++m_store.m_generation;
        return ERROR_SUCCESS;
    }

private:
    SqliteRegistryStore& m_store;
    int m_rc;
    bool m_committed = false;
};

SqliteRegistryStore::OpenResult SqliteRegistryStore::Open(const std::filesystem::path& path, Mode mode)
{
    OpenResult result;
    const bool readOnly = mode == Mode::ReadOnly;
    std::error_code ec;
    const bool exists = std::filesystem::exists(path, ec);
    if (readOnly && !exists) {
        result.missing = true;
        return result;
    }
    if (!exists && path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), ec);
        if (ec) {
            result.error = path.string() + ": cannot create its folder: " + ec.message();
            return result;
        }
    }

    Connection db(nullptr, &sqlite3_close);
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (OpenConnection(path.string(), flags, db) != SQLITE_OK) {
        result.error = path.string() + ": cannot open: " + ErrorText(db.get());
        return result;
    }

    // SQLite quietly opens a file it may not write for reading only; its writes would then
    // fail one by one.
    if (!readOnly && sqlite3_db_readonly(db.get(), "main") == 1) {
        result.error = path.string() + ": the file is read-only";
        result.notWritable = true;
        return result;
    }

    // Nothing is written until the file is known to be ours (or empty).
    std::int64_t applicationId = 0;
    std::int64_t objects = 0;
    int rc = ReadMark(db.get(), applicationId, objects);
    if (!readOnly && ((rc & 0xFF) == SQLITE_READONLY || (rc & 0xFF) == SQLITE_CANTOPEN)) {
        // The files beside a WAL database (its log and shared memory) cannot be made.
        result.error = path.string() + ": its folder is read-only";
        result.notWritable = true;
        return result;
    }
    if (readOnly && ((rc & 0xFF) == SQLITE_READONLY || (rc & 0xFF) == SQLITE_CANTOPEN)) {
        // Reading a WAL database takes a shared-memory file beside it, which a user cannot
        // make in a folder that only the administrator writes (the machine's, under /etc).
        // That file changes only when the administrator installs new settings, so it is read
        // as it stands, without the shared memory and without locks.
        if (OpenConnection(FileUri(path) + "?immutable=1", flags | SQLITE_OPEN_URI, db) == SQLITE_OK)
            rc = ReadMark(db.get(), applicationId, objects);
    }
    if (rc != SQLITE_OK) {
        result.error = path.string()
            + ((rc & 0xFF) == SQLITE_NOTADB ? ": not a registry database" : ": cannot read: " + std::string(sqlite3_errstr(rc)))
            + "; it is left as it is";
        return result;
    }
    const std::string notRegistry = path.string() + ": not a registry database; it is left as it is";
    if (applicationId == 0) {
        if (objects != 0) {
            result.error = notRegistry;
            return result;
        }
        if (readOnly) {
            result.missing = true;
            return result;
        }
        if (std::string error = Initialise(db.get(), applicationId); !error.empty()) {
            result.error = path.string() + ": cannot initialise: " + error;
            return result;
        }
    }
    if (applicationId != kApplicationId) {
        result.error = notRegistry;
        return result;
    }
    std::int64_t version = 0;
    if (QueryInteger(db.get(), "PRAGMA user_version", version) != SQLITE_OK || version < 1 || version > kSchemaVersion) {
        result.error = path.string() + ": registry database of an unknown version "
            + std::to_string(version) + "; it is left as it is";
        return result;
    }

    if (!readOnly) {
        // WAL lets readers go on while another program writes; FULL makes every commit
        // reach the disk before the call returns.
        sqlite3_exec(db.get(), "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
        sqlite3_exec(db.get(), "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr);
    }
    sqlite3_exec(db.get(), "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
    std::unique_ptr<SqliteRegistryStore> store(new SqliteRegistryStore(db.release(), path, readOnly));
    if (std::string error = store->Prepare(); !error.empty()) {
        result.error = path.string() + ": " + error;
        return result;
    }
    store->RememberFile();
    result.store = std::move(store);
    return result;
}

void SqliteRegistryStore::RememberFile()
{
    struct stat file {};
    if (::stat(m_path.c_str(), &file) == 0) {
        m_device = static_cast<std::uint64_t>(file.st_dev);
        m_inode = static_cast<std::uint64_t>(file.st_ino);
    }
}

LONG SqliteRegistryStore::FollowFile()
{
    struct stat file {};
    if (::stat(m_path.c_str(), &file) == 0) {
        if (static_cast<std::uint64_t>(file.st_dev) == m_device && static_cast<std::uint64_t>(file.st_ino) == m_inode)
            return ERROR_SUCCESS;
    } else if (errno == ENOENT) {
        // Written whole under another name first and linked into place, so that another
        // program never opens half a copy, and one that made the file first keeps its own.
        std::error_code ec;
        if (m_path.has_parent_path())
            std::filesystem::create_directories(m_path.parent_path(), ec);
        const std::string copy = m_path.string() + ".recreated-" + std::to_string(::getpid());
        ::unlink(copy.c_str());
        sqlite3_stmt* vacuum = nullptr;
        int rc = sqlite3_prepare_v2(m_db, "VACUUM INTO ?1", -1, &vacuum, nullptr);
        if (rc == SQLITE_OK) {
            BindText(vacuum, 1, copy);
            rc = sqlite3_step(vacuum);
        }
        sqlite3_finalize(vacuum);
        bool copied = rc == SQLITE_DONE;
        if (copied) {
            const int fd = ::open(copy.c_str(), O_RDONLY | O_CLOEXEC);
            copied = fd >= 0 && ::fsync(fd) == 0;
            if (fd >= 0)
                ::close(fd);
        }
        if (!copied || (::link(copy.c_str(), m_path.c_str()) != 0 && errno != EEXIST)) {
            m_lastError = m_path.string() + ": the file was deleted and cannot be made again: "
                + (copied ? std::generic_category().message(errno) : std::string(sqlite3_errmsg(m_db)));
            ::unlink(copy.c_str());
            return ERROR_WRITE_FAULT;
        }
        ::unlink(copy.c_str());
    }
    OpenResult reopened = Open(m_path, Mode::ReadWrite);
    if (!reopened.store) {
        m_lastError = reopened.error;
        return reopened.notWritable ? ERROR_ACCESS_DENIED : ERROR_WRITE_FAULT;
    }
    SqliteRegistryStore& fresh = *reopened.store;
    for (sqlite3_stmt*& statement : m_statements)
        sqlite3_finalize(std::exchange(statement, nullptr));
    sqlite3_close(m_db);
    m_db = std::exchange(fresh.m_db, nullptr);
    m_statements = std::exchange(fresh.m_statements, {});
    m_device = fresh.m_device;
    m_inode = fresh.m_inode;
    m_dataVersion = -1;
    ++m_generation;
    return ERROR_SUCCESS;
}

SqliteRegistryStore::SqliteRegistryStore(sqlite3* db, std::filesystem::path path, bool readOnly)
    : m_db(db), m_path(std::move(path)), m_readOnly(readOnly)
{
}

SqliteRegistryStore::~SqliteRegistryStore()
{
    for (sqlite3_stmt* statement : m_statements)
        sqlite3_finalize(statement);
    sqlite3_close(m_db);
}

std::string SqliteRegistryStore::Prepare()
{
    static constexpr std::array<const char*, kStatementCount> kSql = {
        "BEGIN IMMEDIATE",
        "COMMIT",
        "ROLLBACK",
        "SELECT id FROM reg_key WHERE parent = ?1 AND folded = ?2",
        "INSERT INTO reg_key(parent, name, folded, class) VALUES(?1, ?2, ?3, ?4)",
        "SELECT class FROM reg_key WHERE id = ?1",
        "SELECT 1 FROM reg_key WHERE id = ?1",
        "SELECT name, class FROM reg_key WHERE parent = ?1 ORDER BY folded",
        "SELECT 1 FROM reg_key WHERE parent = ?1 LIMIT 1",
        "DELETE FROM reg_key WHERE id = ?1",
        "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL SELECT k.id FROM reg_key k JOIN tree t ON k.parent = t.id) "
        "DELETE FROM reg_key WHERE id IN tree",
        "SELECT name, type, data FROM reg_value WHERE key_id = ?1 ORDER BY id",
        "SELECT type, data FROM reg_value WHERE key_id = ?1 AND folded = ?2",
        "INSERT INTO reg_value(key_id, name, folded, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
        "ON CONFLICT(key_id, folded) DO UPDATE SET type = excluded.type, data = excluded.data",
        "DELETE FROM reg_value WHERE key_id = ?1 AND folded = ?2",
        "PRAGMA data_version",
        // Bounded, so that even a damaged file whose keys form a cycle cannot loop for ever.
        "WITH RECURSIVE chain(id, depth) AS (SELECT ?1, 0 UNION ALL SELECT k.parent, c.depth + 1 FROM reg_key k "
        "JOIN chain c ON k.id = c.id WHERE k.parent IS NOT NULL AND c.depth <= ?2) SELECT max(depth) FROM chain",
    };
    for (std::size_t i = 0; i < kSql.size(); ++i) {
        if (sqlite3_prepare_v3(m_db, kSql[i], -1, SQLITE_PREPARE_PERSISTENT, &m_statements[i], nullptr) != SQLITE_OK)
            return std::string("cannot prepare a statement: ") + sqlite3_errmsg(m_db);
    }
    return {};
}

LONG SqliteRegistryStore::Fail(int sqliteCode)
{
    if (sqliteCode == SQLITE_CONSTRAINT_FOREIGNKEY)
        return ERROR_KEY_DELETED;
    if ((sqliteCode & 0xFF) == SQLITE_READONLY)
        return ERROR_ACCESS_DENIED;
    m_lastError = m_path.string() + ": " + sqlite3_errstr(sqliteCode) + " (" + sqlite3_errmsg(m_db) + ")";
    return ERROR_WRITE_FAULT;
}

std::uint64_t SqliteRegistryStore::Generation()
{
    // data_version moves when another connection commits; our own commits count themselves.
    Query query(*this, kDataVersion);
    if (query.Step() == SQLITE_ROW) {
        const std::int64_t version = query.Integer(0);
        if (version != m_dataVersion) {
            m_dataVersion = version;
            ++m_generation;
        }
    }
    return m_generation;
}

LONG SqliteRegistryStore::FindChild(RegKeyId parent, std::string_view folded, RegKeyId& key)
{
    Query query(*this, kFindKey);
    query.Bind(1, parent).Bind(2, folded);
    const int rc = query.Step();
    if (rc == SQLITE_ROW) {
        key = query.Integer(0);
        return ERROR_SUCCESS;
    }
    return rc == SQLITE_DONE ? ERROR_FILE_NOT_FOUND : Fail(rc);
}

LONG SqliteRegistryStore::DepthOf(RegKeyId key, std::size_t& depth)
{
    if (key == kRootKey) {
        depth = 0;
        return ERROR_SUCCESS;
    }
    Query query(*this, kKeyDepth);
    query.Bind(1, key).Bind(2, static_cast<std::int64_t>(kMaxKeyDepth));
    const int rc = query.Step();
    if (rc != SQLITE_ROW)
        return Fail(rc);
    depth = static_cast<std::size_t>(query.Integer(0));
    return ERROR_SUCCESS;
}

LONG SqliteRegistryStore::FindKey(RegKeyId parent, std::string_view name, RegKeyId& key)
{
    return FindChild(parent, FoldCase(name), key);
}

LONG SqliteRegistryStore::CreatePathIn(RegKeyId parent, std::span<const std::string_view> names,
                                       std::string_view className, RegKeyId& key, bool& created)
{
    created = false;
    RegKeyId current = parent;
    if (names.empty()) {
        Query query(*this, kKeyExists);
        query.Bind(1, parent);
        const int rc = query.Step();
        if (rc != SQLITE_ROW)
            return rc == SQLITE_DONE ? ERROR_KEY_DELETED : Fail(rc);
    }
    bool depthChecked = false;
    for (const std::string_view name : names) {
        const std::string folded = FoldCase(name);
        RegKeyId child = 0;
        LONG status = FindChild(current, folded, child);
        if (status == ERROR_FILE_NOT_FOUND) {
            // Measured only when a key is to be made: opening what exists is the usual case.
            // The caller's transaction rolls back whatever this path made before a refusal.
            if (!depthChecked) {
                std::size_t depth = 0;
                if (status = DepthOf(parent, depth); status != ERROR_SUCCESS)
                    return status;
                if (depth + names.size() > kMaxKeyDepth)
                    return ERROR_INVALID_PARAMETER;
                depthChecked = true;
            }
            Query insert(*this, kInsertKey);
            insert.Bind(1, current).Bind(2, name).Bind(3, folded).Bind(4, className);
            const int rc = insert.Step();
            if (rc != SQLITE_DONE)
                return Fail(rc);
            child = sqlite3_last_insert_rowid(m_db);
            created = true;
        } else if (status != ERROR_SUCCESS) {
            return status;
        } else {
            created = false;
        }
        current = child;
    }
    key = current;
    return ERROR_SUCCESS;
}

LONG SqliteRegistryStore::CreateKeyPath(RegKeyId parent, std::span<const std::string_view> names,
                                        std::string_view className, RegKeyId& key, bool& created)
{
    if (!AreValidRegNames(names))
        return ERROR_INVALID_PARAMETER;
    if (m_readOnly) {
        // Opening what exists is allowed; creating is not.
        RegKeyId current = parent;
        for (const std::string_view name : names) {
            const LONG status = FindKey(current, name, current);
            if (status != ERROR_SUCCESS)
                return status == ERROR_FILE_NOT_FOUND ? ERROR_ACCESS_DENIED : status;
        }
        key = current;
        created = false;
        return ERROR_SUCCESS;
    }
    if (const LONG status = FollowFile(); status != ERROR_SUCCESS)
        return status;
    Transaction transaction(*this);
    if (const LONG status = transaction.Started(); status != ERROR_SUCCESS)
        return status;
    if (const LONG status = CreatePathIn(parent, names, className, key, created); status != ERROR_SUCCESS)
        return status;
    return transaction.Commit();
}

LONG SqliteRegistryStore::GetClass(RegKeyId key, std::string& className)
{
    Query query(*this, kKeyClass);
    query.Bind(1, key);
    const int rc = query.Step();
    if (rc == SQLITE_ROW) {
        className = query.Text(0);
        return ERROR_SUCCESS;
    }
    return rc == SQLITE_DONE ? ERROR_KEY_DELETED : Fail(rc);
}

LONG SqliteRegistryStore::ListSubKeys(RegKeyId key, std::vector<RegSubKeyEntry>& subKeys)
{
    subKeys.clear();
    Query query(*this, kListKeys);
    query.Bind(1, key);
    int rc;
    while ((rc = query.Step()) == SQLITE_ROW)
        subKeys.push_back({std::string(query.Text(0)), std::string(query.Text(1))});
    return rc == SQLITE_DONE ? ERROR_SUCCESS : Fail(rc);
}

LONG SqliteRegistryStore::ListValues(RegKeyId key, std::vector<RegValueEntry>& values)
{
    values.clear();
    Query query(*this, kListValues);
    query.Bind(1, key);
    int rc;
    while ((rc = query.Step()) == SQLITE_ROW) {
        RegValueEntry& value = values.emplace_back();
        value.name = query.Text(0);
        value.type = static_cast<DWORD>(query.Integer(1));
        query.Blob(2, value.data);
    }
    return rc == SQLITE_DONE ? ERROR_SUCCESS : Fail(rc);
}

LONG SqliteRegistryStore::GetValue(RegKeyId key, std::string_view name, DWORD& type, std::vector<BYTE>& data)
{
    Query query(*this, kGetValue);
    query.Bind(1, key).Bind(2, FoldCase(name));
    const int rc = query.Step();
    if (rc == SQLITE_ROW) {
        type = static_cast<DWORD>(query.Integer(0));
        query.Blob(1, data);
        return ERROR_SUCCESS;
    }
    return rc == SQLITE_DONE ? ERROR_FILE_NOT_FOUND : Fail(rc);
}

LONG SqliteRegistryStore::SetValueIn(RegKeyId key, std::string_view name, DWORD type, std::span<const BYTE> data)
{
    Query query(*this, kSetValue);
    query.Bind(1, key).Bind(2, name).Bind(3, FoldCase(name)).Bind(4, static_cast<std::int64_t>(type)).BindBlob(5, data);
    const int rc = query.Step();
    return rc == SQLITE_DONE ? ERROR_SUCCESS : Fail(rc);
}

LONG SqliteRegistryStore::SetValue(RegKeyId key, std::string_view name, DWORD type, std::span<const BYTE> data)
{
    if (m_readOnly)
        return ERROR_ACCESS_DENIED;
    if (!IsValidRegName(name))
        return ERROR_INVALID_PARAMETER;
    if (const LONG status = FollowFile(); status != ERROR_SUCCESS)
        return status;
    // One statement outside a transaction is a transaction of its own.
    const LONG status = SetValueIn(key, name, type, data);
    if (status == ERROR_SUCCESS)
        ++m_generation;
    return status;
}

LONG SqliteRegistryStore::DeleteValueIn(RegKeyId key, std::string_view name, bool& deleted)
{
    Query query(*this, kDeleteValue);
    query.Bind(1, key).Bind(2, FoldCase(name));
    const int rc = query.Step();
    if (rc != SQLITE_DONE)
        return Fail(rc);
    deleted = sqlite3_changes(m_db) > 0;
    return ERROR_SUCCESS;
}

LONG SqliteRegistryStore::DeleteValue(RegKeyId key, std::string_view name)
{
    if (m_readOnly)
        return ERROR_ACCESS_DENIED;
    if (const LONG status = FollowFile(); status != ERROR_SUCCESS)
        return status;
    bool deleted = false;
    const LONG status = DeleteValueIn(key, name, deleted);
    if (status != ERROR_SUCCESS)
        return status;
    if (!deleted)
        return ERROR_FILE_NOT_FOUND;
    ++m_generation;
    return ERROR_SUCCESS;
}

LONG SqliteRegistryStore::DeleteKeyIn(RegKeyId parent, std::string_view name, bool wholeTree)
{
    RegKeyId key = 0;
    if (const LONG status = FindKey(parent, name, key); status != ERROR_SUCCESS)
        return status;
    if (!wholeTree) {
        Query query(*this, kHasSubKeys);
        query.Bind(1, key);
        const int rc = query.Step();
        if (rc == SQLITE_ROW)
            return ERROR_ACCESS_DENIED;
        if (rc != SQLITE_DONE)
            return Fail(rc);
    }
    Query query(*this, wholeTree ? kDeleteTree : kDeleteKey);
    query.Bind(1, key);
    const int rc = query.Step();
    return rc == SQLITE_DONE ? ERROR_SUCCESS : Fail(rc);
}

LONG SqliteRegistryStore::DeleteKey(RegKeyId parent, std::string_view name, bool wholeTree)
{
    if (m_readOnly)
        return ERROR_ACCESS_DENIED;
    if (const LONG status = FollowFile(); status != ERROR_SUCCESS)
        return status;
    Transaction transaction(*this);
    if (const LONG status = transaction.Started(); status != ERROR_SUCCESS)
        return status;
    if (const LONG status = DeleteKeyIn(parent, name, wholeTree); status != ERROR_SUCCESS)
        return status;
    return transaction.Commit();
}

LONG SqliteRegistryStore::Apply(RegKeyId base, std::span<const RegChange> changes)
{
    if (m_readOnly)
        return ERROR_ACCESS_DENIED;
    if (const LONG status = CheckRegChanges(changes); status != ERROR_SUCCESS)
        return status;
    if (const LONG status = FollowFile(); status != ERROR_SUCCESS)
        return status;
    Transaction transaction(*this);
    if (const LONG status = transaction.Started(); status != ERROR_SUCCESS)
        return status;
    for (const RegChange& change : changes) {
        const std::vector<std::string_view> names = SplitKeyPath(change.path);
        LONG status = ERROR_SUCCESS;
        if (change.kind == RegChange::Kind::DeleteTree) {
            if (names.empty())
                return ERROR_ACCESS_DENIED;
            RegKeyId parent = base;
            for (std::size_t i = 0; status == ERROR_SUCCESS && i + 1 < names.size(); ++i)
                status = FindKey(parent, names[i], parent);
            if (status == ERROR_SUCCESS)
                status = DeleteKeyIn(parent, names.back(), true);
            if (status == ERROR_FILE_NOT_FOUND)
                status = ERROR_SUCCESS;
        } else {
            RegKeyId key = 0;
            bool created = false;
            status = CreatePathIn(base, names, change.className, key, created);
            if (status == ERROR_SUCCESS && change.kind == RegChange::Kind::SetValue)
                status = SetValueIn(key, change.valueName, change.type, change.data);
            else if (status == ERROR_SUCCESS && change.kind == RegChange::Kind::DeleteValue)
                status = DeleteValueIn(key, change.valueName, created);
        }
        if (status != ERROR_SUCCESS)
            return status; // the transaction rolls back
    }
    return transaction.Commit();
}

} // namespace plat
