#include "db/server_bulk_insert.h"

#include "db/error.h"

#include <cstring>
#include <string_view>

namespace dcf::db {
namespace {

// A refused row is named by its values, cut to this length.
constexpr std::size_t kRowShown = 400;

std::uint32_t readLength(const char* at) {
    std::uint32_t length = 0;
    std::memcpy(&length, at, sizeof length);
    return length;
}

} // namespace

void appendArrayElement(std::string& array, std::string_view text) {
    array += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            array += '\\';
        }
        array += c;
    }
    array += '"';
}

std::string serverText(const Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    if (const auto* amount = std::get_if<Currency>(&value)) {
        return amount->toString();
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? "t" : "f";
    }
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return std::to_string(*integer);
    }
    return {};
}

ServerBulkInsert::ServerBulkInsert(Connection& server, const ServerTable& table)
    : server_(server), table_(table) {
    std::string arrays;
    for (const ServerColumn& column : table.columns) {
        arrays += (arrays.empty() ? "cast(? as " : ", cast(? as ") + column.type + "[])";
    }
    // A statement of its own, so that its bound arrays go with the table.
    insert_ = server_.prepare("insert into " + table.name + " (" + table.columnList() +
                              ") select * from unnest(" + arrays + ")");
}

ServerBulkInsert::~ServerBulkInsert() {
    if (sending_.valid()) {
        sending_.wait();
    }
}

void ServerBulkInsert::add(const std::vector<Value>& row) {
    std::string& rows = batch_.rows;
    for (std::size_t i = 0; i < table_.columns.size(); ++i) {
        if (i >= row.size() || std::holds_alternative<Null>(row[i])) {
            rows += '\0';
            continue;
        }
        // Text, most values, goes in without a copy of its own.
        const auto* held = std::get_if<std::string>(&row[i]);
        const std::string made = held == nullptr ? serverText(row[i]) : std::string();
        const std::string_view text = held != nullptr ? std::string_view(*held) : made;
        const auto length = static_cast<std::uint32_t>(text.size());
        rows += '\1';
        rows.append(reinterpret_cast<const char*>(&length), sizeof length);
        rows += text;
    }
    batch_.ends.push_back(rows.size());
    if (rows.size() >= kBatchBytes) {
        flush();
    }
}

void ServerBulkInsert::finish() {
    flush();
    waitForSent();
}

void ServerBulkInsert::waitForSent() {
    if (sending_.valid()) {
        sending_.get();
    }
}

void ServerBulkInsert::flush() {
    if (batch_.ends.empty()) {
        return;
    }
    waitForSent();
    auto sent = std::make_shared<Batch>(std::move(batch_));
    batch_ = Batch{};
    ++statements_;
    written_ += static_cast<std::int64_t>(sent->ends.size());
    // Made here, while the thread still sends the batch before, so that it
    // only converts and sends.
    auto arrays = std::make_shared<Arrays>(arraysOf(*sent, 0, sent->ends.size()));
    sending_ = std::async(std::launch::async, [this, sent, arrays] {
        write(*sent, std::move(*arrays), 0, sent->ends.size());
    });
}

template <typename Each>
void ServerBulkInsert::visitRow(const Batch& batch, std::size_t row, Each&& each) const {
    std::size_t at = row == 0 ? 0 : batch.ends[row - 1];
    for (std::size_t column = 0; column < table_.columns.size(); ++column) {
        if (batch.rows[at++] == '\0') {
            each(column, nullptr);
            continue;
        }
        const std::uint32_t length = readLength(batch.rows.data() + at);
        at += sizeof length;
        const std::string_view text(batch.rows.data() + at, length);
        each(column, &text);
        at += length;
    }
}

std::string ServerBulkInsert::describeRow(const Batch& batch, std::size_t row) const {
    std::string shown;
    visitRow(batch, row, [&](std::size_t column, const std::string_view* text) {
        if (text != nullptr) {
            shown += (shown.empty() ? "" : ", ") + table_.columns[column].name + " = " +
                     std::string(*text);
        }
    });
    return shown.substr(0, kRowShown);
}

ServerBulkInsert::Arrays ServerBulkInsert::arraysOf(const Batch& batch, std::size_t first,
                                                    std::size_t last) const {
    Arrays arrays(table_.columns.size(), "{");
    for (std::size_t row = first; row < last; ++row) {
        visitRow(batch, row, [&](std::size_t column, const std::string_view* text) {
            std::string& array = arrays[column];
            if (row != first) {
                array += ',';
            }
            if (text == nullptr) {
                array += "NULL";
            } else {
                appendArrayElement(array, *text);
            }
        });
    }
    for (std::string& array : arrays) {
        array += '}';
    }
    return arrays;
}

void ServerBulkInsert::write(const Batch& batch, Arrays arrays, std::size_t first,
                             std::size_t last) {
    try {
        for (std::size_t column = 0; column < arrays.size(); ++column) {
            insert_->bindText(static_cast<int>(column + 1), arrays[column]);
        }
        insert_->execute();
        insert_->reset();
    } catch (const DbError& refused) {
        insert_->reset();
        if (last - first > 1 && !refused.endsTransaction() && server_.transactionIntact()) {
            const std::size_t middle = first + (last - first) / 2;
            write(batch, arraysOf(batch, first, middle), first, middle);
            write(batch, arraysOf(batch, middle, last), middle, last);
            // Both halves were taken: the refusal was no one row's.
            throw;
        }
        throw DbError(refused.sqlState(), refused.nativeCode(),
                      "The server refused a row of " + table_.name + " (" +
                          describeRow(batch, first) + "): " + refused.message(),
                      refused.source());
    }
}

} // namespace dcf::db
