#include "importers/import_flr.h"

#include "app/run_command.h"
#include "db/key_snapshot.h"
#include "importers/importer_loop.h"
#include "staging/staged_row.h"

namespace dcf::importers {
namespace {

const char* const kFilerKeys =
    "select import_key from IMPORTTEMP where rec_type = ? order by import_key";

void stopTheRun(app::RunContext& context, const char* message) {
    context.view.tell({"", message, app::Icon::None});
    context.run.cancelRequested = true;
    CancelImport(context);
}

ImporterSetup filerSetup() {
    ImporterSetup setup;
    setup.procedure = "ImportFLR";
    setup.lineNumberInBlock = false;
    setup.identifyingLines = [](const app::ConversionRun& run) {
        return std::vector<std::string>{"Record Number = " + run.currentRecordNumber,
                                        "---- Input Record Causing Error: '" + run.currentLine +
                                            "'"};
    };
    return setup;
}

// Adds the filer from its filer row and the NAME row the filer line names.
void addFiler(app::RunContext& context, const std::string& filerType) {
    app::ConversionRun& run = context.run;
    auto& known = context.db.statement("select count(*) as n from filers where filer_id = ?");
    known.run(run.filerId);
    const bool exists = known.next() && known.integer("n") > 0;
    known.reset();
    if (exists) {
        return;
    }
    staging::StagedRow name;
    if (!run.currentRecordNumber.empty()) {
        const db::KeySnapshot names(
            context.db,
            "select import_key from IMPORTTEMP where rec_num = ? and rec_type = ? "
            "order by import_key",
            run.filerNameRecordNumber, "NAME");
        if (names.empty() || !name.read(context.db, names[0])) {
            throw std::runtime_error("The filer's NAME record " + run.filerNameRecordNumber +
                                     " is not in the file. The filer is not added.");
        }
    }
    const std::string firstName = name.field(8);
    context.db
        .statement(
            "insert into FILERS (filer_id, filer_type, entity_cd, filer_naml, filer_namf, "
            "filer_namt, "
            "filer_nams, filer_namn, filer_adr1, filer_adr2, filer_city, filer_stcd, filer_zip4) "
            "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .run(run.filerId, filerType, std::string(firstName.empty() ? "E" : "I"), name.field(7),
             firstName, name.field(9), name.field(10), name.field(11), name.field(12),
             name.field(13), name.field(14), name.field(15), name.field(16));
}

} // namespace

void ImportFLR(app::RunContext& context) {
    app::ConversionRun& run = context.run;
    const ImporterSetup setup = filerSetup();
    try {
        const db::KeySnapshot filers(context.db, kFilerKeys, "FLR,");
        if (filers.size() != 1) {
            stopTheRun(context, "FLR Record is missing! Conversion Terminating!");
            return;
        }
        staging::StagedRow filer;
        filer.read(context.db, filers[0]);
        run.currentRecordType = filer.text("rec_type");
        run.currentRecordNumber = filer.text("rec_num");
        run.currentReportNumber = filer.text("repno");
        run.filerId = filer.field(7);
        run.filerNameRecordNumber = filer.field(10);
        if (run.filerId.empty()) {
            stopTheRun(
                context,
                "DCF data file does not include your Velquor Filer ID. Conversion terminating");
            return;
        }
        addFiler(context, filer.field(6));
    } catch (const std::exception& error) {
        // The filer row is no longer being walked here: nothing to mark.
        run.currentStagingKey = 0;
        trapImporterError(context, setup, error);
    }
}

} // namespace dcf::importers
