#include "names/import_names.h"

#include "db/key_snapshot.h"
#include "dcf/control_names.h"
#include "names/id_counters.h"
#include "names/name_id_map.h"
#include "staging/column_renumbering.h"
#include "staging/staged_row.h"

#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace dcf::names {
namespace {

// field7 holds a name in every record but these, whose field7 is an amount,
// a text or the filer's id. The rows are walked in staging order a slice at
// a time, so memory stays the same however long the file is.
constexpr const char* kReferenceSlice =
    "select import_key, field7 from IMPORTTEMP where import_key > ? and rec_type not in "
    "('SMRY', 'NAME', 'TEXT', 'FINL', 'FLR,', 'CVR3', 'CORR') order by import_key limit 5000";
constexpr std::size_t kSliceRows = 5000;

// Gives each NAME record, in staging order, the next name id; returns the
// file numbers and their ids.
NameIdMap numberNames(run::RunContext& context) {
    std::vector<std::pair<std::int64_t, std::string>> names;
    db::Statement& select = context.work().statement(
        "select import_key, rec_num from IMPORTTEMP where rec_type = 'NAME' order by import_key");
    select.execute();
    while (select.next()) {
        names.emplace_back(select.integer("import_key"), select.text("rec_num"));
    }
    select.reset();
    if (names.empty()) {
        return NameIdMap(0);
    }
    // The ids are drawn together: the same ids, one after the other.
    const auto total = static_cast<std::int64_t>(names.size());
    const std::int64_t first = FindNextNameIDs(context, total);
    NameIdMap ids(first);
    db::Statement& update =
        context.work().statement("update IMPORTTEMP set rec_num = ? where import_key = ?");
    for (std::int64_t done = 0; done < total; ++done) {
        const auto& [key, fileNumber] = names[static_cast<std::size_t>(done)];
        context.run.currentNameId = std::to_string(first + done);
        context.view.setProgress(done + 1, total);
        update.run(context.run.currentNameId, key);
        ids.add(fileNumber);
        context.view.yield();
    }
    ids.seal();
    return ids;
}

// Rewrites field N of one staged row. The cover sheet's treasurer is marked:
// its reference is final.
std::string referenceUpdate(const char* type, int n) {
    std::string sql = "update IMPORTTEMP set field" + std::to_string(n) + " = ?";
    if (std::string_view(type) == "FORM" && n == 9) {
        sql += ", Status = 'T'";
    }
    sql += " where import_key = ?";
    return sql;
}

// The few records that name someone outside field7: the filer line, the
// cover sheets and the notices, one row at a time.
void renumberFew(run::RunContext& context, const NameIdMap& ids, const char* type,
                 std::initializer_list<int> fields) {
    const db::KeySnapshot rows(context.work(),
                               "select import_key from IMPORTTEMP where rec_type = ? and "
                               "filer_id = ? order by import_key",
                               type, context.run.filerId);
    staging::StagedRow row;
    for (const std::int64_t key : rows) {
        if (!row.read(context.work(), key)) {
            continue;
        }
        for (const int n : fields) {
            const std::optional<std::string> id = ids.find(row.field(n));
            if (!id) {
                continue;
            }
            context.work().statement(referenceUpdate(type, n)).run(*id, key);
        }
    }
}

// Every record's field7 takes the new id of the name it held in the file.
// Each row is read and rewritten once, by key, however the new ids overlap
// the file's (name id 2 for file name 1 while file name 2 follows): rewriting
// by value, number after number, costs an index walk per name and would move
// a row twice if the order were wrong.
void renumberReferences(run::RunContext& context, const NameIdMap& ids) {
    db::Statement& slice = context.work().statement(kReferenceSlice);
    db::Statement& update =
        context.work().statement("update IMPORTTEMP set field7 = ? where import_key = ?");
    std::vector<std::pair<std::int64_t, std::optional<std::string>>> rows;
    std::int64_t after = 0;
    do {
        rows.clear();
        slice.run(after);
        while (slice.next()) {
            // A null holds no number; the key still moves the slice on.
            const db::Value value = slice.value("field7");
            rows.emplace_back(slice.integer("import_key"),
                              std::holds_alternative<db::Null>(value)
                                  ? std::nullopt
                                  : std::optional<std::string>(db::toText(value)));
        }
        slice.reset();
        std::optional<std::string> last;
        for (const auto& [key, fileNumber] : rows) {
            after = key;
            std::optional<std::string> id =
                fileNumber ? ids.find(*fileNumber) : std::optional<std::string>();
            if (id && *id != *fileNumber) {
                update.run(*id, key);
                last = std::move(id);
            }
        }
        if (last) {
            context.view.setText(control::statbarMain, "Processing Name record for " + *last);
        }
        context.view.yield();
    } while (rows.size() == kSliceRows);
}

} // namespace

void ImportNAMES(run::RunContext& context) {
    const NameIdMap ids = numberNames(context);
    if (ids.empty()) {
        return;
    }
    renumberReferences(context, ids);
    renumberFew(context, ids, "FLR,", {10});
    renumberFew(context, ids, "FORM", {8, 9});
    renumberFew(context, ids, "CVR2", {8});
}

} // namespace dcf::names
