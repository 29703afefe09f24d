// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "platform/window/launch_options.h"

namespace lumen {
namespace {

LaunchOptions parse(std::vector<std::string_view> arguments) { return LaunchOptions::parse(arguments); }

TEST(LaunchOptionsTest, ReadsEveryOption) {
    const LaunchOptions options = parse({"--home", "/h", "--headless", "800x600", "--script", "s.txt", "--print-to",
                                         "r.pdf", "--paper", "Letter", "2"});
    ASSERT_FALSE(options.error);
    EXPECT_EQ(options.home, "/h");
    EXPECT_EQ(options.headlessScreen, (Size{800, 600}));
    EXPECT_EQ(options.script, "s.txt");
    EXPECT_EQ(options.printTo, "r.pdf");
    EXPECT_EQ(options.paper.hundredthMm, (Size{21590, 27940}));
    EXPECT_EQ(options.paper.media, "na_letter_8.5x11in");
    EXPECT_EQ(options.printerIndex, 2);
    EXPECT_EQ(parse({}).paper.hundredthMm, (Size{21000, 29700})) << "A4 unless told";
}

TEST(LaunchOptionsTest, PrinterIndexIsAWholeNumberLikePercentD) {
    EXPECT_EQ(parse({}).printerIndex, 0);
    EXPECT_EQ(parse({"3"}).printerIndex, 3);
    EXPECT_EQ(parse({"-1"}).printerIndex, -1);
    EXPECT_EQ(parse({"99999999999"}).printerIndex, 0);
    EXPECT_FALSE(parse({}).isHeadless());
}

// Digits only stay the printer index; any other positional argument is the
// recording to open.
TEST(LaunchOptionsTest, APositionalArgumentThatIsNoNumberIsARecording) {
    struct Case {
        std::vector<std::string_view> arguments;
        std::optional<std::string> recording;
        int32_t printer;
        std::optional<std::string> error;  // a part of the message
    };
    const std::vector<Case> cases{
        {{"208.hea"}, "208.hea", 0, {}},
        {{"My file.edf"}, "My file.edf", 0, {}},
        {{"3rd"}, "3rd", 0, {}},
        {{"2", "/data/ishne.ecg"}, "/data/ishne.ecg", 2, {}},
        {{"--headless", "800x600", "--script", "s.txt", "a.bdf"}, "a.bdf", 0, {}},
        {{"208"}, {}, 208, {}},
        {{"a.edf", "b.edf"}, "a.edf", 0, "one recording file"},
        {{"--home", "/h", "a.edf"}, "a.edf", 0, "either --home or a recording file"},
        {{"a.edf", "--home", "/h"}, "a.edf", 0, "either --home or a recording file"},
        {{"-x"}, {}, 0, "unknown option -x"},
    };
    for (const Case& c : cases) {
        const LaunchOptions options = parse(c.arguments);
        const std::string where = c.arguments.empty() ? "" : std::string(c.arguments.back());
        EXPECT_EQ(options.recordingFile, c.recording) << where;
        EXPECT_EQ(options.printerIndex, c.printer) << where;
        ASSERT_EQ(options.error.has_value(), c.error.has_value()) << where;
        if (c.error) {
            EXPECT_NE(options.error->find(*c.error), std::string::npos) << *options.error;
        }
    }
}

TEST(LaunchOptionsTest, BadCommandLinesAreErrors) {
    const std::vector<std::vector<std::string_view>> bad{{"--headless"},
                                                         {"--headless", "800"},
                                                         {"--headless", "0x600"},
                                                         {"--headless", "800x600x3"},
                                                         {"--frobnicate"},
                                                         {"--paper", "a5"},
                                                         {"--paper"}};
    for (const auto& arguments : bad) EXPECT_TRUE(parse(arguments).error) << arguments.front();
    EXPECT_TRUE(parse({"--home", "/h", "--help", "--frobnicate"}).help);
    EXPECT_FALSE(parse({"--home", "/h", "--help", "--frobnicate"}).error);
    EXPECT_EQ(parse({"--script", "s"}).headlessScreen, (Size{1024, 768}));
}

}  // namespace
}  // namespace lumen
