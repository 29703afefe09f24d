// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace lumen {

// Which of a source's channels become the recording's one or two: those
// --channels names (by label, or by number from 1), else up to two whose
// labels name an ECG lead. One rule for every format; what a format does
// when no label looks like ECG differs (`Fallback`).
class ChannelChooser {
public:
    enum class Fallback {
        Refuse,    // EDF holds EEG, respiration, ...: a guess could show them as ECG
        FirstTwo,  // every channel is ECG (ISHNE), or the labels are free text (WFDB)
    };

    // `what` names a channel in messages ("signal", "lead"). Throws
    // ImportError naming `file` for a name the source does not have.
    static std::vector<int> choose(const std::vector<std::string>& labels, const std::vector<std::string>& names,
                                   const std::string& file, std::string_view what, Fallback fallback);

    // An ECG lead's label: "ECG"/"EKG" in it, or a lead's own name (II, V5,
    // MLII, CM5, ...).
    static bool looksLikeEcg(std::string_view label);
};

}  // namespace lumen
