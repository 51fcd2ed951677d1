#pragma once

#include "importers/importer_description.h"
#include "log/error_fields.h"

#include <ctime>
#include <string>
#include <vector>

namespace dcf::importers {

// The lines an importer writes for a row whose conversion failed: the
// heading, "(Procedure ...)", the record type, filer and report, the
// importer's identifying lines read from the row, the error's lines, and the
// closing lines its description asks for.
std::vector<std::string> importerErrorBlock(const run::RunContext& context,
                                            const ImporterDescription& importer,
                                            const ImportRow& row, const log::ErrorFields& error,
                                            const std::tm& when);

} // namespace dcf::importers
