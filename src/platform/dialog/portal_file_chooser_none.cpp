// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dialog/portal_file_chooser.h"

namespace lumen {

// Built without libdbus: the helper programs are the only dialogs.
ChooserAnswer chooseWithPortal(const OpenFileRequest& /*request*/) { return {}; }

}  // namespace lumen
