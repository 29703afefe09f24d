// SPDX-License-Identifier: GPL-3.0-or-later
#include "acceptance/day_home.h"

#include <filesystem>

namespace lumen::testing {

DayHome::DayHome(int language) : DemoHome(language) {
    namespace fs = std::filesystem;
    const fs::path day(LUMEN_DAY_HOME);
    // path.tmp stays: it names this home's own recording folder.
    for (const char* name :
         {"huffman.ko2", "color.ini", "TBcolor.ini", "doef.mem", "recording/holter.mem", "recording/forms.mem"}) {
        fs::copy_file(day / name, path(name), fs::copy_options::overwrite_existing);
    }
    if (language != 2) {
        std::string colors = text("color.ini");
        const size_t at = colors.find("TAROLT_LANGUAGE = 2");
        if (at != std::string::npos) colors.replace(at, 19, "TAROLT_LANGUAGE = " + std::to_string(language));
        write("color.ini", colors);
    }
}

std::string holterInfo(const DemoHome& home) {
    return commandOutput(LUMEN_HOLTER_PATH " info --home " + home.programDirectory());
}

}  // namespace lumen::testing
