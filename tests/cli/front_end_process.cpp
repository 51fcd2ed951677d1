#include "front_end_process.h"

#include "test_database.h"

#include <array>
#include <chrono>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dcf::test {

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;

[[noreturn]] void execFrontEnd(const std::string& program, const std::vector<std::string>& args,
                               const fs::path& folder, const ProcessOptions& options,
                               int pipeWriter) {
    const int out = pipeWriter >= 0
                        ? pipeWriter
                        : ::open(outputFile(folder).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(errorFile(folder).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    if (options.unprivileged && runsAsRoot()) {
        // Leak reports need the suppressions file, which nobody may not read.
        ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            ::_exit(126);
        }
    }
    std::vector<char*> argv = {const_cast<char*>(program.c_str())};
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
}

} // namespace

std::vector<std::string> targetArgs(const TestDatabase& database) {
    if (database.sqliteFile().empty() || database.target().find('=') != std::string::npos) {
        return {"--connect", database.target()};
    }
    return {"--database", database.target()};
}

fs::path outputFile(const fs::path& folder) {
    return folder / "stdout.txt";
}

fs::path errorFile(const fs::path& folder) {
    return folder / "stderr.txt";
}

bool runsAsRoot() {
    return ::geteuid() == 0;
}

Process runFrontEnd(const std::vector<std::string>& args, const fs::path& folder,
                    const ProcessOptions& options) {
    std::array<int, 2> pipe{-1, -1};
    if (options.closedOutput && ::pipe(pipe.data()) != 0) {
        return {};
    }
    std::string program = DCF_CLI_PROGRAM;
    if (options.unprivileged && runsAsRoot()) {
        // The build tree may lie where nobody cannot reach it.
        const fs::path copy = folder / "dcfconvert-cli";
        fs::copy_file(program, copy, fs::copy_options::overwrite_existing);
        fs::permissions(copy, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
        program = copy.string();
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (options.closedOutput) {
            ::close(pipe[0]);
        }
        execFrontEnd(program, args, folder, options, pipe[1]);
    }
    if (options.closedOutput) {
        // Both ends gone from here: the child's writes meet a closed pipe.
        ::close(pipe[0]);
        ::close(pipe[1]);
    }
    if (options.whileRunning) {
        options.whileRunning(pid);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    Process result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    if (!options.closedOutput) {
        result.out = readFile(outputFile(folder));
    }
    result.err = readFile(errorFile(folder));
    return result;
}

bool waitForText(const fs::path& file, std::string_view text, pid_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::chrono::steady_clock::now() < deadline) {
        std::error_code missing;
        if (fs::exists(file, missing) && readFile(file).find(text) != std::string::npos) {
            return true;
        }
        // Asked without reaping, so that the caller still gets its status.
        siginfo_t info{};
        if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
            info.si_pid != 0) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

} // namespace dcf::test
