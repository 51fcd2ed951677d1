#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace dcf::app {

// The name values loaded for the current name id.
struct ResolvedName {
    std::string naml, namf, namt, nams, namn, adr1, adr2, city, stcd, zip4, employer, occup,
        jobTitle, spousEmp, parent1, parent2, osPacCb, osPacFec;
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

    // The line being staged and its type's field count.
    std::string currentLine;
    std::int32_t expectedFieldCount = 0;
    // Lines read in the current pass: the line number of error reports.
    std::int32_t recordCounter = 0;

    std::string filerId;
    std::string filerNameRecordNumber;

    // The row being converted.
    std::string currentRecordType;
    std::string currentRecordNumber;
    std::string currentReportNumber;
    std::string newReportNumber;
    std::string currentNameId;
    std::int64_t currentStagingKey = 0;
    ResolvedName resolvedName;

    // Per record type ("HDR", "FLR", "NAME", ...): lines staged, rows added.
    std::map<std::string, std::int32_t> stagedCount;
    std::map<std::string, std::int32_t> importedCount;

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

    [[nodiscard]] std::int32_t staged(const std::string& type) const;
    [[nodiscard]] std::int32_t imported(const std::string& type) const;
};

} // namespace dcf::app
