// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/import/import_run.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace lumen {

ToolRun runHolter(const std::string& arguments) {
    return testing::runCommand(std::string(LUMEN_HOLTER_PATH) + " " + arguments + " 2>&1");
}

long jsonNumber(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\":");
    if (at == std::string::npos) return -1;
    return std::strtol(json.c_str() + at + key.size() + 3, nullptr, 10);
}

std::filesystem::path physionetFolder() {
    const char* shared = std::getenv("LUMEN_SHARED_DATA");
    if (shared == nullptr) return {};
    const std::filesystem::path folder = std::filesystem::path(shared) / "physionet";
    return std::filesystem::exists(folder / "mitdb") ? folder : std::filesystem::path();
}

std::vector<AtrEntry> readAtr(const std::filesystem::path& path) {
    static const char* kMnemonics = " NLRaVFJASEj/Q~ | sT*D\"=pB^t+u?![]en@xf()r";
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<AtrEntry> out;
    int64_t t = 0;
    for (size_t i = 0; i + 1 < b.size();) {
        const unsigned w = b[i] | (b[i + 1] << 8), a = w >> 10, v = w & 1023;
        i += 2;
        if (a == 0 && v == 0) break;
        if (a == 59) {
            t += static_cast<int32_t>((b[i] | (b[i + 1] << 8)) << 16 | (b[i + 2] | (b[i + 3] << 8)));
            i += 4;
        } else if (a == 63) {
            i += v + (v & 1);
        } else if (a == 61) {
            out.back().subtype = static_cast<int>(v);
        } else if (a < 59) {
            t += v;
            out.push_back({t, a < 42 ? kMnemonics[a] : '?', 0});
        }
    }
    return out;
}

long runs(const std::string& classes, char c, size_t low, size_t high) {
    long count = 0;
    for (size_t i = 0; i < classes.size();) {
        size_t n = 0;
        while (i + n < classes.size() && classes[i + n] == c) ++n;
        count += n >= low && n <= high;
        i += n > 0 ? n : 1;
    }
    return count;
}

}  // namespace lumen
