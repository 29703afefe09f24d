#include "platform/dialog/desktop_file_chooser.h"

#include "platform/dialog/helper_file_chooser.h"
#include "platform/dialog/portal_file_chooser.h"

namespace lumen {

std::optional<std::string> chooseFileWithDesktop(const OpenFileRequest& request) {
    ChooserAnswer answer = chooseWithPortal(request);
    if (answer.outcome == ChooserOutcome::Unavailable) {
        answer = chooseWithHelperProgram(request);
    }
    if (answer.outcome != ChooserOutcome::Chosen) {
        return std::nullopt;
    }
    return answer.path;
}

}  // namespace lumen
