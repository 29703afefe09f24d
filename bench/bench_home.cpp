// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_home.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "demo/demo_home.h"

namespace lumen::bench {

const std::string& demoHome24h() {
    static const std::string home = [] {
        const std::filesystem::path directory = std::filesystem::temp_directory_path() / "lumen-bench-home-24h-seed1";
        const std::string path = directory.string() + "/";
        if (!std::filesystem::exists(directory / "recording" / "forms.mem")) {
            std::filesystem::remove_all(directory);
            DemoOptions options;
            options.directory = directory.string();
            const DemoResult result = writeDemoHome(options);
            if (result.status != DemoStatus::Ok) {
                std::fprintf(stderr, "cannot make the benchmark home: %s\n", result.summary.c_str());
                std::exit(1);
            }
        }
        return path;
    }();
    return home;
}

}  // namespace lumen::bench
