#include "import/export_content.h"

#include <array>
#include <utility>

namespace lumen {
namespace {

constexpr std::array<std::pair<uint8_t, const char*>, 11> kNames = {{
    {32, "VISO"}, {33, "VCPL"}, {34, "VRUN"}, {35, "VBIG"}, {37, "VTCH"}, {48, "SVISO"},
    {49, "SVCPL"}, {50, "SVRUN"}, {52, "PAUSE"}, {53, "SVTCH"}, {59, "Artefact"},
}};

}  // namespace

std::string episodeName(uint8_t code) {
    for (const auto& [c, name] : kNames)
        if (c == code) return name;
    return {};
}

bool isEpisodeName(const std::string& text) {
    for (const auto& entry : kNames)
        if (text == entry.second && text != "Artefact") return true;
    return false;
}

}  // namespace lumen
