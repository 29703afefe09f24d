// SPDX-License-Identifier: GPL-3.0-or-later
#include "holter/biosig_command.h"

#include <cstdio>
#include <filesystem>

#include "import/biosig/biosig_converter.h"
#include "platform/file/utf8_path.h"

namespace lumen {

int runBiosig(const ToolArguments& arguments) {
    if (arguments.positional.size() != 2) return 2;
    const std::string& source = arguments.positional[0];
    const std::filesystem::path folder = pathFromUtf8(arguments.positional[1]);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        std::fprintf(stderr, "%s: no such folder to write the converted record into\n",
                     arguments.positional[1].c_str());
        return 255;
    }
    const std::string problem = BiosigConverter::convert(source, folder);
    if (!problem.empty()) {
        std::fprintf(stderr, "%s: %s\n", source.c_str(), problem.c_str());
        return 255;
    }
    return 0;
}

}  // namespace lumen
