// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string_view>

#include "print/print_host.h"

namespace lumen {

// A print host whose jobs are the platform's PrintJobs and whose causes of
// failure go to standard error; the message boxes are left to the shell.
class JobPrintHost : public PrintHost {
public:
    std::unique_ptr<PageOutput> startJob(const Printer& printer, std::string_view documentName) override;
    std::string jobFailure() const override { return jobFailure_; }
    void tellCause(std::string_view cause) override;

private:
    std::string jobFailure_;
};

}  // namespace lumen
