// CheckDCFNames resolving schedule names against the names a filer already
// has: the time per call of the first and the last tenth of the calls, and
// against one row of the staging floor measured in the same run.
#include "bench_database.h"
#include "bench_support.h"
#include "dcf_generator.h"
#include "floor_insert.h"
#include "names/check_dcf_names.h"
#include "run/record_report.h"
#include "staging/import_temp.h"

#include <atomic>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr long long kCalls = 100000;
constexpr long long kNewNames = 2000;

class QuietReport final : public dcf::run::RecordReport {
public:
    [[nodiscard]] std::string_view recordType() const override { return "RCPT"; }
    [[nodiscard]] std::string_view recordNumber() const override { return "1"; }
    [[nodiscard]] dcf::log::EntryRecord entryRecord() const override { return {}; }
    void warn(std::string_view) override {}
    void reject(std::string_view) override { throw std::logic_error("a name went missing"); }
};

// The filer's stored names, and the staged NAME records the calls refer
// to: each stored name once, and some the filer does not have yet.
void prepare(dcf::db::Connection& db, long long stored) {
    auto& name = db.statement("insert into names (filer_id, name_id, name_type, entity_cd, naml, "
                              "namf, namt, adr1, city, stcd, zip4, os_pac_cb) values ('F1', ?, "
                              "'C', 'I', ?, ?, '', ?, 'Salem', 'OR', '97301', '0')");
    auto& staged = db.statement("insert into IMPORTTEMP (filer_id, rec_type, rec_num, repno, "
                                "Status, field7, field8, field12, field14, field15, field16) "
                                "values ('F1', 'NAME', ?, '1', 'I', ?, ?, ?, 'salem', 'or', "
                                "'97301')");
    for (long long k = 1; k <= stored + kNewNames; ++k) {
        const std::string last = "Lastname" + std::to_string(k % 5000);
        const std::string first = "First" + std::to_string(k);
        const std::string street = std::to_string(k % 900) + " Oak St";
        if (k <= stored) {
            name.run(std::to_string(100000 + k), last, first, street);
        }
        staged.run(std::to_string(k), last, first, street);
    }
}

} // namespace

int main(int argc, char** argv) {
    try {
        const dcf::bench::Options options = dcf::bench::parseOptions(argc, argv);
        const dcf::bench::BenchDatabase floorDb(options);
        const auto file = floorDb.folder() / "floor.DCF_ZV";
        dcf::bench::generateDcfFile(file, kCalls);
        const double floorRow = dcf::bench::timeFloorInserts(floorDb, file) / kCalls;

        const dcf::bench::BenchDatabase database(options);
        auto connection = database.connect();
        connection->begin();
        prepare(*connection, options.names);
        dcf::run::RunRequest request;
        request.logsFolder = database.folder();
        dcf::run::ConversionRun run;
        run.filer.id = "F1";
        dcf::run::SilentView view;
        std::atomic<bool> cancelRequested{false};
        dcf::run::RunContext context{request, run, *connection, view, cancelRequested};
        dcf::staging::ImportTemp importTemp(*connection);
        dcf::names::RunNames names{importTemp.nameRecords(), {}};
        QuietReport report;

        const long long tenth = kCalls / 10;
        std::vector<double> tenths;
        const long long referred = options.names + kNewNames;
        for (long long part = 0; part < 10; ++part) {
            const dcf::bench::Stopwatch watch;
            for (long long i = part * tenth; i < (part + 1) * tenth; ++i) {
                dcf::names::CheckDCFNames(context, names, std::to_string(1 + (i * 7919) % referred),
                                          dcf::names::Role::Contributor, report);
            }
            tenths.push_back(watch.seconds() / tenth);
        }
        connection->rollback();
        // What the run keeps in memory per name: the stored names the checks
        // search (those of the database and those the calls added) and the
        // file's NAME records.
        const double indexBytes = static_cast<double>(names.stored.bytesUsed()) /
                                  static_cast<double>(names.stored.size());
        const double recordBytes = static_cast<double>(names.fileRecords.bytesUsed()) /
                                   static_cast<double>(names.fileRecords.size());
        std::printf("name_checks target=%s stored=%lld calls=%lld floor_row_us=%.2f "
                    "first_tenth_us=%.2f last_tenth_us=%.2f last_over_first=%.2f "
                    "call_over_floor_row=%.2f index_bytes_per_name=%.0f "
                    "bytes_per_name_record=%.0f\n",
                    options.targetName.c_str(), options.names, kCalls, floorRow * 1e6,
                    tenths.front() * 1e6, tenths.back() * 1e6, tenths.back() / tenths.front(),
                    tenths.back() / floorRow, indexBytes, recordBytes);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "name_checks: %s\n", error.what());
        return 2;
    }
}
