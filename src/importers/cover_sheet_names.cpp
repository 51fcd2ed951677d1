#include "importers/cover_sheet_names.h"

#include "db/column_values.h"
#include "db/cursor.h"
#include "names/resolved_name.h"

#include <cstdlib>
#include <stdexcept>

namespace dcf::importers {
namespace {

// A name and address as a cover sheet keeps them: with their commas back.
NameSet keptNameSet(const staging::NameRecord& record) {
    NameSet set{record.name, record.address};
    names::restoreCommas(set.name);
    names::restoreCommas(set.address);
    return set;
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
    const std::optional<staging::NameRecord> name =
        row.importers().names.fileRecords.find(filerReference);
    if (!name) {
        throw std::runtime_error("The report's filer, NAME record " + filerReference +
                                 ", is not in the file. The report is not converted.");
    }
    CoverSheets& cover = row.importers().coverSheets;
    cover.filerEntityCode = names::entityCode(name->name);
    cover.filer = keptNameSet(*name);
}

bool readCoverSheetTreasurer(ImportRow& row, const std::string& treasurerReference) {
    if (asNumber(treasurerReference).value_or(0) <= 0) {
        return false;
    }
    const std::optional<staging::NameRecord> name =
        row.importers().names.fileRecords.find(treasurerReference);
    CoverSheets& cover = row.importers().coverSheets;
    if (!name) {
        // The previous report's treasurer may be another person: this report
        // has none, and the filer's row keeps what it holds.
        cover.treasurer = NameSet{};
        cover.treasurerPhone.clear();
        cover.treasurerPhoneExtension.clear();
        cover.mailing = {};
        row.warn("Treasurer name id " + treasurerReference +
                 " is not a NAME record of the file. Report converted without a treasurer.");
        return false;
    }
    cover.treasurerPhone = name->phone;
    cover.treasurerPhoneExtension = name->phoneExtension;
    cover.treasurer = keptNameSet(*name);
    cover.mailing = name->mailing;
    names::restoreCommas(cover.mailing);
    return true;
}

void refreshFilerTreasurer(ImportRow& row) {
    const std::string& filerId = row.run().filer.id;
    const std::optional<std::int64_t> rows =
        db::firstInteger(row.db(), "select count(*) as n from FILERS where filer_id = ?", filerId);
    if (rows != 1) {
        return;
    }
    const CoverSheets& cover = row.importers().coverSheets;
    db::ColumnValues values;
    names::setNameColumns(values, "tres_", cover.treasurer.name);
    names::setAddressColumns(values, "tres_", cover.treasurer.address);
    values.set("tres_phon", cover.treasurerPhone).set("tres_ph_x", cover.treasurerPhoneExtension);
    names::setAddressColumns(values, "tmail_", cover.mailing);
    values.update(row.db(), "FILERS", "filer_id = ?", {filerId});
}

} // namespace dcf::importers
