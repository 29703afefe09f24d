// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>
#include <winspool.h>

#include <vector>

#include "platform/print/printer_list.h"
#include "platform/win32/wide_text.h"

namespace lumen {

namespace {

std::wstring defaultPrinterName() {
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size == 0) return {};
    std::wstring name(size, L'\0');
    if (GetDefaultPrinterW(name.data(), &size) == 0) return {};
    name.resize(size > 0 ? size - 1 : 0);
    return name;
}

std::vector<std::wstring> installedPrinterNames() {
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0;
    DWORD count = 0;
    EnumPrintersW(flags, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    std::vector<std::wstring> names;
    if (needed == 0 || EnumPrintersW(flags, nullptr, 4, buffer.data(), needed, &needed, &count) == 0) return names;
    const auto* printers = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        if (printers[i].pPrinterName != nullptr) names.emplace_back(printers[i].pPrinterName);
    }
    return names;
}

}  // namespace

// The system's printers in its own order, the user's default first.
PrinterList PrinterList::fromSystem() {
    std::vector<Printer> printers;
    const std::wstring preferred = defaultPrinterName();
    const std::vector<std::wstring> names = installedPrinterNames();
    for (const bool defaults : {true, false}) {
        for (const std::wstring& name : names) {
            if ((name == preferred) == defaults) printers.push_back(Printer{utf8FromWide(name), PrinterKind::System, {}, {}});
        }
    }
    PrinterList list = of(std::move(printers));
    if (list.empty()) list.emptyReason_ = "Windows lists no printer";
    return list;
}

}  // namespace lumen
