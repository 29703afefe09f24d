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

// Looking at, and acting on, a journal left beside a recording. Acting on
// one needs the recording to oneself (the caller holds its locks).
class JournalRecovery {
public:
    static JournalKind inspect(const std::string& recordingPath);

    // Puts an active journal's originals back into `image` and, only when
    // that gives exactly the recording the update began from, into the
    // file too. On a mismatch `image` is read again from the file.
    static RecoveryResult restore(const std::string& recordingPath, std::FILE* recording,
                                  std::vector<uint8_t>& image);

    // Moves the journal out of the way, under a name that says when;
    // returns that name, or "" when it could not be moved.
    static std::string setAside(const std::string& recordingPath);
};

}  // namespace lumen
