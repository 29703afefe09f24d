// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/print/paper_size.h"

namespace lumen {

// A CUPS destination, named "name" or "name/instance".
class CupsDestination {
public:
    explicit CupsDestination(std::string printerName) : printerName_(std::move(printerName)) {}

    // The sheet the destination prints on by default; nullopt when there is
    // no such destination, and `failure` then says why. A destination that
    // does not tell its media gets A4 with no media asked for.
    std::optional<PaperSize> defaultPaper(std::string& failure) const;
    // The sheet a PPD's DefaultPageSize names; nullopt when it names none
    // that CUPS knows.
    static std::optional<PaperSize> ppdDefaultPaper(std::string_view ppdText);
    // Hands a PDF to the destination on `paper`, at 100 %; false when CUPS
    // refuses it, and `failure` then says why.
    bool submit(const std::string& pdfPath, std::string_view documentName, const PaperSize& paper,
                std::string& failure) const;

private:
    std::string printerName_;
};

}  // namespace lumen
