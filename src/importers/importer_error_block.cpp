#include "importers/importer_error_block.h"

#include "log/log_file.h"

namespace dcf::importers {
namespace {

std::vector<std::string> recordNumberLine(const run::ConversionRun& run,
                                          const staging::StagedRow& /*row*/) {
    return {"Record Number = " + run.currentRecordNumber};
}

std::string lineNumberLine(const run::ConversionRun& run, LineNumberLine form) {
    const char* text =
        form == LineNumberLine::LowerCase ? "---- Error on line # " : "---- Error On line # ";
    return text + std::to_string(run.recordCounter);
}

} // namespace

std::vector<std::string> importerErrorBlock(const run::ConversionRun& run,
                                            const ImporterDescription& importer,
                                            const staging::StagedRow& row,
                                            const log::ErrorFields& error, const std::tm& when) {
    std::vector<std::string> lines = {
        log::errorBlockHeading(run.filePath.string(), when),
        std::string("(Procedure ") + importer.procedure + ")",
        "Input Record Causing Error: ",
        std::string("Record Type = '") + importer.blockRecordType + "'",
        "Filer ID = " + run.filerId,
        "Report # = " + run.currentReportNumber,
    };
    const IdentifyingLines identify =
        importer.identifyingLines != nullptr ? importer.identifyingLines : recordNumberLine;
    for (std::string& line : identify(run, row)) {
        lines.push_back(std::move(line));
    }
    if (importer.errorNumberLine) {
        lines.push_back("---- Error # " + error.number);
    }
    lines.push_back("---- Error Source: " + error.source);
    lines.push_back("---- Error Description: " + error.description);
    if (importer.lineNumberLine != LineNumberLine::None) {
        lines.push_back(lineNumberLine(run, importer.lineNumberLine));
    }
    if (importer.logPathLine) {
        lines.push_back("-----Error will be Logged to this Error File: " +
                        log::LogFile(run.logsFolder).path().string());
    }
    return lines;
}

} // namespace dcf::importers
