// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/print/cups_destination.h"

#include <gtest/gtest.h>

#include <optional>

namespace lumen {
namespace {

// A queue that reports no default media still has its PPD's default sheet.
TEST(CupsDestinationTest, ThePpdsDefaultPageSizeNamesTheSheet) {
    const struct {
        const char* ppd;
        std::optional<PaperSize> paper;
    } cases[] = {
        {"*PPD-Adobe: \"4.3\"\n*DefaultPageSize: Letter\n*PageSize A4/A4: \"\"\n", PaperSize::letter()},
        {"*OpenUI *PageSize: PickOne\r\n*DefaultPageSize: A4\r\n", PaperSize::a4()},
        {"*PPD-Adobe: \"4.3\"\n*DefaultPageSize: NoSuchSheet\n", std::nullopt},
        {"*PPD-Adobe: \"4.3\"\n*DefaultResolution: 300dpi\n", std::nullopt},
    };
    for (const auto& entry : cases) {
        const std::optional<PaperSize> paper = CupsDestination::ppdDefaultPaper(entry.ppd);
        ASSERT_EQ(paper.has_value(), entry.paper.has_value()) << entry.ppd;
        if (paper) {
            EXPECT_EQ(paper->hundredthMm, entry.paper->hundredthMm) << entry.ppd;
            EXPECT_EQ(paper->media, entry.paper->media) << entry.ppd;
        }
    }
}

}  // namespace
}  // namespace lumen
