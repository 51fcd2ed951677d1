#pragma once

#include "importers/importer_frame.h"

namespace dcf::importers {

// The contribution and pledge importer: one RCPT row per staged RCPT or PLDG
// record, its contributor resolved among the filer's names.
extern const ImporterDescription kImportRCPT;

ImporterResult ImportRCPT(run::RunContext& context);

} // namespace dcf::importers
