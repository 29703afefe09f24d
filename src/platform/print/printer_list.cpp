#include "platform/print/printer_list.h"

#include <cups/cups.h>

namespace lumen {

PrinterList PrinterList::fromSystem()
{
    PrinterList list;
    cups_dest_t* destinations = nullptr;
    const int count = cupsGetDests(&destinations);
    for (int i = 0; i < count; ++i) {
        const cups_dest_t& destination = destinations[i];
        std::string name = destination.name != nullptr ? destination.name : "";
        if (destination.instance != nullptr) {
            name += "/";
            name += destination.instance;
        }
        if (!name.empty()) {
            list.printers_.push_back(Printer{std::move(name), PrinterKind::System, {}});
        }
    }
    cupsFreeDests(count, destinations);
    return list;
}

PrinterList PrinterList::toFile(const std::string& pdfPath)
{
    return of({Printer{"PDF file " + pdfPath, PrinterKind::File, pdfPath}});
}

PrinterList PrinterList::of(std::vector<Printer> printers)
{
    PrinterList list;
    list.printers_ = std::move(printers);
    return list;
}

const Printer* PrinterList::select(int32_t index) const
{
    if (printers_.empty()) {
        return nullptr;
    }
    if (index < 0 || static_cast<size_t>(index) >= printers_.size()) {
        return &printers_.front();
    }
    return &printers_[static_cast<size_t>(index)];
}

}  // namespace lumen
