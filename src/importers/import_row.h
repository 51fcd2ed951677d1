#pragma once

#include "dcf/record_types.h"
#include "importers/importer_context.h"
#include "names/resolved_name.h"
#include "run/record_report.h"
#include "staging/staged_row.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace dcf::importers {

// The values of the record being converted as its error block and status
// text show them: each is empty until the conversion has read it.
struct WorkingValues {
    std::string date;    // an item's date; a cover sheet's first day
    std::string endDate; // a cover sheet's last day
    std::string amount;
    std::string description;
    std::string backReference;
    std::string userEntered; // a summary line's user-entered amount
};

// One staged row while an importer converts it: what it is, what the
// conversion has made of it so far, and how it reports problems that do not
// end it. Entries are written at once, in the order they arise, each with
// this row's input record. It lives as long as the row's conversion and its
// error block, so nothing of it reaches the next row.
class ImportRow final : public run::RecordReport {
public:
    // `reportColumn` is the staging column that holds the row's report
    // number as its error block shows it.
    ImportRow(ImporterContext& importers, const staging::StagedRow& staged,
              const char* reportColumn);

    [[nodiscard]] ImporterContext& importers() { return importers_; }
    [[nodiscard]] run::RunContext& context() { return importers_.run; }
    [[nodiscard]] run::ConversionRun& run() { return importers_.run.run; }
    [[nodiscard]] const run::ConversionRun& run() const { return importers_.run.run; }
    [[nodiscard]] db::Connection& db() { return importers_.run.db(); }
    [[nodiscard]] staging::ImportTemp& importTemp() { return importers_.importTemp; }
    [[nodiscard]] const staging::StagedRow& staged() const { return staged_; }

    // The staged type, as warnings name it ("FLR," for the filer), its record
    // type in the table (nullptr for a type of no known code), and its
    // numbers.
    [[nodiscard]] std::string_view recordType() const override { return recordType_; }
    [[nodiscard]] const RecordType* type() const { return type_; }
    [[nodiscard]] std::string_view recordNumber() const override { return recordNumber_; }
    [[nodiscard]] const std::string& reportNumber() const { return reportNumber_; }

    [[nodiscard]] log::EntryRecord entryRecord() const override;
    // The record is converted with a correction (a value cut to its
    // column's width, a default).
    void warn(std::string_view message) override;
    // A check the conversion called found that the record cannot be
    // converted (a name that is missing); the conversion still returns its
    // own outcome, usually a rejection with a message of its own.
    void reject(std::string_view message) override;
    [[nodiscard]] std::size_t warnings() const { return warnings_; }

    // What the conversion has read and resolved so far.
    WorkingValues item;
    names::ResolvedName resolved;
    std::string nameId;

private:
    ImporterContext& importers_;
    const staging::StagedRow& staged_;
    std::string recordType_;
    const RecordType* type_;
    std::string recordNumber_;
    std::string reportNumber_;
    std::size_t warnings_ = 0;
};

} // namespace dcf::importers
