#include "importers/cover_sheet_names.h"

#include "names/add_name.h"

#include <cstdlib>
#include <stdexcept>

namespace dcf::importers {
namespace {

// The NAME record with this database id, first in staging order.
bool readName(db::Connection& db, const std::string& nameId, staging::StagedRow& name) {
    db::Statement& select = db.statement(
        "select import_key from IMPORTTEMP where rec_num = ? and rec_type = 'NAME' order by "
        "import_key");
    select.run(nameId);
    const std::int64_t key = select.next() ? select.integer("import_key") : 0;
    select.reset();
    return key != 0 && name.read(db, key);
}

// Fields 7 to 16 of a NAME record: name and address.
run::ResolvedName nameAndAddress(const staging::StagedRow& name) {
    run::ResolvedName resolved;
    std::string* const values[] = {&resolved.naml, &resolved.namf, &resolved.namt, &resolved.nams,
                                   &resolved.namn, &resolved.adr1, &resolved.adr2, &resolved.city,
                                   &resolved.stcd, &resolved.zip4};
    int n = 7;
    for (std::string* value : values) {
        *value = name.field(n++);
    }
    return resolved;
}

// Keeps the resolved name in the set of the role; the other values of the
// resolved name (employer, out-of-state flag, ...) stay as they were.
void keepAs(ImportRow& row, const char* role, const run::ResolvedName& values) {
    run::ResolvedName& resolved = row.run().resolvedName;
    resolved.naml = values.naml;
    resolved.namf = values.namf;
    resolved.namt = values.namt;
    resolved.nams = values.nams;
    resolved.namn = values.namn;
    resolved.adr1 = values.adr1;
    resolved.adr2 = values.adr2;
    resolved.city = values.city;
    resolved.stcd = values.stcd;
    resolved.zip4 = values.zip4;
    row.run().roleCode = role;
    names::AddName(row.context(), row);
}

// A reference read as a number, as the cover sheet compares it with 0.
bool namesSomeone(const std::string& reference) {
    char* end = nullptr;
    const double value = std::strtod(reference.c_str(), &end);
    return !reference.empty() && end != nullptr && *end == '\0' && value > 0;
}

} // namespace

void readCoverSheetFiler(ImportRow& row, const std::string& filerReference) {
    staging::StagedRow name;
    if (!readName(row.db(), filerReference, name)) {
        throw std::runtime_error("The report's filer, NAME record " + filerReference +
                                 ", is not in the file. The report is not converted.");
    }
    const run::ResolvedName filer = nameAndAddress(name);
    row.run().coverSheet.filerEntityCode = filer.namf.empty() ? "E" : "I";
    keepAs(row, "F", filer);
}

bool readCoverSheetTreasurer(ImportRow& row, const std::string& treasurerReference) {
    if (!namesSomeone(treasurerReference)) {
        return false;
    }
    staging::StagedRow name;
    if (!readName(row.db(), treasurerReference, name)) {
        // Reading on would make the filer the treasurer.
        row.warn("Treasurer name id " + treasurerReference +
                 " does not refer to an existing name. Report converted with the treasurer of "
                 "the previous report.");
        return false;
    }
    run::CoverSheetState& cover = row.run().coverSheet;
    cover.treasurerPhone = name.field(17);
    cover.treasurerPhoneExtension = name.field(18);
    // The mailing address: zip code before state code in the NAME record.
    cover.mailing = {name.field(30), name.field(31), name.field(32), name.field(34),
                     name.field(33)};
    keepAs(row, "T", nameAndAddress(name));
    run::ResolvedName mailing = row.run().resolvedName;
    mailing.adr1 = cover.mailing.adr1;
    mailing.adr2 = cover.mailing.adr2;
    mailing.city = cover.mailing.city;
    mailing.stcd = cover.mailing.stcd;
    mailing.zip4 = cover.mailing.zip4;
    keepAs(row, "M", mailing);
    return true;
}

void refreshFilerTreasurer(ImportRow& row) {
    const run::ConversionRun& run = row.run();
    db::Statement& count =
        row.db().statement("select count(*) as n from FILERS where filer_id = ?");
    count.run(run.filerId);
    const bool exactlyOne = count.next() && count.integer("n") == 1;
    count.reset();
    if (!exactlyOne) {
        return;
    }
    const run::NameSet& t = run.coverSheet.treasurer;
    const run::AddressSet& m = run.coverSheet.mailing;
    row.db()
        .statement("update FILERS set tres_naml = ?, tres_namf = ?, tres_namt = ?, tres_nams = ?, "
                   "tres_namn = ?, tres_adr1 = ?, tres_adr2 = ?, tres_city = ?, tres_stcd = ?, "
                   "tres_zip4 = ?, tres_phon = ?, tres_ph_x = ?, tmail_adr1 = ?, tmail_adr2 = ?, "
                   "tmail_city = ?, tmail_stcd = ?, tmail_zip4 = ? where filer_id = ?")
        .run(t.naml, t.namf, t.namt, t.nams, t.namn, t.adr1, t.adr2, t.city, t.stcd, t.zip4,
             run.coverSheet.treasurerPhone, run.coverSheet.treasurerPhoneExtension, m.adr1, m.adr2,
             m.city, m.stcd, m.zip4, run.filerId);
}

} // namespace dcf::importers
