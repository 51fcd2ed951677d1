#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dcf::log {

// What became of the record a log entry is about.
enum class EntryOutcome { Corrected, NotImported, Failed, RunFailed };

// "corrected", "not imported", "failed", "run failed".
std::string_view outcomeText(EntryOutcome outcome);
std::optional<EntryOutcome> outcomeFromText(std::string_view text);

// The record an entry is about, as far as it is known: a failure of the run
// itself has none.
struct EntryRecord {
    std::optional<std::int64_t> lineNumber; // the line of the DCF file
    std::string type;
    std::string number;
    std::string reportNumber;
    std::string input; // the input record, as the log shows it
};

// One entry of the conversion log as data.
struct Entry {
    EntryRecord record;
    EntryOutcome outcome = EntryOutcome::Corrected;
    std::string step; // the procedure that wrote it: "ImportRCPT"
    std::string message;
};

// The entries of one run's conversion log as CSV (RFC 4180, UTF-8, CR LF,
// a header row): "LogFile.csv" in the logs folder while the run writes it,
// then the log's final name with ".csv". It exists only once the run has an
// entry; each entry is appended as it arises, like the log's own lines.
class EntriesFile {
public:
    explicit EntriesFile(const std::filesystem::path& logsFolder);

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    [[nodiscard]] bool exists() const;
    // Deletes a working file left over from an earlier run.
    void removeIfExists() const;
    // Throws std::runtime_error naming the file and the reason.
    void append(const Entry& entry) const;

private:
    std::filesystem::path path_;
};

// The header row, without its line end.
std::string_view entriesHeader();
// One entry as one CSV record, without its line end.
std::string entryRow(const Entry& entry);

// The entries file that goes with a log file: the same name, ".csv".
std::filesystem::path entriesFileName(const std::filesystem::path& logFile);

// Renames the working entries file, when there is one, to the name that goes
// with the final log; returns that name, or an empty path when the run had
// no entries.
std::filesystem::path moveEntriesToFinalName(const EntriesFile& entries,
                                             const std::filesystem::path& finalLog);

// Reads an entries file back; rows that do not have the file's columns are
// skipped, so a file cut short by a crash reads as far as it is whole.
// Throws std::runtime_error when the file cannot be read.
std::vector<Entry> readEntries(const std::filesystem::path& file);

} // namespace dcf::log
