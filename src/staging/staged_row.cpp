#include "staging/staged_row.h"

#include "db/ascii_case.h"

#include <charconv>

namespace dcf::staging {

void StagedRow::load(std::int64_t key, db::Statement& select) {
    key_ = key;
    values_.clear();
    const int count = select.columnCount();
    // Every row has the same columns: their names are looked at once.
    if (names_.size() != static_cast<std::size_t>(count)) {
        indexColumns(select);
    }
    values_.reserve(names_.size());
    for (int i = 0; i < count; ++i) {
        values_.push_back(select.value(i));
    }
}

void StagedRow::indexColumns(db::Statement& select) {
    names_.clear();
    fieldIndex_.fill(-1);
    for (int i = 0; i < select.columnCount(); ++i) {
        names_.push_back(db::lowerAscii(select.columnName(i)));
        const std::string& name = names_.back();
        int n = -1;
        if (name.starts_with("field")) {
            std::from_chars(name.data() + 5, name.data() + name.size(), n);
        }
        if (n >= 0 && n < static_cast<int>(fieldIndex_.size())) {
            fieldIndex_[static_cast<std::size_t>(n)] = i;
        }
    }
}

db::Value StagedRow::value(std::string_view column) const {
    const std::string name = db::lowerAscii(column);
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
    if (n < 0 || n >= static_cast<int>(fieldIndex_.size()) || values_.empty()) {
        return {};
    }
    const int index = fieldIndex_[static_cast<std::size_t>(n)];
    return index < 0 ? std::string() : db::toText(values_[static_cast<std::size_t>(index)]);
}

} // namespace dcf::staging
