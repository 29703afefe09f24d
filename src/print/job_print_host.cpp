#include "print/job_print_host.h"

#include "platform/print/print_job.h"

namespace lumen {

namespace {

class PrintJobOutput final : public PageOutput {
public:
    explicit PrintJobOutput(std::unique_ptr<PrintJob> job) : job_(std::move(job)) {}
    Canvas* startPage() override { return job_->startPage(); }
    void endPage() override { job_->endPage(); }
    bool finish() override { return job_->finish(); }

private:
    std::unique_ptr<PrintJob> job_;
};

}  // namespace

std::unique_ptr<PageOutput> JobPrintHost::startJob(const Printer& printer, std::string_view documentName)
{
    std::unique_ptr<PrintJob> job = PrintJob::start(printer, documentName);
    if (!job) {
        return nullptr;
    }
    return std::make_unique<PrintJobOutput>(std::move(job));
}

}  // namespace lumen
