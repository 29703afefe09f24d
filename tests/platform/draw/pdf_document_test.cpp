// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/draw/image.h"
#include "platform/draw/pdf_document.h"
#include "support/command_run.h"

namespace lumen {
namespace {

constexpr double pointsPerHundredthMm = 72.0 / 2540.0;

struct WordBox {
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

double attribute(const std::string& tag, const std::string& name) {
    const size_t at = tag.find(name + "=\"");
    return at == std::string::npos ? -1.0 : std::atof(tag.c_str() + at + name.size() + 2);
}

// Word boxes in points, from the top-left corner of the page.
std::map<std::string, WordBox> wordBoxes(const std::string& pdfPath) {
    const std::string html = testing::commandOutput("pdftotext -bbox '" + pdfPath + "' -");
    std::map<std::string, WordBox> boxes;
    for (size_t at = html.find("<word "); at != std::string::npos; at = html.find("<word ", at + 1)) {
        const size_t close = html.find('>', at);
        const size_t end = html.find("</word>", at);
        if (close == std::string::npos || end == std::string::npos) {
            break;
        }
        const std::string tag = html.substr(at, close - at);
        boxes[html.substr(close + 1, end - close - 1)] =
            WordBox{attribute(tag, "xMin"), attribute(tag, "yMin"), attribute(tag, "xMax"), attribute(tag, "yMax")};
    }
    return boxes;
}

// Each test case runs as a process of its own, several at once (and other
// builds' tests beside them): every file name carries the process.
std::string scratchPath(const std::string& name) {
    return ::testing::TempDir() + "lumen_" + std::to_string(::getpid()) + "_" + name;
}

// A report-like page: header box with texts, a centred line, a strip line.
void drawSamplePage(Canvas& page) {
    const Font title = Font::make("Times new roman", 500, 100, FontSlant::Upright, 1);
    const Font small = Font::make("Arial", 350, 300, FontSlant::Upright, 1);
    page.selectPen(Pen::solid(40, blackColor));
    page.selectBrush(Brush::solid(rgb(220, 220, 220)));
    page.rectangle(Rect{1000, -230, 19000, -1630});
    page.setBkMode(BackgroundMode::Transparent);
    page.setTextAlign(TextAlign::Left | TextAlign::Top);
    page.selectFont(title);
    page.textOut(Point{1400, -330}, "FULL DISCLOSURE");
    page.selectFont(small);
    page.setTextAlign(TextAlign::Right | TextAlign::Top);
    page.textOut(Point{18600, -1030}, "Patient: Kovacs");
    page.setTextAlign(TextAlign::Center | TextAlign::Top);
    page.textOut(Point{10000, -3370}, "Beats 1234");
    page.moveTo(Point{10000, -20000});
    page.lineTo(Point{10000, -25000});
    std::unique_ptr<Image> image = page.createCompatibleImage(Size{600, 600});
    image->fillRect(Rect{0, 0, 600, 600}, Brush::black());
    page.bitBlt(Rect{15000, -20000, 17540, -22540}, *image, Point{0, 0});  // one inch square
}

class PdfPage : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing::installed("pdftotext")) {
            GTEST_SKIP() << "poppler-utils not installed";
        }
        path_ = scratchPath("pdf_page.pdf");
        PdfDocument document(path_);
        ASSERT_TRUE(document.isOpen());
        Canvas* page = document.startPage();
        ASSERT_NE(page, nullptr);
        drawSamplePage(*page);
        document.endPage();
        ASSERT_TRUE(document.close());
    }
    std::string path_;
};

TEST_F(PdfPage, TextsLandWhereTheirAlignmentPutsThem) {
    const auto words = wordBoxes(path_);
    ASSERT_TRUE(words.count("FULL") && words.count("Kovacs") && words.count("Beats") && words.count("1234"));
    EXPECT_NEAR(words.at("FULL").xMin, 1400 * pointsPerHundredthMm, 1.5);
    EXPECT_NEAR(words.at("FULL").yMin, 330 * pointsPerHundredthMm, 2.0);
    EXPECT_NEAR(words.at("Kovacs").xMax, 18600 * pointsPerHundredthMm, 1.5);
    EXPECT_NEAR(words.at("Kovacs").yMin, 1030 * pointsPerHundredthMm, 2.0);
    const double centre = (words.at("Beats").xMin + words.at("1234").xMax) / 2.0;
    EXPECT_NEAR(centre, 10000 * pointsPerHundredthMm, 1.5);
}

TEST(PdfDocument, WritesSeveralPagesAndRefusesBadPaths) {
    const std::string path = scratchPath("pdf_two.pdf");
    {
        PdfDocument document(path);
        ASSERT_NE(document.startPage(), nullptr);
        Canvas* second = document.startPage();  // ends the first page
        ASSERT_NE(second, nullptr);
        second->selectFont(Font::make("Arial", 350, 300));
        EXPECT_NEAR(second->textExtent("M").height, 350, 1);
        EXPECT_EQ(second->deviceSize(), (Size{4961, 7016}));
        EXPECT_TRUE(document.close());
    }
    if (testing::installed("pdfinfo")) {
        EXPECT_NE(testing::commandOutput("pdfinfo '" + path + "'").find("Pages:           2"), std::string::npos);
    }
    PdfDocument broken("/nonexistent-dir/report.pdf");
    EXPECT_FALSE(broken.isOpen());
    EXPECT_EQ(broken.startPage(), nullptr);
    EXPECT_FALSE(broken.close());
}

}  // namespace
}  // namespace lumen
