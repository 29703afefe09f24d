// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

#include "store/fatal_error.h"

namespace lumen {

// The tools' fatal ending, with one line before the message when a journal
// beside the recording is what kept it from opening: "File not found" or
// "busy" alone would not say that the journal is the cause.
class JournalCauseHandler final : public FatalHandler {
public:
    void setRecording(std::string recordingPath) { recordingPath_ = std::move(recordingPath); }
    void notice(std::string_view, std::string_view) override {}
    [[noreturn]] void fatal(std::string_view message) override;

    // What stands in the way, as a sentence; "" when no journal does.
    static std::string causeFor(const std::string& recordingPath);

private:
    std::string recordingPath_;
};

}  // namespace lumen
