#include "log/log_file.h"
#include "log_test_folder.h"

#include <gtest/gtest.h>

namespace {

std::tm nineFiveSeven() {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 8;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 7;
    return when;
}

struct NameCase {
    const char* dcfName;
    const char* logName;
};

TEST(FinalLogName, FirstElevenCharactersOfTheDcfName) {
    const NameCase cases[] = {
        {"a.dcf", "a.dcfConversionLog090507AM.txt"},             // shorter: whole name
        {"filer12.dcf", "filer12.dcfConversionLog090507AM.txt"}, // exactly 11
        {"filer123.dcf", "filer123.dcConversionLog090507AM.txt"},
        {"Ürün-Åsa-Ødegård.dcf", "Ürün-Åsa-Ød"
                                 "ConversionLog090507AM.txt"},
        {"報告書一二三四五六七八.dcf", "報告書一二三四五六七八"
                                       "ConversionLog090507AM.txt"},
        {"😀😀😀😀😀😀😀😀😀😀😀😀.dcf", "😀😀😀😀😀😀😀😀😀😀😀"
                             "ConversionLog090507AM.txt"},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        EXPECT_EQ(dcf::log::finalLogName(folder.path(), c.dcfName, nineFiveSeven()),
                  folder.path() / c.logName)
            << c.dcfName;
    }
}

TEST(FinalLogName, NeverReplacesAnExistingFile) {
    TempFolder folder;
    const auto name = [&] {
        return dcf::log::finalLogName(folder.path(), "filer.dcf", nineFiveSeven());
    };
    const auto first = folder.path() / "filer.dcfConversionLog090507AM.txt";
    EXPECT_EQ(name(), first);
    touch(first);
    EXPECT_EQ(name(), folder.path() / "filer.dcfConversionLog090507AM-2.txt");
    touch(folder.path() / "filer.dcfConversionLog090507AM-2.txt");
    EXPECT_EQ(name(), folder.path() / "filer.dcfConversionLog090507AM-3.txt");
    // An earlier run's entries file holds the name as well.
    touch(folder.path() / "filer.dcfConversionLog090507AM-3.csv");
    EXPECT_EQ(name(), folder.path() / "filer.dcfConversionLog090507AM-4.txt");
}

TEST(FinalLogName, MoveKeepsTheBytesAndLeavesNoWorkingFile) {
    TempFolder folder;
    const dcf::log::LogFile log(folder.path());
    log.writeEntry("RCPT,1", "problem");
    const std::string bytes = readBytes(log.path());
    const auto target = dcf::log::finalLogName(folder.path(), "filer.dcf", nineFiveSeven());
    EXPECT_EQ(dcf::log::moveToFinalName(log, target), target);
    EXPECT_FALSE(log.exists());
    EXPECT_EQ(readBytes(target), bytes);
}

TEST(FinalLogName, MoveWithoutAWorkingFileNamesIt) {
    TempFolder folder;
    const dcf::log::LogFile log(folder.path());
    try {
        dcf::log::moveToFinalName(log, folder.path() / "x.txt");
        FAIL() << "moving a missing working file succeeded";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find(log.path().string()), std::string::npos);
    }
}

} // namespace
