#include "importers/import_flr.h"

#include <stdexcept>

namespace dcf::importers {
namespace {

std::optional<std::string> exactlyOneFilerLine(run::RunContext& /*context*/, std::size_t rows) {
    if (rows == 1) {
        return std::nullopt;
    }
    return "FLR Record is missing! Conversion Terminating!";
}

bool filerKnown(db::Connection& db, const std::string& filerId) {
    auto& known = db.statement("select count(*) as n from filers where filer_id = ?");
    known.run(filerId);
    const bool exists = known.next() && known.integer("n") > 0;
    known.reset();
    return exists;
}

// The NAME row the filer line names; empty when the filer line has no
// record number.
staging::StagedRow filerName(db::Connection& db, const run::ConversionRun& run) {
    staging::StagedRow name;
    if (run.currentRecordNumber.empty()) {
        return name;
    }
    if (!staging::readNameRecord(db, run.filerNameRecordNumber, name)) {
        throw std::runtime_error("The filer's NAME record " + run.filerNameRecordNumber +
                                 " is not in the file. The filer is not added.");
    }
    return name;
}

void addFiler(db::Connection& db, const run::ConversionRun& run, const staging::StagedRow& name,
              const std::string& filerType) {
    const std::string firstName = name.field(8);
    db.statement("insert into FILERS (filer_id, filer_type, entity_cd, filer_naml, filer_namf, "
                 "filer_namt, filer_nams, filer_namn, filer_adr1, filer_adr2, filer_city, "
                 "filer_stcd, filer_zip4) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .run(run.filerId, filerType, std::string(firstName.empty() ? "E" : "I"), name.field(7),
             firstName, name.field(9), name.field(10), name.field(11), name.field(12),
             name.field(13), name.field(14), name.field(15), name.field(16));
}

RowOutcome convertFiler(ImportRow& row) {
    run::ConversionRun& run = row.run();
    const staging::StagedRow& filer = row.staged();
    run.filerId = filer.field(7);
    run.filerNameRecordNumber = filer.field(10);
    if (run.filerId.empty()) {
        return RowOutcome::stopRun(
            "DCF data file does not include your Velquor Filer ID. Conversion terminating");
    }
    if (filerKnown(row.db(), run.filerId)) {
        return RowOutcome::skipped();
    }
    addFiler(row.db(), run, filerName(row.work(), run), filer.field(6));
    return RowOutcome::added();
}

std::vector<std::string> filerLines(const run::ConversionRun& run,
                                    const staging::StagedRow& /*row*/) {
    return {"Record Number = " + run.currentRecordNumber,
            "---- Input Record Causing Error: '" + run.filerLine + "'"};
}

} // namespace

const ImporterDescription kImportFLR{
    .procedure = "ImportFLR",
    .recordTypes = {"FLR"},
    .beforeFirstRow = exactlyOneFilerLine,
    .convert = convertFiler,
    .blockRecordType = "FLR",
    .identifyingLines = filerLines,
    .endAtFirstError = true,
};

ImporterResult ImportFLR(run::RunContext& context) {
    return runImporter(context, kImportFLR);
}

} // namespace dcf::importers
