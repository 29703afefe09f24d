// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/title_text.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "platform/file/utf8_path.h"

namespace lumen {

std::string buildStamp(const std::string& programFilePath) {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(pathFromUtf8(programFilePath), error);
    if (error) return {};
    const auto systemTime = std::chrono::file_clock::to_sys(written);
    const std::chrono::year_month_day date{std::chrono::floor<std::chrono::days>(systemTime)};
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02d%02u%02u", static_cast<int>(date.year()) % 100,
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return stamp;
}

std::string titleText(std::string_view systemTitle, const std::string& stamp) {
    if (stamp.empty()) return {};
    return std::string(systemTitle) + " V3.8-" + stamp;
}

}  // namespace lumen
