// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dialog/file_uri.h"

namespace lumen {

namespace {

constexpr std::string_view fileScheme = "file://";
constexpr std::string_view localHost = "localhost";

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::string> pathFromFileUri(std::string_view uri) {
    if (uri.substr(0, fileScheme.size()) != fileScheme) {
        return std::nullopt;
    }
    uri.remove_prefix(fileScheme.size());
    if (uri.substr(0, localHost.size()) == localHost) {
        uri.remove_prefix(localHost.size());
    }
    if (uri.empty() || uri.front() != '/') {
        return std::nullopt;  // another machine's file
    }
    std::string path;
    for (size_t at = 0; at < uri.size(); ++at) {
        if (uri[at] != '%') {
            path += uri[at];
            continue;
        }
        const int high = at + 2 < uri.size() ? hexDigit(uri[at + 1]) : -1;
        const int low = at + 2 < uri.size() ? hexDigit(uri[at + 2]) : -1;
        if (high < 0 || low < 0 || (high == 0 && low == 0)) {
            return std::nullopt;
        }
        path += static_cast<char>(high * 16 + low);
        at += 2;
    }
    return path;
}

}  // namespace lumen
