#include "db/odbc/odbc_connection.h"

#include "db/error.h"
#include "db/odbc/odbc_handles.h"
#include "db/odbc/odbc_statement.h"
#include "db/sql_script.h"

#include <array>
#include <optional>
#include <thread>
#include <utility>

namespace dcf::db {
namespace {

// One ODBC environment for the life of the program.
SQLHENV environment() {
    static SQLHENV env = [] {
        SQLHENV handle = SQL_NULL_HENV;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle)) ||
            !SQL_SUCCEEDED(SQLSetEnvAttr(handle, SQL_ATTR_ODBC_VERSION,
                                         reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0))) {
            throw DbError("HY000", 0, "The ODBC driver manager could not be initialised.", "ODBC");
        }
        return handle;
    }();
    return env;
}

std::string infoText(SQLHDBC dbc, SQLUSMALLINT item) {
    std::array<SQLCHAR, 256> buffer{};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(dbc, item, buffer.data(), static_cast<SQLSMALLINT>(buffer.size()),
                                  &length))) {
        return {};
    }
    return reinterpret_cast<const char*>(buffer.data());
}

// The advisory lock key every run takes on a PostgreSQL database.
constexpr const char* kRunLockQuery = "select pg_try_advisory_xact_lock(4471)";

// How a transaction is known again (see transactionIntact()).
constexpr const char* kAssignTransactionId = "select txid_current()";
constexpr const char* kCurrentTransactionId = "select txid_current_if_assigned()";
constexpr const char* kMarkSavepoint = "SAVEPOINT dcf_run";
constexpr const char* kReleaseSavepoint = "RELEASE dcf_run";

} // namespace

OdbcConnection::OdbcConnection(const std::string& connectionString) {
    SQLHENV env = environment();
    checkOdbc(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc_), SQL_HANDLE_ENV, env, "ODBC",
              "allocating a connection");
    std::array<SQLCHAR, 1024> out{};
    SQLSMALLINT outLength = 0;
    std::string in = connectionString;
    const SQLRETURN rc = SQLDriverConnect(
        dbc_, nullptr, reinterpret_cast<SQLCHAR*>(in.data()), static_cast<SQLSMALLINT>(in.size()),
        out.data(), static_cast<SQLSMALLINT>(out.size()), &outLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        try {
            throwOdbcError(SQL_HANDLE_DBC, dbc_, "ODBC", "connecting");
        } catch (...) {
            SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
            dbc_ = SQL_NULL_HDBC;
            throw;
        }
    }
    driverName_ = infoText(dbc_, SQL_DRIVER_NAME);
    const std::string dbms = infoText(dbc_, SQL_DBMS_NAME);
    if (dbms.find("PostgreSQL") != std::string::npos) {
        dialect_ = Dialect::PostgreSQL;
    } else if (dbms.find("SQLite") != std::string::npos) {
        dialect_ = Dialect::SQLite;
    }
}

OdbcConnection::~OdbcConnection() {
    clearStatements();
    if (dbc_ != SQL_NULL_HDBC) {
        if (inTransaction_) {
            SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
        }
        SQLDisconnect(dbc_);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    }
}

std::unique_ptr<Statement> OdbcConnection::prepare(std::string_view sql) {
    return std::make_unique<OdbcStatement>(dbc_, driverName_, sql);
}

void OdbcConnection::executeDirect(const std::string& sql) {
    OdbcStatement statement(dbc_, driverName_, sql);
    statement.execute();
}

void OdbcConnection::executeScript(std::string_view sql) {
    for (const std::string& statement : splitSqlScript(sql)) {
        executeDirect(statement);
    }
}

void OdbcConnection::begin() {
    if (inTransaction_) {
        throw DbError("25000", 0, "A transaction is already open on this connection.", driverName_);
    }
    checkOdbc(SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT,
                                reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
              SQL_HANDLE_DBC, dbc_, driverName_, "beginning a transaction");
    inTransaction_ = true;
    transactionLost_ = false;
    try {
        markTransaction();
    } catch (...) {
        endTransaction(SQL_ROLLBACK);
        throw;
    }
}

void OdbcConnection::markTransaction() {
    switch (dialect_) {
    case Dialect::PostgreSQL: {
        // Gives the transaction its id now, to compare with later.
        Statement& id = statement(kAssignTransactionId);
        id.execute();
        transactionId_ = id.next() ? id.text(id.columnName(0)) : std::string();
        id.reset();
        break;
    }
    case Dialect::SQLite:
        // The driver began the transaction before this statement; a
        // savepoint inside it goes when SQLite rolls the transaction back.
        executeDirect(kMarkSavepoint);
        break;
    case Dialect::Other:
        break;
    }
}

bool OdbcConnection::markStillThere() {
    switch (dialect_) {
    case Dialect::PostgreSQL: {
        // An aborted transaction refuses the query; a transaction the driver
        // rolled back and began anew has another id, or none yet.
        Statement& id = statement(kCurrentTransactionId);
        id.execute();
        const bool same = id.next() && id.text(id.columnName(0)) == transactionId_;
        id.reset();
        return same;
    }
    case Dialect::SQLite:
        executeDirect(kReleaseSavepoint);
        executeDirect(kMarkSavepoint);
        return true;
    case Dialect::Other:
        break;
    }
    return true;
}

bool OdbcConnection::transactionIntact() {
    if (!inTransaction_ || transactionLost_) {
        return false;
    }
    bool intact = false;
    try {
        intact = !connectionDead(dbc_) && markStillThere();
    } catch (const DbError&) {
        // The probe itself was refused: the transaction is not usable.
        intact = false;
    }
    transactionLost_ = !intact;
    return intact;
}

void OdbcConnection::endTransaction(SQLSMALLINT completion) {
    resetStatements();
    // Some drivers report a commit on a lost connection as done.
    if (connectionDead(dbc_)) {
        inTransaction_ = false;
        throw DbError(
            "08S01", 0,
            "The connection to the database was lost; the transaction ended without saving.",
            driverName_);
    }
    const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, dbc_, completion);
    const bool ended = SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA;
    std::optional<DbError> failure;
    if (!ended) {
        try {
            throwOdbcError(SQL_HANDLE_DBC, dbc_, driverName_,
                           completion == SQL_COMMIT ? "committing" : "rolling back");
        } catch (const DbError& error) {
            failure = error;
        }
    }
    // The connection goes back to autocommit whatever happened, so that the
    // next run can begin (which turns it off again itself, so a failure here
    // changes nothing that matters); a rollback of a transaction the
    // database already ended has nothing left to undo.
    inTransaction_ = false;
    const bool lost = std::exchange(transactionLost_, false);
    SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                      0);
    if (failure && !(completion == SQL_ROLLBACK && lost)) {
        throw *failure;
    }
}

void OdbcConnection::commit() {
    if (!transactionIntact()) {
        endTransaction(SQL_ROLLBACK);
        throw DbError("40000", 0,
                      "The database ended the transaction before it was saved; nothing was saved.",
                      driverName_);
    }
    endTransaction(SQL_COMMIT);
}

void OdbcConnection::rollback() {
    if (inTransaction_) {
        endTransaction(SQL_ROLLBACK);
    }
}

bool OdbcConnection::acquireRunLock(std::chrono::milliseconds timeout,
                                    const std::function<bool()>& stopWaiting) {
    const auto stopped = [&stopWaiting] { return stopWaiting && stopWaiting(); };
    if (dialect_ == Dialect::PostgreSQL) {
        // Polled rather than waited for, so the wait has a bound and a
        // cancel ends it at once.
        Statement& tryLock = statement(kRunLockQuery);
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            tryLock.execute();
            const bool taken = tryLock.next() && tryLock.boolean(tryLock.columnName(0));
            tryLock.reset();
            if (taken) {
                return true;
            }
            if (stopped()) {
                return false;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                throw RunLockBusy(driverName_);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    if (dialect_ == Dialect::SQLite) {
        // A write that changes nothing takes the database's write lock. The
        // SQLite driver waits for a busy database as long as its data source's
        // Timeout setting says, whatever `timeout` asks, and cannot be
        // interrupted: a cancel is seen when it returns.
        if (stopped()) {
            return false;
        }
        try {
            executeDirect("update repno set repno = repno where 1 = 0");
        } catch (const DbError& error) {
            if (error.message().find("locked") != std::string::npos ||
                error.message().find("busy") != std::string::npos) {
                if (stopped()) {
                    return false;
                }
                throw RunLockBusy(driverName_);
            }
            throw;
        }
    }
    return true;
}

} // namespace dcf::db
