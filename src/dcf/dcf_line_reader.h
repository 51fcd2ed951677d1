#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace dcf {

struct DcfLine {
    std::string text;        // UTF-8, without its line end
    bool hasNul = false;     // the line holds a NUL byte and must not be staged
    std::int64_t number = 0; // 1 for the first line of the file
};

// Reads a DCF file one line at a time through a fixed buffer, so memory
// follows the longest line, never the size of the file.
//
// A line ends at CR LF, LF or a lone CR; the last line may lack an end. A
// UTF-8 byte-order mark at the start of the file is dropped. A line that is
// not valid UTF-8 is read as Windows-1252 as a whole.
class DcfLineReader {
public:
    // Throws std::runtime_error naming the file when it cannot be opened or
    // is not a regular file (a folder, a FIFO, a device). The buffer holds at
    // least four bytes.
    explicit DcfLineReader(const std::filesystem::path& path, std::size_t bufferSize = 64 * 1024);

    // Fills `line` with the next line; false at the end of the file. Throws
    // std::runtime_error when reading fails.
    bool next(DcfLine& line);

    std::int64_t bytesRead() const { return consumedBefore_ + static_cast<std::int64_t>(pos_); }
    std::int64_t totalBytes() const { return totalBytes_; }
    std::int64_t lineCount() const { return lineCount_; }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    bool fill();
    void skipByteOrderMark();

    std::filesystem::path path_;
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;             // next unread byte of buffer_
    std::size_t end_ = 0;             // bytes of buffer_ holding data
    std::int64_t consumedBefore_ = 0; // file bytes before buffer_
    std::int64_t totalBytes_ = 0;
    std::int64_t lineCount_ = 0;
    std::string raw_; // the bytes of the line being assembled
};

} // namespace dcf
