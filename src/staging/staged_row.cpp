#include "staging/staged_row.h"

#include "db/ascii_case.h"

#include <charconv>

namespace dcf::staging {

bool StagedRow::read(db::Connection& connection, std::int64_t key) {
    db::Statement& select = connection.statement("select * from IMPORTTEMP where import_key = ?");
    select.run(key);
    key_ = key;
    values_.clear();
    if (!select.next()) {
        select.reset();
        return false;
    }
    const int count = select.columnCount();
    // Every row has the same columns: their names are looked at once.
    if (names_.size() != static_cast<std::size_t>(count)) {
        indexColumns(select);
    }
    values_.reserve(names_.size());
    for (int i = 0; i < count; ++i) {
        values_.push_back(select.value(i));
    }
    select.reset();
    return true;
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

bool readNameRecord(db::Connection& connection, const std::string& number, StagedRow& name) {
    db::Statement& select = connection.statement(
        "select import_key from IMPORTTEMP where rec_num = ? and rec_type = 'NAME' order by "
        "import_key");
    select.run(number);
    const std::int64_t key = select.next() ? select.integer("import_key") : 0;
    select.reset();
    return key != 0 && name.read(connection, key);
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
