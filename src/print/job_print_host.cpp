// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/job_print_host.h"

#include <cstdio>
#include <string>

#include "platform/print/print_job.h"

namespace lumen {

namespace {

class PrintJobOutput final : public PageOutput {
public:
    explicit PrintJobOutput(std::unique_ptr<PrintJob> job) : job_(std::move(job)) {}
    Canvas* startPage(PageOrientation orientation) override { return &job_->startPage(orientation); }
    void endPage() override { job_->endPage(); }
    bool finish() override { return job_->endDocument(); }
    std::string failure() const override { return job_->failure(); }

private:
    std::unique_ptr<PrintJob> job_;
};

}  // namespace

std::unique_ptr<PageOutput> JobPrintHost::startJob(const Printer& printer, std::string_view documentName) {
    jobFailure_.clear();
    std::unique_ptr<PrintJob> job = openPrintJob(printer, &jobFailure_);
    if (!job) {
        return nullptr;
    }
    if (!job->beginDocument(documentName)) {
        jobFailure_ = job->failure();
        return nullptr;
    }
    return std::make_unique<PrintJobOutput>(std::move(job));
}

void JobPrintHost::tellCause(std::string_view cause) {
    std::fprintf(stderr, "lumen: printing failed: %.*s\n", static_cast<int>(cause.size()), cause.data());
    std::fflush(stderr);
}

}  // namespace lumen
