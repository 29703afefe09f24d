// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dialog/desktop_file_chooser.h"

#include "platform/dialog/helper_file_chooser.h"
#include "platform/dialog/portal_file_chooser.h"

namespace lumen {

ChooserAnswer chooseFileWithDesktop(const OpenFileRequest& request) {
    ChooserAnswer answer = chooseWithPortal(request);
    if (answer.outcome == ChooserOutcome::Unavailable) {
        answer = chooseWithHelperProgram(request);
    }
    return answer;
}

}  // namespace lumen
