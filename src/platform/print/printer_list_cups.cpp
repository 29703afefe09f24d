// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/print/printer_list.h"

#include <cups/cups.h>

namespace lumen {

namespace {

std::string nameOf(const cups_dest_t& destination) {
    std::string name = destination.name != nullptr ? destination.name : "";
    if (destination.instance != nullptr) {
        name += "/";
        name += destination.instance;
    }
    return name;
}

}  // namespace

PrinterList PrinterList::fromSystem() {
    PrinterList list;
    cups_dest_t* destinations = nullptr;
    const int count = cupsGetDests(&destinations);
    // The default destination first, the others in CUPS's order.
    for (const bool defaults : {true, false}) {
        for (int i = 0; i < count; ++i) {
            std::string name = nameOf(destinations[i]);
            if ((destinations[i].is_default != 0) == defaults && !name.empty()) {
                list.printers_.push_back(Printer{std::move(name), PrinterKind::System, {}, {}});
            }
        }
    }
    cupsFreeDests(count, destinations);
    if (list.printers_.empty()) {
        list.emptyReason_ = "CUPS lists no printer";
        if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
            list.emptyReason_ += std::string(" (") + cupsLastErrorString() + ")";
        }
    }
    return list;
}

}  // namespace lumen
