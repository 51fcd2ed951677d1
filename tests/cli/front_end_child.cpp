#include "front_end_child.h"

#include <array>
#include <cerrno>
#include <regex>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace dcf::test {
namespace {

using Clock = std::chrono::steady_clock;

// Far beyond any run of the tests, so that only a hung child meets it.
constexpr auto kBound = std::chrono::minutes(5);

// The environment of this process with TMPDIR replaced, made before the fork.
std::vector<std::string> childEnvironment(const std::filesystem::path& tmpdir) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::string_view(*variable).rfind("TMPDIR=", 0) != 0) {
            variables.emplace_back(*variable);
        }
    }
    variables.push_back("TMPDIR=" + tmpdir.string());
    return variables;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (std::string& text : texts) {
        result.push_back(text.data());
    }
    result.push_back(nullptr);
    return result;
}

// A pipe the child writes one stream into and the watcher reads.
struct Stream {
    std::array<int, 2> fds{-1, -1};
    bool standardError = false;
    std::string pending;
    bool open = true;
};

class Watcher {
public:
    Watcher(pid_t pid, const KillWhen& killWhen) : pid_(pid), killWhen_(killWhen) {}

    ChildRun watch(std::array<Stream, 2>& streams);

private:
    void read(Stream& stream);
    void take(bool standardError, std::string text);
    int pollTimeout() const;

    pid_t pid_;
    const KillWhen& killWhen_;
    Clock::time_point start_ = Clock::now();
    std::optional<Clock::time_point> killAt_;
    bool decided_ = false;
    ChildRun run_;
};

ChildRun Watcher::watch(std::array<Stream, 2>& streams) {
    while (streams[0].open || streams[1].open) {
        std::array<pollfd, 2> fds{};
        for (std::size_t i = 0; i < 2; ++i) {
            fds[i] = {streams[i].open ? streams[i].fds[0] : -1, POLLIN, 0};
        }
        const int ready = ::poll(fds.data(), fds.size(), pollTimeout());
        if (ready < 0 && errno != EINTR) {
            ADD_FAILURE() << "poll failed: " << errno;
            ::kill(pid_, SIGKILL);
            break;
        }
        // Standard error first: the child writes a step before what it asks.
        for (const std::size_t i : {std::size_t{1}, std::size_t{0}}) {
            if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
                read(streams[i]);
            }
        }
        const Clock::time_point now = Clock::now();
        if (killAt_ && now >= *killAt_) {
            ::kill(pid_, SIGKILL);
            run_.killed = true;
            run_.killedAt = now - start_;
            killAt_.reset();
        }
        if (!run_.killed && now - start_ > kBound) {
            ADD_FAILURE() << "the front end still ran after " << kBound.count() << " minutes";
            ::kill(pid_, SIGKILL);
            killAt_.reset();
            decided_ = true;
        }
    }
    int status = 0;
    ::waitpid(pid_, &status, 0);
    run_.endedAt = Clock::now() - start_;
    // A kill that came after the child had ended by itself killed nothing.
    run_.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL && run_.killed;
    run_.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run_;
}

int Watcher::pollTimeout() const {
    if (!killAt_) {
        return 1000;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(*killAt_ - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

void Watcher::read(Stream& stream) {
    std::array<char, 65536> buffer{};
    const ssize_t got = ::read(stream.fds[0], buffer.data(), buffer.size());
    if (got <= 0) {
        if (got == 0 || errno != EINTR) {
            stream.open = false;
            if (!stream.pending.empty()) {
                take(stream.standardError, std::move(stream.pending));
            }
        }
        return;
    }
    stream.pending.append(buffer.data(), static_cast<std::size_t>(got));
    std::size_t end = 0;
    while ((end = stream.pending.find('\n')) != std::string::npos) {
        take(stream.standardError, stream.pending.substr(0, end));
        stream.pending.erase(0, end + 1);
    }
}

void Watcher::take(bool standardError, std::string text) {
    run_.lines.push_back({standardError, std::move(text), Clock::now() - start_});
    if (decided_ || !killWhen_) {
        return;
    }
    if (const std::optional<Moment> delay = killWhen_(run_.lines.back())) {
        decided_ = true;
        killAt_ = Clock::now() + *delay;
    }
}

} // namespace

ChildRun runFrontEnd(const std::vector<std::string>& args, const std::filesystem::path& tmpdir,
                     const KillWhen& killWhen) {
    std::vector<std::string> argvTexts = {DCF_CLI_PROGRAM};
    argvTexts.insert(argvTexts.end(), args.begin(), args.end());
    std::vector<char*> argv = pointers(argvTexts);
    std::vector<std::string> envTexts = childEnvironment(tmpdir);
    std::vector<char*> envp = pointers(envTexts);
    std::array<Stream, 2> streams;
    streams[1].standardError = true;
    for (Stream& stream : streams) {
        if (::pipe2(stream.fds.data(), O_CLOEXEC) != 0) {
            ADD_FAILURE() << "pipe failed: " << errno;
            return {};
        }
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(streams[0].fds[1], STDOUT_FILENO);
        ::dup2(streams[1].fds[1], STDERR_FILENO);
        ::execve(DCF_CLI_PROGRAM, argv.data(), envp.data());
        ::_exit(127);
    }
    for (Stream& stream : streams) {
        ::close(stream.fds[1]);
    }
    ChildRun run = Watcher(pid, killWhen).watch(streams);
    for (Stream& stream : streams) {
        ::close(stream.fds[0]);
    }
    return run;
}

std::string stepOf(const std::string& progressLine) {
    static const std::regex bar(" [0-9]+/[0-9]+");
    std::string step = progressLine.substr(0, progressLine.find("; read "));
    std::smatch found;
    if (std::regex_search(step, found, bar)) {
        step.erase(static_cast<std::size_t>(found.position(0)));
    }
    return step;
}

std::vector<Phase> phasesOf(const ChildRun& run) {
    std::vector<Phase> phases;
    const auto enter = [&](const std::string& name, Moment at) {
        if (!phases.empty() && phases.back().name == name) {
            return;
        }
        if (!phases.empty()) {
            phases.back().end = at;
        }
        phases.push_back({name, at, run.endedAt});
    };
    for (const ChildLine& line : run.lines) {
        if (line.standardError) {
            enter(stepOf(line.text), line.at);
        } else if (line.text.rfind("question: save-", 0) == 0) {
            enter("commit", line.at);
        } else if (line.text.rfind("log: ", 0) == 0 || line.text.rfind("outcome: ", 0) == 0) {
            enter("ended", line.at);
        }
    }
    return phases;
}

std::string phaseAtEnd(const ChildRun& run) {
    const std::vector<Phase> phases = phasesOf(run);
    return phases.empty() ? std::string() : phases.back().name;
}

} // namespace dcf::test
