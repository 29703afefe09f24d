// The tests' JSON reader: what it accepts it reads exactly, and anything
// malformed is an error it names, never a crash or a guess.
#include "support/json_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace lumen {
namespace {

using testing::JsonValue;

TEST(JsonValueReader, ReadsNestedValuesByPath) {
    std::string error;
    const JsonValue v = JsonValue::parse(
        R"( {"hrv": {"sdnn": 41.5e0, "list": [1, -0.25, true, null]}, "name": "a\"\u00e9\ud83d\ude00", "n": 0} )",
        error);
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_EQ(v["hrv"]["sdnn"].number(), 41.5);
    EXPECT_EQ(v["hrv"]["list"].size(), 4u);
    EXPECT_EQ(v["hrv"]["list"][1].number(), -0.25);
    EXPECT_TRUE(v["hrv"]["list"][2].boolean());
    EXPECT_TRUE(v["hrv"]["list"][3].isNull());
    EXPECT_EQ(v["name"].string(), "a\"\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(v["n"].number(), 0.0);
    EXPECT_FALSE(v["absent"]["deeper"].present());
    EXPECT_TRUE(std::isnan(v["name"].number())) << "a string is no number";
}

class MalformedJson : public ::testing::TestWithParam<std::string> {};

TEST_P(MalformedJson, IsAnErrorAndNoValue) {
    std::string error;
    const JsonValue v = JsonValue::parse(GetParam(), error);
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(v.present());
}

INSTANTIATE_TEST_SUITE_P(Texts, MalformedJson,
                         ::testing::Values("", "{", "{\"a\":1,}", "[1,]", "[1 2]", "{\"a\" 1}", "{a:1}", "01", "1.",
                                           ".5", "-", "1e", "+1", "1e999", "nul", "tru", "\"\\x\"", "\"\\ud800\"",
                                           "\"\\udc00\"", "\"\\u12\"", "\"a", std::string("\"\x01\""), "\"\xC3\"",
                                           "\"\xED\xA0\x80\"", "{\"a\":1,\"a\":2}", "1 2", "NaN", "[1]]",
                                           std::string(JsonValue::kMaxDepth + 2, '[')));

}  // namespace
}  // namespace lumen
