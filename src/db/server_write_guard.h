#pragma once

#include "db/connection.h"
#include "db/server_catalog.h"
#include "db/text_map.h"

#include <string>
#include <string_view>
#include <vector>

namespace dcf::db {

// Guards a scratch database that stands in for a server during a run. A row
// whose values the server's catalog says it could refuse is first written
// to the server itself: a refusal then fails the row with the server's own
// error, as a row-by-row run would have failed it; a row the server takes
// goes on to the scratch (an inserted one is deleted on the server again).
// Every other row costs a lookup of its statement and a look at each value.
class ServerWriteGuard final : public WriteGuard {
public:
    ServerWriteGuard(Connection& server, const ServerCatalog& catalog)
        : server_(server), catalog_(catalog) {}

    void check(std::string_view table, std::string_view sql, std::string_view columns,
               const std::vector<Value>& values, const std::vector<Value>& keys) override;

    // Rows handed to the server so far (tests, benchmarks).
    [[nodiscard]] int probes() const { return probes_; }

private:
    // The server's column of each value of a statement; nullptr where the
    // catalog does not know it.
    const std::vector<const ServerColumn*>& columnsOf(std::string_view table, std::string_view sql,
                                                      std::string_view columns);
    void probe(std::string_view table, std::string_view sql, const std::vector<Value>& values,
               const std::vector<Value>& keys);

    Connection& server_;
    const ServerCatalog& catalog_;
    // By the statement's text, looked up without a copy: once per row written.
    TextMap<std::vector<const ServerColumn*>> bySql_;
    int probes_ = 0;
};

} // namespace dcf::db
