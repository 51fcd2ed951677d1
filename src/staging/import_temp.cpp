#include "staging/import_temp.h"

#include "db/backend_sql.h"
#include "db/cursor.h"
#include "staging/record_type_codes.h"
#include "staging/scratch_import_temp.h"

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>

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

void insertRow(db::Connection& connection, const SplitLine& split, const std::string& filerId,
               const LongValues& placement) {
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

// A server's btree index takes entries of at most about 2.7 kB: a report
// number that long may be refused in IMPORTTEMP's index on it. The other
// indexed values are short or hashed.
bool mayBeRefusedByServer(const SplitLine& split) {
    constexpr std::size_t kLongestSureEntry = 2000;
    return split.fields[3].size() > kLongestSureEntry;
}

} // namespace

ImportTemp::ImportTemp(db::Connection& target) : target_(target), home_(target) {}

ImportTemp::ImportTemp(db::Connection& target, db::Connection& scratch)
    : target_(target), home_(scratch), inScratch_(true) {
    // The rows keep the keys they would have had staged on the server.
    makeScratchImportTemp(scratch, db::takeNextKey(target, "IMPORTTEMP", "import_key"));
}

void ImportTemp::clear() {
    // On a server the saved rows replace the server's: its table is emptied
    // inside the run's transaction; the scratch table starts empty.
    target_.statement("delete from IMPORTTEMP").execute();
}

void ImportTemp::stage(const SplitLine& split, const std::string& filerId,
                       const LongValues& placement) {
    if (inScratch_ && mayBeRefusedByServer(split)) {
        // The server's own verdict, so that the line is refused here, with
        // the server's reason, as it would be when staged on the server.
        insertRow(target_, split, filerId, placement);
        target_.statement("delete from IMPORTTEMP").execute();
    }
    insertRow(home_, split, filerId, placement);
}

bool ImportTemp::read(std::int64_t key, StagedRow& row) {
    db::Cursor found(home_, "select * from IMPORTTEMP where import_key = ?", key);
    if (!found.next()) {
        return false;
    }
    row.load(key, found.row());
    return true;
}

void ImportTemp::readSlice(std::span<const std::int64_t> keys, int lastField,
                           std::vector<StagedRow>& rows) {
    rows.clear();
    if (keys.empty()) {
        return;
    }
    if (keys.size() > kSliceRows) {
        throw std::logic_error("a slice of IMPORTTEMP holds at most kSliceRows keys");
    }
    // One text for each last field, made once.
    static const std::array<std::string, 47> texts = [] {
        std::array<std::string, 47> made;
        std::string fields;
        for (std::size_t last = 3; last < made.size(); ++last) {
            if (last >= 4) {
                fields += ", field" + std::to_string(last);
            }
            made[last] = "select import_key, filer_id, rec_type, rec_num, repno, Status" + fields +
                         ", Memo from IMPORTTEMP where import_key in (" +
                         parameterMarks(kSliceRows) + ")";
        }
        return made;
    }();
    const std::string& sql = texts[static_cast<std::size_t>(std::clamp(lastField, 3, 46))];
    db::Values bound;
    bound.reserve(kSliceRows);
    for (std::size_t i = 0; i < kSliceRows; ++i) {
        // A short slice repeats its last key: one statement text serves all.
        bound.emplace_back(keys[std::min(i, keys.size() - 1)]);
    }
    db::Cursor found(home_, sql, bound);
    std::shared_ptr<const StagedColumns> columns;
    while (found.next()) {
        if (!columns) {
            columns = std::make_shared<const StagedColumns>(found.row());
        }
        rows.emplace_back().load(found.row().integer("import_key"), found.row(), columns);
    }
    std::sort(rows.begin(), rows.end(),
              [](const StagedRow& a, const StagedRow& b) { return a.key() < b.key(); });
}

db::KeySnapshot ImportTemp::keysOf(std::initializer_list<const RecordType*> types,
                                   const char* orderBy) {
    std::string sql = "select import_key from IMPORTTEMP where ";
    db::Values codes;
    for (const RecordType* type : types) {
        sql += codes.empty() ? "rec_type = ?" : " or rec_type = ?";
        codes.emplace_back(std::string(type->code));
    }
    sql += " order by ";
    if (orderBy != nullptr) {
        sql += std::string(orderBy) + ", ";
    }
    sql += "import_key";
    return {home_, sql, codes};
}

NameRecords ImportTemp::nameRecords() {
    static const std::string sql = "select rec_num, " + nameRecordColumns() +
                                   ", Memo from IMPORTTEMP where rec_type = ? order by import_key";
    static const db::Values name = codeOf(recordType("NAME"));
    // Staging keeps a suffix (field 10) of 256 characters or more in Memo;
    // a NAME line with a field 7 that long is not staged at all.
    constexpr std::size_t kSuffix = 10 - kNameRecordFirstField;
    db::Cursor rows(home_, sql, name);
    NameRecords records;
    std::vector<std::string> texts(2 + kNameRecordFields);
    std::array<std::string_view, kNameRecordFields> fields;
    while (rows.next()) {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            texts[i] = db::toText(rows.row().value(static_cast<int>(i)));
        }
        for (std::size_t i = 0; i < fields.size(); ++i) {
            fields[i] = texts[i + 1];
        }
        if (!texts.back().empty()) {
            fields[kSuffix] = texts.back();
        }
        records.add(texts[0], fields);
    }
    records.seal();
    return records;
}

std::vector<std::string> ImportTemp::fileTypesNumbered(const std::string& number) {
    db::Cursor rows(home_, "select rec_type from IMPORTTEMP where rec_num = ? order by import_key",
                    number);
    std::vector<std::string> types;
    while (rows.next()) {
        std::string code = rows.row().text("rec_type");
        const RecordType* type = findRecordType(code);
        if (type == nullptr || !type->databaseNumbered) {
            types.push_back(std::move(code));
        }
    }
    return types;
}

std::vector<std::pair<std::int64_t, std::int64_t>> ImportTemp::stagedKeyRuns(std::int64_t rows) {
    std::vector<std::pair<std::int64_t, std::int64_t>> runs;
    if (rows == 0) {
        return runs;
    }
    // Keys drawn one after another on one connection have no gaps: the first
    // and the last key show it without reading the others.
    const std::optional<std::int64_t> first =
        db::firstInteger(home_, "select min(import_key) as first_key from IMPORTTEMP");
    const std::optional<std::int64_t> last =
        db::firstInteger(home_, "select max(import_key) as last_key from IMPORTTEMP");
    if (first && last && *last - *first + 1 == rows) {
        runs.emplace_back(*first, rows);
        return runs;
    }
    db::Cursor keys(home_, "select import_key from IMPORTTEMP order by import_key");
    while (keys.next()) {
        const std::int64_t key = keys.row().integer("import_key");
        if (!runs.empty() && runs.back().first + runs.back().second == key) {
            ++runs.back().second;
        } else {
            runs.emplace_back(key, 1);
        }
    }
    return runs;
}

void ImportTemp::markRejected(std::int64_t key) {
    home_.statement("update IMPORTTEMP set Status = ? where import_key = ?").run("E", key);
}

void ImportTemp::setRecordNumber(std::int64_t key, const std::string& number) {
    home_.statement("update IMPORTTEMP set rec_num = ? where import_key = ?").run(number, key);
}

void ImportTemp::saveToTarget() {
    if (!inScratch_) {
        return;
    }
    const std::int64_t lastKey = copyImportTemp(home_, target_);
    if (lastKey != 0) {
        db::continueKeysAfter(target_, "IMPORTTEMP", "import_key", lastKey);
    }
}

} // namespace dcf::staging
