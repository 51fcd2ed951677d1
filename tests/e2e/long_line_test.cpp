// A whole run over lines of 50 MB, made here and never committed: a text
// record's memo is stored whole and a line of no known type is passed over.
#include "dcf_lines.h"
#include "run_fixture.h"

#include <fstream>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

constexpr std::size_t kLineBytes = 50 * 1024 * 1024;

// kLineBytes of varied text, two-byte characters among them, with no comma,
// quote or line end.
std::string longValue() {
    static const std::string piece = "Memo \xC3\xA9t\xC3\xA9 0123456789 ";
    std::string value;
    value.reserve(kLineBytes + piece.size());
    while (value.size() < kLineBytes) {
        value += piece;
    }
    value.resize(kLineBytes - kLineBytes % piece.size());
    return value;
}

using LongLineTest = RunTest;

TEST_P(LongLineTest, AFiftyMegabyteMemoIsStoredWholeAndALineOfNoTypeIsPassedOver) {
    const std::string value = longValue();
    const auto path = files_.path() / "long.DCF_ZV";
    {
        std::ofstream file(path, std::ios::binary);
        file << kHeader << kFiler << kName << formLine("1", "2", "2") << "TEXT,3,1,,,A,\"" << value
             << "\"\r\n"
             << "ZZZZ," << value << "\r\n"
             << "TEXT,5,1,,,B,last,\r\n";
        ASSERT_TRUE(file.good());
    }
    request_.file = app::selectedFile(path);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    const auto result = run();
    EXPECT_EQ(result.outcome, app::RunOutcome::Saved);
    EXPECT_EQ(result.linesRead, 7);
    EXPECT_EQ(view_.questions.back().kind, run::QuestionKind::SaveClean);

    auto memos = connection().prepare("select memo_a, memo_b from memos");
    memos->execute();
    ASSERT_TRUE(memos->next());
    const std::string stored = memos->text("memo_a");
    EXPECT_EQ(stored.size(), value.size());
    EXPECT_TRUE(stored == value) << "the memo differs from the text as read";
    EXPECT_EQ(memos->text("memo_b"), "last");
    EXPECT_FALSE(memos->next());
}

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer build reads each line byte by byte three times over and
// takes 30 to 50 s a run through a driver: there only the native target runs.
INSTANTIATE_TEST_SUITE_P(NativeSqlite, LongLineTest, ::testing::Values(Target::NativeSqlite),
                         TargetNamer{});
#else
DCF_ON_ALL_DATABASES(LongLineTest);
#endif

} // namespace
} // namespace dcf::test
