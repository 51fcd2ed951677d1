#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dcf::log {

// An item made of CR LF alone: written with its own CR LF it leaves two empty
// lines, the separator that follows every piece of the log.
inline constexpr std::string_view twoEmptyLines = "\r\n";

// The working file of one run's conversion log, "LogFile.txt" in the logs
// folder. Every append opens the file, writes, flushes and closes it again, so
// no handle is held between entries and whatever was written survives a crash.
// Failures throw std::runtime_error naming the file and the reason.
class LogFile {
public:
    explicit LogFile(const std::filesystem::path& logsFolder);

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    [[nodiscard]] bool exists() const;
    // Deletes a working file left over from an earlier run.
    void removeIfExists() const;

    // Writes each item followed by CR LF, in one open-write-close. A NUL
    // byte is written as the two characters \0.
    void appendLines(const std::vector<std::string>& items) const;

    // "Conversion Start Time   ----  " + time, the fixed notes and the support
    // numbers.
    void writeHeader(const std::tm& when) const;
    void writeHeader(std::chrono::system_clock::time_point when) const;

    // One problem of one record; a record with two problems gets two entries.
    void writeEntry(std::string_view inputRecord, std::string_view description) const;

    void writeCancelLine(const std::tm& when) const;
    void writeCancelLine(std::chrono::system_clock::time_point when) const;

    void writeFinishLine(const std::tm& when) const;
    void writeFinishLine(std::chrono::system_clock::time_point when) const;

private:
    std::filesystem::path path_;
};

// The name a finished run's log is kept under: the logs folder, the first 11
// characters of the DCF file's name, "ConversionLog", the time as "hhmmssampm"
// and ".txt". An existing file is never replaced: the first free of "-2",
// "-3", ... is put before ".txt" instead. The name of the log's entries
// (".csv") is free too.
std::filesystem::path finalLogName(const std::filesystem::path& logsFolder,
                                   std::string_view dcfFileName, const std::tm& when);
std::filesystem::path finalLogName(const std::filesystem::path& logsFolder,
                                   std::string_view dcfFileName,
                                   std::chrono::system_clock::time_point when);

// Renames the working file to target (normally from finalLogName) and
// returns target.
std::filesystem::path moveToFinalName(const LogFile& log, const std::filesystem::path& target);

// What the log records about a DCF line that could not be staged.
struct StagingFailure {
    std::string filePath;
    std::tm when{};
    std::string filerId;
    std::string reportNumber;
    std::string recordNumber;
    std::string errorNumber;
    std::string line;
    std::string source;
    std::string description;
    std::int64_t lineNumber = 0;
};

// The eleven lines of the block ImportDCFRecords appends for such a line.
std::vector<std::string> stagingErrorBlock(const StagingFailure& failure);

} // namespace dcf::log
