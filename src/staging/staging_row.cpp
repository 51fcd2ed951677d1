#include "staging/staging_row.h"

#include "dcf/text_encoding.h"

#include <utility>

namespace dcf::staging {
namespace {

std::string insertSql() {
    std::string columns;
    std::string marks;
    for (const std::string& column : importTempColumns()) {
        columns += (columns.empty() ? "" : ", ") + column;
        marks += marks.empty() ? "?" : ", ?";
    }
    return "insert into IMPORTTEMP (" + columns + ") values (" + marks + ")";
}

bool isLong(const std::string& value) {
    // Only a value of more than 255 bytes can hold more than 255 characters.
    return value.size() > kShortFieldLength && utf8Length(value) > kShortFieldLength;
}

} // namespace

const std::vector<std::string>& importTempColumns() {
    static const std::vector<std::string> columns = [] {
        std::vector<std::string> names = {"filer_id", "rec_type", "rec_num", "repno", "Status"};
        for (int n = 4; n <= 46; ++n) {
            names.push_back("field" + std::to_string(n));
        }
        names.emplace_back("Memo");
        return names;
    }();
    return columns;
}

LongValues placeLongValues(const SplitLine& split) {
    LongValues placement;
    if (isLong(split.fields[7])) {
        if (split.recordType == "TEXT" || split.recordType == "CORR") {
            placement.field7ToMemo = true;
        } else {
            placement.problem = "Field 7 holds " + std::to_string(utf8Length(split.fields[7])) +
                                " characters; at most 255 fit. The line is not staged.";
        }
    }
    placement.field10ToMemo = isLong(split.fields[10]);
    return placement;
}

void insertStagingRow(db::Connection& connection, const SplitLine& split,
                      const std::string& filerId, const LongValues& placement) {
    static const std::string sql = insertSql();
    db::Statement& insert = connection.statement(sql);
    insert.bindText(1, filerId);
    insert.bindText(2, split.recordType);
    insert.bindText(3, split.fields[2]);
    insert.bindText(4, split.fields[3]);
    insert.bindText(5, "I");
    int index = 5;
    for (std::size_t n = 4; n <= 46; ++n) {
        const bool moved =
            (n == 7 && placement.field7ToMemo) || (n == 10 && placement.field10ToMemo);
        insert.bindText(++index, moved ? std::string_view("") : std::string_view(split.fields[n]));
    }
    if (placement.field10ToMemo) {
        insert.bindText(++index, split.fields[10]);
    } else if (placement.field7ToMemo) {
        insert.bindText(++index, split.fields[7]);
    } else {
        insert.bind(++index, db::Null{});
    }
    insert.execute();
}

StagingRow stagingRow(const SplitLine& split, const std::string& filerId) {
    const LongValues placement = placeLongValues(split);
    StagingRow row;
    row.filerId = filerId;
    row.recordType = split.recordType;
    row.recordNumber = split.fields[2];
    row.reportNumber = split.fields[3];
    for (std::size_t n = 4; n <= 46; ++n) {
        row.fields[n] = split.fields[n];
    }
    if (placement.field10ToMemo) {
        row.memo = std::exchange(row.fields[10], {});
    }
    if (placement.field7ToMemo) {
        std::string field7 = std::exchange(row.fields[7], {});
        if (!row.memo) {
            row.memo = std::move(field7);
        }
    }
    row.problem = placement.problem;
    return row;
}

} // namespace dcf::staging
