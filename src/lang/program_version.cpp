// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/program_version.h"

namespace lumen {

std::string versionText(std::string_view program) {
    return std::string(program) +
           " (Lumen) " LUMEN_VERSION
           "\n"
           "Copyright (C) 2026 The Lumen developers\n"
           "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

}  // namespace lumen
