// SPDX-License-Identifier: GPL-3.0-or-later
// holter: the recording tool. Makes demo program homes and shows what a
// recording holds, the way the viewer reads it.
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "holter/holter_commands.h"
#include "holter/tool_arguments.h"
#include "lang/program_version.h"
#include "platform/file/program_arguments.h"

namespace {

constexpr const char* kUsage =
    "usage: holter demo DIR [--hours H] [--seed N] [--language L] [--force]\n"
    "       holter info [--home DIR] [RECDIR]\n"
    "       holter decode [--home DIR] [RECDIR] FIRST [COUNT]\n"
    "       holter events [--home DIR] [RECDIR]\n"
    "       holter import SOURCE DIR [--channels A,B] [--annotations FILE] [--detect] [--language L] [--patient TEXT] "
    "[--force]\n"
    "       holter export [--home DIR] [RECDIR] (--edf FILE | --wfdb DIR)\n"
    "       holter score [--home DIR] [RECDIR] REFERENCE [RECDIR REFERENCE ...] [--from SECONDS]\n"
    "       holter forms [--home DIR] [RECDIR]\n"
    "       holter relabel [--home DIR] [RECDIR] --form K --class N|S|V|A\n"
#ifdef LUMEN_WITH_STUDY_REPORT
    "       holter report [--home DIR] [RECDIR] --pdf FILE [--json FILE] [--paper a4|letter] "
    "[--interpretation FILE] [--reviewer NAME]\n"
#endif
#ifdef LUMEN_WITH_BIOSIG
    "       holter biosig SOURCE DIR\n"
#endif
    "       holter --version\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

bool asksForHelp(std::span<char* const> words) {
    for (const char* word : words) {
        const std::string_view text = word;
        if (text == "--help" || text == "-h") return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> texts = lumen::programArguments(argc, argv);
    std::vector<char*> all;
    for (std::string& text : texts) all.push_back(text.data());
    if (all.empty()) return usage();
    if (all.size() == 1 && std::string_view(all[0]) == "--version") {
        std::fputs(lumen::versionText("holter").c_str(), stdout);
        return 0;
    }
    if (asksForHelp(all)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const std::string_view command = all[0];
    const std::span<char* const> words(all.data() + 1, all.size() - 1);
    for (const lumen::HolterCommand& entry : lumen::holterCommands()) {
        if (command != entry.name) continue;
        const auto arguments = lumen::ToolArguments::parse(words, entry.options, entry.flags);
        if (!arguments) return usage();
        const int status = entry.run(*arguments);
        return status == 2 ? usage() : status;
    }
    return usage();
}
