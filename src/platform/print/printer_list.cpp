// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/print/printer_list.h"

namespace lumen {

PrinterList PrinterList::toFile(const std::string& pdfPath, const PaperSize& paper) {
    return of({Printer{"PDF file " + pdfPath, PrinterKind::File, pdfPath, paper}});
}

PrinterList PrinterList::of(std::vector<Printer> printers) {
    PrinterList list;
    list.printers_ = std::move(printers);
    return list;
}

}  // namespace lumen
