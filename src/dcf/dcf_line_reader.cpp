#include "dcf/dcf_line_reader.h"

#include "dcf/text_encoding.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dcf {
namespace {

// The first fill must hold a whole byte-order mark.
constexpr std::size_t kMinBuffer = 4;

std::string describe(const std::filesystem::path& path, const char* what, int error) {
    return std::string(what) + " the DCF file \"" + path.string() + "\": " + std::strerror(error);
}

} // namespace

DcfLineReader::DcfLineReader(const std::filesystem::path& path, std::size_t bufferSize)
    : path_(path), buffer_(std::max<std::size_t>(bufferSize, kMinBuffer)) {
    // Opened without waiting and checked before a byte is read: a FIFO
    // would block the open, and a device such as /dev/zero never ends a line.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw std::runtime_error(describe(path, "Cannot open", errno));
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        const int error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        throw std::runtime_error(describe(path, "Cannot read", error) + " (not a regular file)");
    }
    file_.reset(::fdopen(fd, "rb"));
    if (!file_) {
        const int error = errno;
        ::close(fd);
        throw std::runtime_error(describe(path, "Cannot open", error));
    }
    totalBytes_ = static_cast<std::int64_t>(status.st_size);
    skipByteOrderMark();
}

void DcfLineReader::skipByteOrderMark() {
    static constexpr char kBom[] = "\xEF\xBB\xBF";
    // fill() returns fewer bytes than the buffer holds only at the end of the file.
    if (fill() && end_ >= 3 && std::memcmp(buffer_.data(), kBom, 3) == 0) {
        pos_ = 3;
    }
}

bool DcfLineReader::fill() {
    consumedBefore_ += static_cast<std::int64_t>(end_);
    pos_ = 0;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
    if (end_ == 0 && std::ferror(file_.get())) {
        const int error = errno;
        throw std::runtime_error(describe(path_, "Cannot read", error));
    }
    return end_ > 0;
}

bool DcfLineReader::next(DcfLine& line) {
    raw_.clear();
    bool started = false; // any byte of this line, its end included, consumed
    for (;;) {
        if (pos_ == end_ && !fill()) {
            if (!started) {
                return false; // nothing after the last line end is a line
            }
            break;
        }
        started = true;
        const char* begin = buffer_.data() + pos_;
        const char* stop = buffer_.data() + end_;
        const char* found =
            std::find_if(begin, stop, [](char c) { return c == '\n' || c == '\r'; });
        raw_.append(begin, found);
        pos_ = static_cast<std::size_t>(found - buffer_.data());
        if (found == stop) {
            continue;
        }
        const char ending = *found;
        ++pos_;
        // A CR may be the last byte of the buffer while its LF is not.
        if (ending == '\r' && (pos_ < end_ || fill()) && buffer_[pos_] == '\n') {
            ++pos_;
        }
        break;
    }
    line.hasNul = raw_.find('\0') != std::string::npos;
    if (isValidUtf8(raw_)) {
        line.text.swap(raw_);
    } else {
        line.text = cp1252ToUtf8(raw_);
    }
    line.number = ++lineCount_;
    return true;
}

} // namespace dcf
