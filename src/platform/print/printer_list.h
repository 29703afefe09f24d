// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/print/paper_size.h"

namespace lumen {

enum class PrinterKind : uint8_t { System, File };

struct Printer {
    std::string name;
    PrinterKind kind = PrinterKind::System;
    std::string filePath;  // File printers: where the PDF goes
    PaperSize paper;       // File printers: the sheet; system printers ask CUPS
};

// The printers a report can go to: the system's (the CUPS default
// destination first, then the others in the order CUPS lists them, so that
// the first printer is the one the user chose) or, for --print-to, one
// printer writing a file.
class PrinterList {
public:
    static PrinterList fromSystem();
    static PrinterList toFile(const std::string& pdfPath, const PaperSize& paper = PaperSize::a4());
    static PrinterList of(std::vector<Printer> printers);

    const std::vector<Printer>& printers() const { return printers_; }
    bool empty() const { return printers_.empty(); }
    // Entry `index` of the list; the first entry when there is no such
    // entry; null when the list is empty.
    // Inline: the report code chooses its printer without linking a back-end.
    const Printer* select(int32_t index) const {
        if (printers_.empty()) return nullptr;
        if (index < 0 || static_cast<size_t>(index) >= printers_.size()) return &printers_.front();
        return &printers_[static_cast<size_t>(index)];
    }
    // Why an empty list is empty ("" when not known).
    const std::string& emptyReason() const { return emptyReason_; }

private:
    std::vector<Printer> printers_;
    std::string emptyReason_;
};

}  // namespace lumen
