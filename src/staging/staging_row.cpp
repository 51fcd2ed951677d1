#include "staging/staging_row.h"

#include "staging/text_encoding.h"

namespace dcf::staging {
namespace {

std::string insertSql() {
    std::string columns = "filer_id, rec_type, rec_num, repno, Status";
    std::string marks = "?, ?, ?, ?, ?";
    for (int n = 4; n <= 46; ++n) {
        columns += ", field" + std::to_string(n);
        marks += ", ?";
    }
    return "insert into IMPORTTEMP (" + columns + ", Memo) values (" + marks + ", ?)";
}

bool isLong(const std::string& value) {
    return utf8Length(value) > kShortFieldLength;
}

} // namespace

StagingRow stagingRow(const SplitLine& split, const std::string& filerId) {
    StagingRow row;
    row.filerId = filerId;
    row.recordType = split.recordType;
    row.recordNumber = split.fields[2];
    row.reportNumber = split.fields[3];
    for (std::size_t n = 4; n <= 46; ++n) {
        row.fields[n] = split.fields[n];
    }
    if (isLong(row.fields[7])) {
        if (row.recordType == "TEXT" || row.recordType == "CORR") {
            row.memo = std::move(row.fields[7]);
            row.fields[7].clear();
        } else {
            row.problem = "Field 7 holds " + std::to_string(utf8Length(row.fields[7])) +
                          " characters; at most 255 fit. The line is not staged.";
        }
    }
    if (isLong(row.fields[10])) {
        row.memo = std::move(row.fields[10]);
        row.fields[10].clear();
    }
    return row;
}

void insertStagingRow(db::Connection& connection, const StagingRow& row) {
    static const std::string sql = insertSql();
    db::Statement& insert = connection.statement(sql);
    int index = 0;
    insert.bind(++index, row.filerId);
    insert.bind(++index, row.recordType);
    insert.bind(++index, row.recordNumber);
    insert.bind(++index, row.reportNumber);
    insert.bind(++index, std::string("I"));
    for (std::size_t n = 4; n <= 46; ++n) {
        insert.bind(++index, row.fields[n]);
    }
    insert.bind(++index, row.memo ? db::Value(*row.memo) : db::Value(db::Null{}));
    insert.execute();
}

} // namespace dcf::staging
