// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "platform/process/process.h"

namespace lumen {
namespace {

namespace fs = std::filesystem;

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory = fs::temp_directory_path() / ("lumen_process_" + std::to_string(::getpid()));
        fs::create_directories(directory);
        previous = fs::current_path();
        fs::current_path(directory);
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(directory);
    }
    void writeScript(const std::string& name, const std::string& body) {
        std::ofstream(directory / name) << "#!/bin/sh\n" << body << "\n";
        fs::permissions(directory / name, fs::perms::owner_all);
    }

    fs::path directory;
    fs::path previous;
};

TEST_F(ProcessTest, BareNamesAreLookedUpInTheCurrentDirectoryThenThePath) {
    writeScript("clean_wf.exe", "exit 0");
    EXPECT_EQ(findProgram("clean_wf.exe"), "./clean_wf.exe");
    const auto shell = findProgram("sh");
    ASSERT_TRUE(shell.has_value());
    EXPECT_EQ(fs::path(*shell).filename(), "sh");
    EXPECT_FALSE(findProgram("no_such_program_lumen"));
    EXPECT_FALSE(findProgram(""));
    std::ofstream(directory / "plain.txt") << "not a program";
    EXPECT_FALSE(findProgram("plain.txt"));
}

TEST_F(ProcessTest, FileTimeIsCalendarFieldsInUtc) {
    const fs::path file = directory / "lumen.exe";
    std::ofstream(file) << "x";
    struct utimbuf times {};
    times.actime = times.modtime = 1109851445;  // 2005-03-03 12:04:05 UTC
    ASSERT_EQ(::utime(file.c_str(), &times), 0);
    const auto time = fileWriteTime(file.string());
    ASSERT_TRUE(time.has_value());
    EXPECT_EQ(std::tie(time->year, time->month, time->day, time->hour, time->minute, time->second),
              std::tuple(2005, 3, 3, 12, 4, 5));
    EXPECT_FALSE(fileWriteTime((directory / "missing").string()));
}

TEST(ProgramPathTest, NamesThisTestProgram) { EXPECT_EQ(fs::path(programPath()).filename(), "test_platform_process"); }

}  // namespace
}  // namespace lumen
