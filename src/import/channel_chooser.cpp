// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/channel_chooser.h"

#include <cctype>

#include "import/import_error.h"

namespace lumen {
namespace {

// A channel number given instead of a label: "1" to "999".
constexpr size_t kMaxNumberDigits = 3;
constexpr size_t kChannelsKept = 2;

int numberOf(const std::string& name) {
    if (name.empty() || name.size() > kMaxNumberDigits || name.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stoi(name) - 1;
}

}  // namespace

bool ChannelChooser::looksLikeEcg(std::string_view label) {
    static constexpr std::string_view kLeads[] = {"I",  "II", "III", "aVR",  "aVL", "aVF",   "V1",  "V2",  "V3",
                                                  "V4", "V5", "V6",  "MLII", "MLI", "MLIII", "CM5", "CC5", "ML"};
    if (label.find("ECG") != std::string_view::npos || label.find("EKG") != std::string_view::npos ||
        label.find("lead") != std::string_view::npos || label.find("Lead") != std::string_view::npos)
        return true;
    // Modified limb leads (MLII, MLIII) and chest leads however suffixed (V5, V2-V4).
    if (label.starts_with("ML") ||
        (label.size() > 1 && label[0] == 'V' && std::isdigit(static_cast<unsigned char>(label[1]))))
        return true;
    for (const std::string_view lead : kLeads)
        if (label == lead) return true;
    return false;
}

std::vector<int> ChannelChooser::choose(const std::vector<std::string>& labels, const std::vector<std::string>& names,
                                        const std::string& file, std::string_view what, Fallback fallback) {
    const auto count = static_cast<int>(labels.size());
    std::vector<int> picked;
    for (const std::string& name : names) {
        int found = -1;
        for (int c = 0; c < count && found < 0; ++c)
            if (labels[static_cast<size_t>(c)] == name) found = c;
        if (found < 0) found = numberOf(name);
        if (found < 0 || found >= count)
            throw ImportError(file, "no " + std::string(what) + " \"" + name + "\" in the file; --channels names " +
                                        std::string(what) + "s by label or by number from 1");
        picked.push_back(found);
    }
    if (!names.empty()) return picked;
    for (int c = 0; c < count && picked.size() < kChannelsKept; ++c)
        if (looksLikeEcg(labels[static_cast<size_t>(c)])) picked.push_back(c);
    if (!picked.empty()) return picked;
    if (fallback == Fallback::Refuse || count == 0)
        throw ImportError(file,
                          "no ECG " + std::string(what) +
                              " (a label with ECG, EKG or a lead's name); --channels names the one or two to use");
    for (int c = 0; c < count && picked.size() < kChannelsKept; ++c) picked.push_back(c);
    return picked;
}

}  // namespace lumen
