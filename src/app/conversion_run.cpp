#include "app/conversion_run.h"

namespace dcf::app {

void ConversionRun::resetForNewRun() {
    currentLine.clear();
    expectedFieldCount = 0;
    recordCounter = 0;
    filerId.clear();
    filerNameRecordNumber.clear();
    currentRecordType.clear();
    currentRecordNumber.clear();
    currentReportNumber.clear();
    newReportNumber.clear();
    currentNameId.clear();
    currentStagingKey = 0;
    resolvedName = ResolvedName{};
    stagedCount.clear();
    importedCount.clear();
    summaryLines.clear();
    importedWithErrorCount = 0;
    notImportedCount = 0;
    unexpectedErrorCount = 0;
    driverFailureCount = 0;
    cancelRequested = false;
    recordError = false;
    duplicateNameChecking = true;
    duplicateNameExplanation = true;
}

std::int32_t ConversionRun::staged(const std::string& type) const {
    const auto found = stagedCount.find(type);
    return found == stagedCount.end() ? 0 : found->second;
}

std::int32_t ConversionRun::imported(const std::string& type) const {
    const auto found = importedCount.find(type);
    return found == importedCount.end() ? 0 : found->second;
}

} // namespace dcf::app
