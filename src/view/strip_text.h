// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

namespace lumen {

// A text with one number, from a format of the system's texts ("%.0f msec",
// "Ch1: %.2f mV"). A format whose only conversion is not a floating one is
// given back as it stands, so that a broken language text cannot misread
// the argument.
std::string formatFloat(std::string_view format, double value);

}  // namespace lumen
