#include "cli/cli_options.h"

#include <algorithm>
#include <ostream>

#include <CLI/CLI.hpp>

namespace dcf::cli {
namespace {

std::vector<std::string> splitWords(const std::string& list) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        words.push_back(list.substr(start, comma - start));
        if (comma == std::string::npos) {
            return words;
        }
        start = comma + 1;
    }
}

std::string joined(const std::vector<std::string>& words, const char* separator) {
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : separator) + word;
    }
    return text;
}

// Accepts one of `allowed`, or with `list` a comma-separated list of them.
// The help names the choices in the option's type, so the check adds none.
CLI::Validator choices(const std::vector<std::string>& allowed, bool list) {
    return {[allowed, list](std::string& value) -> std::string {
                const std::vector<std::string> words =
                    list ? splitWords(value) : std::vector<std::string>{value};
                for (const std::string& word : words) {
                    if (std::find(allowed.begin(), allowed.end(), word) == allowed.end()) {
                        return "'" + word + "' is not one of " + joined(allowed, "|");
                    }
                }
                return {};
            },
            ""};
}

void addTargetOptions(CLI::App& app, std::string& dsn, std::string& connect,
                      std::string& database) {
    CLI::Option* dsnOption =
        app.add_option("--dsn", dsn, "ODBC data source (default qorvex)")->type_name("NAME");
    CLI::Option* connectOption =
        app.add_option("--connect", connect,
                       "ODBC connection string, used as it is, instead of --dsn")
            ->type_name("STRING");
    CLI::Option* databaseOption =
        app.add_option("--database", database,
                       "SQLite database file, opened directly, instead of --dsn")
            ->type_name("FILE");
    dsnOption->excludes(connectOption)->excludes(databaseOption);
    connectOption->excludes(databaseOption);
}

} // namespace

const std::string& answerWord(const std::vector<std::string>& words, std::size_t index) {
    return words.at(std::min(index, words.size() - 1));
}

ParsedOptions parseOptions(int argc, const char* const* argv, std::ostream& out,
                           std::ostream& err) {
    CLI::App app{"Converts a DCF file into the filing database without a window.",
                 "dcfconvert-cli"};
    app.set_version_flag("--version", std::string("dcfconvert-cli ") + DCF_VERSION);
    app.footer("At the end, standard output names the conversion log (log: PATH) and, when the "
               "log has entries, the same entries as CSV beside it (entries: PATH), then the "
               "log's summary lines and the outcome (outcome: WORD).");

    Options options;
    std::string file;
    std::string dsn = "qorvex";
    std::string connect;
    std::string database;
    std::string logs;
    std::string duplicateFiler = "stop";
    std::string similarNames = "new";
    std::string save = "yes";

    app.add_option("FILE", file, "the DCF file to convert")->type_name("")->required();
    addTargetOptions(app, dsn, connect, database);
    CLI::Option* logsOption =
        app.add_option("--logs", logs, "logs folder (default: as the window program)")
            ->type_name("DIR");
    app.add_option("--duplicate-filer", duplicateFiler,
                   "continue|stop for each duplicate-filer question, comma-separated, the "
                   "last one repeated (default stop)")
        ->type_name("LIST")
        ->check(choices({"continue", "stop"}, true));
    app.add_option("--similar-names", similarNames,
                   "existing|new|stop-asking, same form (default new)")
        ->type_name("LIST")
        ->check(choices({"existing", "new", "stop-asking"}, true));
    app.add_option("--save", save, "the closing question (default yes)")
        ->type_name("yes|no")
        ->check(choices({"yes", "no"}, false));
    app.add_flag("-q,--quiet", options.quiet, "no progress on standard error");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error, out, err);
        return {std::nullopt, status == 0 ? 0 : kUsageErrorStatus};
    }

    options.file = file;
    if (app.count("--connect") > 0) {
        options.target = connect;
    } else if (app.count("--database") > 0) {
        options.target = database;
    } else {
        options.target = "DSN=" + dsn;
    }
    if (logsOption->count() > 0) {
        options.logsFolder = logs;
    }
    options.duplicateFiler = splitWords(duplicateFiler);
    options.similarNames = splitWords(similarNames);
    options.save = save == "yes";
    return {std::move(options), 0};
}

} // namespace dcf::cli
