#include "db/sqlite/sqlite_connection.h"

#include "db/error.h"
#include "db/sqlite/sqlite_error.h"
#include "db/sqlite/sqlite_statement.h"

#include <chrono>
#include <functional>
#include <string>

#include <sqlite3.h>

namespace dcf::db {
namespace {

// Ordinary statements wait this long for a lock held by another process.
constexpr int kDefaultBusyMilliseconds = 5000;

// 8 MB of pages. The system's file cache serves the rest as fast: a run of a
// million lines took as long with 2 MB or 300 MB, and 32 MB cost 32 MB more
// of memory.
constexpr const char* kCacheSize = "pragma cache_size = -8192";

struct RunLockWait {
    std::chrono::steady_clock::time_point deadline;
    const std::function<bool()>& stopWaiting;
    bool stopped = false;
};

// SQLite's busy handler while the run lock is awaited: non-zero retries.
int waitForRunLock(void* data, int /*attempts*/) {
    auto& wait = *static_cast<RunLockWait*>(data);
    if (wait.stopWaiting && wait.stopWaiting()) {
        wait.stopped = true;
        return 0;
    }
    if (std::chrono::steady_clock::now() >= wait.deadline) {
        return 0;
    }
    constexpr int kPollMilliseconds = 20;
    sqlite3_sleep(kPollMilliseconds);
    return 1;
}

} // namespace

SqliteConnection::SqliteConnection(const std::filesystem::path& file) {
    // SQLite's memory statistics take a process-wide lock on every
    // allocation; nothing reads them. Refused, harmlessly, once SQLite is in use.
    static const int statistics = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    (void)statistics;
    // An existing file only: a mistyped path must not create an empty database.
    // One thread at a time uses a connection (the window hands it to the run's
    // worker and back), so SQLite's own locking per call is only overhead.
    const int rc =
        sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = "Cannot open the database file " + file.string() + ": " +
                                    (db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
        sqlite3_close(db_);
        db_ = nullptr;
        throw DbError("08001", rc, message, "SQLite");
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kDefaultBusyMilliseconds);
    exec(kCacheSize);
    // Reading the schema proves the file is a database before any run starts.
    exec("select count(*) from sqlite_master");
}

SqliteConnection::~SqliteConnection() {
    clearStatements();
    sqlite3_close_v2(db_);
}

std::unique_ptr<Statement> SqliteConnection::prepare(std::string_view sql) {
    return std::make_unique<SqliteStatement>(db_, sql);
}

void SqliteConnection::exec(const char* sql) {
    char* error = nullptr;
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const std::string message = error != nullptr ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        throwSqliteError(rc, message);
    }
}

void SqliteConnection::executeScript(std::string_view sql) {
    exec(std::string(sql).c_str());
}

void SqliteConnection::begin() {
    exec("BEGIN");
}

void SqliteConnection::commit() {
    resetStatements();
    // Outside a transaction COMMIT fails by itself ("no transaction is
    // active"), so a transaction SQLite rolled back is never reported saved.
    exec("COMMIT");
}

void SqliteConnection::rollback() {
    resetStatements();
    // After a full disk, an I/O error or running out of memory SQLite may
    // have rolled the transaction back already: then there is nothing left.
    if (inTransaction()) {
        exec("ROLLBACK");
    }
}

bool SqliteConnection::inTransaction() const {
    return sqlite3_get_autocommit(db_) == 0;
}

bool SqliteConnection::acquireRunLock(std::chrono::milliseconds timeout,
                                      const std::function<bool()>& stopWaiting) {
    // A write that changes nothing takes the database's write lock, which
    // another run holds until it commits or rolls back. The wait is ours,
    // not SQLite's timeout, so that a cancel ends it at once.
    RunLockWait wait{std::chrono::steady_clock::now() + timeout, stopWaiting};
    sqlite3_busy_handler(db_, waitForRunLock, &wait);
    char* error = nullptr;
    const int rc =
        sqlite3_exec(db_, "update repno set repno = repno where 1 = 0", nullptr, nullptr, &error);
    // Taken before any other call replaces SQLite's last error.
    const std::string message = error != nullptr ? error : sqlite3_errstr(rc);
    sqlite3_free(error);
    sqlite3_busy_timeout(db_, kDefaultBusyMilliseconds);
    if (wait.stopped) {
        return false;
    }
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) {
        throw RunLockBusy("SQLite");
    }
    if (rc != SQLITE_OK) {
        throwSqliteError(rc, message);
    }
    exec(kCacheSize);
    return true;
}

} // namespace dcf::db
