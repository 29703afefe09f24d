#include "demo_fixture.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>

namespace lumen::testing {

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path() /
                      ("lumen_demo_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(base);
    path_ = base.string();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

const DemoFixture& twoHourDemo() {
    static DemoFixture fixture;  // destroyed at exit, which removes its folder
    static const bool built = [] {
        fixture.recording = DemoRecordingBuilder::build(kFixtureHours, 7);
        fixture.home = fixture.folder.path() + "/home/";
        DemoOptions options;
        options.directory = fixture.folder.path() + "/home";
        options.hours = kFixtureHours;
        options.seed = 7;
        fixture.result = writeDemoHome(options);
        return true;
    }();
    (void)built;
    return fixture;
}

}  // namespace lumen::testing
