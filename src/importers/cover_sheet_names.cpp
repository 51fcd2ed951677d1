#include "importers/cover_sheet_names.h"

#include "names/add_name.h"

#include <cstdlib>
#include <stdexcept>

namespace dcf::importers {
namespace {

// Fields 7 to 16 of a NAME record, name and address, become those of the
// resolved name; its other values (employer, out-of-state flag, ...) stay.
void resolveNameAndAddress(run::ResolvedName& resolved, const staging::StagedRow& name) {
    std::string* const values[] = {&resolved.naml, &resolved.namf, &resolved.namt, &resolved.nams,
                                   &resolved.namn, &resolved.adr1, &resolved.adr2, &resolved.city,
                                   &resolved.stcd, &resolved.zip4};
    int n = 7;
    for (std::string* value : values) {
        *value = name.field(n++);
    }
}

// Keeps the resolved name in the set of the role.
void keepAs(ImportRow& row, const char* role) {
    row.run().roleCode = role;
    names::AddName(row.context(), row);
}

} // namespace

std::optional<double> asNumber(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end == nullptr || *end != '\0') {
        return std::nullopt;
    }
    return value;
}

void readCoverSheetFiler(ImportRow& row, const std::string& filerReference) {
    staging::StagedRow name;
    if (!staging::readNameRecord(row.work(), filerReference, name)) {
        throw std::runtime_error("The report's filer, NAME record " + filerReference +
                                 ", is not in the file. The report is not converted.");
    }
    run::ConversionRun& run = row.run();
    resolveNameAndAddress(run.resolvedName, name);
    run.coverSheet.filerEntityCode = run.resolvedName.namf.empty() ? "E" : "I";
    keepAs(row, "F");
}

bool readCoverSheetTreasurer(ImportRow& row, const std::string& treasurerReference) {
    if (asNumber(treasurerReference).value_or(0) <= 0) {
        return false;
    }
    staging::StagedRow name;
    if (!staging::readNameRecord(row.work(), treasurerReference, name)) {
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
    run::ResolvedName& resolved = row.run().resolvedName;
    resolveNameAndAddress(resolved, name);
    keepAs(row, "T");
    resolved.adr1 = cover.mailing.adr1;
    resolved.adr2 = cover.mailing.adr2;
    resolved.city = cover.mailing.city;
    resolved.stcd = cover.mailing.stcd;
    resolved.zip4 = cover.mailing.zip4;
    keepAs(row, "M");
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
