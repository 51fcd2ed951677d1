#pragma once

#include "dcf/record_types.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dcf::run {

// The name values loaded for the current name id.
struct ResolvedName {
    std::string naml, namf, namt, nams, namn, adr1, adr2, city, stcd, zip4, employer, occup,
        jobTitle, spousEmp, parent1, parent2, osPacCb, osPacFec;
};

// The values of the schedule record being converted, as its error block
// shows them: each is empty until the conversion has read it for this row.
struct ScheduleItem {
    std::string date;
    std::string amount;
    std::string description;
    std::string backReference;
    // A summary line's user-entered amount.
    std::string userEntered;
};

// A name and address as a cover sheet keeps it for its filer and treasurer.
struct NameSet {
    std::string naml, namf, namt, nams, namn, adr1, adr2, city, stcd, zip4;
};

// The treasurer's mailing address.
struct AddressSet {
    std::string adr1, adr2, city, stcd, zip4;
};

// What the cover sheets of a run carry from one to the next: a report
// without a treasurer repeats the previous report's.
// What a report's cover sheet row says about itemizing its items.
struct CoverSheetItemization {
    bool found = false;
    std::string formType;
    bool filed = false;      // filed_yn "-1"
    bool itemizeAll = false; // itemize_all "-1"
};

struct CoverSheetState {
    NameSet filer;
    NameSet treasurer;
    AddressSet mailing;
    std::string treasurerPhone;
    std::string treasurerPhoneExtension;
    std::string filerEntityCode;
    // The converted period of the current report.
    std::string startDate;
    std::string endDate;
    // Each converted report's number in the file and its new number in the
    // database, in the order converted.
    std::vector<std::pair<std::string, std::string>> reportMoves;
    // The report whose cover sheet row was read last, and what it said: the
    // schedules ask for it row after row, one report after the other, and
    // the columns read are never changed by the run once the row is in.
    std::string itemizedReport;
    CoverSheetItemization itemization;
};

// The state of one conversion, shared by the driver, the staging step, the
// importers and the log writers. It lives as long as the program; every
// item but the selected file and the logs folder is reset at the start of
// each run, so nothing of one run leaks into the next.
struct ConversionRun {
    // The selected DCF file and what its filer line said.
    std::filesystem::path filePath;
    std::string fileName;
    std::string fileFilerType;
    std::string fileFilerId;
    std::string fileFilerName;

    std::filesystem::path logsFolder;
    // How long a run waits for another run on the same database.
    std::chrono::milliseconds runLockWait{30000};

    // The line being staged, its number in the file (the first line is 1)
    // and its type's field count.
    std::string currentLine;
    std::int64_t currentLineNumber = 0;
    std::int32_t expectedFieldCount = 0;
    // Lines read in the current pass: the line number of error reports.
    std::int32_t recordCounter = 0;

    std::string filerId;
    std::string filerNameRecordNumber;
    // The text of the file's filer line, as the filer importer quotes it.
    std::string filerLine;

    // The row being converted.
    std::string currentRecordType;
    std::string currentRecordNumber;
    std::string currentReportNumber;
    std::string newReportNumber;
    std::string currentNameId;
    std::int64_t currentStagingKey = 0;
    ResolvedName resolvedName;
    ScheduleItem scheduleItem;
    // The role the current name plays: "C" contributor, "P" payee, "L"
    // lender or creditor, "G" guarantor; "F", "T", "M" on a cover sheet.
    std::string roleCode;
    CoverSheetState coverSheet;
    // The next free name id once the run has drawn one: the run holds
    // repno's row from its first draw to its end, so later ids are handed out
    // here and repno.NameID is written back once, before the run commits. A
    // server keeps a version of the row per update inside one transaction,
    // and reading the row walks them all.
    std::optional<std::int64_t> heldNameId;

    std::int32_t importedWithErrorCount = 0;
    std::int32_t notImportedCount = 0;
    std::int32_t unexpectedErrorCount = 0;
    std::int32_t driverFailureCount = 0;

    // The count summary the driver wrote to the log.
    std::vector<std::string> summaryLines;

    // Set from the window's thread by Cancel, read by the engine.
    std::atomic<bool> cancelRequested{false};
    bool recordError = false;
    bool duplicateNameChecking = true;
    bool duplicateNameExplanation = true;

    // Clears every item of the previous run; keeps the file and logs folder.
    void resetForNewRun();

    // Lines staged and rows imported per record type, by the type's name
    // ("HDR", "FLR", "NAME", ...); 0 for a name of no type.
    [[nodiscard]] std::int32_t staged(std::string_view type) const;
    [[nodiscard]] std::int32_t imported(std::string_view type) const;
    // The same for a type at hand, without looking its name up.
    [[nodiscard]] std::int32_t staged(const RecordType& type) const {
        return staged_[recordTypeIndex(type)];
    }
    // Counts one more and returns the new count.
    std::int32_t countStaged(const RecordType& type);
    std::int32_t countImported(const RecordType& type);

private:
    std::array<std::int32_t, kRecordTypeCount> staged_{};
    std::array<std::int32_t, kRecordTypeCount> imported_{};
};

} // namespace dcf::run
