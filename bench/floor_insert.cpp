// The floor for staging: the rows of a file inserted into IMPORTTEMP with
// one prepared statement straight through the C API, nothing else. Lines
// are read and split before the clock starts.
#include "floor_insert.h"

#include "bench_support.h"
#include "dcf/dcf_line_reader.h"
#include "dcf/record_types.h"
#include "staging/staging_row.h"

#include <fstream>
#include <stdexcept>
#include <vector>

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

namespace dcf::bench {
namespace {

const char* kInsert = "insert into IMPORTTEMP (filer_id, rec_type, rec_num, repno, Status, field4, "
                      "field5, field6, field7, field8, "
                      "field9, field10, field11, field12, field13, field14, field15, field16, "
                      "field17, field18, field19, field20, "
                      "field21, field22, field23, field24, field25, field26, field27, field28, "
                      "field29, field30, field31, field32, "
                      "field33, field34, field35, field36, field37, field38, field39, field40, "
                      "field41, field42, field43, field44, "
                      "field45, field46, Memo) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                      "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                      "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

// The values of one row in column order, Memo last (null when absent).
std::vector<const std::string*> columns(const dcf::staging::StagingRow& row,
                                        const std::string& status) {
    std::vector<const std::string*> values = {&row.filerId, &row.recordType, &row.recordNumber,
                                              &row.reportNumber, &status};
    for (std::size_t n = 4; n <= 46; ++n) {
        values.push_back(&row.fields[n]);
    }
    values.push_back(row.memo ? &*row.memo : nullptr);
    return values;
}

void check(bool ok, const char* what) {
    if (!ok) {
        throw std::runtime_error(what);
    }
}

void insertNative(const dcf::bench::BenchDatabase& database,
                  const std::vector<dcf::staging::StagingRow>& rows) {
    sqlite3* db = nullptr;
    check(sqlite3_open(database.file().c_str(), &db) == SQLITE_OK, "open");
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db, kInsert, -1, &insert, nullptr) == SQLITE_OK, "prepare");
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK, "begin");
    const std::string status = "I";
    for (const auto& row : rows) {
        int index = 0;
        for (const std::string* value : columns(row, status)) {
            ++index;
            if (value == nullptr) {
                sqlite3_bind_null(insert, index);
            } else {
                sqlite3_bind_text(insert, index, value->data(), static_cast<int>(value->size()),
                                  SQLITE_STATIC);
            }
        }
        check(sqlite3_step(insert) == SQLITE_DONE, "insert");
        sqlite3_reset(insert);
    }
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK, "commit");
    sqlite3_finalize(insert);
    sqlite3_close(db);
}

void insertOdbc(const dcf::bench::BenchDatabase& database,
                const std::vector<dcf::staging::StagingRow>& rows) {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::string target = database.target();
    check(SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(target.data()),
                                         SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT)),
          "connect");
    SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
                      0);
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    check(SQL_SUCCEEDED(
              SQLPrepare(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(kInsert)), SQL_NTS)),
          "prepare");
    const std::string status = "I";
    std::vector<SQLLEN> lengths(49);
    for (const auto& row : rows) {
        SQLUSMALLINT index = 0;
        for (const std::string* value : columns(row, status)) {
            SQLLEN& length = lengths[index];
            ++index;
            length = value == nullptr ? SQL_NULL_DATA : static_cast<SQLLEN>(value->size());
            SQLBindParameter(stmt, index, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 255, 0,
                             value == nullptr ? nullptr : const_cast<char*>(value->data()), 0,
                             &length);
        }
        check(SQL_SUCCEEDED(SQLExecute(stmt)), "insert");
    }
    check(SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_COMMIT)), "commit");
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
}

std::vector<dcf::staging::StagingRow> stagedRows(const std::filesystem::path& file) {
    std::vector<dcf::staging::StagingRow> rows;
    dcf::DcfLineReader reader(file);
    dcf::DcfLine line;
    while (reader.next(line)) {
        const dcf::RecordType* type = dcf::findRecordType(line.text);
        if (type != nullptr && type->staged) {
            rows.push_back(dcf::staging::stagingRow(dcf::splitDcfLine(line.text, type->fieldCount),
                                                    "F123456"));
        }
    }
    return rows;
}

// One CSV field: quoted, quotes doubled; an absent Memo stays empty, which
// COPY reads as null.
void writeCsvField(std::ofstream& out, const std::string* value) {
    if (value == nullptr) {
        return;
    }
    out << '"';
    for (const char c : *value) {
        out << (c == '"' ? "\"\"" : std::string(1, c));
    }
    out << '"';
}

} // namespace

double timeFloorInserts(const BenchDatabase& database, const std::filesystem::path& file) {
    const std::vector<dcf::staging::StagingRow> rows = stagedRows(file);
    const Stopwatch watch;
    if (database.viaOdbc()) {
        insertOdbc(database, rows);
    } else {
        insertNative(database, rows);
    }
    return watch.seconds();
}

void writeFloorCsv(const std::filesystem::path& file, const std::filesystem::path& csv) {
    std::ofstream out(csv, std::ios::binary | std::ios::trunc);
    const std::string status = "I";
    for (const auto& row : stagedRows(file)) {
        bool first = true;
        for (const std::string* value : columns(row, status)) {
            if (!first) {
                out << ',';
            }
            first = false;
            writeCsvField(out, value);
        }
        out << '\n';
    }
    if (!out) {
        throw std::runtime_error("cannot write " + csv.string());
    }
}

} // namespace dcf::bench
