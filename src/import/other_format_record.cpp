// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/other_format_record.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "import/import_error.h"
#include "import/wfdb/wfdb_record.h"
#include "platform/file/child_program.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

constexpr const char* kRecordName = "converted";  // as `holter biosig` names it
// Tests and packagers may name the reading program, and a shorter deadline.
constexpr const char* kReaderVariable = "LUMEN_BIOSIG_READER";
constexpr const char* kDeadlineVariable = "LUMEN_BIOSIG_DEADLINE_SECONDS";

// A folder of our own for the converted record, removed with its last reader.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "lumen-biosig-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The holter installed beside the running program; in a build tree, where
// the programs lie apart, the one on the search path.
std::string readerProgram() {
    const char* named = std::getenv(kReaderVariable);
    if (named != nullptr && *named != '\0') return named;
    const std::string sibling = siblingProgram("holter");
    std::error_code error;
    if (std::filesystem::exists(sibling, error)) return sibling;
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "";
    for (size_t start = 0; start <= folders.size();) {
        const size_t end = std::min(folders.find(':', start), folders.size());
        const std::filesystem::path candidate = std::filesystem::path(folders.substr(start, end - start)) / "holter";
        if (end > start && std::filesystem::exists(candidate, error)) return candidate.string();
        start = end + 1;
    }
    return sibling;
}

int deadlineSeconds() {
    const char* named = std::getenv(kDeadlineVariable);
    const int seconds = named != nullptr ? std::atoi(named) : 0;
    return seconds > 0 ? seconds : OtherFormatRecord::kDeadlineSeconds;
}

// The reader's own sentence: the last line it wrote to standard error.
std::string lastLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const size_t start = text.rfind('\n');
    return start == std::string::npos ? text : text.substr(start + 1);
}

void failOnEnd(const std::string& source, const std::string& reader, const ChildRun& run) {
    if (!run.started) throw ImportError(source, "the reader of other formats, " + reader + ", cannot be started");
    if (run.timedOut)
        throw ImportError(source, "libbiosig did not finish reading it within " + std::to_string(deadlineSeconds()) +
                                      " s and was stopped; the file may be damaged");
    if (run.signal != 0)
        throw ImportError(source, "libbiosig crashed reading it (signal " + std::to_string(run.signal) +
                                      "); the file is damaged or in a variant libbiosig cannot read");
    if (run.exitStatus == ChildRun::kCannotExecuteStatus)
        throw ImportError(source,
                          "the reader of other formats, " + reader + ", cannot be started: " + lastLine(run.errorText));
    if (run.exitStatus != 0) {
        // The reader's message names the file already.
        const std::string why = lastLine(run.errorText);
        if (why.empty()) throw ImportError(source, "libbiosig cannot read it");
        throw ImportError(why);
    }
}

}  // namespace

bool OtherFormatRecord::available() { return true; }

SourceRecording OtherFormatRecord::open(const std::string& source, const std::vector<std::string>& channels) {
    auto folder = std::make_shared<ScratchFolder>();
    if (folder->path().empty()) throw ImportError(source, "no scratch folder can be made to convert it in");
    const std::string reader = readerProgram();
    const ChildRun run = runChildProgram(reader, {"biosig", source, utf8FromPath(folder->path())}, deadlineSeconds());
    failOnEnd(source, reader, run);
    SourceRecording record = WfdbRecord::open(folder->path() / kRecordName, channels, "");
    const std::string stem = utf8FromPath(pathFromUtf8(source).stem());
    if (record.patient.rfind(kRecordName, 0) == 0)
        record.patient = stem + record.patient.substr(std::string(kRecordName).size());
    record.format = "libbiosig";
    record.name = stem;
    record.fileName = source;
    record.scratch = std::move(folder);
    return record;
}

}  // namespace lumen
