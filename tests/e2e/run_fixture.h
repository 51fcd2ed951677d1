#pragma once

#include "app/run_command.h"
#include "app/selected_file.h"
#include "recording_view.h"
#include "test_database.h"

#include <atomic>
#include <map>
#include <string>
#include <vector>

namespace dcf::test {

// A whole run through the recorder on one of the three databases.
class RunTest : public DatabaseTest {
protected:
    void SetUp() override;

    // Writes a DCF file into the test's folder and selects it.
    std::filesystem::path writeDcf(const std::string& name, const std::string& content);
    app::RunResult run();
    // Every row of every filing table, as text: what a run that does not
    // save must leave unchanged.
    std::map<std::string, std::vector<std::string>> contents();
    std::map<std::string, std::vector<std::string>> contents(db::Connection& on);
    std::string finalLog(const app::RunResult& result);
    std::int64_t count(const std::string& sql);

    TempFolder files_;
    run::RunRequest request_;
    std::atomic<bool> cancelRequested_{false};
    RecordingView view_;
};

// The lines of a small file: a header, the filer F123456 and its NAME line.
inline const std::string kHeader = "HDR,1,0,DCF,1.0,20261208,\r\n";
inline const std::string kFiler = "FLR,1,0,A,B,COH,F123456,X,Y,2\r\n";
inline const std::string kName =
    "NAME,2,0,F,,,Doe Campaign,Jane,,,,100 Main St,,Springfield,ST,12345" + std::string(17, ',') +
    ",NN\r\n";

inline run::Answer yes() {
    return run::Answer::Yes;
}
inline run::Answer no() {
    return run::Answer::No;
}

} // namespace dcf::test
