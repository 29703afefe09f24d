#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/print/print_job.h"
#include "platform/print/printer_list.h"

namespace lumen {
namespace {

namespace fs = std::filesystem;

TEST(PrinterListTest, IndexPicksAnEntryOrFallsBackToTheFirst)
{
    const PrinterList list = PrinterList::of({Printer{"first", PrinterKind::System, ""}, Printer{"second", PrinterKind::System, ""}});
    EXPECT_EQ(list.select(1)->name, "second");
    EXPECT_EQ(list.select(0)->name, "first");
    EXPECT_EQ(list.select(2)->name, "first");  // two printers, index 2
    EXPECT_EQ(list.select(-1)->name, "first");
    EXPECT_EQ(PrinterList::of({}).select(0), nullptr);
}

TEST(PrintJobTest, FilePrinterWritesThePdf)
{
    const fs::path path = fs::temp_directory_path() / "lumen_print_job_test.pdf";
    fs::remove(path);
    const PrinterList list = PrinterList::toFile(path.string());
    auto job = PrintJob::start(*list.select(0), "Holter ECG report.");
    ASSERT_NE(job, nullptr);
    Canvas* page = job->startPage();
    ASSERT_NE(page, nullptr);
    page->rectangle(Rect{1000, -1000, 20000, -5000});
    page->textOut(Point{1000, -6000}, "Holter");
    job->endPage();
    EXPECT_TRUE(job->finish());
    std::ifstream file(path, std::ios::binary);
    std::string head(5, '\0');
    file.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
    EXPECT_GT(fs::file_size(path), 500u);
}

TEST(PrintJobTest, UnwritableFileGivesNoJob)
{
    const PrinterList list = PrinterList::toFile("/nonexistent/dir/report.pdf");
    EXPECT_EQ(PrintJob::start(*list.select(0), "report"), nullptr);
}

}  // namespace
}  // namespace lumen
