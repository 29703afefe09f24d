// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/beat_labels.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "assembly/rhythm_plan.h"

namespace lumen {
namespace {

struct Entry {
    const char* label;
    BeatLabel mapping;
};

constexpr BeatLabel kNormal{kClassNormal, kFormNormal};
constexpr BeatLabel kPaced{kClassNormal, kFormAberrant};  // its own wide shape
constexpr BeatLabel kSupraventricular{kClassSupraventricular, kFormNormal};
constexpr BeatLabel kVentricular{kClassVentricular, kFormVentricularA};
// Fusion of a ventricular and a normal beat: counted with the ventricular
// ectopy, as Holter reports count it, but with a form of its own.
constexpr BeatLabel kFusion{kClassVentricular, kFormVentricularB};
// Unclassifiable beats and isolated QRS-like artefacts: artefact, so that
// they count neither as normal nor as ectopic.
constexpr BeatLabel kArtefact{kClassArtefact, kFormNormal};

constexpr Entry kTable[] = {
    {"N", kNormal},  {"L", kNormal},  {"R", kNormal},  {"e", kNormal},  {"j", kNormal},  {"n", kNormal},
    {"B", kNormal},  {"/", kPaced},   {"P", kPaced},   {"f", kPaced},   {"A", kSupraventricular},
    {"a", kSupraventricular},         {"J", kSupraventricular},         {"S", kSupraventricular},
    {"V", kVentricular},              {"E", kVentricular},              {"r", kVentricular},
    {"F", kFusion},  {"Q", kArtefact}, {"|", kArtefact},
    {"X", kArtefact}, {"U", kArtefact},  // ISHNE: artefact, unknown
    {"normal", kNormal}, {"normal beat", kNormal}, {"sinus", kNormal}, {"paced", kPaced}, {"paced beat", kPaced},
    {"svpb", kSupraventricular}, {"spb", kSupraventricular}, {"pac", kSupraventricular},
    {"apb", kSupraventricular}, {"supraventricular", kSupraventricular},
    {"supraventricular premature beat", kSupraventricular}, {"atrial premature beat", kSupraventricular},
    {"pvc", kVentricular}, {"vpb", kVentricular}, {"vpc", kVentricular}, {"ventricular", kVentricular},
    {"premature ventricular contraction", kVentricular}, {"ventricular premature beat", kVentricular},
    {"fusion", kFusion}, {"fusion beat", kFusion}, {"unknown", kArtefact}, {"unclassifiable", kArtefact},
    {"artifact", kArtefact}, {"artefact", kArtefact},
};

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

}  // namespace

std::optional<BeatLabel> BeatLabels::lookup(std::string_view label) {
    while (!label.empty() && std::isspace(static_cast<unsigned char>(label.back()))) label.remove_suffix(1);
    while (!label.empty() && std::isspace(static_cast<unsigned char>(label.front()))) label.remove_prefix(1);
    if (label.size() == 1) {
        for (const Entry& e : kTable)
            if (label == e.label) return e.mapping;
        return std::nullopt;
    }
    const std::string key = lowered(label);
    for (const Entry& e : kTable)
        if (key == e.label) return e.mapping;
    return std::nullopt;
}

char BeatLabels::mnemonicOf(uint8_t beatClass) {
    static constexpr char kMnemonics[] = {'N', 'S', 'V', 'Q'};
    return kMnemonics[beatClass % kBeatClassCount];
}

}  // namespace lumen
