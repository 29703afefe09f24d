#pragma once
#include <string>

#include "demo/demo_recording.h"

namespace lumen {

// Writes a complete program home for a recording, as `holter demo` lays it
// out, into a scratch folder beside DIR that is renamed to DIR only when
// every file is written: a failure leaves no partial home. An existing DIR
// is replaced only with `replace`.
class HomeWriter {
public:
    // Returns an empty string on success, else what went wrong.
    static std::string write(const std::string& directory, const DemoRecording& recording, int language, bool replace);
    // The checks that come before any work: a usable path, not taken.
    static std::string checkTarget(const std::string& directory, bool replace);
};

}  // namespace lumen
