// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file/utf8_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "platform/file/durable_file.h"
#include "platform/file/file_identity.h"
#include "platform/file/regular_file.h"

namespace lumen {
namespace {

// A folder of its own under the system's temporary folder, gone afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device random;
        do {
            folder_ = std::filesystem::temp_directory_path() / ("lumen-utf8-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(folder_));
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string utf8() const { return utf8FromPath(folder_) + "/"; }
    // The names the system holds, as UTF-8.
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            found.push_back(utf8FromPath(entry.path().filename()));
        }
        return found;
    }

private:
    std::filesystem::path folder_;
};

// A home under C:\Users\Müller\ or a Cyrillic folder: the store writes,
// replaces, identifies and removes its files under their real names.
struct FileName {
    const char* script;
    const char* text;
};
void PrintTo(const FileName& name, std::ostream* out) { *out << name.script; }

class Utf8PathTest : public ::testing::TestWithParam<FileName> {};

TEST_P(Utf8PathTest, FilesKeepTheirNamesThroughEveryFileCall) {
    const ScratchFolder folder;
    const std::string name = GetParam().text;
    const std::string scratch = folder.utf8() + name + ".partial";
    const std::string target = folder.utf8() + name;

    std::FILE* written = openRegularFile(scratch, "wb");
    ASSERT_NE(written, nullptr) << scratch;
    EXPECT_GE(std::fputs("ecg", written), 0);
    std::fclose(written);
    ASSERT_TRUE(replaceFile(scratch, target));
    EXPECT_EQ(folder.names(), std::vector<std::string>{name});

    const std::optional<FileIdentity> identity = identityOf(target);
    ASSERT_TRUE(identity.has_value());
    EXPECT_EQ(identity->sizeBytes, 3u);
    std::FILE* read = openFile(target, "rb");
    ASSERT_NE(read, nullptr);
    std::fclose(read);

    EXPECT_TRUE(removeFile(target));
    EXPECT_TRUE(folder.names().empty());
}

INSTANTIATE_TEST_SUITE_P(Names, Utf8PathTest,
                         ::testing::Values(FileName{"Latin", "Müller"}, FileName{"Cyrillic", "Пациент Иванов"},
                                           FileName{"Chinese", "心电图"}, FileName{"Ascii", "ASCII only"}),
                         [](const ::testing::TestParamInfo<FileName>& info) { return std::string(info.param.script); });

TEST(Utf8Path, PathRoundTripKeepsEveryCharacter) {
    const std::string text = "C:/Users/Müller/Пациент/holter.mem";
    EXPECT_EQ(utf8FromPath(pathFromUtf8(text)), text);
    EXPECT_EQ(utf8FromPath(pathFromUtf8(text).parent_path().filename()), "Пациент");
}

}  // namespace
}  // namespace lumen
