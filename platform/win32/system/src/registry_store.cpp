#include "registry_store.h"

#include "pal/atomic_file.h"
#include "pal/notice.h"
#include "pal/registry.h"
#include "pal/sandbox.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pal::reg {
namespace {

// How long a write may wait while no other process commits anything: a database that still
// moves is busy, not stuck.
constexpr auto kStuckAfter = std::chrono::seconds(30);

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

// The platform's code for a failure of the database, keeping its cause: a caller told "the
// disk is full" or "access denied" can tell the user something useful, "bad database" cannot.
LONG errorOf(int rc, sqlite3* db) {
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ERROR_BUSY;
    case SQLITE_FULL:
        return ERROR_DISK_FULL;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return ERROR_ACCESS_DENIED;
    case SQLITE_NOMEM:
        return ERROR_OUTOFMEMORY;
    case SQLITE_IOERR: {
        const int error = db ? sqlite3_system_errno(db) : 0;
        if (error == ENOSPC || error == EDQUOT)
            return ERROR_DISK_FULL;
        if (error == EROFS || error == EACCES)
            return ERROR_ACCESS_DENIED;
        return ERROR_BADDB;
    }
    default:
        return ERROR_BADDB;
    }
}

bool isNotDatabase(int rc) {
    return (rc & 0xFF) == SQLITE_NOTADB || (rc & 0xFF) == SQLITE_CORRUPT;
}

bool cannotWrite(int rc) {
    return (rc & 0xFF) == SQLITE_CANTOPEN || (rc & 0xFF) == SQLITE_READONLY || (rc & 0xFF) == SQLITE_PERM;
}

// The registry holds the user's settings: the file (and the -wal and -shm files, which take its
// mode) is the user's alone, also when an older run made it readable by others.
void makePrivate(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd >= 0) {
        ::fchmod(fd, 0600);
        ::close(fd);
    }
    for (const char* suffix : {"-wal", "-shm"})
        ::chmod((file.string() + suffix).c_str(), 0600);
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

void syncFile(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

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
    throw DbError{errorOf(rc, sqlite3_db_handle(s_))};
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
    // A batch open on a database that goes is lost with it.
    batchFailed_ = batchFailed_ || batchOpen_;
    batchOpen_ = false;
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

// Why the open database is not a registry this code can use, or empty when it is: pages that
// fail the quick check, or tables of some other program.
std::string Store::damage() {
    std::string why;
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db_, "PRAGMA quick_check(1)", -1, &stmt, nullptr);
    if (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const auto* result = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        if (!result || std::strcmp(result, "ok") != 0) {
            // The check's first finding, on the one line the message has.
            std::string finding = result ? result : "?";
            if (const auto header = finding.find("***\n"); header != std::string::npos)
                finding.erase(0, header + 4);
            for (auto& c : finding)
                if (c == '\n')
                    c = ' ';
            why = "damaged pages: " + finding;
        }
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW)
        throw DbError{static_cast<LONG>(rc)};
    if (!why.empty())
        return why;
    static const std::set<std::string> ours = {"keys", "vals", "sqlite_sequence"};
    std::set<std::string> present;
    rc = sqlite3_prepare_v2(db_, "SELECT name FROM sqlite_schema WHERE type = 'table'", -1, &stmt, nullptr);
    while (rc == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        present.insert(name ? name : "");
    }
    sqlite3_finalize(stmt);
    for (const auto& name : present)
        if (!ours.count(name))
            return "it holds the table \"" + name + "\" of another program";
    // Tables of ours by name must also have our columns (a new file has neither yet).
    const std::pair<const char*, const char*> probes[] = {
        {"keys", "SELECT id, parent, name, folded, class, readonly, modified FROM keys"},
        {"vals", "SELECT key, name, folded, type, data FROM vals"}};
    for (const auto& [table, probe] : probes) {
        if (!present.count(table))
            continue;
        const bool fits = sqlite3_prepare_v2(db_, probe, -1, &stmt, nullptr) == SQLITE_OK;
        sqlite3_finalize(stmt);
        if (!fits)
            return std::string("its table \"") + table + "\" is not the registry's";
    }
    return why;
}

// Opens the file read-write, or read-only when it cannot be written (a read-only file or
// folder): a store that can only be read still answers reads. Answers the SQLite result.
int Store::connect() {
    readOnly_ = false;
    int rc = sqlite3_open_v2(path_.c_str(), &db_,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (cannotWrite(rc) && fs::exists(path_)) {
        close();
        rc = sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    }
    if (rc == SQLITE_OK)
        readOnly_ = sqlite3_db_readonly(db_, "main") == 1;
    return rc;
}

void Store::open() {
    OpenLock guard(fs::path(path_.string() + ".lock"));
    for (int attempt = 0;; ++attempt) {
        std::string why, damaged;
        int rc = SQLITE_OK;
        std::error_code ec;
        if (fs::is_directory(path_, ec)) {
            damaged = why = "a folder is in its place";
            rc = SQLITE_CANTOPEN;
        } else {
            const bool created = fs::file_size(path_, ec) == 0 || ec;
            makePrivate(path_);
            rc = connect();
            if (rc == SQLITE_OK) {
                busy_.log = path_.string() + "-wal";
                sqlite3_busy_handler(db_, &Store::busyWait, this);
                sqlite3_extended_result_codes(db_, 1);
                try {
                    // A new file is made without a sync a step (the switch to the log alone
                    // syncs four times) and synced once when it is whole; its tables are synced
                    // with the first change written into them. A file lost before would be made
                    // again, holding nothing yet.
                    if (!readOnly_ && created)
                        exec("PRAGMA synchronous=OFF");
                    if (!readOnly_)
                        exec("PRAGMA journal_mode=WAL");
                    damaged = damage();
                    if (damaged.empty() && !readOnly_) {
                        exec("BEGIN IMMEDIATE");
                        exec(kSchema);
                        exec("COMMIT");
                    }
                    exec("PRAGMA synchronous=FULL");
                    if (damaged.empty() && !readOnly_ && created)
                        syncFile(path_);
                    if (damaged.empty()) {
                        ++generation_;
                        return;
                    }
                    why = damaged;
                    rc = SQLITE_NOTADB;
                } catch (const DbError& e) {
                    rc = static_cast<int>(e.code);
                    why = sqlite3_errmsg(db_);
                    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
                }
            } else {
                why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
            }
        }
        const LONG code = errorOf(rc, db_);
        close();
        if ((damaged.empty() && !isNotDatabase(rc)) || attempt > 0)
            throw DbError{code};
        // Not a registry database: keep it for inspection and start again with an empty registry.
        const fs::path aside = setAsideBadFile(path_);
        fs::remove(path_.string() + "-wal", ec);
        fs::remove(path_.string() + "-shm", ec);
        notice::say("registry: \"" + path_.string() + "\" is not a registry database (" + why +
                    "); it was moved to \"" +
                    (aside.empty() ? std::string("(could not be moved)") : aside.string()) +
                    "\" and an empty registry was created");
        if (aside.empty())
            throw DbError{ERROR_BADDB};
    }
}

// Waits for the other processes' writes. SQLite's own timed wait polls ever more rarely and
// counts from the first try, so a writer behind others that write without a pause could miss
// every free moment and give up although they were all getting on. This one looks often and
// gives up only once nobody has committed (the write-ahead log neither grew nor started again)
// for the whole bound.
int Store::busyWait(void* self, int tries) {
    Busy& w = static_cast<Store*>(self)->busy_;
    const auto now = std::chrono::steady_clock::now();
    struct stat st {};
    const bool present = ::stat(w.log.c_str(), &st) == 0;
    const Busy::Stamp stamp{present ? st.st_size : -1, present ? st.st_mtim.tv_sec : 0,
                            present ? st.st_mtim.tv_nsec : 0};
    if (tries == 0 || !(stamp == w.seen)) {
        w.seen = stamp;
        w.stuckSince = now;
    } else if (now - w.stuckSince > kStuckAfter) {
        return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(tries < 100 ? 1 : 5));
    return 1;
}

Query Store::query(const char* sql) {
    auto it = statements_.find(sql);
    if (it == statements_.end()) {
        sqlite3_stmt* stmt = nullptr;
        const int rc = sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
        if (rc != SQLITE_OK)
            throw DbError{errorOf(rc, db_)};
        it = statements_.emplace(sql, stmt).first;
    }
    return Query(it->second);
}

Store::Transaction::Transaction(Store& store, bool write) : store_(store) {
    if (write && store_.readOnly_)
        throw DbError{static_cast<LONG>(ERROR_ACCESS_DENIED)};
    if (store_.batchDepth_ > 0 && (write || store_.batchOpen_)) {
        // An error the database could not recover from rolls the whole transaction back: what
        // the batch wrote before it is lost, which its end reports.
        if (store_.batchOpen_ && sqlite3_get_autocommit(store_.db_)) {
            store_.batchFailed_ = true;
            store_.batchOpen_ = false;
        }
        if (!store_.batchOpen_) {
            const int rc = sqlite3_exec(store_.db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            if (rc != SQLITE_OK)
                throw DbError{errorOf(rc, store_.db_)};
            store_.batchOpen_ = true;
        }
        const int rc = sqlite3_exec(store_.db_, "SAVEPOINT call", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            throw DbError{errorOf(rc, store_.db_)};
        savepoint_ = true;
        return;
    }
    const int rc = sqlite3_exec(store_.db_, write ? "BEGIN IMMEDIATE" : "BEGIN", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw DbError{errorOf(rc, store_.db_)};
}

Store::Transaction::~Transaction() {
    if (done_)
        return;
    if (savepoint_)
        sqlite3_exec(store_.db_, "ROLLBACK TO call; RELEASE call", nullptr, nullptr, nullptr);
    else
        sqlite3_exec(store_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Store::Transaction::commit() {
    const int rc =
        sqlite3_exec(store_.db_, savepoint_ ? "RELEASE call" : "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw DbError{errorOf(rc, store_.db_)};
    done_ = true;
}

bool Store::endBatch() {
    if (batchDepth_ == 0 || --batchDepth_ > 0)
        return !batchFailed_;
    bool ok = !batchFailed_;
    batchFailed_ = false;
    if (batchOpen_) {
        batchOpen_ = false;
        if (db_ && !sqlite3_get_autocommit(db_)) {
            if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
                sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
                ok = false;
            }
        } else {
            ok = false; // rolled back under the batch by an error of the database
        }
    }
    return ok;
}

} // namespace pal::reg
