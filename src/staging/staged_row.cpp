#include "staging/staged_row.h"

#include "db/ascii_case.h"

namespace dcf::staging {

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
        names_.push_back(db::lowerAscii(select.columnName(i)));
        values_.push_back(select.value(i));
    }
    select.reset();
    return true;
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
    return text("field" + std::to_string(n));
}

} // namespace dcf::staging
