#include "log/log_file.h"

#include "log/clock_text.h"
#include "log/error_fields.h"
#include "log/log_entries.h"
#include "log/owner_only_append.h"

#include <stdexcept>
#include <system_error>

namespace dcf::log {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view crlf = "\r\n";
// Characters of the DCF file's name that go into the final log name.
constexpr std::size_t nameChars = 11;

// The leading part of UTF-8 text holding at most count characters; a
// character's continuation bytes always stay with it.
std::string_view firstChars(std::string_view text, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0U) != 0x80U;
        if (startsCharacter && seen++ == count) {
            return text.substr(0, i);
        }
    }
    return text;
}

bool taken(const fs::path& candidate) {
    std::error_code error;
    // symlink_status: a dangling link still occupies the name.
    return fs::exists(fs::symlink_status(candidate, error));
}

} // namespace

LogFile::LogFile(const fs::path& logsFolder) : path_(logsFolder / "LogFile.txt") {}

bool LogFile::exists() const {
    std::error_code error;
    return fs::exists(path_, error);
}

void LogFile::removeIfExists() const {
    removeLeftover(path_, "conversion log");
}

void LogFile::appendLines(const std::vector<std::string>& items) const {
    std::string bytes;
    for (const auto& item : items) {
        appendShowingNul(bytes, item);
        bytes.append(crlf);
    }
    appendOwnerOnly(path_, bytes, "the conversion log");
}

void LogFile::writeHeader(const std::tm& when) const {
    appendLines({
        "Conversion Start Time   ----  " + clockTime12(when),
        std::string(twoEmptyLines),
        "Error records are printed in this file.",
        "Error condition is printed before each problem record.",
        "Validating unfiled QORVEX reports may help in the Conversion process.",
        "Technical support may be reached at 1-800-555-0142 or 1-800-555-0143",
        std::string(twoEmptyLines),
    });
}

void LogFile::writeHeader(std::chrono::system_clock::time_point when) const {
    writeHeader(localTime(when));
}

void LogFile::writeEntry(std::string_view inputRecord, std::string_view description) const {
    appendLines({
        "Input Record Causing Error: ",
        std::string(inputRecord),
        "Error Description: " + std::string(description),
        std::string(twoEmptyLines),
    });
}

void LogFile::writeCancelLine(const std::tm& when) const {
    appendLines({"Conversion canceled by user. No files imported." + clockTime12(when),
                 std::string(twoEmptyLines)});
}

void LogFile::writeCancelLine(std::chrono::system_clock::time_point when) const {
    writeCancelLine(localTime(when));
}

void LogFile::writeFinishLine(const std::tm& when) const {
    appendLines({"Conversion finish time  ----  " + clockTime12(when), std::string(twoEmptyLines)});
}

void LogFile::writeFinishLine(std::chrono::system_clock::time_point when) const {
    writeFinishLine(localTime(when));
}

fs::path finalLogName(const fs::path& logsFolder, std::string_view dcfFileName,
                      const std::tm& when) {
    const std::string bareName = fs::path(dcfFileName).filename().string();
    const std::string stem =
        std::string(firstChars(bareName, nameChars)) + "ConversionLog" + fileTime12(when);
    fs::path candidate = logsFolder / (stem + ".txt");
    // The log's entries take the same name with ".csv": both must be free.
    for (int suffix = 2; taken(candidate) || taken(entriesFileName(candidate)); ++suffix) {
        candidate = logsFolder / (stem + "-" + std::to_string(suffix) + ".txt");
    }
    return candidate;
}

fs::path finalLogName(const fs::path& logsFolder, std::string_view dcfFileName,
                      std::chrono::system_clock::time_point when) {
    return finalLogName(logsFolder, dcfFileName, localTime(when));
}

fs::path moveToFinalName(const LogFile& log, const fs::path& target) {
    std::error_code error;
    fs::rename(log.path(), target, error);
    if (error) {
        throw std::runtime_error("Cannot move the conversion log " + log.path().string() + " to " +
                                 target.string() + ": " + error.message() + ". " +
                                 std::string(writeAdvice));
    }
    return target;
}

std::vector<std::string> stagingErrorBlock(const StagingFailure& failure) {
    return {
        errorBlockHeading(failure.filePath, failure.when),
        "(Procedure ImportDCFRecords)",
        "Input Record Causing Error: ",
        "Filer ID = " + failure.filerId,
        "Report # = " + failure.reportNumber,
        "Record Number = " + failure.recordNumber,
        "---- Error # " + failure.errorNumber,
        "---- Input Record Causing Error: '" + failure.line + "'",
        "---- Error Source: " + failure.source,
        "---- Error Description: " + failure.description,
        "---- Error On line # " + std::to_string(failure.lineNumber),
    };
}

} // namespace dcf::log
