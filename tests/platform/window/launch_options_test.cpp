#include <gtest/gtest.h>

#include <vector>

#include "platform/window/launch_options.h"

namespace lumen {
namespace {

LaunchOptions parse(std::vector<std::string_view> arguments) { return LaunchOptions::parse(arguments); }

TEST(LaunchOptionsTest, ReadsEveryOption)
{
    const LaunchOptions options =
        parse({"--home", "/h", "--headless", "800x600", "--script", "s.txt", "--print-to", "r.pdf", "--paper", "Letter", "2"});
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

TEST(LaunchOptionsTest, PrinterIndexIsALeadingNumberLikePercentD)
{
    EXPECT_EQ(parse({}).printerIndex, 0);
    EXPECT_EQ(parse({"abc"}).printerIndex, 0);
    EXPECT_EQ(parse({"3rd"}).printerIndex, 3);
    EXPECT_EQ(parse({"-1"}).printerIndex, -1);
    EXPECT_EQ(parse({"99999999999"}).printerIndex, 0);
    EXPECT_FALSE(parse({}).isHeadless());
}

TEST(LaunchOptionsTest, BadCommandLinesAreErrors)
{
    EXPECT_TRUE(parse({"--headless"}).error);
    EXPECT_TRUE(parse({"--headless", "800"}).error);
    EXPECT_TRUE(parse({"--headless", "0x600"}).error);
    EXPECT_TRUE(parse({"--headless", "800x600x3"}).error);
    EXPECT_TRUE(parse({"--frobnicate"}).error);
    EXPECT_TRUE(parse({"--paper", "a5"}).error);
    EXPECT_TRUE(parse({"--paper"}).error);
    EXPECT_TRUE(parse({"--home", "/h", "--help", "--frobnicate"}).help);
    EXPECT_FALSE(parse({"--home", "/h", "--help", "--frobnicate"}).error);
    EXPECT_EQ(parse({"--script", "s"}).headlessScreen, (Size{1024, 768}));
}

}  // namespace
}  // namespace lumen
