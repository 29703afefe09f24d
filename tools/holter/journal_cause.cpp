// SPDX-License-Identifier: GPL-3.0-or-later
#include "holter/journal_cause.h"

#include <cstdio>
#include <cstdlib>

#include "holter/recording_opener.h"
#include "platform/file/regular_file.h"
#include "store/journal_recovery.h"
#include "store/recording_journal.h"

namespace lumen {

std::string JournalCauseHandler::causeFor(const std::string& recordingPath) {
    const std::string journal = RecordingJournal::pathFor(recordingPath);
    switch (JournalRecovery::inspect(recordingPath)) {
    case JournalKind::Unreadable:
        return journal +
               " cannot be read (a folder, a pipe or a file without read permission stands there); move it "
               "away to open the recording.";
    case JournalKind::Active:
        return journal +
               " holds a save that was cut short and could not be undone now: a viewer may still have the "
               "recording open, or the recording cannot be written; close the viewer or check the "
               "recording's permissions and free space, then try again.";
    case JournalKind::Foreign:
        return journal +
               " is no journal of this recording and could not be moved aside; move it away to open the "
               "recording.";
    case JournalKind::None:
    case JournalKind::Idle: break;
    }
    return {};
}

std::string namedRecordingFolder(const std::string& programDirectory) {
    std::FILE* file = openRegularFile(programDirectory + "path.tmp", "rt");
    if (file == nullptr) return {};
    char word[300] = {};  // one word, as the store reads it
    if (std::fscanf(file, "%299s", word) != 1) word[0] = '\0';
    std::fclose(file);
    return word;
}

void JournalCauseHandler::fatal(std::string_view message) {
    if (const std::string cause = causeFor(recordingPath_); !cause.empty()) std::fprintf(stderr, "%s\n", cause.c_str());
    std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
    std::exit(255);
}

}  // namespace lumen
