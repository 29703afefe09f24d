#pragma once
#include <string>

#include "demo/demo_home.h"
#include "demo/demo_recording.h"

namespace lumen::testing {

// A fresh empty folder under the system's temporary folder, removed again.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// One two-hour demo recording and its home, built once for all tests.
struct DemoFixture {
    DemoRecording recording;
    TempFolder folder;
    DemoResult result;
    std::string home;  // ends with '/'
};
const DemoFixture& twoHourDemo();

inline constexpr int kFixtureHours = 2;

}  // namespace lumen::testing
