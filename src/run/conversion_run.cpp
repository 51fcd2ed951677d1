#include "run/conversion_run.h"

namespace dcf::run {
namespace {

std::int32_t countOf(const std::array<std::int32_t, kRecordTypeCount>& counts,
                     std::string_view name) {
    const RecordType* type = recordTypeNamed(name);
    return type == nullptr ? 0 : counts[recordTypeIndex(*type)];
}

} // namespace

void ConversionRun::resetForNewRun() {
    currentLine.clear();
    currentLineNumber = 0;
    expectedFieldCount = 0;
    recordCounter = 0;
    filerId.clear();
    filerNameRecordNumber.clear();
    filerLine.clear();
    currentRecordType.clear();
    currentRecordNumber.clear();
    currentReportNumber.clear();
    newReportNumber.clear();
    currentNameId.clear();
    currentStagingKey = 0;
    resolvedName = ResolvedName{};
    scheduleItem = ScheduleItem{};
    roleCode.clear();
    coverSheet = CoverSheetState{};
    heldNameId.reset();
    staged_.fill(0);
    imported_.fill(0);
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

std::int32_t ConversionRun::staged(std::string_view type) const {
    return countOf(staged_, type);
}

std::int32_t ConversionRun::imported(std::string_view type) const {
    return countOf(imported_, type);
}

std::int32_t ConversionRun::countStaged(const RecordType& type) {
    return ++staged_[recordTypeIndex(type)];
}

std::int32_t ConversionRun::countImported(const RecordType& type) {
    return ++imported_[recordTypeIndex(type)];
}

} // namespace dcf::run
