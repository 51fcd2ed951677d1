#pragma once

#include "db/statement.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dcf::staging {

// The columns of a selection of IMPORTTEMP rows, looked at once for all of
// its rows.
struct StagedColumns {
    explicit StagedColumns(db::Statement& select);
    std::vector<std::string> names;   // lower case
    std::array<int, 47> fieldIndex{}; // column of field N, -1 when none
};

// One IMPORTTEMP row read whole (by ImportTemp::read or readSlice), so that
// an importer can update the row and run other statements while it works on
// it.
class StagedRow {
public:
    // Takes the values of the selection's current row, the row with this key.
    void load(std::int64_t key, db::Statement& select);
    // The same, with the selection's columns already looked at.
    void load(std::int64_t key, db::Statement& select,
              std::shared_ptr<const StagedColumns> columns);

    [[nodiscard]] std::int64_t key() const { return key_; }
    // A column by name, any case; empty for null or a missing column.
    [[nodiscard]] std::string text(std::string_view column) const;
    [[nodiscard]] db::Value value(std::string_view column) const;
    // Field N (4 to 46) of the DCF line: column fieldN.
    [[nodiscard]] std::string field(int n) const;

private:
    // The column's index, or -1.
    [[nodiscard]] int find(std::string_view column) const;
    [[nodiscard]] std::string_view textAt(std::size_t index) const;

    static constexpr std::uint32_t kNull = 1U << 31;
    static constexpr std::uint32_t kInteger = 1U << 30;
    static constexpr std::uint32_t kEnd = kInteger - 1;

    std::int64_t key_ = 0;
    std::shared_ptr<const StagedColumns> columns_;
    // The columns' text end to end, and where each ends, with its null and
    // integer flags: one buffer a row, not a value a column.
    std::string text_;
    std::vector<std::uint32_t> ends_;
};

} // namespace dcf::staging
