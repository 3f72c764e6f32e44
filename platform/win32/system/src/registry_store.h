// The registry's SQLite connection: one per process, reopened when the sandbox root changes.
#pragma once

#include "win/error.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace pal::reg {

// A failure of the database itself, carried to the API function's return value.
struct DbError {
    LONG code;
};

// A prepared statement, reset and cleared of bindings when it goes out of scope.
class Query {
public:
    explicit Query(sqlite3_stmt* s) : s_(s) {}
    ~Query() {
        sqlite3_reset(s_);
        sqlite3_clear_bindings(s_);
    }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Query& bind(int i, std::int64_t v);
    Query& bind(int i, std::string_view text);
    Query& bindBlob(int i, std::string_view bytes);
    // True while there is a row; throws DbError on failure.
    bool step();
    std::int64_t integer(int column) const { return sqlite3_column_int64(s_, column); }
    std::string text(int column) const;
    std::string blob(int column) const;
    int changes() const { return sqlite3_changes(sqlite3_db_handle(s_)); }

private:
    sqlite3_stmt* s_;
};

class Store {
public:
    static Store& instance();

    // Held for the whole of an API call: the connection is not shared between threads at once.
    std::unique_lock<std::mutex> lock();
    // The same lock on the connection as it is, open or not (a batch's end, which must not fail
    // for a sandbox that cannot be opened any more).
    std::unique_lock<std::mutex> lockAsIs() { return std::unique_lock(mutex_); }
    // The statement for `sql`, prepared once per connection (statements are string literals).
    Query query(const char* sql);
    // Bumped on every reopen, so handles of an earlier database are told apart.
    std::uint64_t generation() const { return generation_; }
    const std::filesystem::path& path() const { return path_; }
    // True when the file could be opened for reading only: every write is denied.
    bool readOnly() const { return readOnly_; }

    // One transaction; `write` takes the write lock at once, so two writers queue in busyWait
    // instead of failing on an upgrade. Inside a batch that has begun writing it is a savepoint
    // of the batch's transaction: a call that fails undoes its own changes only.
    class Transaction {
    public:
        Transaction(Store& store, bool write);
        ~Transaction();
        void commit();

    private:
        Store& store_;
        bool done_ = false;
        bool savepoint_ = false;
    };

    // A batch groups every call made while it is open into one transaction, begun (with the write
    // lock) at its first write and committed when the outermost batch ends. Called under lock().
    void beginBatch() { ++batchDepth_; }
    // False when the batch's changes could not be committed and are lost.
    bool endBatch();

private:
    Store() = default;
    void ensureOpen();
    void open();
    int connect();
    std::string damage();
    void close();
    void exec(const char* sql);

    // What a writer waiting for other processes last saw of their commits.
    struct Busy {
        struct Stamp {
            long long size = -1, seconds = 0, nanoseconds = 0;
            bool operator==(const Stamp&) const = default;
        };
        std::string log; // the write-ahead log, which every commit changes
        Stamp seen;
        std::chrono::steady_clock::time_point stuckSince;
    };
    static int busyWait(void* self, int tries);

    std::mutex mutex_;
    Busy busy_;
    sqlite3* db_ = nullptr;
    bool readOnly_ = false; // the file could be opened for reading only: writes are denied
    std::filesystem::path root_;
    std::filesystem::path path_;
    std::uint64_t generation_ = 0;
    std::map<const char*, sqlite3_stmt*> statements_;
    int batchDepth_ = 0;
    bool batchOpen_ = false;   // the batch's transaction has begun
    bool batchFailed_ = false; // a commit of the batch's changes was lost on the way
};

// Root keys have fixed ids.
constexpr std::int64_t kClassesRoot = 1;
constexpr std::int64_t kCurrentUser = 2;
constexpr std::int64_t kLocalMachine = 3;
constexpr std::int64_t kUsers = 4;

} // namespace pal::reg
