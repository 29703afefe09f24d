// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/dialog/file_uri.h"

namespace lumen {
namespace {

TEST(FileUriTest, LocalFilesBecomePathsAndNothingElseDoes) {
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases{
        {"file:///home/ana/My%20file.edf", "/home/ana/My file.edf"},
        {"file://localhost/data/208.hea", "/data/208.hea"},
        {"file:///data/P%C3%A9ter.ecg", "/data/P\xC3\xA9ter.ecg"},
        {"file:///a%2", std::nullopt},
        {"file:///a%zz", std::nullopt},
        {"file:///a%00b", std::nullopt},
        {"file://server/share/a.edf", std::nullopt},
        {"https://example.org/a.edf", std::nullopt},
        {"/data/a.edf", std::nullopt},
    };
    for (const auto& [uri, path] : cases) {
        EXPECT_EQ(pathFromFileUri(uri), path) << uri;
    }
}

}  // namespace
}  // namespace lumen
