// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/code_page.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "lang/language_texts.h"
#include "lang/source_text.h"

namespace lumen {
namespace {

TEST(CodePage, TellingBytesOfEachPageAndUndefinedOnes) {
    EXPECT_EQ(decodeToUtf8("Kiss Anna %d", CodePage::Windows1251), "Kiss Anna %d");
    EXPECT_EQ(codePageToUnicode(0x80, CodePage::Windows1252), U'€');
    EXPECT_EQ(codePageToUnicode(0xE9, CodePage::Windows1252), U'é');
    EXPECT_EQ(codePageToUnicode(0xF5, CodePage::Windows1250), U'ő');
    EXPECT_EQ(codePageToUnicode(0xB3, CodePage::Windows1250), U'ł');
    EXPECT_EQ(codePageToUnicode(0xA8, CodePage::Windows1251), U'Ё');
    EXPECT_EQ(codePageToUnicode(0xFF, CodePage::Windows1251), U'я');
    EXPECT_EQ(decodeToUtf8("a\x81" "b", CodePage::Windows1252), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(codePageToUnicode(0x98, CodePage::Windows1251), U'\xFFFD');
}

struct Conversion {
    const char* source;  // bytes as a source file holds them
    CodePage page;
    const char* stored;  // what the recording keeps
};

// Source text is UTF-8 when it is valid UTF-8, else Windows-1252; what the
// home's code page lacks becomes '?', one for each character.
TEST(CodePage, SourceTextIsStoredInTheHomesCodePage) {
    const Conversion conversions[] = {
        {"M\xc3\xbcller", CodePage::Windows1252, "M\xfcller"},
        {"M\xfcller", CodePage::Windows1252, "M\xfcller"},           // Latin-1 bytes
        {"Gy\xc5\x91z\xc5\x91", CodePage::Windows1250, "Gy\xf5z\xf5"},
        {"Gy\xc5\x91z\xc5\x91", CodePage::Windows1252, "Gy?z?"},
        {"\xe2\x82\xac \xef\xbf\xbd", CodePage::Windows1252, "\x80 ?"},  // U+FFFD is no byte of the page
        {"\xf0\x9f\x98\x80!", CodePage::Windows1251, "?!"},
        {"\xc0\xaf", CodePage::Windows1252, "\xc0\xaf"},  // overlong: not UTF-8, so Windows-1252
    };
    for (const Conversion& c : conversions)
        EXPECT_EQ(encodeFromUtf8(utf8OfSourceText(c.source), c.page), c.stored) << c.source;
}

// Every text can be written in its language's code page and reads back the
// same: what a Windows workstation stored single-byte is what we show.
TEST(CodePage, EveryLanguageTextRoundTripsThroughItsCodePage) {
    for (int32_t n = 1; n <= 13; ++n) {
        if (!LanguageTexts::isAvailable(n)) {
            continue;
        }
        const LanguageTexts texts(n);
        std::map<std::string, char> encoder;
        for (int32_t b = 0x80; b <= 0xFF; ++b) {
            std::string utf8;
            appendUtf8(utf8, codePageToUnicode(static_cast<uint8_t>(b), texts.codePage()));
            encoder.emplace(utf8, static_cast<char>(b));
        }
        for (int32_t k = 0; k < LanguageTexts::kTextCount; ++k) {
            const std::string_view text = texts.text(k);
            std::string bytes;
            for (size_t i = 0; i < text.size();) {
                const auto lead = static_cast<uint8_t>(text[i]);
                const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
                const std::string one(text.substr(i, length));
                ASSERT_TRUE(length == 1 || encoder.contains(one)) << "language " << n << " entry " << k;
                bytes += length == 1 ? one : std::string(1, encoder[one]);
                i += length;
            }
            EXPECT_EQ(texts.decodeRecordingText(bytes), text);
        }
    }
}

}  // namespace
}  // namespace lumen
