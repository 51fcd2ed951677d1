// A conversion killed with SIGKILL anywhere before its commit leaves every
// table as it was; killed at the commit, the database holds either the state
// before or that of the whole saved run; and the next run converts.
//
// The kill points come from a reference run of the same file: the batch front
// end writes each step on standard error as the step begins, and the answer
// to the closing question on standard output just before the commit. Each
// point waits for its step's line, then a share of that step's length in the
// reference run. What the killed child wrote before it died names the step
// it died in; a point that came too late is tried again at once on its line.
#include "dcf_generator.h"
#include "front_end_child.h"
#include "log/log_entries.h"
#include "test_database.h"

#include <algorithm>
#include <iostream>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

namespace fs = std::filesystem;
using Tables = std::map<std::string, std::vector<std::string>>;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

// A run of 100,000 lines takes seconds in the release build, several times
// that under the sanitizers, and twenty runs are killed: only the release
// build runs these tests.
constexpr bool kSanitized = DCF_SANITIZED != 0;

constexpr const char* kStaging = "Processing input records from DCF file.";
constexpr const char* kRenumbering = "Processing name records from DCF file";
constexpr const char* kCommit = "commit";
// A run on a server: copying the filer's records in, and writing the rows out.
constexpr const char* kCopyIn = "Reading the filer's records from the server";
constexpr const char* kTransfer = "Writing the converted records to the server";
constexpr const char* kEnded = "ended";
// A step that begins this long in the reference run is killed within;
// a shorter one at once on its line.
constexpr auto kLongStep = milliseconds(100);
constexpr int kAttempts = 3;

struct KillPoint {
    std::string phase;
    double share = 0; // of the phase's length in the reference run
    Moment length{};
};

// The kills of a plan and where they landed, printed with the test.
struct KillRecord {
    std::string planned;
    std::string hit;
    int attempts = 0;
    long long atMs = 0;
    std::optional<bool> journalLeft; // SQLite's rollback journal
    std::string state;               // "before" or "saved"
    int scratchLeft = -1;            // working folders a server run left in TMPDIR
};

std::vector<std::string> conversionArgs(const std::string& target, const fs::path& file,
                                        const fs::path& logs, bool quiet) {
    const bool sqliteFile = target.find('=') == std::string::npos;
    std::vector<std::string> args = {sqliteFile ? "--database" : "--connect",
                                     target,
                                     "--logs",
                                     logs.string(),
                                     "--save",
                                     "yes",
                                     "--duplicate-filer",
                                     "continue",
                                     "--similar-names",
                                     "new",
                                     file.string()};
    if (quiet) {
        args.insert(args.end() - 1, "-q");
    }
    return args;
}

Tables contentsOf(const std::string& target) {
    auto connection = db::Connection::open(target);
    return tableContents(*connection);
}

// IMPORTTEMP's keys come from a server sequence, which a killed run moves on
// for good; every other value is compared.
Tables withoutImportKeys(Tables tables) {
    for (std::string& row : tables["IMPORTTEMP"]) {
        row.erase(0, row.find('|') + 1);
    }
    std::sort(tables["IMPORTTEMP"].begin(), tables["IMPORTTEMP"].end());
    return tables;
}

KillWhen killOn(const KillPoint& point, Moment delay) {
    return [point, delay](const ChildLine& line) -> std::optional<Moment> {
        const bool begins = point.phase == kCommit
                                ? !line.standardError && line.text.starts_with("question: save-")
                                : line.standardError && stepOf(line.text) == point.phase;
        return begins ? std::optional<Moment>(delay) : std::nullopt;
    };
}

Moment delayOf(const KillPoint& point, int attempt) {
    if (attempt > 1) {
        return Moment::zero();
    }
    return duration_cast<Moment>(point.length * point.share);
}

Moment lengthOf(const Phase& phase) {
    return phase.end - phase.begin;
}

// Every step of the reference run up to the commit, each once, and the
// commit: long steps half-way, short ones on their line; `shares` gives
// the phases it names shares of their own.
std::vector<KillPoint> planKills(const std::vector<Phase>& phases,
                                 const std::map<std::string, std::vector<double>>& shares) {
    std::vector<KillPoint> points;
    for (const Phase& phase : phases) {
        if (phase.name.empty() || phase.name == kEnded || phase.name.starts_with("Finished")) {
            continue;
        }
        const Moment length = lengthOf(phase);
        const auto given = shares.find(phase.name);
        const std::vector<double> wanted =
            given != shares.end() ? given->second
                                  : std::vector<double>{length >= kLongStep ? 0.5 : 0.0};
        for (const double share : wanted) {
            points.push_back({phase.name, share, length});
        }
    }
    return points;
}

void printRecords(const std::string& title, const std::vector<KillRecord>& records) {
    std::ostringstream text;
    text << title << "\n";
    for (const KillRecord& record : records) {
        text << "  " << record.planned << " -> " << record.hit << ", attempt " << record.attempts
             << ", killed at " << record.atMs << " ms, tables: " << record.state;
        if (record.journalLeft) {
            text << ", journal left: " << (*record.journalLeft ? "yes" : "no");
        }
        if (record.scratchLeft >= 0) {
            text << ", working folders left: " << record.scratchLeft;
        }
        text << "\n";
    }
    std::cout << text.str() << std::flush;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

std::string outputOf(const ChildRun& run) {
    std::string text;
    for (const ChildLine& line : run.lines) {
        text += (line.standardError ? "err: " : "out: ") + line.text + "\n";
    }
    return text;
}

// A killed run's working entries file holds every entry its working log
// holds, in the same order: the messages of the log's entries and blocks
// begin the file's.
void expectEntriesHoldTheLog(const fs::path& logs, const std::string& phase) {
    if (!fs::exists(logs / "LogFile.txt")) {
        return;
    }
    std::istringstream log(readFile(logs / "LogFile.txt"));
    std::vector<std::string> described;
    for (std::string line; std::getline(log, line);) {
        for (const std::string_view prefix : {"Error Description: ", "---- Error Description: "}) {
            if (line.starts_with(prefix) && line.ends_with('\r')) {
                described.push_back(line.substr(prefix.size(), line.size() - prefix.size() - 1));
            }
        }
    }
    if (described.empty()) {
        return;
    }
    const std::vector<log::Entry> entries = log::readEntries(logs / "LogFile.csv");
    ASSERT_GE(entries.size(), described.size()) << "killed in \"" << phase << "\"";
    for (std::size_t i = 0; i < described.size(); ++i) {
        EXPECT_EQ(entries[i].message, described[i]) << "killed in \"" << phase << "\"";
    }
}

// The log a run named on standard output, its times and dates masked.
std::string maskedLogOf(const ChildRun& run) {
    for (const ChildLine& line : run.lines) {
        if (!line.standardError && line.text.starts_with("log: ")) {
            const std::string log = readFile(line.text.substr(5));
            const std::string timed =
                std::regex_replace(log, std::regex(R"(\d{1,2}:\d{2}:\d{2}[AP]M)"), "<time>");
            return std::regex_replace(timed, std::regex(R"(\d{1,2}/\d{1,2}/\d{4})"), "<date>");
        }
    }
    return "no log";
}

std::string differingTables(const Tables& found, const Tables& expected) {
    std::string names;
    for (const auto& [table, rows] : expected) {
        const auto other = found.find(table);
        if (other == found.end() || other->second != rows) {
            names += " " + table;
        }
    }
    return names;
}

// Kills runs of one file on one database, each at its point, and checks what
// each left.
class KillRunner {
public:
    KillRunner(std::string target, fs::path file, fs::path work)
        : target_(std::move(target)), file_(std::move(file)), work_(std::move(work)) {
        fs::create_directories(logs());
        fs::create_directories(tmp());
    }
    virtual ~KillRunner() = default;
    KillRunner(const KillRunner&) = delete;
    KillRunner& operator=(const KillRunner&) = delete;

    // Kills a run at the point; tries again at once on the point's line when
    // the child was already past its phase.
    KillRecord kill(const KillPoint& point);
    ChildRun convert(bool quiet) const {
        return runFrontEnd(conversionArgs(target_, file_, logs(), quiet), tmp());
    }
    fs::path logs() const { return work_ / "logs"; }
    fs::path tmp() const { return work_ / "tmp"; }

    Tables before;
    Tables saved;

protected:
    // Says what the killed run left in the record's state, "before" or, for
    // a run killed at or after its commit, "saved"; fails the test on
    // anything else.
    virtual void inspect(KillRecord& record) = 0;
    // Puts the database back as it was before the run that saved.
    virtual void undoSave() = 0;
    // `comparable` is `found` as it compares with `saved`.
    void judge(KillRecord& record, const Tables& found, const Tables& comparable) const;
    const std::string& target() const { return target_; }
    const fs::path& work() const { return work_; }

private:
    std::string target_;
    fs::path file_;
    fs::path work_;
};

KillRecord KillRunner::kill(const KillPoint& point) {
    KillRecord record;
    record.planned = point.phase;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        record.attempts = attempt;
        const ChildRun run = runFrontEnd(conversionArgs(target_, file_, logs(), false), tmp(),
                                         killOn(point, delayOf(point, attempt)));
        record.atMs = duration_cast<milliseconds>(run.killedAt).count();
        if (!run.killed) {
            // Only a kill meant for the commit may come after the run's end.
            record.hit = kEnded;
            EXPECT_EQ(point.phase, kCommit) << outputOf(run);
            EXPECT_EQ(run.exitStatus, 0) << outputOf(run);
            undoSave();
            continue;
        }
        record.hit = phaseAtEnd(run);
        expectEntriesHoldTheLog(logs(), record.hit);
        try {
            inspect(record);
        } catch (const std::exception& error) {
            ADD_FAILURE() << "killed in \"" << record.hit
                          << "\", the database fails: " << error.what();
            record.state = "unreadable";
            return record;
        }
        if (record.state == "saved") {
            undoSave();
        }
        if (record.hit == point.phase) {
            return record;
        }
    }
    ADD_FAILURE() << "no kill landed in \"" << point.phase << "\" in " << kAttempts
                  << " attempts; the last in \"" << record.hit << "\"";
    return record;
}

void KillRunner::judge(KillRecord& record, const Tables& found, const Tables& comparable) const {
    if (found == before) {
        record.state = "before";
    } else if ((record.hit == kCommit || record.hit == kEnded) && comparable == saved) {
        record.state = "saved";
    } else {
        record.state = "changed";
        ADD_FAILURE() << "killed in \"" << record.hit
                      << "\", these tables changed:" << differingTables(found, before);
    }
}

// A native SQLite file. The killed database is looked at through a copy of
// the file and its journal, which rolls the journal back as the next program
// to open it would; the database itself is left for the next run to do so.
class SqliteKills final : public KillRunner {
public:
    SqliteKills(const fs::path& database, const fs::path& file, const fs::path& work)
        : KillRunner(database.string(), file, work), database_(database) {}

    // The state every run starts from, for undoSave.
    void keepStart() { fs::copy_file(database_, start(), fs::copy_options::overwrite_existing); }
    fs::path start() const { return work() / "start.db"; }

private:
    void inspect(KillRecord& record) override;
    void undoSave() override {
        fs::copy_file(start(), database_, fs::copy_options::overwrite_existing);
        fs::remove(journalOf(database_));
    }
    static fs::path journalOf(const fs::path& file) { return file.string() + "-journal"; }

    fs::path database_;
};

void SqliteKills::inspect(KillRecord& record) {
    const fs::path copy = work() / "killed.db";
    fs::copy_file(database_, copy, fs::copy_options::overwrite_existing);
    record.journalLeft = fs::exists(journalOf(database_));
    if (*record.journalLeft) {
        fs::copy_file(journalOf(database_), journalOf(copy), fs::copy_options::overwrite_existing);
    }
    {
        auto connection = db::Connection::open(copy.string());
        EXPECT_EQ(joined(selectRows(*connection, "pragma integrity_check")), "ok\n") << record.hit;
        const Tables found = tableContents(*connection);
        judge(record, found, found);
    }
    fs::remove(copy);
    fs::remove(journalOf(copy));
}

// A PostgreSQL database. A run there keeps IMPORTTEMP in a SQLite file in a
// folder of its own under TMPDIR, which a killed run leaves behind; they are
// counted, and go with the test's folder.
class ServerKills final : public KillRunner {
public:
    ServerKills(const std::string& target, const fs::path& file, const fs::path& work)
        : KillRunner(target, file, work) {}

    // Whether a run killed at its commit saved: then it was the run after
    // the kills before it, and it converted.
    bool savedOnce = false;

private:
    void inspect(KillRecord& record) override {
        const Tables found = contentsOf(target());
        judge(record, found, withoutImportKeys(found));
        record.scratchLeft = 0;
        for (const auto& entry : fs::directory_iterator(tmp())) {
            record.scratchLeft += entry.path().filename().string().starts_with("dcfconvert-");
        }
    }
    // The server keeps what was saved: later kills start from it.
    void undoSave() override {
        savedOnce = true;
        before = contentsOf(target());
    }
};

// The tables of the filing schema, as SQLite lists them.
std::vector<std::string> sqliteTables(const std::string& file) {
    auto connection = db::Connection::open(file);
    std::vector<std::string> names =
        selectRows(*connection, "select name from sqlite_master where type = 'table'");
    for (std::string& name : names) {
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> upperKeys(const Tables& tables) {
    std::vector<std::string> names;
    for (const auto& entry : tables) {
        names.push_back(entry.first);
        std::transform(names.back().begin(), names.back().end(), names.back().begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CrashSafety, KilledAnywhereOnSqliteTheDatabaseStaysOrHoldsTheWholeRun) {
    if (kSanitized) {
        GTEST_SKIP() << "too slow under the sanitizers; the release build runs it";
    }
    TempFolder work;
    const fs::path small = work.path() / "small.DCF_ZV";
    const fs::path file = work.path() / "run.DCF_ZV";
    bench::generateRunFile(small, 2000, 200, 7);
    bench::generateRunFile(file, 100000, 20000, 1);
    const TestDatabase database(Target::NativeSqlite);
    SqliteKills kills(database.sqliteFile(), file, work.path());

    // Not a new database: rows in the tables and counters moved on.
    const ChildRun first =
        runFrontEnd(conversionArgs(database.target(), small, kills.logs(), true), kills.tmp());
    ASSERT_EQ(first.exitStatus, 0) << outputOf(first);
    kills.keepStart();
    kills.before = contentsOf(database.target());
    ASSERT_EQ(upperKeys(kills.before), sqliteTables(database.target()));
    ASSERT_EQ(selectRows(*db::Connection::open(database.target()),
                         "select count(*) from repno where NameID > 2 and repno > 1"),
              std::vector<std::string>{"1"});
    ASSERT_FALSE(kills.before["RCPT"].empty());

    // The reference: the same file saved on a copy of the same database.
    const fs::path reference = work.path() / "reference.db";
    fs::copy_file(kills.start(), reference);
    const ChildRun whole =
        runFrontEnd(conversionArgs(reference.string(), file, kills.logs(), false), kills.tmp());
    ASSERT_EQ(whole.exitStatus, 0) << outputOf(whole);
    kills.saved = contentsOf(reference.string());

    const std::vector<KillPoint> points =
        planKills(phasesOf(whole), {{kStaging, {0.25, 0.75}}, {kCommit, {0.0, 0.5}}});
    // Staging twice, the renumbering, each of the fifteen importers, the
    // commit twice.
    EXPECT_EQ(points.size(), 20u) << outputOf(whole);
    std::vector<KillRecord> records;
    for (const KillPoint& point : points) {
        records.push_back(kills.kill(point));
        if (HasFailure()) {
            break; // the next runs would start from what went wrong
        }
    }
    printRecords("kills of a " + std::to_string(whole.endedAt / milliseconds(1)) +
                     " ms run on SQLite:",
                 records);

    const ChildRun next = kills.convert(true);
    EXPECT_EQ(next.exitStatus, 0) << outputOf(next);
    EXPECT_EQ(
        joined(selectRows(*db::Connection::open(database.target()), "pragma integrity_check")),
        "ok\n");
    const Tables converted = contentsOf(database.target());
    EXPECT_TRUE(converted == kills.saved) << differingTables(converted, kills.saved);
    // Nothing of the killed runs' working logs reaches the next run's.
    EXPECT_EQ(maskedLogOf(next), maskedLogOf(whole));
}

TEST(CrashSafety, KilledOnPostgresqlTheTablesStayAndTheNextRunConverts) {
    if (kSanitized) {
        GTEST_SKIP() << "too slow under the sanitizers; the release build runs it";
    }
    std::string why;
    if (!postgresAvailable(why)) {
        if (postgresRequired()) {
            FAIL() << why;
        }
        GTEST_SKIP() << why;
    }
    TempFolder work;
    const fs::path small = work.path() / "small.DCF_ZV";
    const fs::path file = work.path() / "run.DCF_ZV";
    bench::generateRunFile(small, 500, 50, 7);
    bench::generateRunFile(file, 5000, 1000, 1);
    const TestDatabase database(Target::PostgreSQL);
    const TestDatabase reference(Target::PostgreSQL);
    ServerKills kills(database.target(), file, work.path());
    for (const TestDatabase* each : {&database, &reference}) {
        const ChildRun first =
            runFrontEnd(conversionArgs(each->target(), small, kills.logs(), true), kills.tmp());
        ASSERT_EQ(first.exitStatus, 0) << outputOf(first);
    }
    kills.before = contentsOf(database.target());

    const ChildRun whole =
        runFrontEnd(conversionArgs(reference.target(), file, kills.logs(), false), kills.tmp());
    ASSERT_EQ(whole.exitStatus, 0) << outputOf(whole);
    kills.saved = withoutImportKeys(contentsOf(reference.target()));

    // The copy-in, staging, the longest importer, the transfer and the commit.
    const std::vector<Phase> phases = phasesOf(whole);
    const Phase* copyIn = nullptr;
    const Phase* staging = nullptr;
    const Phase* importer = nullptr;
    const Phase* transfer = nullptr;
    for (const Phase& phase : phases) {
        if (phase.name == kCopyIn) {
            copyIn = &phase;
        } else if (phase.name == kTransfer) {
            transfer = &phase;
        } else if (phase.name == kStaging) {
            staging = &phase;
        } else if (phase.name.starts_with("Processing ") && phase.name != kRenumbering &&
                   (importer == nullptr || lengthOf(phase) > lengthOf(*importer))) {
            importer = &phase;
        }
    }
    ASSERT_TRUE(copyIn != nullptr && staging != nullptr && importer != nullptr &&
                transfer != nullptr)
        << outputOf(whole);
    std::vector<KillRecord> records;
    for (const KillPoint& point :
         {KillPoint{copyIn->name, 0.5, lengthOf(*copyIn)},
          KillPoint{staging->name, 0.5, lengthOf(*staging)},
          KillPoint{importer->name, 0.5, lengthOf(*importer)},
          KillPoint{transfer->name, 0.5, lengthOf(*transfer)}, KillPoint{kCommit, 0.0, {}}}) {
        records.push_back(kills.kill(point));
    }
    printRecords("kills of a " + std::to_string(whole.endedAt / milliseconds(1)) +
                     " ms run on PostgreSQL:",
                 records);

    if (!kills.savedOnce) {
        const ChildRun next = kills.convert(true);
        EXPECT_EQ(next.exitStatus, 0) << outputOf(next);
    }
    const Tables converted = withoutImportKeys(contentsOf(database.target()));
    EXPECT_TRUE(converted == kills.saved) << differingTables(converted, kills.saved);
}

} // namespace
} // namespace dcf::test
