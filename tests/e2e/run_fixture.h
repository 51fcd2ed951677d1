#pragma once

#include "app/run_command.h"
#include "app/selected_file.h"
#include "recording_view.h"
#include "test_database.h"

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
    run::ConversionRun run_;
    RecordingView view_;
};

inline run::Answer yes() {
    return run::Answer::Yes;
}
inline run::Answer no() {
    return run::Answer::No;
}

} // namespace dcf::test
