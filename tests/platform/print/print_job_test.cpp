// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/print/print_job.h"
#include "platform/print/printer_list.h"

namespace lumen {
namespace {

namespace fs = std::filesystem;

TEST(PrinterListTest, IndexPicksAnEntryOrFallsBackToTheFirst) {
    const PrinterList list =
        PrinterList::of({Printer{"first", PrinterKind::System, ""}, Printer{"second", PrinterKind::System, ""}});
    EXPECT_EQ(list.select(1)->name, "second");
    EXPECT_EQ(list.select(0)->name, "first");
    EXPECT_EQ(list.select(2)->name, "first");  // two printers, index 2
    EXPECT_EQ(list.select(-1)->name, "first");
    EXPECT_EQ(PrinterList::of({}).select(0), nullptr);
}

TEST(PrintJobTest, FilePrinterWritesThePdf) {
    const fs::path path = fs::temp_directory_path() / "lumen_print_job_test.pdf";
    fs::remove(path);
    const PrinterList list = PrinterList::toFile(path.string(), PaperSize::letter());
    auto job = openPrintJob(*list.select(0));
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(job->pageHundredthMm(), PaperSize::letter().hundredthMm);
    ASSERT_TRUE(job->beginDocument("Holter ECG report."));
    Canvas& page = job->startPage();
    page.rectangle(Rect{1000, -1000, 20000, -5000});
    page.textOut(Point{1000, -6000}, "Holter");
    job->endPage();
    EXPECT_TRUE(job->endDocument());
    std::ifstream file(path, std::ios::binary);
    std::string head(5, '\0');
    file.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
    EXPECT_GT(fs::file_size(path), 500u);
}

TEST(PrintJobTest, AbortedDocumentLeavesNoFile) {
    const fs::path path = fs::temp_directory_path() / "lumen_print_job_abort_test.pdf";
    auto job = openPrintJob(*PrinterList::toFile(path.string()).select(0));
    ASSERT_TRUE(job->beginDocument("report"));
    job->startPage().textOut(Point{1000, -6000}, "Holter");
    job->abort();
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace lumen
