#include "db/sql_script.h"

namespace dcf::db {

std::vector<std::string> splitSqlScript(std::string_view script) {
    std::vector<std::string> statements;
    std::string current;
    std::size_t start = 0;
    while (start < script.size()) {
        std::size_t end = script.find('\n', start);
        if (end == std::string_view::npos) {
            end = script.size();
        }
        std::string_view line = script.substr(start, end - start);
        start = end + 1;
        while (!line.empty() &&
               (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
            line.remove_suffix(1);
        }
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line.substr(first).starts_with("--")) {
            continue;
        }
        if (line.back() == ';') {
            current.append(line.substr(0, line.size() - 1));
            statements.push_back(std::move(current));
            current.clear();
        } else {
            current.append(line);
            current += '\n';
        }
    }
    if (current.find_first_not_of(" \t\n") != std::string::npos) {
        statements.push_back(std::move(current));
    }
    return statements;
}

} // namespace dcf::db
