#pragma once

#include "dcf/record_types.h"
#include "run/staged_lines.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dcf::run {

// The run's filer, as staging reads it from the file's filer line and the
// filer importer takes it over.
struct RunFiler {
    std::string id;
    // The file number of the filer's own NAME record (filer line field 10).
    std::string nameRecordNumber;
    // The text of the filer line, as the filer importer's error block quotes it.
    std::string line;
};

// What a run counts: lines staged and rows imported per record type, and the
// records that the closing question weighs.
class RunCounts {
public:
    // Records converted with a correction, records not converted, rows that
    // failed in an importer, and failures of the driver itself.
    std::int32_t importedWithError = 0;
    std::int32_t notImported = 0;
    std::int32_t unexpectedErrors = 0;
    std::int32_t driverFailures = 0;

    // By the type's name ("HDR", "FLR", "NAME", ...); 0 for a name of no type.
    [[nodiscard]] std::int32_t staged(std::string_view type) const;
    [[nodiscard]] std::int32_t imported(std::string_view type) const;
    [[nodiscard]] std::int32_t staged(const RecordType& type) const {
        return staged_[recordTypeIndex(type)];
    }
    // Counts one more and returns the new count.
    std::int32_t countStaged(const RecordType& type) { return ++staged_[recordTypeIndex(type)]; }
    std::int32_t countImported(const RecordType& type) {
        return ++imported_[recordTypeIndex(type)];
    }

private:
    std::array<std::int32_t, kRecordTypeCount> staged_{};
    std::array<std::int32_t, kRecordTypeCount> imported_{};
};

// The similar-name questions of one run (names/check_names): whether they
// are still asked, and whether their explanation was shown.
struct NameQuestions {
    bool asking = true;
    bool explained = false;
};

// The state of one run, made fresh for each run, so nothing of one run
// reaches the next. What belongs to one record lives with that record
// (staging's line, an importer's row), not here.
struct ConversionRun {
    RunFiler filer;
    // Lines read in the current pass: the line number of error reports.
    std::int32_t recordCounter = 0;
    RunCounts counts;
    NameQuestions nameQuestions;
    // The next free name id once the run has drawn one (names/id_counters):
    // the run holds repno's row from its first draw to its end, so later ids
    // are handed out here and repno.NameID is written back once, before the
    // run commits. A server keeps a version of the row per update inside one
    // transaction, and reading the row walks them all.
    std::optional<std::int64_t> heldNameId;
    // The procedure at work ("ImportDCFRecords", "ImportRCPT"), as the log's
    // entries name their step.
    std::string_view step;
    // The DCF line of each staged row.
    StagedLines stagedLines;
    // The count summary the driver wrote to the log.
    std::vector<std::string> summaryLines;
};

} // namespace dcf::run
