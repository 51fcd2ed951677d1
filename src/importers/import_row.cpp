#include "importers/import_row.h"

#include "staging/error_log_writers.h"

namespace dcf::importers {

ImportRow::ImportRow(ImporterContext& importers, const staging::StagedRow& staged,
                     const char* reportColumn)
    : importers_(importers), staged_(staged), recordType_(staged.text("rec_type")),
      type_(findRecordType(recordType_)), recordNumber_(staged.text("rec_num")),
      reportNumber_(staged.text(reportColumn)) {}

log::EntryRecord ImportRow::entryRecord() const {
    return staging::stagedEntryRecord(importers_.run, staged_);
}

void ImportRow::warn(std::string_view message) {
    staging::WriteToErrorLog(context(), staged_, message);
    ++warnings_;
}

void ImportRow::reject(std::string_view message) {
    staging::WriteSevereErrorLog(context(), importTemp(), staged_, message);
}

} // namespace dcf::importers
