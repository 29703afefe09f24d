// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/export_content.h"

#include <array>
#include <utility>

#include "assembly/episode_rules.h"

namespace lumen {
namespace {

using E = EpisodeRules;
constexpr std::array<std::pair<uint8_t, const char*>, 11> kNames = {{
    {E::kVentricularIsolated, "VISO"},
    {E::kVentricularCouplet, "VCPL"},
    {E::kVentricularRun, "VRUN"},
    {E::kVentricularBigeminy, "VBIG"},
    {E::kVentricularTachycardia, "VTCH"},
    {E::kSupraventricularIsolated, "SVISO"},
    {E::kSupraventricularCouplet, "SVCPL"},
    {E::kSupraventricularRun, "SVRUN"},
    {E::kPause, "PAUSE"},
    {E::kSupraventricularTachycardia, "SVTCH"},
    {E::kArtefact, "Artefact"},
}};

}  // namespace

std::string episodeName(uint8_t code) {
    for (const auto& [c, name] : kNames)
        if (c == code) return name;
    return {};
}

bool isEpisodeName(const std::string& text) {
    for (const auto& entry : kNames)
        if (text == entry.second && entry.first != E::kArtefact) return true;
    return false;
}

}  // namespace lumen
