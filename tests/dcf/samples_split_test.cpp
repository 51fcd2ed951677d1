#include "dcf/dcf_line_reader.h"
#include "dcf/dcf_splitter.h"
#include "dcf/record_types.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace dcf {
namespace {

// The files a newcomer converts first must split without a single problem.
TEST(StagingSamples, EverySampleLineSplitsWhole) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(DCF_SAMPLES_DIR)) {
        ++files;
        DcfLineReader reader(entry.path());
        DcfLine line;
        while (reader.next(line)) {
            const RecordType* type = findRecordType(line.text);
            ASSERT_NE(type, nullptr) << entry.path() << " line " << line.number;
            if (type->staged) {
                const SplitLine split = splitDcfLine(line.text, type->fieldCount);
                EXPECT_TRUE(split.complete)
                    << entry.path() << " line " << line.number << ": " << split.problem;
            }
        }
    }
    EXPECT_GT(files, 0);
}

} // namespace
} // namespace dcf
