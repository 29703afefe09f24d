// SPDX-License-Identifier: GPL-3.0-or-later
// A printer's PPD file as the input: the default page size it names, when
// it names one CUPS knows, is a sheet of positive size.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/print/cups_destination.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto paper = lumen::CupsDestination::ppdDefaultPaper(text);
    if (paper && (paper->hundredthMm.width <= 0 || paper->hundredthMm.height <= 0)) __builtin_trap();
    return 0;
}
