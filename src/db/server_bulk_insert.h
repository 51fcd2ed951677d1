#pragma once

#include "db/connection.h"
#include "db/server_catalog.h"

#include <cstddef>
#include <string>
#include <vector>

namespace dcf::db {

// Writes many rows into one table of a PostgreSQL server in a few
// statements. Each statement carries up to about 4 MiB of rows as one JSON
// document, bound as its one parameter, and the server turns the document
// into rows of the table's own types (json_populate_recordset), so one round
// trip carries thousands of rows and no value is ever spliced into SQL.
//
// A statement the server refuses is tried again in halves until the refused
// row is found; the failure then names the table and that row. Halving needs
// the transaction to survive a refused statement (the driver's statement
// rollback); where it does not, the failure names the batch's rows instead.
class ServerBulkInsert {
public:
    ServerBulkInsert(Connection& server, const ServerTable& table);

    // One row, its values in the table's column order, as forServer made them.
    void add(const std::vector<Value>& row);
    // Writes what is left.
    void finish();

    [[nodiscard]] std::int64_t rowsWritten() const { return written_; }
    [[nodiscard]] int statements() const { return statements_; }

    static constexpr std::size_t kBatchBytes = std::size_t{4} << 20U;

private:
    void flush();
    // Rows [first, last) of the batch.
    void write(std::size_t first, std::size_t last);
    [[nodiscard]] std::string document(std::size_t first, std::size_t last) const;
    [[nodiscard]] std::string_view rowText(std::size_t row) const;

    Connection& server_;
    const ServerTable& table_;
    std::string sql_;
    // The batch's rows as JSON objects, one after the other; rowEnds_[i] is
    // where row i ends.
    std::string rows_;
    std::vector<std::size_t> rowEnds_;
    std::int64_t written_ = 0;
    int statements_ = 0;
};

// Appends `value` as JSON: text as a string, amounts as decimal strings,
// flags as true/false, integers as numbers, null as null.
void appendJson(std::string& out, const Value& value);

} // namespace dcf::db
