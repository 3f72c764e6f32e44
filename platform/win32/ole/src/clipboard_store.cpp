#include "clipboard_store.h"

#include "pal/sandbox.h"
#include "pal/text.h"

#include <sqlite3.h>

#include <csignal>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pal::ole {
namespace {

constexpr int kBusyTimeoutMs = 10000;
constexpr UINT kFirstRegistered = 0xC000;
constexpr UINT kLastRegistered = 0xFFFF;
constexpr size_t kMaxFormatName = 255;

struct DbFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

bool processAlive(std::int64_t pid) {
    return pid > 0 && (pid == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// One statement, finalized with its scope.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &s_, nullptr) != SQLITE_OK)
            throw DbFailure(sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(s_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int i, std::int64_t v) {
        sqlite3_bind_int64(s_, i, v);
        return *this;
    }
    Statement& bindText(int i, const std::string& v) {
        sqlite3_bind_text(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bindBlob(int i, const std::string& v) {
        sqlite3_bind_blob(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    bool step() {
        const int rc = sqlite3_step(s_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw DbFailure(sqlite3_errmsg(sqlite3_db_handle(s_)));
    }
    std::int64_t integer(int c) const { return sqlite3_column_int64(s_, c); }
    std::string bytes(int c) const {
        const void* p = sqlite3_column_blob(s_, c);
        return p ? std::string(static_cast<const char*>(p), static_cast<size_t>(sqlite3_column_bytes(s_, c)))
                 : std::string();
    }

private:
    sqlite3_stmt* s_ = nullptr;
};

class Connection {
public:
    std::mutex mutex;

    // The database of the current sandbox root, opened (or reopened) on demand.
    sqlite3* db() {
        const fs::path& root = pal::sandbox::root();
        if (db_ && root == root_)
            return db_;
        if (db_)
            sqlite3_close_v2(db_);
        db_ = nullptr;
        root_ = root;
        const fs::path file = root / "clipboard.db";
        if (sqlite3_open_v2(file.c_str(), &db_,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                            nullptr) != SQLITE_OK) {
            sqlite3_close_v2(db_);
            db_ = nullptr;
            throw DbFailure("cannot open " + file.string());
        }
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        exec("PRAGMA journal_mode=WAL");
        exec("CREATE TABLE IF NOT EXISTS formats(id INTEGER PRIMARY KEY, key TEXT NOT NULL UNIQUE, "
             "name TEXT NOT NULL)");
        exec("CREATE TABLE IF NOT EXISTS boards(slot INTEGER PRIMARY KEY, seq INTEGER NOT NULL DEFAULT 0, "
             "owner INTEGER NOT NULL DEFAULT 0, owner_pid INTEGER NOT NULL DEFAULT 0, "
             "opener INTEGER NOT NULL DEFAULT 0, opener_pid INTEGER NOT NULL DEFAULT 0, "
             "opener_tid INTEGER NOT NULL DEFAULT 0)");
        exec("CREATE TABLE IF NOT EXISTS items(slot INTEGER NOT NULL, format INTEGER NOT NULL, "
             "data BLOB NOT NULL, PRIMARY KEY(slot, format))");
        exec("INSERT OR IGNORE INTO boards(slot) VALUES(0)");
        return db_;
    }

    void exec(const char* sql) {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
            std::string text = message ? message : "sqlite failure";
            sqlite3_free(message);
            throw DbFailure(text);
        }
    }

private:
    sqlite3* db_ = nullptr;
    fs::path root_;
};

Connection& connection() {
    static Connection* c = new Connection;
    return *c;
}

// Runs `body` in one transaction (write transactions take the write lock at once); a database
// failure gives `failed`.
template <class R, class F> R transact(bool write, R failed, F body) {
    Connection& c = connection();
    std::lock_guard lock(c.mutex);
    try {
        sqlite3* db = c.db();
        c.exec(write ? "BEGIN IMMEDIATE" : "BEGIN");
        try {
            R r = body(db);
            c.exec("COMMIT");
            return r;
        } catch (...) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    } catch (const DbFailure&) {
        return failed;
    } catch (const pal::sandbox::Error&) {
        return failed;
    }
}

BoardState readState(sqlite3* db, std::int64_t slot) {
    Statement s(db, "SELECT seq, owner, owner_pid, opener, opener_pid, opener_tid FROM boards WHERE slot=?");
    s.bind(1, slot);
    BoardState b;
    if (!s.step())
        return b;
    b.sequence = static_cast<std::uint64_t>(s.integer(0));
    b.owner = static_cast<std::uint64_t>(s.integer(1));
    b.ownerPid = s.integer(2);
    b.opener = static_cast<std::uint64_t>(s.integer(3));
    b.openerPid = s.integer(4);
    b.openerTid = s.integer(5);
    if (b.openerPid && !processAlive(b.openerPid)) // left open by a program that has ended
        b.opener = 0, b.openerPid = 0, b.openerTid = 0;
    return b;
}

bool heldBy(const BoardState& b, std::int64_t tid) {
    return b.openerPid == ::getpid() && b.openerTid == tid;
}

void bumpSequence(sqlite3* db, std::int64_t slot) {
    Statement(db, "UPDATE boards SET seq=seq+1 WHERE slot=?").bind(1, slot).step();
}

} // namespace

ClipboardStore& ClipboardStore::instance() {
    static ClipboardStore* s = new ClipboardStore;
    return *s;
}

UINT ClipboardStore::registerFormat(const std::wstring& name) {
    if (name.empty() || name.size() > kMaxFormatName)
        return 0;
    const std::string key = pal::text::toUtf8(pal::text::toLower(name));
    return transact<UINT>(true, 0, [&](sqlite3* db) -> UINT {
        {
            Statement s(db, "SELECT id FROM formats WHERE key=?");
            s.bindText(1, key);
            if (s.step())
                return static_cast<UINT>(s.integer(0));
        }
        Statement next(db, "SELECT COALESCE(MAX(id)+1, ?) FROM formats");
        next.bind(1, kFirstRegistered);
        next.step();
        const std::int64_t id = next.integer(0);
        if (id > kLastRegistered)
            return 0;
        Statement(db, "INSERT INTO formats(id, key, name) VALUES(?,?,?)")
            .bind(1, id)
            .bindText(2, key)
            .bindText(3, pal::text::toUtf8(name))
            .step();
        return static_cast<UINT>(id);
    });
}

std::wstring ClipboardStore::formatName(UINT format) {
    return transact<std::wstring>(false, {}, [&](sqlite3* db) {
        Statement s(db, "SELECT name FROM formats WHERE id=?");
        s.bind(1, format);
        return s.step() ? pal::text::fromUtf8(s.bytes(0)) : std::wstring();
    });
}

BoardState ClipboardStore::state(std::int64_t slot) {
    return transact<BoardState>(false, {}, [&](sqlite3* db) { return readState(db, slot); });
}

bool ClipboardStore::open(std::int64_t slot, std::uint64_t window, std::int64_t tid) {
    return transact<bool>(true, false, [&](sqlite3* db) {
        const BoardState b = readState(db, slot);
        if (b.openerPid && !heldBy(b, tid))
            return false;
        Statement(db, "UPDATE boards SET opener=?, opener_pid=?, opener_tid=? WHERE slot=?")
            .bind(1, static_cast<std::int64_t>(window))
            .bind(2, ::getpid())
            .bind(3, tid)
            .bind(4, slot)
            .step();
        return true;
    });
}

bool ClipboardStore::close(std::int64_t slot, std::int64_t tid) {
    return transact<bool>(true, false, [&](sqlite3* db) {
        if (!heldBy(readState(db, slot), tid))
            return false;
        Statement(db, "UPDATE boards SET opener=0, opener_pid=0, opener_tid=0 WHERE slot=?")
            .bind(1, slot)
            .step();
        return true;
    });
}

bool ClipboardStore::empty(std::int64_t slot, std::int64_t tid, BoardState& previous) {
    return transact<bool>(true, false, [&](sqlite3* db) {
        previous = readState(db, slot);
        if (!heldBy(previous, tid))
            return false;
        Statement(db, "DELETE FROM items WHERE slot=?").bind(1, slot).step();
        Statement(db, "UPDATE boards SET owner=opener, owner_pid=opener_pid, seq=seq+1 WHERE slot=?")
            .bind(1, slot)
            .step();
        return true;
    });
}

std::uint64_t ClipboardStore::put(std::int64_t slot, UINT format, const std::string& bytes) {
    return transact<std::uint64_t>(true, 0, [&](sqlite3* db) {
        Statement(db, "INSERT OR REPLACE INTO items(slot, format, data) VALUES(?,?,?)")
            .bind(1, slot)
            .bind(2, format)
            .bindBlob(3, bytes)
            .step();
        bumpSequence(db, slot);
        return readState(db, slot).sequence;
    });
}

std::optional<std::string> ClipboardStore::get(std::int64_t slot, UINT format) {
    return transact<std::optional<std::string>>(false, std::nullopt, [&](sqlite3* db) {
        Statement s(db, "SELECT data FROM items WHERE slot=? AND format=?");
        s.bind(1, slot).bind(2, format);
        return s.step() ? std::optional<std::string>(s.bytes(0)) : std::nullopt;
    });
}

std::vector<UINT> ClipboardStore::formats(std::int64_t slot) {
    return transact<std::vector<UINT>>(false, {}, [&](sqlite3* db) {
        Statement s(db, "SELECT format FROM items WHERE slot=? ORDER BY rowid");
        s.bind(1, slot);
        std::vector<UINT> out;
        while (s.step())
            out.push_back(static_cast<UINT>(s.integer(0)));
        return out;
    });
}

std::int64_t ClipboardStore::newSlot() {
    return transact<std::int64_t>(true, -1, [&](sqlite3* db) {
        // Slots of drags whose program ended without removing them.
        std::vector<std::int64_t> stale;
        {
            Statement s(db, "SELECT slot, owner_pid FROM boards WHERE slot<>0");
            while (s.step()) {
                if (!processAlive(s.integer(1)))
                    stale.push_back(s.integer(0));
            }
        }
        for (std::int64_t slot : stale) {
            Statement(db, "DELETE FROM items WHERE slot=?").bind(1, slot).step();
            Statement(db, "DELETE FROM boards WHERE slot=?").bind(1, slot).step();
        }
        Statement(db, "INSERT INTO boards(owner_pid) VALUES(?)").bind(1, ::getpid()).step();
        return static_cast<std::int64_t>(sqlite3_last_insert_rowid(db));
    });
}

void ClipboardStore::dropSlot(std::int64_t slot) {
    if (slot == kClipboardSlot)
        return;
    transact<bool>(true, false, [&](sqlite3* db) {
        Statement(db, "DELETE FROM items WHERE slot=?").bind(1, slot).step();
        Statement(db, "DELETE FROM boards WHERE slot=?").bind(1, slot).step();
        return true;
    });
}

} // namespace pal::ole

#include "blocks.h"

#include <algorithm>

namespace pal::ole {

std::vector<UINT> offeredFormats(std::int64_t slot) {
    std::vector<UINT> formats = ClipboardStore::instance().formats(slot);
    const bool hasText = std::count(formats.begin(), formats.end(), CF_TEXT) > 0;
    const bool hasUnicode = std::count(formats.begin(), formats.end(), CF_UNICODETEXT) > 0;
    if (hasText && !hasUnicode)
        formats.push_back(CF_UNICODETEXT);
    if (hasUnicode && !hasText)
        formats.push_back(CF_TEXT);
    return formats;
}

std::optional<std::string> readFormat(std::int64_t slot, UINT format) {
    ClipboardStore& store = ClipboardStore::instance();
    std::optional<std::string> bytes = store.get(slot, format);
    UINT storedAs = format;
    if (!bytes && (format == CF_TEXT || format == CF_UNICODETEXT)) {
        storedAs = format == CF_TEXT ? CF_UNICODETEXT : CF_TEXT;
        bytes = store.get(slot, storedAs);
    }
    if (!bytes) {
        SetLastError(ERROR_NOT_FOUND);
        return std::nullopt;
    }
    // Another program's block is checked as this program's would have been.
    if (!blockSound(storedAs, *bytes)) {
        SetLastError(ERROR_INVALID_DATA);
        return std::nullopt;
    }
    return storedAs == format ? bytes : convertText(storedAs, *bytes);
}

} // namespace pal::ole
