// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/headless/script_reader.h"
#include "platform/window/message_box_style.h"
#include "platform/window/virtual_keys.h"

namespace lumen {
namespace {

TEST(ScriptReaderTest, ReadsEveryAction) {
    const Script script = ScriptReader::parse(
        "# a comment\n"
        "key P ctrl shift alt\n"
        "key pagedown   # trailing comment\n"
        "click 10 -20\r\n"
        "rclick 1 2\n"
        "\n"
        "press 3 4\nmove 5 6\nrelease 7 8\n"
        "button 1003\n"
        "wait 250\n"
        "answer Yes\n"
        "shot out dir/a.png\n"
        "dump state.json\n"
        "size minimized\n"
        "message 0x220\n"
        "message 545\n"
        "close\n"
        "drop  My recording.edf \n"
        "choose CANCEL\n"
        "choose /a/cancel b.hea\n"
        "forms\n"
        "form 29\n"
        "formclass 3 s\n"
        "formmove 0\n");
    ASSERT_FALSE(script.error) << script.error->message;
    ASSERT_EQ(script.actions.size(), 23u);
    const auto& a = script.actions;
    EXPECT_EQ(a[0].verb, ScriptVerb::Key);
    EXPECT_EQ(a[0].virtualKey, 'P');
    EXPECT_EQ(a[0].modifiers, modifierCtrl | modifierShift | modifierAlt);
    EXPECT_EQ(a[0].lineNumber, 2);
    EXPECT_EQ(a[1].virtualKey, VK_NEXT);
    EXPECT_EQ(a[2].verb, ScriptVerb::Click);
    EXPECT_EQ(a[2].point, (Point{10, -20}));
    EXPECT_EQ(a[3].verb, ScriptVerb::RightClick);
    EXPECT_EQ(a[6].verb, ScriptVerb::Release);
    EXPECT_EQ(a[7].number, 1003u);
    EXPECT_EQ(a[8].milliseconds, 250u);
    EXPECT_EQ(a[9].answer, IDYES);
    EXPECT_EQ(a[10].path, "out dir/a.png");
    EXPECT_EQ(a[11].verb, ScriptVerb::Dump);
    EXPECT_EQ(a[12].sizeKind, SIZE_MINIMIZED);
    EXPECT_EQ(a[13].number, 0x220u);
    EXPECT_EQ(a[14].number, 545u);
    EXPECT_EQ(a[15].verb, ScriptVerb::Close);
    EXPECT_EQ(a[16].verb, ScriptVerb::Drop);
    EXPECT_EQ(a[16].path, "My recording.edf");
    EXPECT_EQ(a[17].verb, ScriptVerb::Choose);
    EXPECT_TRUE(a[17].cancelled);
    EXPECT_FALSE(a[18].cancelled);
    EXPECT_EQ(a[18].path, "/a/cancel b.hea");
    EXPECT_EQ(a[19].verb, ScriptVerb::Forms);
    EXPECT_EQ(a[20].verb, ScriptVerb::Form);
    EXPECT_EQ(a[20].number, 29u);
    EXPECT_EQ(a[21].verb, ScriptVerb::FormClass);
    EXPECT_EQ(a[21].number, 3u);
    EXPECT_EQ(a[21].beatClass, 1);
    EXPECT_EQ(a[22].verb, ScriptVerb::FormMove);
}

TEST(ScriptReaderTest, BadLinesAreReportedWithTheirNumber) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"jump 1 2", "unknown action"},
        {"click 1", "click"},
        {"click 1 2 3", "click"},
        {"click x 2", "click"},
        {"click 99999999999999999999 2", "click"},
        {"key", "key"},
        {"key F1", "unknown key"},
        {"key a meta", "modifier"},
        {"wait -5", "wait"},
        {"wait 10ms", "wait"},
        {"answer maybe", "answer"},
        {"size huge", "size"},
        {"message 0xZZ", "message"},
        {"message 0x1FFFFFFFF", "message"},
        {"button 70000", "button"},
        {"shot", "shot"},
        {"close now", "close"},
        {"drop   ", "drop"},
        {"choose", "choose"},
        {"forms 2", "forms"},
        {"form 30", "form"},
        {"form", "form"},
        {"formclass 2", "formclass"},
        {"formclass 2 X", "formclass"},
        {"formmove -1", "formmove"},
    };
    for (const auto& [line, expected] : cases) {
        const Script script = ScriptReader::parse("wait 1\n\n" + line + "\nwait 2\n");
        ASSERT_TRUE(script.error) << line;
        EXPECT_EQ(script.error->lineNumber, 3) << line;
        EXPECT_NE(script.error->message.find(expected), std::string::npos) << script.error->message;
        EXPECT_TRUE(script.actions.empty());
    }
}

TEST(ScriptReaderTest, MissingFileIsAnError) {
    const Script script = ScriptReader::readFile("/nonexistent/lumen/script.txt");
    ASSERT_TRUE(script.error);
    EXPECT_EQ(script.error->lineNumber, 0);
}

}  // namespace
}  // namespace lumen
