#include "front_end_process.h"
#include "test_database.h"

#include <chrono>
#include <fstream>
#include <map>
#include <thread>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dcf::test {
namespace {

using CliEndToEnd = DatabaseTest;

TEST_P(CliEndToEnd, SavesThenStopsOnTheDuplicateFiler) {
    TempFolder logs;
    std::vector<std::string> args = targetArgs(database());
    args.insert(args.end(),
                {"--logs", logs.path().string(), "-q", DCF_SAMPLES_DIR "/minimal.DCF_ZV"});

    const Process first = runFrontEnd(args, logs.path());
    EXPECT_EQ(first.status, 0) << first.out;
    EXPECT_EQ(first.out.rfind("filer: COH F123456 Y X\nquestion: save-clean answer: yes\nlog: ", 0),
              0u)
        << first.out;
    EXPECT_TRUE(first.out.ends_with("         0 Corrected Report Record(s)\noutcome: saved\n"))
        << first.out;

    // The filer is now known: the default answer to the duplicate stops.
    const Process second = runFrontEnd(args, logs.path());
    EXPECT_EQ(second.status, 1);
    EXPECT_NE(second.out.find("question: duplicate-filer answer: stop\n"), std::string::npos)
        << second.out;
    EXPECT_TRUE(second.out.ends_with("outcome: cancelled\n")) << second.out;

    args.insert(args.begin(), {"--duplicate-filer", "continue", "--save", "no"});
    const Process third = runFrontEnd(args, logs.path());
    EXPECT_EQ(third.status, 1);
    EXPECT_NE(third.out.find("filer: COH F123456 Y X\nquestion: duplicate-filer answer: continue\n"
                             "question: save-clean answer: no\n"),
              std::string::npos)
        << third.out;
    EXPECT_TRUE(third.out.ends_with("outcome: rolled back\n")) << third.out;
}

DCF_ON_ALL_DATABASES(CliEndToEnd);

TEST_P(CliEndToEnd, TwoReportsConvertWhateverTheSimilarNamesAnswer) {
    for (const char* answer : {"existing", "new", "stop-asking"}) {
        for (const char* sql :
             {"delete from cvr", "delete from FILERS", "update repno set NameID = 2, repno = 1"}) {
            connection().executeScript(sql);
        }
        TempFolder logs;
        std::vector<std::string> args = targetArgs(database());
        args.insert(args.end(), {"--similar-names", answer, "--logs", logs.path().string(), "-q",
                                 DCF_SAMPLES_DIR "/two-reports.DCF_ZV"});
        const Process run = runFrontEnd(args, logs.path());
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_TRUE(run.out.ends_with("outcome: saved\n")) << run.out;

        auto cvr = connection().prepare("select repno, filer_naml, tres_naml, tmail_city from "
                                        "cvr order by repno");
        cvr->execute();
        std::vector<std::string> rows;
        while (cvr->next()) {
            rows.push_back(cvr->text("repno") + "|" + cvr->text("filer_naml") + "|" +
                           cvr->text("tres_naml") + "|" + cvr->text("tmail_city"));
        }
        EXPECT_EQ(rows,
                  (std::vector<std::string>{"1|Riverside Citizens Committee|Alvarez|Riverside",
                                            "2|Riverside Citizens Committee|Chen|Lakeview"}))
            << answer;
        auto filer = connection().prepare("select tres_naml, tres_ph_x from FILERS");
        filer->execute();
        ASSERT_TRUE(filer->next());
        EXPECT_EQ(filer->text("tres_naml") + "|" + filer->text("tres_ph_x"), "Chen|4");
    }
}

TEST_P(CliEndToEnd, AReportOfEveryScheduleConvertsAndADeclinedSaveLeavesEveryTable) {
    TempFolder logs;
    std::vector<std::string> args = targetArgs(database());
    args.insert(args.end(),
                {"--logs", logs.path().string(), "-q", DCF_SAMPLES_DIR "/schedules.DCF_ZV"});
    const auto before = tableContents(connection());
    std::vector<std::string> declining = args;
    declining.insert(declining.begin(), {"--save", "no"});
    const Process declined = runFrontEnd(declining, logs.path());
    EXPECT_EQ(declined.status, 1) << declined.out;
    EXPECT_EQ(tableContents(connection()), before);

    const Process saved = runFrontEnd(args, logs.path());
    EXPECT_EQ(saved.status, 0) << saved.out;
    EXPECT_NE(saved.out.find("question: save-not-imported answer: yes\n"), std::string::npos)
        << saved.out;
    db::Connection& db = connection();
    // Amounts in cents and Booleans as 1/0, alike on every database.
    EXPECT_EQ(selectRows(db,
                         "select rec_type, item_id, ctrib_id, cast(ctrib_amt * 100 as integer), "
                         "ctrib_date, entity_cd, ctrib_naml, os_pac_cb, os_pac_fec, employer, "
                         "case when itemize_user then 1 else 0 end from RCPT order by item_id"),
              (std::vector<std::string>{
                  "RCPT|10|10|25000|01/15/2026|I|Okafor|0||Harbor Works|1",
                  "PLDG|11|11|50000|02/20/2026|E|Northern Trails PAC|-1|C00123456||0"}));
    EXPECT_EQ(selectRows(db,
                         "select item_id, payee_id, cast(expn_amt * 100 as integer), expn_date, "
                         "expn_descr, payee_naml from EXPN"),
              std::vector<std::string>{"12|12|12000|03/05/2026|Yard signs|Quick Print Co"});
    EXPECT_EQ(selectRows(db, "select item_id, payee_id, cast(incur_amt * 100 as integer), "
                             "cred_descr from CRED"),
              std::vector<std::string>{"14|12|4000|Returned deposit"});
    EXPECT_EQ(selectRows(db, "select item_id, lender_id, cast(loan_amt * 100 as integer), "
                             "Int_Rate, Mature_Dt, FinInst_YN, Guar_NACB, lend_naml from LOAN"),
              std::vector<std::string>{"15|13|100000|4.5|12/31/2027|-1|0|Lakeview Savings Bank"});
    EXPECT_EQ(
        selectRows(db, "select item_id, backref_id, guar_id, cast(guar_amt * 100 as integer), "
                       "rec_type, guar_naml from GUAR order by item_id"),
        (std::vector<std::string>{"16|15|14|100000|LOAN|Marsh", "18|17|14|30000|DEBT|Marsh"}));
    EXPECT_EQ(selectRows(db, "select item_id, cred_id, Guar_NACB, cred_naml from DEBT"),
              std::vector<std::string>{"17|15|0|Lakeside Sound Rental"});
    EXPECT_EQ(selectRows(db, "select rec_type, rec_num from IMPORTTEMP where Status = 'E'"),
              std::vector<std::string>{"EXPN|13"});
}

TEST(CliProcess, TerminateMidRunCancelsAndRollsBack) {
    TestDatabase database(Target::NativeSqlite);
    TempFolder folder;
    // Enough lines that the run is still staging when the signal comes.
    std::ofstream file(folder.path() / "big.DCF_ZV", std::ios::binary);
    file << "HDR,1,0,DCF,1.0,20261208,\r\nFLR,1,0,A,B,COH,F9,X,Y,2\r\n";
    for (int n = 0; n < 200000; ++n) {
        file << "TEXT," << n << ",1,A,B,C,\"memo " << n << "\"\r\n";
    }
    file.close();
    const Process result =
        runFrontEnd({"--database", database.target(), "--logs", folder.path().string(), "-q",
                     (folder.path() / "big.DCF_ZV").string()},
                    folder.path(), {.whileRunning = [](pid_t pid) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(700));
                        ::kill(pid, SIGTERM);
                    }});
    EXPECT_EQ(result.status, 1) << result.out;
    EXPECT_TRUE(result.out.ends_with("outcome: cancelled\n")) << result.out;
    auto connection = database.connect();
    auto& staged = connection->statement("select count(*) as n from IMPORTTEMP");
    staged.execute();
    ASSERT_TRUE(staged.next());
    EXPECT_EQ(staged.integer("n"), 0);
}

// Each hostile file of the corpus ends the real program with the status its
// outcome line gives, never with a signal or a sanitizer's report.
TEST(CliProcess, EveryFileOfTheBadInputCorpusEndsWithAnOutcome) {
    TestDatabase database(Target::NativeSqlite);
    TempFolder folder;
    const std::map<std::string, int> statuses = {
        {"saved", 0}, {"rolled back", 1}, {"cancelled", 1}, {"refused", 2}, {"failed", 3}};
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(DCF_BAD_INPUT_DIR)) {
        if (entry.path().extension() != ".DCF_ZV") {
            continue;
        }
        ++files;
        const Process result =
            runFrontEnd({"--database", database.target(), "--logs", folder.path().string(), "-q",
                         "--duplicate-filer", "continue", entry.path().string()},
                        folder.path());
        const std::size_t outcome = result.out.rfind("outcome: ");
        ASSERT_NE(outcome, std::string::npos) << entry.path() << ": " << result.out;
        const std::string said = result.out.substr(outcome + 9, result.out.size() - outcome - 10);
        ASSERT_TRUE(statuses.contains(said)) << entry.path() << ": " << result.out;
        EXPECT_EQ(result.status, statuses.at(said)) << entry.path() << ": " << result.out;
    }
    EXPECT_GE(files, 11);
}

// Neither blocks the program: a FIFO would wait for a writer, /dev/zero never
// ends its first line.
TEST(CliProcess, AFifoOrADeviceIsRefusedAsAMissingFile) {
    TestDatabase database(Target::NativeSqlite);
    TempFolder folder;
    const auto fifo = folder.path() / "pipe.DCF_ZV";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto device = folder.path() / "zero.DCF_ZV";
    std::filesystem::create_symlink("/dev/zero", device);
    for (const auto& path : {fifo, device}) {
        const Process result = runFrontEnd({"--database", database.target(), "--logs",
                                            folder.path().string(), "-q", path.string()},
                                           folder.path());
        EXPECT_EQ(result.status, 2) << path;
        EXPECT_EQ(result.out, "message: Incorrect or Missing QORVEX data file name. No files "
                              "converted\noutcome: refused\n");
    }
}

} // namespace
} // namespace dcf::test
