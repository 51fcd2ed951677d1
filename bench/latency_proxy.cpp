// A TCP relay that holds every chunk for a fixed time before passing it on, so
// a database client can be measured as if its server were across a slow
// network. It counts the client's round trips, the number the delay multiplies.
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* usageText =
    "usage: latency_proxy --listen PORT --to HOST:PORT --delay-ms N [--count-file FILE]\n";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Options {
    std::uint16_t listenPort = 0;
    std::string upstreamHost;
    std::string upstreamPort;
    std::chrono::milliseconds delay{0};
    std::filesystem::path countFile;
};

std::uint64_t parseNumber(std::string_view text, std::uint64_t minimum, std::uint64_t maximum,
                          std::string_view what) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < minimum || value > maximum) {
        throw UsageError(std::string(what) + " must be a number from " + std::to_string(minimum) +
                         " to " + std::to_string(maximum) + ", not '" + std::string(text) + "'");
    }
    return value;
}

void setUpstream(Options& options, std::string_view target) {
    const std::size_t colon = target.rfind(':');
    if (colon == std::string_view::npos || colon == 0) {
        throw UsageError("--to needs HOST:PORT, not '" + std::string(target) + "'");
    }
    std::string_view host = target.substr(0, colon);
    // "[::1]:5432" names an IPv6 host; the brackets only separate it from the port.
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    options.upstreamHost = host;
    options.upstreamPort =
        std::to_string(parseNumber(target.substr(colon + 1), 1, 65535, "the --to port"));
}

Options parseOptions(int argc, char** argv) {
    std::map<std::string_view, std::string_view> given;
    for (int index = 1; index < argc; index += 2) {
        const std::string_view flag = argv[index];
        if (flag != "--listen" && flag != "--to" && flag != "--delay-ms" &&
            flag != "--count-file") {
            throw UsageError("unknown argument '" + std::string(flag) + "'");
        }
        if (index + 1 >= argc || *argv[index + 1] == '\0') {
            throw UsageError(std::string(flag) + " needs a value");
        }
        given[flag] = argv[index + 1];
    }
    if (!given.contains("--listen") || !given.contains("--to") || !given.contains("--delay-ms")) {
        throw UsageError("--listen, --to and --delay-ms are all required");
    }
    Options options;
    options.listenPort =
        static_cast<std::uint16_t>(parseNumber(given["--listen"], 0, 65535, "--listen"));
    setUpstream(options, given["--to"]);
    const std::uint64_t delay = parseNumber(given["--delay-ms"], 0, 3'600'000, "--delay-ms");
    options.delay = std::chrono::milliseconds(static_cast<std::int64_t>(delay));
    options.countFile = given["--count-file"]; // left empty, the totals go to stdout
    return options;
}

class SocketFd {
public:
    explicit SocketFd(int fd = -1) : fd_(fd) {}
    SocketFd(SocketFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    ~SocketFd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    [[nodiscard]] int get() const { return fd_; }

private:
    int fd_;
};

using AddressList = std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)>;

// Resolved once at start, so a mistyped host fails at once rather than per connection.
AddressList resolveUpstream(const Options& options) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int status =
        ::getaddrinfo(options.upstreamHost.c_str(), options.upstreamPort.c_str(), &hints, &found);
    if (status != 0) {
        throw UsageError("cannot resolve '" + options.upstreamHost + "': " + gai_strerror(status));
    }
    return AddressList(found, &::freeaddrinfo);
}

// Small messages must leave at once; Nagle's wait would add a delay of its own.
void setNoDelay(int fd) {
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

SocketFd connectUpstream(const addrinfo* addresses) {
    for (const addrinfo* address = addresses; address != nullptr; address = address->ai_next) {
        SocketFd fd(::socket(address->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0));
        if (fd.get() >= 0 && ::connect(fd.get(), address->ai_addr, address->ai_addrlen) == 0) {
            setNoDelay(fd.get());
            return fd;
        }
    }
    return SocketFd();
}

SocketFd openListener(std::uint16_t port, std::uint16_t& boundPort) {
    SocketFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const int on = 1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    if (fd.get() < 0 || ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::bind(fd.get(), generic, length) != 0 || ::listen(fd.get(), 64) != 0 ||
        ::getsockname(fd.get(), generic, &length) != 0) {
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port) + ": " +
                                 std::strerror(errno));
    }
    boundPort = ntohs(address.sin_port);
    return fd;
}

struct Totals {
    std::atomic<std::uint64_t> roundTrips{0};
    std::atomic<std::uint64_t> clientBytes{0};
    std::atomic<std::uint64_t> serverBytes{0};
    std::atomic<std::uint64_t> clientMessages{0};
    std::atomic<std::uint64_t> serverMessages{0};
    std::atomic<std::uint64_t> connections{0};
};

Totals totals;
// Connections closing together, and the final report, take turns at the count file.
std::mutex reportMutex;

std::string formatTotals() {
    return "round_trips " + std::to_string(totals.roundTrips) + "\nclient_bytes " +
           std::to_string(totals.clientBytes) + "\nserver_bytes " +
           std::to_string(totals.serverBytes) + "\nconnections " +
           std::to_string(totals.connections) + "\nclient_messages " +
           std::to_string(totals.clientMessages) + "\nserver_messages " +
           std::to_string(totals.serverMessages) + "\n";
}

// Written beside the file and renamed over it, so a reader never sees half of it.
bool writeCountFile(const std::filesystem::path& file, const std::string& text) {
    const std::filesystem::path temporary =
        file.string() + ".tmp." + std::to_string(static_cast<long>(::getpid()));
    std::ofstream out(temporary, std::ios::trunc);
    out << text;
    out.close();
    std::error_code error;
    if (out) {
        std::filesystem::rename(temporary, file, error);
    }
    if (!out || error) {
        std::fprintf(stderr, "latency_proxy: cannot write %s: %s\n", file.c_str(),
                     error ? error.message().c_str() : std::strerror(errno));
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

bool reportTotals(const Options& options) {
    const std::string text = formatTotals();
    if (options.countFile.empty()) {
        std::fputs(text.c_str(), stdout);
        return std::fflush(stdout) == 0;
    }
    return writeCountFile(options.countFile, text);
}

struct Chunk {
    Clock::time_point due;
    std::vector<char> bytes; // empty: the source has closed
};

// One direction's chunks in the order read; their due times only ever grow.
class ChunkQueue {
public:
    void push(Chunk chunk) {
        const std::lock_guard lock(mutex_);
        chunks_.push_back(std::move(chunk));
        ready_.notify_one();
    }
    Chunk pop() {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return !chunks_.empty(); });
        Chunk chunk = std::move(chunks_.front());
        chunks_.pop_front();
        return chunk;
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Chunk> chunks_;
};

enum class Direction { none, clientToServer, serverToClient };

// What both directions of one connection share: the side that spoke last.
class TrafficLog {
public:
    void noteChunk(Direction direction, std::size_t size) {
        const bool fromClient = direction == Direction::clientToServer;
        (fromClient ? totals.clientBytes : totals.serverBytes) += size;
        ++(fromClient ? totals.clientMessages : totals.serverMessages);
        const std::lock_guard lock(mutex_);
        // The client speaking first, or again after the server answered, starts a round trip.
        if (fromClient && lastDirection_ != Direction::clientToServer) {
            ++totals.roundTrips;
        }
        lastDirection_ = direction;
    }

private:
    std::mutex mutex_;
    Direction lastDirection_ = Direction::none;
};

// Reads until the source ends, stamping each chunk with the time it may leave.
void readSide(int source, Direction direction, std::chrono::milliseconds delay, TrafficLog& log,
              ChunkQueue& queue) {
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t received = ::recv(source, buffer.data(), buffer.size(), 0);
        if (received < 0 && errno == EINTR) {
            continue;
        }
        if (received <= 0) {
            break; // end of stream, a reset and our own shutdown all end this direction
        }
        const Clock::time_point due = Clock::now() + delay;
        log.noteChunk(direction, static_cast<std::size_t>(received));
        queue.push({due, std::vector<char>(buffer.begin(), buffer.begin() + received)});
    }
    // The end travels like data, so it arrives after everything sent before it.
    queue.push({Clock::now() + delay, {}});
}

bool sendAll(int destination, const std::vector<char>& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t written =
            ::send(destination, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(written);
    }
    return true;
}

// Sends each chunk when due; at the source's end, half-closes the destination.
void writeSide(ChunkQueue& queue, int destination, int source) {
    for (;;) {
        const Chunk chunk = queue.pop();
        std::this_thread::sleep_until(chunk.due);
        if (chunk.bytes.empty()) {
            ::shutdown(destination, SHUT_WR);
            return;
        }
        if (!sendAll(destination, chunk.bytes)) {
            // Nobody can take the rest: wake the blocked reader (its recv returns 0)
            // and drop what it queued until its end.
            ::shutdown(source, SHUT_RD);
            while (!queue.pop().bytes.empty()) {
            }
            return;
        }
    }
}

void relay(int client, int server, std::chrono::milliseconds delay) {
    TrafficLog log;
    ChunkQueue toServer;
    ChunkQueue toClient;
    // One thread per reader and writer, so a slow write never holds up reading.
    const std::jthread clientReader(
        [&] { readSide(client, Direction::clientToServer, delay, log, toServer); });
    const std::jthread serverWriter([&] { writeSide(toServer, server, client); });
    const std::jthread serverReader(
        [&] { readSide(server, Direction::serverToClient, delay, log, toClient); });
    writeSide(toClient, client, server);
}

void serveConnection(const SocketFd& client, const addrinfo* upstream, const Options& options) {
    setNoDelay(client.get());
    const SocketFd server = connectUpstream(upstream);
    if (server.get() < 0) {
        std::fprintf(stderr, "latency_proxy: cannot connect to %s:%s: %s\n",
                     options.upstreamHost.c_str(), options.upstreamPort.c_str(),
                     std::strerror(errno));
        return;
    }
    relay(client.get(), server.get(), options.delay);
}

void acceptLoop(int listener, const addrinfo* upstream, const Options& options) {
    for (;;) {
        SocketFd client(::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC));
        if (client.get() < 0) {
            if (errno != EINTR && errno != ECONNABORTED) {
                std::fprintf(stderr, "latency_proxy: accept: %s\n", std::strerror(errno));
                // Out of descriptors, most likely; closing connections will free some.
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            continue;
        }
        ++totals.connections;
        try {
            std::thread([accepted = std::move(client), upstream, &options] {
                serveConnection(accepted, upstream, options);
                // The sockets close before the report, so the file never counts an open one.
                if (!options.countFile.empty()) {
                    const std::lock_guard lock(reportMutex);
                    reportTotals(options);
                }
            }).detach();
        } catch (const std::system_error& error) {
            std::fprintf(stderr, "latency_proxy: no thread for a connection: %s\n", error.what());
        }
    }
}

// Blocked in every thread, so only the main thread's sigwait sees them.
sigset_t blockStopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return signals;
}

[[noreturn]] void serve(const Options& options) {
    const sigset_t stopSignals = blockStopSignals();
    const AddressList upstream = resolveUpstream(options);
    std::uint16_t boundPort = 0;
    const SocketFd listener = openListener(options.listenPort, boundPort);
    std::printf("port: %u\n", static_cast<unsigned>(boundPort));
    std::fflush(stdout);
    std::thread(acceptLoop, listener.get(), upstream.get(), std::cref(options)).detach();

    int received = 0;
    sigwait(&stopSignals, &received);
    const std::lock_guard lock(reportMutex);
    const bool reported = reportTotals(options);
    // Connection threads may still be running on this frame's data, so leave
    // without unwinding it or running static destructors.
    std::_Exit(reported ? 0 : 1);
}

} // namespace

int main(int argc, char** argv) {
    try {
        const Options options = parseOptions(argc, argv);
        serve(options);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "latency_proxy: %s\n%s", error.what(), usageText);
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "latency_proxy: %s\n", error.what());
        return 2;
    }
}
