// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/dialog/chooser_answer.h"
#include "platform/dialog/open_file_request.h"

namespace lumen {

// org.freedesktop.portal.FileChooser.OpenFile on the session bus: the
// desktop's own dialog, also from inside a sandbox. Unavailable without a
// session bus or a portal.
ChooserAnswer chooseWithPortal(const OpenFileRequest& request);

}  // namespace lumen
