#pragma once

#include <optional>
#include <string>

#include "platform/dialog/open_file_request.h"

namespace lumen {

// The desktop's own dialog for choosing a file to open: on Linux the XDG
// desktop portal when one answers, else zenity or kdialog from the search
// path; on Windows the common "Open" dialog. The chosen path in UTF-8, or
// nothing when the user cancelled or no dialog could be shown.
std::optional<std::string> chooseFileWithDesktop(const OpenFileRequest& request);

}  // namespace lumen
