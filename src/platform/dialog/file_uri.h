// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumen {

// The local path of a file:// URI (RFC 8089; an empty or "localhost" host),
// percent-escapes decoded; nothing for any other URI or a bad escape.
std::optional<std::string> pathFromFileUri(std::string_view uri);

}  // namespace lumen
