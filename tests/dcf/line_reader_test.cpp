// Reading DCF files: line ends, byte-order mark, Windows-1252 lines, NUL bytes,
// long lines, progress and failures. Each file is read through several buffer
// sizes so that line ends falling on a buffer boundary are covered.
#include "dcf/dcf_line_reader.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace dcf {
namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        path_ = fs::temp_directory_path() /
                ("dcf_line_reader_test_" + std::to_string(random()) + std::to_string(random()));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    fs::path write(const std::string& bytes) const {
        const fs::path file = path_ / "input.dcf";
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

struct ReadCase {
    std::string name;
    std::string bytes;
    std::vector<std::string> lines;
    std::vector<bool> nul = {}; // per line; all false when empty
};

std::vector<ReadCase> readCases() {
    using namespace std::string_literals;
    return {
        {"EmptyFile", "", {}},
        {"CrLf", "a\r\nb\r\n", {"a", "b"}},
        {"Lf", "a\nb\n", {"a", "b"}},
        {"LoneCr", "a\rb\r", {"a", "b"}},
        {"LineEndsAcrossBufferBoundaries", "abc\r\ndefg\rhij\r\nk\r", {"abc", "defg", "hij", "k"}},
        {"MixedEndsAndEmptyLines", "a\r\r\nb\n\rc", {"a", "", "b", "", "c"}},
        {"NoFinalLineEnd", "FLR,1\nNAME,2", {"FLR,1", "NAME,2"}},
        {"TrailingEmptyLineCounts", "a\n\n", {"a", ""}},
        {"SingleLineEnd", "\r\n", {""}},
        {"ByteOrderMarkDropped",
         "\xEF\xBB\xBF"
         "FLR,1\r\nNAME",
         {"FLR,1", "NAME"}},
        {"ByteOrderMarkOnly", "\xEF\xBB\xBF", {}},
        {"ByteOrderMarkLaterKept",
         "a\n\xEF\xBB\xBF"
         "b",
         {"a", "\xEF\xBB\xBF"
               "b"}},
        {"Windows1252Line", "caf\xE9 \x92s\x80\n", {"café ’s€"}},
        {"Windows1252UndefinedBytes", "\x81\x8D\x8F\x90\x9D", {"\u0081\u008D\u008F\u0090\u009D"}},
        {"InvalidLineConvertedWhole", "é\xE9\n", {"Ã©é"}},
        {"EachLineDecidedAlone", "é\n\xE9\n", {"é", "é"}},
        {"NulFlagged", "a\0b\nc"s, {"a\0b"s, "c"}, {true, false}},
    };
}

class ReadLines : public ::testing::TestWithParam<std::tuple<ReadCase, std::size_t>> {};

TEST_P(ReadLines, GivesEachLineOnce) {
    const auto& [c, bufferSize] = GetParam();
    const TempFolder folder;
    DcfLineReader reader(folder.write(c.bytes), bufferSize);
    EXPECT_EQ(reader.totalBytes(), static_cast<std::int64_t>(c.bytes.size()));

    DcfLine line;
    std::vector<std::string> texts;
    while (reader.next(line)) {
        const std::size_t i = texts.size();
        EXPECT_EQ(line.number, static_cast<std::int64_t>(i + 1));
        EXPECT_EQ(line.hasNul, i < c.nul.size() && c.nul[i]) << "line " << i + 1;
        texts.push_back(line.text);
    }
    EXPECT_EQ(texts, c.lines);
    EXPECT_FALSE(reader.next(line));
    EXPECT_EQ(reader.lineCount(), static_cast<std::int64_t>(c.lines.size()));
    EXPECT_EQ(reader.bytesRead(), reader.totalBytes());
}

INSTANTIATE_TEST_SUITE_P(Reader, ReadLines,
                         ::testing::Combine(::testing::ValuesIn(readCases()),
                                            ::testing::Values(4, 5, 7, 65536)),
                         [](const auto& testInfo) {
                             return std::get<0>(testInfo.param).name + "_buffer" +
                                    std::to_string(std::get<1>(testInfo.param));
                         });

TEST(ReadLongLine, MegabyteLineBetweenShortOnes) {
    const std::string longLine = "TEXT,1,1,a,b,c,\"" + std::string(1 << 20, 'x') + "\"";
    const TempFolder folder;
    DcfLineReader reader(folder.write("FLR,1\r\n" + longLine + "\r\nEND"));
    DcfLine line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(reader.bytesRead(), 7); // progress follows the lines handed out
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line.text, longLine);
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line.text, "END");
    EXPECT_FALSE(reader.next(line));
}

TEST(ReadFailure, MissingFileIsNamed) {
    const TempFolder folder;
    const fs::path missing = folder.path() / "missing.dcf";
    try {
        DcfLineReader reader(missing);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(missing.string()), std::string::npos) << e.what();
    }
}

TEST(ReadFailure, FolderIsRefused) {
    const TempFolder folder;
    EXPECT_THROW(DcfLineReader reader(folder.path()), std::runtime_error);
}

} // namespace
} // namespace dcf
