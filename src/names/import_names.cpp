#include "names/import_names.h"

#include "dcf/control_names.h"
#include "dcf/record_types.h"
#include "names/id_counters.h"
#include "names/name_id_map.h"

#include <optional>
#include <utility>
#include <vector>

namespace dcf::names {
namespace {

// The rows whose field7 may name someone are walked in staging order a
// slice at a time, so memory stays the same however long the file is.
constexpr std::size_t kSliceRows = 5000;

// The cover sheet's treasurer reference: once rewritten, its row is marked.
constexpr int kTreasurerField = 9;

// Gives each NAME record, in staging order, the next name id; returns the
// file numbers and their ids.
NameIdMap numberNames(run::RunContext& context, staging::ImportTemp& importTemp) {
    const std::vector<std::pair<std::int64_t, std::string>> names = importTemp.nameRecordNumbers();
    if (names.empty()) {
        return NameIdMap(0);
    }
    // The ids are drawn together: the same ids, one after the other.
    const auto total = static_cast<std::int64_t>(names.size());
    const std::int64_t first = FindNextNameIDs(context, total);
    NameIdMap ids(first);
    std::vector<std::pair<std::int64_t, std::string>> numbers;
    for (std::int64_t done = 0; done < total; ++done) {
        const auto& [key, fileNumber] = names[static_cast<std::size_t>(done)];
        context.view.setProgress(done + 1, total);
        numbers.emplace_back(key, std::to_string(first + done));
        if (numbers.size() == kSliceRows) {
            importTemp.setRecordNumbers(numbers);
            numbers.clear();
        }
        ids.add(fileNumber);
        context.view.yield();
    }
    importTemp.setRecordNumbers(numbers);
    ids.seal();
    return ids;
}

// The few records that name someone outside field7 (the filer line, the
// cover sheets and the notices), one row at a time.
void renumberMoreFields(run::RunContext& context, staging::ImportTemp& importTemp,
                        const NameIdMap& ids, const RecordType& type) {
    const db::KeySnapshot rows = importTemp.keysOfFiler(type, context.run.filer.id);
    staging::StagedRow row;
    for (const std::int64_t key : rows) {
        if (!importTemp.read(key, row)) {
            continue;
        }
        for (const int n : type.moreNameFields) {
            const std::optional<std::string> id = n != 0 ? ids.find(row.field(n)) : std::nullopt;
            if (id) {
                const bool treasurer = type.name == "FORM" && n == kTreasurerField;
                importTemp.setNameReference(key, n, *id, treasurer);
            }
        }
    }
}

// Every record's field7 takes the new id of the name it held in the file.
// Each row is read and rewritten once, by key, however the new ids overlap
// the file's (name id 2 for file name 1 while file name 2 follows): rewriting
// by value, number after number, costs an index walk per name and would move
// a row twice if the order were wrong.
void renumberField7(run::RunContext& context, staging::ImportTemp& importTemp,
                    const NameIdMap& ids) {
    std::vector<staging::NameReference> rows;
    std::vector<std::pair<std::int64_t, std::string>> changes;
    std::int64_t after = 0;
    do {
        importTemp.nameReferences(after, kSliceRows, rows);
        changes.clear();
        for (const auto& [key, fileNumber] : rows) {
            after = key;
            std::optional<std::string> id =
                fileNumber ? ids.find(*fileNumber) : std::optional<std::string>();
            if (id && *id != *fileNumber) {
                changes.emplace_back(key, std::move(*id));
            }
        }
        // A slice's rows are rewritten together: none is read again before.
        importTemp.setNameReferences(changes);
        if (!changes.empty()) {
            context.view.setText(control::statbarMain,
                                 "Processing Name record for " + changes.back().second);
        }
        context.view.yield();
    } while (rows.size() == kSliceRows);
}

} // namespace

void ImportNAMES(run::RunContext& context, staging::ImportTemp& importTemp) {
    const NameIdMap ids = numberNames(context, importTemp);
    if (ids.empty()) {
        return;
    }
    renumberField7(context, importTemp, ids);
    for (const RecordType& type : allRecordTypes()) {
        if (type.moreNameFields[0] != 0) {
            renumberMoreFields(context, importTemp, ids, type);
        }
    }
}

} // namespace dcf::names
