#pragma once

#include "db/connection.h"
#include "db/key_snapshot.h"
#include "dcf/dcf_splitter.h"
#include "dcf/record_types.h"
#include "staging/column_renumbering.h"
#include "staging/name_records.h"
#include "staging/staged_row.h"
#include "staging/staging_row.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace dcf::staging {

// A staged row whose field 7 may hold a NAME record's number: its key and
// the field (nothing for null).
struct NameReference {
    std::int64_t key;
    std::optional<std::string> field7;
};

// The staging table IMPORTTEMP of one run, and the only code that runs SQL
// on it. It lives where the run chose once: in the target, or, for a run on
// a server, in the run's scratch database, whose rows go to the server's
// IMPORTTEMP when the run saves.
class ImportTemp {
public:
    // The target's own IMPORTTEMP.
    explicit ImportTemp(db::Connection& target);
    // IMPORTTEMP made in the scratch database of a run on a server, its keys
    // carrying on from the server's.
    ImportTemp(db::Connection& target, db::Connection& scratch);
    ImportTemp(const ImportTemp&) = delete;
    ImportTemp& operator=(const ImportTemp&) = delete;

    // Empties the table: a run starts from nothing.
    void clear();
    // Adds the split line as a row with status "I"; throws db::DbError when
    // the database refuses it, as the server would where the server may
    // refuse what the scratch takes.
    void stage(const SplitLine& split, const std::string& filerId, const LongValues& placement);

    // Reads the row with this key whole; false when it is gone.
    bool read(std::int64_t key, StagedRow& row);
    // The most keys one slice reads.
    static constexpr std::size_t kSliceRows = 1000;
    // Reads the rows of these keys (at most kSliceRows) with one statement,
    // in key order; a key whose row is gone has none. Only fields 4 to
    // `lastField` are read: staging leaves every field after the last of
    // its type's empty, and an unread field reads as empty.
    void readSlice(std::span<const std::int64_t> keys, int lastField, std::vector<StagedRow>& rows);
    // The keys of the rows of these types, in the selection's own order
    // (`orderBy` columns, or none) and then in staging order.
    db::KeySnapshot keysOf(std::initializer_list<const RecordType*> types, const char* orderBy);
    // Every NAME record, for the importers to look up by number once the
    // names are renumbered.
    NameRecords nameRecords();
    // The staged types of the rows of this record number, in staging order,
    // but for the types whose numbers are the database's by now.
    std::vector<std::string> fileTypesNumbered(const std::string& number);

    // The keys of the `rows` staged rows in staging order, as runs of
    // consecutive keys: the first of each and how many.
    std::vector<std::pair<std::int64_t, std::int64_t>> stagedKeyRuns(std::int64_t rows);

    // The row's record was not converted: status "E".
    void markRejected(std::int64_t key);
    // The row's record number becomes a database number (a name id, a report
    // number).
    void setRecordNumber(std::int64_t key, const std::string& number);

    // The NAME records' keys and numbers, in staging order.
    std::vector<std::pair<std::int64_t, std::string>> nameRecordNumbers();
    // The next rows after key `after` whose field 7 may hold a NAME record's
    // number, at most `limit`, in staging order.
    void nameReferences(std::int64_t after, std::size_t limit, std::vector<NameReference>& rows);
    // The keys of the filer's rows of one type.
    db::KeySnapshot keysOfFiler(const RecordType& type, const std::string& filerId);
    // Field N of a row takes a name id; `final` marks a cover sheet's
    // treasurer reference as renumbered (status "T").
    void setNameReference(std::int64_t key, int field, const std::string& id, bool final = false);
    // Field 7 of each row (by key) takes its name id, a few dozen rows to a
    // statement.
    void setNameReferences(std::span<const std::pair<std::int64_t, std::string>> ids);
    // The record number of each row (by key) becomes a database number, a
    // few dozen rows to a statement.
    void setRecordNumbers(std::span<const std::pair<std::int64_t, std::string>> numbers);

    // Every row of a report moves from the report's number in the file to
    // its number in the database; summary rows are marked "S" as they move.
    void moveReportRows(const Renumbering& reports);
    // The keys of a report's rows not refused yet.
    db::KeySnapshot keysOfReport(const std::string& reportNumber);
    // The keys of the refused rows of one type.
    db::KeySnapshot keysOfRefused(const RecordType& type);

    // Before a run on a server commits: the scratch rows go to the server's
    // IMPORTTEMP with their keys, and the server's key counter moves past
    // them. Nothing to do for IMPORTTEMP in the target.
    void saveToTarget();

private:
    void setByKey(const std::string& column,
                  std::span<const std::pair<std::int64_t, std::string>> values);

    db::Connection& target_;
    // Where the run's rows live: the target, or the scratch database.
    db::Connection& home_;
    bool inScratch_ = false;
};

} // namespace dcf::staging
