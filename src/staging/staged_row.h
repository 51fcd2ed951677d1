#pragma once

#include "db/statement.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dcf::staging {

// One IMPORTTEMP row read whole (by ImportTemp::read), so that an importer
// can update the row and run other statements while it works on it.
class StagedRow {
public:
    // Takes the values of the selection's current row, the row with this key.
    void load(std::int64_t key, db::Statement& select);

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

} // namespace dcf::staging
