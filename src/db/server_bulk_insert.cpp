#include "db/server_bulk_insert.h"

#include "db/error.h"

#include <array>

namespace dcf::db {
namespace {

// A refused row is named by its text, cut to this length.
constexpr std::size_t kRowShown = 400;

void appendJsonString(std::string& out, std::string_view text) {
    static constexpr std::array<char, 16> hex{'0', '1', '2', '3', '4', '5', '6', '7',
                                              '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20U) {
            out += "\\u00";
            out += hex[byte >> 4U];
            out += hex[byte & 0x0FU];
        } else {
            out += c;
        }
    }
    out += '"';
}

} // namespace

void appendJson(std::string& out, const Value& value) {
    if (std::holds_alternative<Null>(value)) {
        out += "null";
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        appendJsonString(out, *text);
    } else if (const auto* amount = std::get_if<Currency>(&value)) {
        appendJsonString(out, amount->toString());
    } else if (const auto* flag = std::get_if<bool>(&value)) {
        out += *flag ? "true" : "false";
    } else {
        out += std::to_string(std::get<std::int64_t>(value));
    }
}

ServerBulkInsert::ServerBulkInsert(Connection& server, const ServerTable& table)
    : server_(server), table_(table) {
    std::string columns;
    for (const ServerColumn& column : table.columns) {
        columns += columns.empty() ? column.name : ", " + column.name;
    }
    sql_ = "insert into " + table.name + " (" + columns + ") select " + columns +
           " from json_populate_recordset(null::" + table.name + ", ?)";
}

void ServerBulkInsert::add(const std::vector<Value>& row) {
    rows_ += '{';
    bool first = true;
    for (std::size_t i = 0; i < row.size() && i < table_.columns.size(); ++i) {
        // A missing key reads as null.
        if (std::holds_alternative<Null>(row[i])) {
            continue;
        }
        if (!first) {
            rows_ += ',';
        }
        first = false;
        appendJsonString(rows_, table_.columns[i].name);
        rows_ += ':';
        appendJson(rows_, row[i]);
    }
    rows_ += '}';
    rowEnds_.push_back(rows_.size());
    if (rows_.size() >= kBatchBytes) {
        flush();
    }
}

void ServerBulkInsert::finish() {
    flush();
}

void ServerBulkInsert::flush() {
    if (rowEnds_.empty()) {
        return;
    }
    write(0, rowEnds_.size());
    written_ += static_cast<std::int64_t>(rowEnds_.size());
    rows_.clear();
    rowEnds_.clear();
}

std::string_view ServerBulkInsert::rowText(std::size_t row) const {
    const std::size_t start = row == 0 ? 0 : rowEnds_[row - 1];
    return std::string_view(rows_).substr(start, rowEnds_[row] - start);
}

std::string ServerBulkInsert::document(std::size_t first, std::size_t last) const {
    std::string json = "[";
    // Rows are stored back to back; the document separates them.
    for (std::size_t row = first; row < last; ++row) {
        if (row != first) {
            json += ',';
        }
        json += rowText(row);
    }
    return json + "]";
}

void ServerBulkInsert::write(std::size_t first, std::size_t last) {
    Statement& insert = server_.statement(sql_);
    const std::string json = document(first, last);
    try {
        ++statements_;
        insert.bindText(1, json);
        insert.execute();
        insert.reset();
        return;
    } catch (const DbError& refused) {
        insert.reset();
        const bool canHalve =
            last - first > 1 && !refused.endsTransaction() && server_.transactionIntact();
        if (canHalve) {
            const std::size_t middle = first + (last - first) / 2;
            write(first, middle);
            write(middle, last);
            // Both halves were taken: the refusal was no one row's.
            throw;
        }
        std::string rows(rowText(first).substr(0, kRowShown));
        if (last - first > 1) {
            rows = std::to_string(last - first) + " rows from " + rows;
        }
        throw DbError(refused.sqlState(), refused.nativeCode(),
                      "The server refused a row of " + table_.name + ": " + rows + ": " +
                          refused.message(),
                      refused.source());
    }
}

} // namespace dcf::db
