#pragma once

#include "db/connection.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dcf::staging {

// One IMPORTTEMP row read whole, so that an importer can update the row and
// run other statements while it works on it.
class StagedRow {
public:
    // Reads the row with this key; false when it is gone.
    bool read(db::Connection& connection, std::int64_t key);

    [[nodiscard]] std::int64_t key() const { return key_; }
    // A column by name, any case; empty for null or a missing column.
    [[nodiscard]] std::string text(std::string_view column) const;
    [[nodiscard]] db::Value value(std::string_view column) const;
    // Field N (4 to 46) of the DCF line: column fieldN.
    [[nodiscard]] std::string field(int n) const;

private:
    void indexColumns(db::Statement& select);

    std::int64_t key_ = 0;
    std::vector<std::string> names_;   // lower case
    std::array<int, 47> fieldIndex_{}; // column of field N, -1 when none
    std::vector<db::Value> values_;
};

// The NAME record with this number, first in staging order; false when the
// file has none.
bool readNameRecord(db::Connection& connection, const std::string& number, StagedRow& name);

} // namespace dcf::staging
