// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/dialog/chooser_answer.h"
#include "platform/dialog/open_file_request.h"

namespace lumen {

// The desktop's own dialog for choosing a file to open: on Linux the XDG
// desktop portal when one answers, else zenity or kdialog from the search
// path; on Windows the common "Open" dialog. Chosen (with the path in
// UTF-8), Cancelled, or Unavailable when no dialog could be shown.
ChooserAnswer chooseFileWithDesktop(const OpenFileRequest& request);

}  // namespace lumen
