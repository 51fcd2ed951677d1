#include "log/owner_only_append.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dcf::log {
namespace {

[[noreturn]] void throwWriteFailure(const std::filesystem::path& file, std::string_view what,
                                    int error) {
    throw std::runtime_error("Cannot write " + std::string(what) + " " + file.string() + ": " +
                             std::strerror(error) + ". " + std::string(writeAdvice));
}

} // namespace

void appendShowingNul(std::string& bytes, std::string_view item) {
    std::size_t from = 0;
    for (std::size_t nul = item.find('\0'); nul != std::string_view::npos;
         nul = item.find('\0', from)) {
        bytes.append(item.substr(from, nul - from)).append("\\0");
        from = nul + 1;
    }
    bytes.append(item.substr(from));
}

void appendOwnerOnly(const std::filesystem::path& file, std::string_view bytes,
                     std::string_view what, std::string_view header) {
    // Owner only: the log and its entries quote names and addresses.
    const int handle = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (handle < 0) {
        throwWriteFailure(file, what, errno);
    }
    std::string headed;
    struct stat status {};
    if (!header.empty() && ::fstat(handle, &status) == 0 && status.st_size == 0) {
        headed.append(header).append(bytes);
        bytes = headed;
    }
    std::string_view rest(bytes);
    while (!rest.empty()) {
        const ssize_t written = ::write(handle, rest.data(), rest.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            const int writeError = written < 0 ? errno : ENOSPC;
            ::close(handle);
            throwWriteFailure(file, what, writeError);
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::close(handle) != 0 && errno != EINTR) {
        throwWriteFailure(file, what, errno);
    }
}

void removeLeftover(const std::filesystem::path& file, std::string_view what) {
    std::error_code error;
    std::filesystem::remove(file, error);
    if (error) {
        throw std::runtime_error("Cannot delete the old " + std::string(what) + " " +
                                 file.string() + ": " + error.message() + ". " +
                                 std::string(writeAdvice));
    }
}

} // namespace dcf::log
