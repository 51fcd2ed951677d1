#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dcf::db {

// Splits a schema script into statements: a statement ends with ";" at the
// end of a line; lines that start with "--" are comments.
std::vector<std::string> splitSqlScript(std::string_view script);

} // namespace dcf::db
