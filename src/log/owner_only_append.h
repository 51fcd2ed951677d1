#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace dcf::log {

// Appends bytes to a file readable by its owner only, creating it if need
// be, in one open-write-close: no handle is held between writes, so what
// was written survives the program. `header` goes first into a file that
// is still empty. Throws std::runtime_error that names `what` ("the
// conversion log"), the file and the reason.
void appendOwnerOnly(const std::filesystem::path& file, std::string_view bytes,
                     std::string_view what, std::string_view header = {});

// Deletes a working file an earlier run left; throws std::runtime_error
// naming `what` ("conversion log"), the file and the reason when it stays.
void removeLeftover(const std::filesystem::path& file, std::string_view what);

// Appends item to bytes with each NUL byte written as the two characters
// \0: a NUL of a DCF line stays visible and the file stays text.
void appendShowingNul(std::string& bytes, std::string_view item);

// What a failure to write the logs folder tells the user to check.
inline constexpr std::string_view writeAdvice =
    "Check that the logs folder exists and can be written.";

} // namespace dcf::log
