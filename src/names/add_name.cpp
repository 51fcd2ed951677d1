#include "names/add_name.h"

#include "dcf/control_names.h"
#include "dcf/record_types.h"
#include "dcf/text_encoding.h"
#include "log/clock_text.h"
#include "log/error_fields.h"
#include "log/log_file.h"
#include "run/run_errors.h"

#include <algorithm>
#include <chrono>

namespace dcf::names {
namespace {

constexpr std::size_t kOutOfStateIdLimit = 9;

// Commas inside a DCF field are staged as "*".
void restoreCommas(run::ResolvedName& name) {
    for (std::string* value : {&name.naml, &name.namf, &name.nams, &name.namn, &name.adr1,
                               &name.adr2, &name.city, &name.occup, &name.employer, &name.jobTitle,
                               &name.spousEmp, &name.parent1, &name.parent2}) {
        std::replace(value->begin(), value->end(), '*', ',');
    }
}

void cutOutOfStateId(run::ConversionRun& run, run::RecordReport& report) {
    run::ResolvedName& name = run.resolvedName;
    if (name.osPacCb != "-1" || utf8Length(name.osPacFec) <= kOutOfStateIdLimit) {
        return;
    }
    const std::string first(utf8First(name.osPacFec, kOutOfStateIdLimit));
    report.warn("Out Of State PAC ID field is longer than the 9 characters allowed. Field "
                "truncated in '" +
                run.currentRecordType + "' record Item Id " + run.currentRecordNumber + " from '" +
                name.osPacFec + "' to '" + first + "'");
    name.osPacFec = first;
}

// The cover sheet's roles keep the name in the run instead of in names.
bool keepForCoverSheet(run::ConversionRun& run) {
    const run::ResolvedName& n = run.resolvedName;
    run::CoverSheetState& cover = run.coverSheet;
    if (run.roleCode == "F" || run.roleCode == "T") {
        (run.roleCode == "F" ? cover.filer : cover.treasurer) = {
            n.naml, n.namf, n.namt, n.nams, n.namn, n.adr1, n.adr2, n.city, n.stcd, n.zip4};
        return true;
    }
    if (run.roleCode == "M") {
        cover.mailing = {n.adr1, n.adr2, n.city, n.stcd, n.zip4};
        return true;
    }
    return false;
}

void insertName(db::Connection& db, const run::ConversionRun& run) {
    const run::ResolvedName& n = run.resolvedName;
    db.statement("insert into names (filer_id, name_id, name_type, entity_cd, naml, namf, namt, "
                 "nams, namn, adr1, adr2, city, stcd, zip4, employer, occup, job_title, "
                 "spous_emp, parent1, parent2, os_pac_cb, os_pac_fec) values (?, ?, ?, ?, ?, ?, "
                 "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .run(run.filerId, run.currentNameId, run.roleCode, std::string(n.namf.empty() ? "E" : "I"),
             n.naml, n.namf, n.namt, n.nams, n.namn, n.adr1, n.adr2, n.city, n.stcd, n.zip4,
             n.employer, n.occup, n.jobTitle, n.spousEmp, n.parent1, n.parent2, n.osPacCb,
             n.osPacFec);
}

void logAddNameFailure(run::ConversionRun& run, const std::exception& error) {
    ++run.unexpectedErrorCount;
    const log::ErrorFields fields = log::describeError(error);
    const run::ResolvedName& n = run.resolvedName;
    const std::tm now = log::localTime(std::chrono::system_clock::now());
    log::LogFile(run.logsFolder)
        .appendLines({log::errorBlockHeading(run.filePath.string(), now), "(Procedure AddName)",
                      "---- Error # " + fields.number, "---- Error Source: " + fields.source,
                      "---- Error Description: " + fields.description,
                      "---- Error On line # " + std::to_string(run.recordCounter),
                      "---- Last Name = " + n.naml + " First Name = " + n.namf +
                          " Address Line 1 = " + n.adr1,
                      "---- Address Line 2 = " + n.adr2 + " City = " + n.city +
                          "State = " + n.stcd + " Zip Code = " + n.zip4});
}

} // namespace

void AddName(run::RunContext& context, run::RecordReport& report) {
    run::ConversionRun& run = context.run;
    restoreCommas(run.resolvedName);
    try {
        cutOutOfStateId(run, report);
        if (keepForCoverSheet(run)) {
            return;
        }
        insertName(context.db, run);
        static const RecordType& nameType = *recordTypeNamed("NAME");
        const std::int32_t added = run.countImported(nameType);
        context.view.setCount(control::lblImpNameCount, added);
        context.view.setText(control::statbarMain, "Added NAME Record(s) For " +
                                                       run.resolvedName.namf + " " +
                                                       run.resolvedName.naml);
    } catch (const std::exception& error) {
        run::rethrowIfRunEnding(context, error);
        logAddNameFailure(run, error);
    }
}

} // namespace dcf::names
