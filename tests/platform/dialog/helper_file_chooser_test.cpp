// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/dialog/helper_file_chooser.h"

namespace lumen {
namespace {

namespace fs = std::filesystem;

const OpenFileRequest request{"Open a \"recording\" from $HOME", {"*.edf", "*.hea"}, "Holter recordings"};

// Fake dialog programs on a search path of their own: each writes its
// arguments, one a line, beside itself and answers as told.
class HelperFileChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory = fs::temp_directory_path() / ("lumen_chooser_" + std::to_string(::getpid()));
        fs::create_directories(directory);
        const char* path = std::getenv("PATH");
        previousPath = path != nullptr ? path : "";
        setenv("PATH", ("/nonexistent:relative:" + directory.string()).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", previousPath.c_str(), 1);
        fs::remove_all(directory);
    }
    void writeProgram(const std::string& name, const std::string& answer) {
        std::ofstream(directory / name) << "#!/bin/sh\nPATH=/usr/bin:/bin\n"
                                        << "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.args\"\n"
                                        << answer << "\n";
        fs::permissions(directory / name, fs::perms::owner_all);
    }
    std::vector<std::string> argumentsSeenBy(const std::string& name) const {
        std::ifstream file(directory / (name + ".args"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) lines.push_back(line);
        return lines;
    }

    fs::path directory;
    std::string previousPath;
};

TEST_F(HelperFileChooserTest, ArgumentsNameTheTitleAndPatterns) {
    EXPECT_EQ(
        zenityArguments(request),
        (std::vector<std::string>{"--file-selection", "--title=Open a \"recording\" from $HOME",
                                  "--file-filter=Holter recordings | *.edf *.hea", "--file-filter=All files | *"}));
    EXPECT_EQ(kdialogArguments(request),
              (std::vector<std::string>{"--title", "Open a \"recording\" from $HOME", "--getopenfilename", ".",
                                        "*.edf *.hea|Holter recordings"}));
}

// zenity first, kdialog when zenity cannot show a dialog; a cancel ends the
// choice; an answer longer than any path is none.
TEST_F(HelperFileChooserTest, TheFirstProgramThatAnswersIsBelieved) {
    struct Case {
        std::string zenity;   // its answer; empty: no zenity
        std::string kdialog;  // its answer; empty: no kdialog
        ChooserOutcome outcome;
        std::string path;
        std::string asked;  // the program whose arguments are checked
    };
    const std::string chosen = "printf '%s\\n' '/data/My file.edf'";
    const std::vector<Case> cases{
        {chosen, "exit 1", ChooserOutcome::Chosen, "/data/My file.edf", "zenity"},
        {"exit 1", chosen, ChooserOutcome::Cancelled, "", "zenity"},
        {"exit 5", chosen, ChooserOutcome::Chosen, "/data/My file.edf", "kdialog"},
        {"", chosen, ChooserOutcome::Chosen, "/data/My file.edf", "kdialog"},
        {"", "", ChooserOutcome::Unavailable, "", ""},
        {"head -c 70000 /dev/zero | tr '\\0' a", "", ChooserOutcome::Unavailable, "", "zenity"},
    };
    for (const Case& c : cases) {
        fs::remove_all(directory);
        fs::create_directories(directory);
        if (!c.zenity.empty()) writeProgram("zenity", c.zenity);
        if (!c.kdialog.empty()) writeProgram("kdialog", c.kdialog);
        const ChooserAnswer answer = chooseWithHelperProgram(request);
        EXPECT_EQ(answer.outcome, c.outcome) << c.zenity << " / " << c.kdialog;
        EXPECT_EQ(answer.path, c.path) << c.zenity << " / " << c.kdialog;
        if (c.asked == "zenity") {
            EXPECT_EQ(argumentsSeenBy("zenity"), zenityArguments(request));
        } else if (c.asked == "kdialog") {
            EXPECT_EQ(argumentsSeenBy("kdialog"), kdialogArguments(request));
        }
    }
}

}  // namespace
}  // namespace lumen
