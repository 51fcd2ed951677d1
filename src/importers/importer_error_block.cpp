#include "importers/importer_error_block.h"

#include "log/log_file.h"

namespace dcf::importers {
namespace {

std::vector<std::string> recordNumberLine(const ImportRow& row) {
    return {"Record Number = " + std::string(row.recordNumber())};
}

std::string lineNumberLine(const run::ConversionRun& run, LineNumberLine form) {
    const char* text =
        form == LineNumberLine::LowerCase ? "---- Error on line # " : "---- Error On line # ";
    return text + std::to_string(run.recordCounter);
}

} // namespace

std::vector<std::string> importerErrorBlock(const run::RunContext& context,
                                            const ImporterDescription& importer,
                                            const ImportRow& row, const log::ErrorFields& error,
                                            const std::tm& when) {
    std::vector<std::string> lines = {
        log::errorBlockHeading(context.request.file.path.string(), when),
        std::string("(Procedure ") + importer.procedure + ")",
        "Input Record Causing Error: ",
        std::string("Record Type = '") + importer.blockRecordType + "'",
        "Filer ID = " + context.run.filer.id,
        "Report # = " + row.reportNumber(),
    };
    const IdentifyingLines identify =
        importer.identifyingLines != nullptr ? importer.identifyingLines : recordNumberLine;
    for (std::string& line : identify(row)) {
        lines.push_back(std::move(line));
    }
    if (importer.errorNumberLine) {
        lines.push_back("---- Error # " + error.number);
    }
    lines.push_back("---- Error Source: " + error.source);
    lines.push_back("---- Error Description: " + error.description);
    if (importer.lineNumberLine != LineNumberLine::None) {
        lines.push_back(lineNumberLine(context.run, importer.lineNumberLine));
    }
    if (importer.logPathLine) {
        lines.push_back("-----Error will be Logged to this Error File: " +
                        log::LogFile(context.request.logsFolder).path().string());
    }
    return lines;
}

} // namespace dcf::importers
