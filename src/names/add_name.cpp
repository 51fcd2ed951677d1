#include "names/add_name.h"

#include "dcf/control_names.h"
#include "dcf/record_types.h"
#include "log/clock_text.h"
#include "log/error_fields.h"
#include "log/log_file.h"
#include "run/run_entries.h"
#include "run/run_errors.h"

#include <chrono>

namespace dcf::names {
namespace {

void cutOutOfStateId(run::RecordReport& record, ResolvedName& name) {
    if (name.osPacCb == "-1") {
        name.osPacFec = run::cutToLimit(record, std::move(name.osPacFec), kOutOfStateIdLimit);
    }
}

void insertName(run::RunContext& context, const std::string& nameId, Role role,
                const ResolvedName& name) {
    db::ColumnValues row;
    row.set("filer_id", context.run.filer.id)
        .set("name_id", nameId)
        .set("name_type", roleCode(role))
        .set("entity_cd", entityCode(name.name));
    setNameColumns(row, "", name.name);
    setAddressColumns(row, "", name.address);
    setPersonColumns(row, kPersonColumns, name.person);
    row.set("os_pac_cb", name.osPacCb).set("os_pac_fec", name.osPacFec);
    static const std::string_view table = recordType("NAME").targetTable;
    row.insertInto(context.db(), table);
}

// The name as the index keeps it: the values the row was written with.
IndexedName indexedName(const std::string& nameId, const std::string& type,
                        const ResolvedName& name) {
    const staging::NameParts& n = name.name;
    const staging::AddressParts& a = name.address;
    const staging::PersonDetails& p = name.person;
    IndexedName indexed;
    indexed.values = {nameId,     type,      n.naml,    n.namf,       n.namt,
                      n.nams,     n.namn,    a.adr1,    a.adr2,       a.city,
                      a.stcd,     a.zip4,    p.occup,   p.jobTitle,   p.employer,
                      p.spousEmp, p.parent1, p.parent2, name.osPacCb, name.osPacFec};
    return indexed;
}

void logAddNameFailure(run::RunContext& context, const run::RecordReport& record,
                       const ResolvedName& name, const std::exception& error) {
    ++context.run.counts.unexpectedErrors;
    const log::ErrorFields fields = log::describeError(error);
    run::recordEntry(context, log::EntryOutcome::Failed, record.entryRecord(), fields.description,
                     "AddName");
    const staging::NameParts& n = name.name;
    const staging::AddressParts& a = name.address;
    const std::tm now = log::localTime(std::chrono::system_clock::now());
    log::LogFile(context.request.logsFolder)
        .appendLines({log::errorBlockHeading(context.request.file.path.string(), now),
                      "(Procedure AddName)", "---- Error # " + fields.number,
                      "---- Error Source: " + fields.source,
                      "---- Error Description: " + fields.description,
                      "---- Error On line # " + std::to_string(context.run.recordCounter),
                      "---- Last Name = " + n.naml + " First Name = " + n.namf +
                          " Address Line 1 = " + a.adr1,
                      "---- Address Line 2 = " + a.adr2 + " City = " + a.city +
                          "State = " + a.stcd + " Zip Code = " + a.zip4});
}

} // namespace

bool AddName(run::RunContext& context, FilerNameIndex& stored, run::RecordReport& record,
             const std::string& nameId, Role role, ResolvedName& name) {
    restoreCommas(name);
    try {
        cutOutOfStateId(record, name);
        insertName(context, nameId, role, name);
        // Only a name the table took is one the checks may find.
        stored.add(indexedName(nameId, roleCode(role), name));
        static const RecordType& nameType = recordType("NAME");
        const std::int32_t added = context.run.counts.countImported(nameType);
        context.view.setCount(control::lblImpNameCount, added);
        context.view.setText(control::statbarMain,
                             "Added NAME Record(s) For " + name.name.namf + " " + name.name.naml);
        return true;
    } catch (const std::exception& error) {
        run::rethrowIfRunEnding(context, error);
        logAddNameFailure(context, record, name, error);
        return false;
    }
}

} // namespace dcf::names
