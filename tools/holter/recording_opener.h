#pragma once
#include <memory>

#include "holter/tool_arguments.h"
#include "store/recording.h"

namespace lumen {

// The recording of a tool's command line: RECDIR when given, else the folder
// named by the home's path.tmp. Failures end the program with their message.
inline std::unique_ptr<Recording> openRecording(const ToolArguments& arguments, size_t recordingArgument) {
    if (arguments.positional.size() > recordingArgument) {
        return std::make_unique<Recording>(arguments.programDirectory, arguments.positional[recordingArgument]);
    }
    return std::make_unique<Recording>(arguments.programDirectory);
}

}  // namespace lumen
