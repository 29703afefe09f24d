// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdio>
#include <string>
#include <vector>

namespace lumen {

enum class HoldResult {
    Held,        // locked, or no plain file there: nothing to lock
    InUse,       // a viewer (or a tool saving into it) has it open
    Unopenable,  // a file that cannot even be opened to lock it
};

// The session locks of the recordings a tool is about to replace, held
// until it lets them go: while they are held no viewer has one of them open
// and none can open one (a viewer asks for the same lock, exclusively).
class RecordingHold {
public:
    RecordingHold() = default;
    RecordingHold(const RecordingHold&) = delete;
    RecordingHold& operator=(const RecordingHold&) = delete;
    ~RecordingHold() { releaseAll(); }

    // Takes the session lock of holter.mem at `path`, waiting as a viewer's
    // open would. A recording held already is not locked twice.
    HoldResult take(const std::string& path);
    void releaseAll();
    bool holdsAny() const { return !files_.empty(); }

private:
    bool holds(const std::string& path) const;

    std::vector<std::FILE*> files_;
    std::vector<std::string> paths_;
};

}  // namespace lumen
