#include "registry_store.h"

#include "pal/atomic_file.h"
#include "pal/registry.h"
#include "pal/sandbox.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pal::reg {
namespace {

constexpr int kBusyTimeoutMs = 30'000;

const char* const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    class TEXT NOT NULL DEFAULT '',
    readonly INTEGER NOT NULL DEFAULT 0,
    modified INTEGER NOT NULL DEFAULT 0,
    UNIQUE(parent, folded));
CREATE TABLE IF NOT EXISTS vals(
    key INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE(key, folded));
INSERT OR IGNORE INTO keys(id, parent, name, folded) VALUES
    (1, 0, 'HKEY_CLASSES_ROOT', 'HKEY_CLASSES_ROOT'),
    (2, 0, 'HKEY_CURRENT_USER', 'HKEY_CURRENT_USER'),
    (3, 0, 'HKEY_LOCAL_MACHINE', 'HKEY_LOCAL_MACHINE'),
    (4, 0, 'HKEY_USERS', 'HKEY_USERS');
)sql";

LONG errorOf(int rc) {
    return (rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED ? ERROR_BUSY : ERROR_BADDB;
}

bool isNotDatabase(int rc) {
    return (rc & 0xFF) == SQLITE_NOTADB || (rc & 0xFF) == SQLITE_CORRUPT;
}

// Serialises the opening of the database between processes, so that only one of them sets a bad
// file aside and every other one then opens the fresh file.
class OpenLock {
public:
    explicit OpenLock(const fs::path& file) : fd_(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ >= 0)
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~OpenLock() {
        if (fd_ >= 0)
            ::close(fd_); // releases the lock
    }

private:
    int fd_;
};

} // namespace

fs::path databasePath() {
    return sandbox::root() / "registry.db";
}

Query& Query::bind(int i, std::int64_t v) {
    sqlite3_bind_int64(s_, i, v);
    return *this;
}
Query& Query::bind(int i, std::string_view text) {
    sqlite3_bind_text(s_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
}
Query& Query::bindBlob(int i, std::string_view bytes) {
    // An empty value is still a value: a zero-length blob, never NULL.
    if (bytes.empty())
        sqlite3_bind_zeroblob(s_, i, 0);
    else
        sqlite3_bind_blob(s_, i, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    return *this;
}
bool Query::step() {
    const int rc = sqlite3_step(s_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw DbError{errorOf(rc)};
}
std::string Query::text(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s_, column));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(s_, column))) : std::string();
}
std::string Query::blob(int column) const {
    const auto* p = static_cast<const char*>(sqlite3_column_blob(s_, column));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(s_, column))) : std::string();
}

Store& Store::instance() {
    static Store* s = new Store; // used from static destructors of other layers
    return *s;
}

std::unique_lock<std::mutex> Store::lock() {
    std::unique_lock lock(mutex_);
    ensureOpen();
    return lock;
}

void Store::ensureOpen() {
    const fs::path& root = sandbox::root();
    if (db_ && root == root_)
        return;
    close();
    root_ = root;
    path_ = root / "registry.db";
    open();
}

void Store::close() {
    for (auto& [sql, stmt] : statements_)
        sqlite3_finalize(stmt);
    statements_.clear();
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

void Store::exec(const char* sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        throw DbError{static_cast<LONG>(rc)}; // raw code: open() tells a bad file from a busy one
}

void Store::open() {
    OpenLock guard(fs::path(path_.string() + ".lock"));
    for (int attempt = 0;; ++attempt) {
        int rc = sqlite3_open_v2(path_.c_str(), &db_,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
        std::string why;
        if (rc == SQLITE_OK) {
            sqlite3_busy_timeout(db_, kBusyTimeoutMs);
            sqlite3_extended_result_codes(db_, 1);
            try {
                exec("PRAGMA journal_mode=WAL");
                exec("PRAGMA synchronous=FULL");
                exec("BEGIN IMMEDIATE");
                exec(kSchema);
                exec("COMMIT");
                ++generation_;
                return;
            } catch (const DbError& e) {
                rc = static_cast<int>(e.code);
                why = sqlite3_errmsg(db_);
                sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            }
        } else {
            why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        }
        close();
        if (!isNotDatabase(rc) || attempt > 0)
            throw DbError{errorOf(rc)};
        // Not a database: keep it for inspection and start again with an empty registry.
        const fs::path aside = setAsideBadFile(path_);
        std::error_code ec;
        fs::remove(path_.string() + "-wal", ec);
        fs::remove(path_.string() + "-shm", ec);
        std::fprintf(stderr,
                     "registry: \"%s\" is not a registry database (%s); it was moved to \"%s\" and an empty "
                     "registry was created\n",
                     path_.c_str(), why.c_str(), aside.empty() ? "(could not be moved)" : aside.c_str());
        if (aside.empty())
            throw DbError{ERROR_BADDB};
    }
}

Query Store::query(const char* sql) {
    auto it = statements_.find(sql);
    if (it == statements_.end()) {
        sqlite3_stmt* stmt = nullptr;
        const int rc = sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
        if (rc != SQLITE_OK)
            throw DbError{errorOf(rc)};
        it = statements_.emplace(sql, stmt).first;
    }
    return Query(it->second);
}

Store::Transaction::Transaction(Store& store, bool write) : store_(store) {
    const int rc = sqlite3_exec(store_.db_, write ? "BEGIN IMMEDIATE" : "BEGIN", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw DbError{errorOf(rc)};
}

Store::Transaction::~Transaction() {
    if (!done_)
        sqlite3_exec(store_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Store::Transaction::commit() {
    const int rc = sqlite3_exec(store_.db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw DbError{errorOf(rc)};
    done_ = true;
}

} // namespace pal::reg
