// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/dialog/chooser_answer.h"
#include "platform/dialog/open_file_request.h"

namespace lumen {

// The file dialog of a helper program on the search path: zenity (GNOME and
// most desktops), else kdialog (KDE). Each is started without a shell, its
// arguments as given; it prints the chosen path and exits 0, or exits 1 when
// cancelled.
ChooserAnswer chooseWithHelperProgram(const OpenFileRequest& request);

// The arguments after the program's name.
std::vector<std::string> zenityArguments(const OpenFileRequest& request);
std::vector<std::string> kdialogArguments(const OpenFileRequest& request);

// Runs `program` (a full path) and reads at most a path's worth of its
// standard output.
ChooserAnswer runChooserProgram(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace lumen
