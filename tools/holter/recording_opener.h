// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>

#include "holter/journal_cause.h"
#include "holter/tool_arguments.h"
#include "store/recording.h"

namespace lumen {

// The folder path.tmp names, as the store reads it; "" when unreadable.
std::string namedRecordingFolder(const std::string& programDirectory);

// The recording of a tool's command line: RECDIR when given, else the folder
// named by the home's path.tmp. Failures end the program with their message,
// after the cause when a journal beside the recording is it.
inline std::unique_ptr<Recording> openRecording(const ToolArguments& arguments, size_t recordingArgument,
                                                RecordingAccess access = RecordingAccess::Read) {
    const bool named = arguments.positional.size() > recordingArgument;
    const std::string folder =
        named ? arguments.positional[recordingArgument] : namedRecordingFolder(arguments.programDirectory);
    static JournalCauseHandler handler;
    handler.setRecording(folder + "/holter.mem");
    installFatalHandler(&handler);
    if (named) return std::make_unique<Recording>(arguments.programDirectory, folder, access);
    return std::make_unique<Recording>(arguments.programDirectory, access);
}

}  // namespace lumen
