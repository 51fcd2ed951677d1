#include "staging/staged_row.h"

#include "db/ascii_case.h"

#include <charconv>
#include <stdexcept>

namespace dcf::staging {

StagedColumns::StagedColumns(db::Statement& select) {
    fieldIndex.fill(-1);
    for (int i = 0; i < select.columnCount(); ++i) {
        names.push_back(db::lowerAscii(select.columnName(i)));
        const std::string& name = names.back();
        int n = -1;
        if (name.starts_with("field")) {
            std::from_chars(name.data() + 5, name.data() + name.size(), n);
        }
        if (n >= 0 && n < static_cast<int>(fieldIndex.size())) {
            fieldIndex[static_cast<std::size_t>(n)] = i;
        }
    }
}

void StagedRow::load(std::int64_t key, db::Statement& select) {
    // Every row has the same columns: their names are looked at once.
    if (!columns_ || columns_->names.size() != static_cast<std::size_t>(select.columnCount())) {
        columns_ = std::make_shared<const StagedColumns>(select);
    }
    load(key, select, columns_);
}

void StagedRow::load(std::int64_t key, db::Statement& select,
                     std::shared_ptr<const StagedColumns> columns) {
    key_ = key;
    columns_ = std::move(columns);
    text_.clear();
    ends_.clear();
    const int count = select.columnCount();
    ends_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const db::Statement::Held held = select.appendText(i, text_);
        if (text_.size() > kEnd) {
            throw std::length_error("a staged row of more than 1 GB");
        }
        auto end = static_cast<std::uint32_t>(text_.size());
        end |= held == db::Statement::Held::Null      ? kNull
               : held == db::Statement::Held::Integer ? kInteger
                                                      : 0;
        ends_.push_back(end);
    }
}

int StagedRow::find(std::string_view column) const {
    if (!columns_) {
        return -1;
    }
    for (std::size_t i = 0; i < columns_->names.size(); ++i) {
        if (db::equalsIgnoringAsciiCase(columns_->names[i], column)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string_view StagedRow::textAt(std::size_t index) const {
    const std::uint32_t begin = index == 0 ? 0 : (ends_[index - 1] & kEnd);
    return std::string_view(text_).substr(begin, (ends_[index] & kEnd) - begin);
}

db::Value StagedRow::value(std::string_view column) const {
    const int index = find(column);
    if (index < 0 || (ends_[static_cast<std::size_t>(index)] & kNull) != 0) {
        return db::Null{};
    }
    const std::string_view text = textAt(static_cast<std::size_t>(index));
    if ((ends_[static_cast<std::size_t>(index)] & kInteger) != 0) {
        std::int64_t number = 0;
        std::from_chars(text.data(), text.data() + text.size(), number);
        return number;
    }
    return std::string(text);
}

std::string StagedRow::text(std::string_view column) const {
    const int index = find(column);
    return index < 0 ? std::string() : std::string(textAt(static_cast<std::size_t>(index)));
}

std::string StagedRow::field(int n) const {
    if (!columns_ || n < 0 || n >= static_cast<int>(columns_->fieldIndex.size())) {
        return {};
    }
    const int index = columns_->fieldIndex[static_cast<std::size_t>(n)];
    return index < 0 ? std::string() : std::string(textAt(static_cast<std::size_t>(index)));
}

} // namespace dcf::staging
