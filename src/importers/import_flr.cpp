#include "db/cursor.h"
#include "importers/importers.h"
#include "importers/schedule_rules.h"

#include <stdexcept>

namespace dcf::importers {
namespace {

std::optional<std::string> exactlyOneFilerLine(ImporterContext& /*importers*/, std::size_t rows) {
    if (rows == 1) {
        return std::nullopt;
    }
    return "FLR Record is missing! Conversion Terminating!";
}

// The NAME record the filer line names; an empty one when the filer line has
// no record number.
staging::NameRecord filerName(ImportRow& row) {
    if (row.recordNumber().empty()) {
        return {};
    }
    const std::string& number = row.run().filer.nameRecordNumber;
    std::optional<staging::NameRecord> name = row.importers().names.fileRecords.find(number);
    if (!name) {
        throw std::runtime_error("The filer's NAME record " + number +
                                 " is not in the file. The filer is not added.");
    }
    return std::move(*name);
}

void addFiler(ImportRow& row, const staging::NameRecord& name) {
    db::ColumnValues values;
    values.set("filer_id", row.run().filer.id)
        .set("filer_type", row.staged().field(6))
        .set("entity_cd", names::entityCode(name.name));
    names::setNameColumns(values, "filer_", name.name);
    names::setAddressColumns(values, "filer_", name.address);
    insertTargetRow(row, values);
}

RowOutcome convertFiler(ImportRow& row) {
    run::RunFiler& filer = row.run().filer;
    filer.id = row.staged().field(7);
    filer.nameRecordNumber = row.staged().field(10);
    if (filer.id.empty()) {
        return RowOutcome::stopRun(
            "DCF data file does not include your Velquor Filer ID. Conversion terminating");
    }
    row.context().useFiler(filer.id);
    if (db::rowExists(row.db(), "select filer_id from filers where filer_id = ?", filer.id)) {
        return RowOutcome::skipped();
    }
    addFiler(row, filerName(row));
    return RowOutcome::added();
}

std::vector<std::string> filerLines(const ImportRow& row) {
    return {"Record Number = " + std::string(row.recordNumber()),
            "---- Input Record Causing Error: '" + row.run().filer.line + "'"};
}

} // namespace

const ImporterDescription kImportFLR{
    .procedure = "ImportFLR",
    .recordTypes = {"FLR"},
    .runsWithoutRows = true,
    .beforeFirstRow = exactlyOneFilerLine,
    .convert = convertFiler,
    .blockRecordType = "FLR",
    .identifyingLines = filerLines,
    .endAtFirstError = true,
};

} // namespace dcf::importers
