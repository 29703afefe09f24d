// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace lumen {

// Where an export may write. It never writes over a recording or its
// journal, whatever their names, nor into a recording folder (the folder
// holding holter.mem, or one below it): an export is a copy for other
// programs and must not take a recording's place.
class ExportTarget {
public:
    // "" when FILE may be created or replaced, else why not.
    static std::string checkFile(const std::string& path);
    // The same for a folder the export creates.
    static std::string checkFolder(const std::string& path);
};

}  // namespace lumen
