#include "importers/import_asset.h"

#include "dcf/text_encoding.h"
#include "importers/schedule_rules.h"
#include "importers/value_limits.h"

namespace dcf::importers {
namespace {

// The status bar shows this much of an asset's description.
constexpr std::size_t kStatusDescription = 60;

const std::string& insertAsset() {
    static const std::string sql =
        insertSql("ASSET", {"filer_id", "repno", "rec_type", "form_type", "item_id", "asset_dscr"});
    return sql;
}

// The description is stored whole, however long.
RowOutcome convertAsset(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    insertRow(row.db(), insertAsset(),
              {row.run().filerId, s.text("repno"), std::string("ASSET"), s.field(6),
               s.text("rec_num"), stagedField10(s)});
    return RowOutcome::added();
}

// An asset names no one: the status names the asset.
std::string assetStatus(const run::ConversionRun& /*run*/, const staging::StagedRow& row) {
    return "Added Asset record(s) for " +
           std::string(utf8First(stagedField10(row), kStatusDescription));
}

} // namespace

const ImporterDescription kImportASSET{
    .procedure = "ImportASSET",
    .recordTypes = {"ASSE"},
    .processingMessage = "Processing Asset Records",
    .convert = convertAsset,
    .countType = "ASSE",
    .statusText = assetStatus,
    .blockRecordType = "ASSET",
    .lineNumberLine = LineNumberLine::Capital,
};

ImporterResult ImportASSET(run::RunContext& context) {
    return runImporter(context, kImportASSET);
}

} // namespace dcf::importers
