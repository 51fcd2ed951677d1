#include "staging/staged_row.h"

#include <algorithm>

namespace dcf::staging {
namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return static_cast<char>((c >= 'A' && c <= 'Z') ? c + 32 : c);
    });
    return out;
}

} // namespace

bool StagedRow::read(db::Connection& connection, std::int64_t key) {
    db::Statement& select = connection.statement("select * from IMPORTTEMP where import_key = ?");
    select.run(key);
    key_ = key;
    names_.clear();
    values_.clear();
    if (!select.next()) {
        select.reset();
        return false;
    }
    for (int i = 0; i < select.columnCount(); ++i) {
        names_.push_back(lower(select.columnName(i)));
        values_.push_back(select.value(i));
    }
    select.reset();
    return true;
}

db::Value StagedRow::value(std::string_view column) const {
    const std::string name = lower(column);
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == name) {
            return values_[i];
        }
    }
    return db::Null{};
}

std::string StagedRow::text(std::string_view column) const {
    return db::toText(value(column));
}

std::string StagedRow::field(int n) const {
    return text("field" + std::to_string(n));
}

} // namespace dcf::staging
