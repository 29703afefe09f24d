// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "print/job_print_host.h"

namespace lumen::testing {

// Answers the question as told and remembers every box and job.
class ScriptedPrintHost final : public JobPrintHost {
public:
    explicit ScriptedPrintHost(bool answerYes) : answerYes_(answerYes) {}

    bool confirm(std::string_view text, std::string_view caption) override {
        questions.emplace_back(std::string(text), std::string(caption));
        return answerYes_;
    }
    void showError(std::string_view text, std::string_view caption) override {
        errors.emplace_back(std::string(text), std::string(caption));
    }
    std::unique_ptr<PageOutput> startJob(const Printer& printer, std::string_view documentName) override {
        jobs.emplace_back(printer.name, std::string(documentName));
        return JobPrintHost::startJob(printer, documentName);
    }
    void tellCause(std::string_view cause) override { causes.emplace_back(cause); }

    std::vector<std::pair<std::string, std::string>> questions;
    std::vector<std::pair<std::string, std::string>> errors;
    std::vector<std::pair<std::string, std::string>> jobs;  // printer, document
    std::vector<std::string> causes;

private:
    bool answerYes_;
};

}  // namespace lumen::testing
