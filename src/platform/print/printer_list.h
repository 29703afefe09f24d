#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumen {

enum class PrinterKind : uint8_t { System, File };

struct Printer {
    std::string name;
    PrinterKind kind = PrinterKind::System;
    std::string filePath;  // File printers: where the PDF goes
};

// The printers a report can go to: the system's (CUPS destinations, in the
// order CUPS lists them) or, for --print-to, one printer writing a file.
class PrinterList {
public:
    static PrinterList fromSystem();
    static PrinterList toFile(const std::string& pdfPath);
    static PrinterList of(std::vector<Printer> printers);

    const std::vector<Printer>& printers() const { return printers_; }
    bool empty() const { return printers_.empty(); }
    // Entry `index` of the list; the first entry when there is no such
    // entry; null when the list is empty.
    const Printer* select(int32_t index) const;

private:
    std::vector<Printer> printers_;
};

}  // namespace lumen
