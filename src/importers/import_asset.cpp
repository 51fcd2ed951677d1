#include "dcf/text_encoding.h"
#include "importers/importers.h"
#include "importers/schedule_rules.h"
#include "importers/value_limits.h"

namespace dcf::importers {
namespace {

// The status bar shows this much of an asset's description.
constexpr std::size_t kStatusDescription = 60;

// The description is stored whole, however long.
RowOutcome convertAsset(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    db::ColumnValues values = reportRow(row);
    values.set("rec_type", std::string("ASSET"))
        .set("form_type", s.field(6))
        .set("item_id", s.text("rec_num"))
        .set("asset_dscr", stagedField10(s));
    insertTargetRow(row, values);
    return RowOutcome::added();
}

// An asset names no one: the status names the asset.
std::string assetStatus(const ImportRow& row) {
    return "Added Asset record(s) for " +
           std::string(utf8First(stagedField10(row.staged()), kStatusDescription));
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

} // namespace dcf::importers
