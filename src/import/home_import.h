// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <atomic>
#include <string>
#include <vector>

namespace lumen {

// One import of a source recording into a program home, as `holter import`
// and the viewer's opening of a file do it: the source read and checked,
// the recording made (with the analysis where the source has no beats),
// and the home built beside its place and swapped in whole.
struct HomeImportRequest {
    std::string source;
    std::string home;
    std::string channels;     // --channels: one or two labels, comma-separated; "" chooses
    std::string annotations;  // another WFDB annotation file, or ""
    bool detect = false;      // analyse even when the source has beats
    int language = 2;
    std::string patient;                      // "" keeps the source's
    bool replace = false;                     // --force: an existing home is replaced
    bool takeFreeFolder = false;              // an empty folder may become the home
    std::atomic<double>* progress = nullptr;  // 0..1 while it works, for a display
};

struct HomeImportResult {
    bool ok = false;
    std::string summary;                // one line, on success
    std::string problem;                // one sentence naming the file, on failure
    bool homeInUse = false;             // refused because a viewer holds it
    bool homeTaken = false;             // refused because a home is already there
    std::vector<std::string> warnings;  // what the source got wrong and what was used
    std::vector<std::string> notes;     // what the home's swap did besides
};

class HomeImport {
public:
    static HomeImportResult run(const HomeImportRequest& request);
};

}  // namespace lumen
