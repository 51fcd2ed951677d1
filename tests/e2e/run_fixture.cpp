#include "run_fixture.h"

namespace dcf::test {

void RunTest::SetUp() {
    DatabaseTest::SetUp();
    std::filesystem::create_directory(files_.path() / "logs");
    request_.logsFolder = files_.path() / "logs";
    request_.runLockWait = std::chrono::milliseconds(500);
}

std::filesystem::path RunTest::writeDcf(const std::string& name, const std::string& content) {
    const auto path = files_.path() / name;
    writeFile(path, content);
    request_.file = app::selectedFile(path);
    return path;
}

app::RunResult RunTest::run() {
    return app::runConversion(request_, connection(), view_, cancelRequested_);
}

std::map<std::string, std::vector<std::string>> RunTest::contents() {
    return contents(connection());
}

std::map<std::string, std::vector<std::string>> RunTest::contents(db::Connection& on) {
    return tableContents(on);
}

std::string RunTest::finalLog(const app::RunResult& result) {
    return result.logPath.empty() ? std::string() : readFile(result.logPath);
}

std::int64_t RunTest::count(const std::string& sql) {
    auto select = connection().prepare(sql);
    select->execute();
    EXPECT_TRUE(select->next());
    return select->integer(select->columnName(0));
}

} // namespace dcf::test
