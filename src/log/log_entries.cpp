#include "log/log_entries.h"

#include "log/owner_only_append.h"

#include <array>
#include <charconv>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace dcf::log {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view crlf = "\r\n";
constexpr std::size_t kColumns = 8;

constexpr std::array<std::pair<EntryOutcome, std::string_view>, 4> kOutcomes{{
    {EntryOutcome::Corrected, "corrected"},
    {EntryOutcome::NotImported, "not imported"},
    {EntryOutcome::Failed, "failed"},
    {EntryOutcome::RunFailed, "run failed"},
}};

// A field quoted when it holds a comma, a quote or a line break, its quotes
// doubled; a NUL byte shows as \0, as in the log.
void appendField(std::string& row, std::string_view value) {
    std::string text;
    appendShowingNul(text, value);
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        row += text;
        return;
    }
    row += '"';
    for (const char c : text) {
        if (c == '"') {
            row += '"';
        }
        row += c;
    }
    row += '"';
}

// Splits the CSV text into records of fields; an unterminated quoted field at
// the end (a file cut short) ends the reading.
std::vector<std::vector<std::string>> parseCsv(std::string_view text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"') {
                fields.back() += c;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            records.push_back(std::move(fields));
            fields.assign(1, std::string());
        } else {
            fields.back() += c;
        }
    }
    return records;
}

std::optional<Entry> entryFromFields(const std::vector<std::string>& fields) {
    if (fields.size() != kColumns) {
        return std::nullopt;
    }
    const std::optional<EntryOutcome> outcome = outcomeFromText(fields[4]);
    if (!outcome) {
        return std::nullopt;
    }
    Entry entry;
    if (!fields[0].empty()) {
        std::int64_t line = 0;
        const auto [end, error] =
            std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), line);
        if (error != std::errc() || end != fields[0].data() + fields[0].size()) {
            return std::nullopt;
        }
        entry.record.lineNumber = line;
    }
    entry.record.type = fields[1];
    entry.record.number = fields[2];
    entry.record.reportNumber = fields[3];
    entry.outcome = *outcome;
    entry.step = fields[5];
    entry.message = fields[6];
    entry.record.input = fields[7];
    return entry;
}

} // namespace

std::string_view outcomeText(EntryOutcome outcome) {
    for (const auto& [value, text] : kOutcomes) {
        if (value == outcome) {
            return text;
        }
    }
    return {};
}

std::optional<EntryOutcome> outcomeFromText(std::string_view text) {
    for (const auto& [value, name] : kOutcomes) {
        if (name == text) {
            return value;
        }
    }
    return std::nullopt;
}

EntriesFile::EntriesFile(const fs::path& logsFolder) : path_(logsFolder / "LogFile.csv") {}

bool EntriesFile::exists() const {
    std::error_code error;
    return fs::exists(path_, error);
}

void EntriesFile::removeIfExists() const {
    removeLeftover(path_, "conversion log entries");
}

void EntriesFile::append(const Entry& entry) const {
    static const std::string header = std::string(entriesHeader()) + std::string(crlf);
    appendOwnerOnly(path_, entryRow(entry) + std::string(crlf), "the conversion log entries",
                    header);
}

std::string_view entriesHeader() {
    return "line,record type,record number,report number,outcome,step,message,input record";
}

std::string entryRow(const Entry& entry) {
    std::string row;
    if (entry.record.lineNumber) {
        row += std::to_string(*entry.record.lineNumber);
    }
    for (const std::string_view field :
         {std::string_view(entry.record.type), std::string_view(entry.record.number),
          std::string_view(entry.record.reportNumber), outcomeText(entry.outcome),
          std::string_view(entry.step), std::string_view(entry.message),
          std::string_view(entry.record.input)}) {
        row += ',';
        appendField(row, field);
    }
    return row;
}

fs::path entriesFileName(const fs::path& logFile) {
    fs::path name = logFile;
    return name.replace_extension(".csv");
}

fs::path moveEntriesToFinalName(const EntriesFile& entries, const fs::path& finalLog) {
    if (!entries.exists()) {
        return {};
    }
    fs::path target = entriesFileName(finalLog);
    std::error_code error;
    fs::rename(entries.path(), target, error);
    if (error) {
        throw std::runtime_error("Cannot move the conversion log entries " +
                                 entries.path().string() + " to " + target.string() + ": " +
                                 error.message() + ". " + std::string(writeAdvice));
    }
    return target;
}

std::vector<Entry> readEntries(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("Cannot read the conversion log entries " + file.string() + ".");
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<Entry> entries;
    const std::vector<std::vector<std::string>> records = parseCsv(text);
    // The first record is the header.
    for (std::size_t i = 1; i < records.size(); ++i) {
        if (std::optional<Entry> entry = entryFromFields(records[i])) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

} // namespace dcf::log
