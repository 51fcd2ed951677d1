#pragma once

#include <ctime>
#include <exception>
#include <string>
#include <string_view>

namespace dcf::log {

// What an error block says of a failure: its "Error #", "Error Source" and
// "Error Description" lines. A database error gives its SQLSTATE with the
// native code, the driver and the driver's message.
struct ErrorFields {
    std::string number;
    std::string source;
    std::string description;
};

ErrorFields describeError(const std::exception& error);

// The first line of every error block: "**** Error with file: " + file +
// " at " + the date and the time.
std::string errorBlockHeading(std::string_view file, const std::tm& when);

} // namespace dcf::log
