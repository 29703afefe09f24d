// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace lumen {

// What a journal found beside a recording at open is.
enum class JournalKind {
    None,        // no journal
    Idle,        // no update was under way (or one was just finishing)
    Active,      // an update was cut short
    Foreign,     // not a journal of ours
    Unreadable,  // something that cannot be read stands in its place
};

enum class RecoveryResult {
    Restored,  // the recording is again as it was before the update
    Mismatch,  // the journal was written for another recording: not applied
    Failed,    // the original bytes could not all go back
};

enum class JournalRetirement {
    Removed,
    Idled,  // left in place, idle: it cannot undo anything any more
    Stuck,  // still active: it could neither be removed nor rewritten
};

// Looking at, and acting on, a journal left beside a recording. Acting on
// one needs the recording to oneself (the caller holds its locks).
//
// `recordingPath` is the recording's canonical path: every name of the
// recording finds its journal there.
class JournalRecovery {
public:
    static JournalKind inspect(const std::string& recordingPath);
    // Whether a running session holds the journal (see RecordingJournal).
    static bool isLive(const std::string& recordingPath);

    // Puts an active journal's originals back into `image` and, only when
    // that gives exactly the recording the update began from, into the
    // file too. On a mismatch `image` is read again from the file.
    static RecoveryResult restore(const std::string& recordingPath, std::FILE* recording, std::vector<uint8_t>& image);

    // Moves the journal out of the way, under a name that says when;
    // returns that name, or "" when it could not be moved.
    static std::string setAside(const std::string& recordingPath);
    // Moves a live session's journal to the name that session looks for at
    // its end; returns that name, or "".
    static std::string moveAsideLive(const std::string& recordingPath);

    // A journal whose originals are back goes; where the folder cannot be
    // written, it is turned idle in place instead.
    static JournalRetirement retire(const std::string& recordingPath);
};

}  // namespace lumen
