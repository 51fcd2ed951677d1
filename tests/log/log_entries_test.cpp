// The log's entries as CSV: what a spreadsheet or a script reads back must be
// what the run wrote, whatever the values hold, and the file is as private
// and as complete as the log.
#include "log/log_entries.h"

#include "log/log_file.h"
#include "log_test_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using dcf::log::Entry;
using dcf::log::EntryOutcome;
namespace fs = std::filesystem;

Entry entry(std::optional<std::int64_t> line, EntryOutcome outcome, std::string message,
            std::string input) {
    Entry made;
    made.record = {line, "RCPT", "10", "1", std::move(input)};
    made.outcome = outcome;
    made.step = "ImportRCPT";
    made.message = std::move(message);
    return made;
}

TEST(LogEntries, ValuesThatNeedQuotingComeBackAsWritten) {
    struct Case {
        const char* what;
        std::string value;
        std::string field; // as the row holds it
    };
    const Case cases[] = {
        {"plain", "Date is missing.", "Date is missing."},
        {"comma", "RCPT,10,1,,", "\"RCPT,10,1,,\""},
        {"quote", "a \"quoted\" name", "\"a \"\"quoted\"\" name\""},
        {"line break", "one\r\ntwo", "\"one\r\ntwo\""},
        {"empty quotes", "\"\"", "\"\"\"\"\"\""},
        {"two-byte characters", "\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Entry written = entry(7, EntryOutcome::NotImported, c.value, c.value);
        const std::string row = dcf::log::entryRow(written);
        EXPECT_EQ(row, "7,RCPT,10,1,not imported,ImportRCPT," + c.field + "," + c.field);

        TempFolder folder;
        const dcf::log::EntriesFile file(folder.path());
        file.append(written);
        const std::vector<Entry> read = dcf::log::readEntries(file.path());
        ASSERT_EQ(read.size(), 1U);
        EXPECT_EQ(read[0].message, c.value);
        EXPECT_EQ(read[0].record.input, c.value);
        EXPECT_EQ(read[0].record.lineNumber, 7);
    }
}

TEST(LogEntries, TheFileHasOneHeaderIsTheOwnersAloneReadsAsFarAsItIsWholeAndMoves) {
    TempFolder folder;
    const mode_t previous = ::umask(0);
    const dcf::log::EntriesFile file(folder.path());
    EXPECT_FALSE(file.exists());
    file.append(entry(4, EntryOutcome::Corrected, "cut", "RCPT,10"));
    file.append(entry(std::nullopt, EntryOutcome::RunFailed, "gone", ""));
    file.append(entry(9, EntryOutcome::Failed, "bad", "RCPT,\"11\""));
    ::umask(previous);
    EXPECT_EQ(fs::status(file.path()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(file.path().filename(), "LogFile.csv");

    const std::string bytes = readBytes(file.path());
    EXPECT_EQ(bytes.rfind(std::string(dcf::log::entriesHeader()) + "\r\n", 0), 0U);
    EXPECT_EQ(bytes.find(dcf::log::entriesHeader(), 1), std::string::npos);
    std::vector<Entry> read = dcf::log::readEntries(file.path());
    ASSERT_EQ(read.size(), 3U);
    EXPECT_EQ(read[0].outcome, EntryOutcome::Corrected);
    EXPECT_EQ(read[1].record.lineNumber, std::nullopt);
    EXPECT_EQ(read[1].outcome, EntryOutcome::RunFailed);
    EXPECT_EQ(read[2].record.input, "RCPT,\"11\"");

    // A run killed in the middle of a row leaves the rows before it.
    std::string cut = bytes.substr(0, bytes.size() - 12);
    writeBytes(file.path(), cut);
    read = dcf::log::readEntries(file.path());
    EXPECT_EQ(read.size(), 2U);

    // The entries go with the log under its final name, ".csv".
    const fs::path log = folder.path() / "filer.dcfConversionLog090507AM-2.txt";
    EXPECT_EQ(dcf::log::moveEntriesToFinalName(file, log),
              folder.path() / "filer.dcfConversionLog090507AM-2.csv");
    EXPECT_FALSE(file.exists());
    EXPECT_EQ(dcf::log::moveEntriesToFinalName(file, log), fs::path())
        << "a run without entries has no entries file";
}

} // namespace
