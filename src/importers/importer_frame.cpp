#include "importers/importer_frame.h"

#include "dcf/control_names.h"
#include "dcf/record_types.h"
#include "importers/importer_error_block.h"
#include "log/clock_text.h"
#include "log/log_file.h"
#include "run/run_entries.h"
#include "run/run_errors.h"

#include <algorithm>
#include <chrono>
#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

namespace dcf::importers {
namespace {

// How one row ended, for the loop.
enum class RowEnd { Done, Failed, Stop };

// The keys of the importer's rows: its record types, in its own order and
// then in staging order.
db::KeySnapshot selectRows(ImporterContext& importers, const ImporterDescription& importer) {
    const RecordType* first = &recordType(importer.recordTypes[0]);
    if (importer.recordTypes[1] == nullptr) {
        return importers.importTemp.keysOf({first}, importer.orderBy);
    }
    return importers.importTemp.keysOf({first, &recordType(importer.recordTypes[1])},
                                       importer.orderBy);
}

void stopRun(run::RunContext& context, const std::string& message) {
    context.view.tell({"", message, run::Icon::None});
    context.cancelRequested = true;
}

// One call of an importer: its rows, one by one.
class ImporterWalk {
public:
    ImporterWalk(ImporterContext& importers, const ImporterDescription& importer)
        : importers_(importers), context_(importers.run), importer_(importer),
          counted_(importer.countType != nullptr ? &recordType(importer.countType) : nullptr) {}

    ImporterResult walk();

private:
    RowEnd walkSlice(std::int64_t& reached);
    RowEnd convertRow(std::size_t position);
    const staging::StagedRow* stagedRow(std::size_t position);
    RowEnd settleRow(ImportRow& row, const RowOutcome& outcome);
    void countAdded(const ImportRow& row);
    void trapRowError(std::int64_t key, const ImportRow& row, const std::exception& error);

    ImporterContext& importers_;
    run::RunContext& context_;
    const ImporterDescription& importer_;
    const RecordType* counted_;
    // The keys of the slice being walked, and its rows, read together from
    // the first key not yet converted when one is needed, in key order.
    std::vector<std::int64_t> sliceKeys_;
    std::vector<staging::StagedRow> slice_;
    bool sliceRead_ = false;
    // The last field any of the importer's record types has.
    int lastField_ = 0;
    std::int64_t total_ = 0;
    const staging::StagedRow unread_;
    ImporterResult result_;
};

ImporterResult ImporterWalk::walk() {
    context_.run.step = importer_.procedure != nullptr ? importer_.procedure : "";
    if (importer_.processingMessage != nullptr) {
        context_.view.setText(control::lblProcessingMessage, importer_.processingMessage);
    }
    const db::KeySnapshot keys = selectRows(importers_, importer_);
    for (const char* type : importer_.recordTypes) {
        if (type != nullptr) {
            lastField_ = std::max(lastField_, recordType(type).fieldCount + 1);
        }
    }
    if (importer_.beforeFirstRow != nullptr) {
        if (const std::optional<std::string> stop =
                importer_.beforeFirstRow(importers_, keys.size())) {
            stopRun(context_, *stop);
            result_.end = ImporterEnd::Stopped;
            return result_;
        }
    }
    // The bar goes over this importer's rows, as it goes over the names.
    total_ = static_cast<std::int64_t>(keys.size());
    std::int64_t reached = 0;
    for (auto key = keys.begin(); key != keys.end();) {
        sliceKeys_.clear();
        for (; key != keys.end() && sliceKeys_.size() < staging::ImportTemp::kSliceRows; ++key) {
            sliceKeys_.push_back(*key);
        }
        sliceRead_ = false;
        if (walkSlice(reached) == RowEnd::Stop) {
            return result_;
        }
    }
    if (importer_.afterLastRow != nullptr) {
        importer_.afterLastRow(importers_);
    }
    return result_;
}

// The rows of one slice; Stop when the walk ends before its last row (the
// result says why).
RowEnd ImporterWalk::walkSlice(std::int64_t& reached) {
    for (std::size_t position = 0; position < sliceKeys_.size(); ++position) {
        context_.view.setProgress(++reached, total_);
        const RowEnd end = convertRow(position);
        if (end == RowEnd::Stop) {
            result_.end = ImporterEnd::Stopped;
            return RowEnd::Stop;
        }
        if (end == RowEnd::Failed && importer_.endAtFirstError) {
            result_.end = ImporterEnd::EndedAtError;
            return RowEnd::Stop;
        }
        context_.view.yield();
        if (importer_.testCancel && context_.cancelRequested) {
            result_.end = ImporterEnd::Cancelled;
            return RowEnd::Stop;
        }
    }
    return RowEnd::Done;
}

// Rows are read a slice of keys at a time. No statement of an importer
// changes a row of its own selection other than the row it converts, so a
// row read with its slice is the row as it stands when it is converted. A
// slice that could not be read is read again, from the next row on.
const staging::StagedRow* ImporterWalk::stagedRow(std::size_t position) {
    if (!sliceRead_) {
        importers_.importTemp.readSlice(std::span(sliceKeys_).subspan(position), lastField_,
                                        slice_);
        sliceRead_ = true;
    }
    const std::int64_t key = sliceKeys_[position];
    const auto found = std::lower_bound(
        slice_.begin(), slice_.end(), key,
        [](const staging::StagedRow& row, std::int64_t wanted) { return row.key() < wanted; });
    return found != slice_.end() && found->key() == key ? &*found : nullptr;
}

RowEnd ImporterWalk::convertRow(std::size_t position) {
    const std::int64_t key = sliceKeys_[position];
    // The row outlives its conversion's failure: its block shows what the
    // conversion had read of it.
    std::optional<ImportRow> row;
    try {
        // A row deleted since the keys were taken is passed over, and so is
        // one an earlier step already refused (its report was not converted).
        const staging::StagedRow* staged = stagedRow(position);
        if (staged == nullptr || staged->text("Status") == "E") {
            return RowEnd::Done;
        }
        row.emplace(importers_, *staged, importer_.reportNumberColumn);
        return settleRow(*row, importer_.convert(*row));
    } catch (const std::exception& error) {
        run::rethrowIfRunEnding(context_, error);
        if (!row) {
            // The row could not be read: its block names none of its values.
            row.emplace(importers_, unread_, importer_.reportNumberColumn);
        }
        trapRowError(key, *row, error);
        return RowEnd::Failed;
    }
}

RowEnd ImporterWalk::settleRow(ImportRow& row, const RowOutcome& outcome) {
    switch (outcome.kind()) {
    case RowOutcome::Kind::Added:
        ++result_.added;
        result_.addedWithWarnings += row.warnings() > 0 ? 1 : 0;
        countAdded(row);
        return RowEnd::Done;
    case RowOutcome::Kind::Rejected:
        ++result_.rejected;
        row.reject(outcome.message());
        return RowEnd::Done;
    case RowOutcome::Kind::Refused:
        ++result_.rejected;
        return RowEnd::Done;
    case RowOutcome::Kind::Skipped:
        ++result_.skipped;
        return RowEnd::Done;
    case RowOutcome::Kind::StopRun:
        stopRun(context_, outcome.message());
        return RowEnd::Stop;
    }
    return RowEnd::Done;
}

void ImporterWalk::countAdded(const ImportRow& row) {
    if (counted_ != nullptr) {
        const std::int32_t count = context_.run.counts.countImported(*counted_);
        if (counted_->importedLabel != nullptr) {
            context_.view.setCount(counted_->importedLabel, count);
        }
    }
    if (importer_.statusText != nullptr) {
        context_.view.setText(control::statbarMain, importer_.statusText(row));
    }
}

// The trap of a row that failed: counted, marked and logged with the
// importer's block.
void ImporterWalk::trapRowError(std::int64_t key, const ImportRow& row,
                                const std::exception& error) {
    ++context_.run.counts.unexpectedErrors;
    ++result_.failed;
    importers_.importTemp.markRejected(key);
    const log::ErrorFields fields = log::describeError(error);
    // A row that could not be read is named by its key alone.
    log::EntryRecord record = row.entryRecord();
    record.lineNumber = context_.run.stagedLines.lineOf(key);
    run::recordEntry(context_, log::EntryOutcome::Failed, std::move(record), fields.description);
    const std::tm now = log::localTime(std::chrono::system_clock::now());
    log::LogFile(context_.request.logsFolder)
        .appendLines(importerErrorBlock(context_, importer_, row, fields, now));
}

} // namespace

ImporterResult runImporter(ImporterContext& importers, const ImporterDescription& importer) {
    return ImporterWalk(importers, importer).walk();
}

} // namespace dcf::importers
