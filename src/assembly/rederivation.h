// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace lumen {

class Recording;
class TrendTable;

// What a re-derivation found and did.
struct RederivationResult {
    size_t episodesBefore = 0;
    size_t episodesAfter = 0;
    bool changed = false;  // the recording needed new episodes or tables
    bool saved = false;    // ... and holds them now (true when nothing changed)
    // Why nothing could be written, when the recording itself is the cause;
    // a failed write says why through the file's failure note instead.
    std::string problem;
};

// The episodes, heart-rate table and heart-rate extremes of a recording
// derived again from its beats after a reviewer corrected their labels,
// by the rules an import derives them by (docs/derivation-rules.md), so
// that the event rows, counts and report follow the corrected labels.
//
// Episodes that the labels do not make are kept as stored: atrial
// fibrillation (a rhythm, found in the RR intervals or annotated), flutter
// of the ventricles, and artefacts (annotated noise and the reviewer's own
// deletions). The ST tables keep their levels; blocks left without a heart
// rate lose theirs, as the viewer's rebuild does.
class Rederivation {
public:
    // `recording` is open for a session with its beats loaded, `trends`
    // loaded from it. Writes the beats, the episodes and the tables as one
    // update through the recording's journal; a recording whose episodes and
    // tables already follow its beats is left untouched.
    static RederivationResult run(Recording& recording, TrendTable& trends);

    // Whether an episode of this code comes from the beat labels alone.
    static bool derivedFromLabels(uint8_t code);
};

}  // namespace lumen
