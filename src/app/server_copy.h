#pragma once

#include "db/connection.h"
#include "db/server_catalog.h"
#include "db/server_write_guard.h"
#include "run/server_rows.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace dcf::app {

// The server's side of a run on a server. The run converts into its scratch
// database; this copies in, under the run lock, the rows the steps read (the
// counters, and each filer's row and stored names), guards the scratch's
// writes with the server's catalog, and at the end writes to the server
// every row the run added and the copied rows it changed.
class ServerCopy final : public run::ServerRows {
public:
    // Reads the catalog of the filing tables and makes them in the scratch.
    ServerCopy(db::Connection& server, db::Connection& scratch);
    ~ServerCopy() override;
    ServerCopy(const ServerCopy&) = delete;
    ServerCopy& operator=(const ServerCopy&) = delete;

    // Takes the counters' row on the server for the rest of the transaction
    // (no other program draws a name id or report number until the run
    // ends) and copies it in.
    void copyCounters();
    void copyFiler(const std::string& filerId) override;

    // Rows to write, for the progress bar.
    [[nodiscard]] std::int64_t rowsToWrite();
    // Writes the run's new rows, table by table in a few statements each, and
    // the changed rows of the filers and the counters. `afterBatch` is told
    // the rows written so far after each statement; it returns false to stop
    // (a cancel), and so does transfer().
    bool transfer(const std::function<bool(std::int64_t written)>& afterBatch);

    [[nodiscard]] const db::ServerCatalog& catalog() const { return catalog_; }
    [[nodiscard]] const db::ServerWriteGuard& guard() const { return guard_; }

    // The tables a conversion reads or writes besides IMPORTTEMP.
    static std::vector<std::string> filingTables();

private:
    // Rows copied in to one table: scratch rowids [first, last] and the
    // values each had, to see what the run changed.
    struct Copied {
        std::string table;
        std::int64_t first = 0;
        std::int64_t last = 0;
        std::vector<std::vector<db::Value>> original;
    };

    void copyRows(const db::ServerTable& table, const std::string& where, const db::Value& key);
    // The scratch rowids [first, last] copied in to a table.
    [[nodiscard]] std::vector<std::pair<std::int64_t, std::int64_t>>
    copiedRanges(const std::string& table) const;
    bool writeNewRows(const db::ServerTable& table, std::int64_t& written,
                      const std::function<bool(std::int64_t)>& afterBatch);
    void writeChangedRows(const Copied& copied);

    db::Connection& server_;
    db::Connection& scratch_;
    db::ServerCatalog catalog_;
    db::ServerWriteGuard guard_;
    std::set<std::string> filers_;
    std::vector<Copied> copied_;
};

} // namespace dcf::app
