#pragma once

#include "db/connection.h"
#include "db/server_catalog.h"

#include <cstddef>
#include <future>
#include <memory>
#include <string>
#include <vector>

namespace dcf::db {

// Writes many rows into one table of a PostgreSQL server in a few
// statements. A statement carries up to about 2 MiB of rows as one array per
// column, each bound as one parameter, and the server turns the arrays into
// rows of the table's own types (insert ... select from unnest(...)), so one
// round trip carries thousands of rows and no value is ever spliced into
// SQL. The server's time goes into the inserts themselves (heap, indexes,
// log), not into reading the arrays.
//
// A statement is sent from a thread of its own while the caller gathers the
// next one's rows, so the server inserts one batch while the next is read;
// the connection is used by one thread at a time, and only by that thread
// from add()'s hand-over until the next add() that fills a batch, finish()
// or the end of the object.
//
// A statement the server refuses is tried again in halves until the refused
// row is found; the failure then names the table and that row. Halving needs
// the transaction to survive a refused statement (the driver's statement
// rollback); where it does not, the failure names the statement's first row.
class ServerBulkInsert {
public:
    ServerBulkInsert(Connection& server, const ServerTable& table);
    // Waits for a statement still on its way; its failure, if any, is lost
    // only when the caller is already leaving by another failure.
    ~ServerBulkInsert();
    ServerBulkInsert(const ServerBulkInsert&) = delete;
    ServerBulkInsert& operator=(const ServerBulkInsert&) = delete;

    // One row, its values in the table's column order, as forServer made them.
    void add(const std::vector<Value>& row);
    // Writes what is left and waits until the server has taken every row;
    // throws the server's refusal.
    void finish();

    [[nodiscard]] std::int64_t rowsWritten() const { return written_; }
    [[nodiscard]] int statements() const { return statements_; }

    static constexpr std::size_t kBatchBytes = std::size_t{2} << 20U;

private:
    // Rows as text, one after the other: per value a byte 0 for null, else a
    // byte 1, the length in four bytes and the text. ends[i] is where row i
    // ends.
    struct Batch {
        std::string rows;
        std::vector<std::size_t> ends;
    };
    // One array literal per column.
    using Arrays = std::vector<std::string>;

    // Hands the batch to the sending thread, once the one before is through.
    void flush();
    void waitForSent();
    // The arrays of rows [first, last) of the batch.
    [[nodiscard]] Arrays arraysOf(const Batch& batch, std::size_t first, std::size_t last) const;
    // Rows [first, last) of the batch, whose arrays are given.
    void write(const Batch& batch, Arrays arrays, std::size_t first, std::size_t last);
    // Calls `each(column, value)` for every value of the row; nullptr for null.
    template <typename Each> void visitRow(const Batch& batch, std::size_t row, Each&& each) const;
    [[nodiscard]] std::string describeRow(const Batch& batch, std::size_t row) const;

    Connection& server_;
    const ServerTable& table_;
    std::unique_ptr<Statement> insert_;
    Batch batch_;
    std::future<void> sending_;
    std::int64_t written_ = 0;
    int statements_ = 0;
};

// The value as the server's text input reads it: amounts with four places,
// flags as t and f.
std::string serverText(const Value& value);

// Appends `text` as an element of a PostgreSQL array literal: quoted, with
// its quotes and backslashes escaped.
void appendArrayElement(std::string& array, std::string_view text);

} // namespace dcf::db
