// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/source_opener.h"

#include <filesystem>
#include <string>

#include "import/edf/edf_record.h"
#include "import/import_error.h"
#include "import/ishne/ishne_record.h"
#include "import/other_format_record.h"
#include "import/wfdb/wfdb_record.h"
#include "platform/file/utf8_path.h"

namespace lumen {

namespace {

std::string lowerExtension(const std::filesystem::path& path) {
    std::string extension = utf8FromPath(path.extension());
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

bool isWfdb(const std::filesystem::path& path) {
    std::error_code error;
    return lowerExtension(path) == ".hea" || (!std::filesystem::is_regular_file(path, error) &&
                                              std::filesystem::exists(WfdbRecord::headerPath(path), error));
}

}  // namespace

std::string SourceOpener::fileNamed(const std::string& source) {
    const std::filesystem::path path = pathFromUtf8(source);
    return isWfdb(path) && lowerExtension(path) != ".hea" ? utf8FromPath(WfdbRecord::headerPath(path)) : source;
}

SourceRecording SourceOpener::open(const std::string& source, const std::vector<std::string>& channels,
                                   const std::string& annotations) {
    namespace fs = std::filesystem;
    const fs::path path = pathFromUtf8(source);
    const std::string extension = lowerExtension(path);
    if (channels.size() > kMaxChannels) {
        throw ImportError(fileNamed(source),
                          "--channels names " + std::to_string(channels.size()) +
                              " channels, but a Holter recording holds two; name one or two of them");
    }
    if (isWfdb(path)) return WfdbRecord::open(path, channels, annotations);
    if (extension == ".edf" || extension == ".bdf" || extension == ".rec") {
        if (!annotations.empty()) throw ImportError(annotations, "EDF+ and BDF+ files carry their own annotations");
        return EdfRecord::open(source, channels);
    }
    if (extension == ".ecg") return IshneRecord::open(source, channels, annotations);
    std::error_code error;
    if (!fs::exists(path, error)) throw ImportError(source, "no such file (nor a WFDB header " + source + ".hea)");
    if (!annotations.empty()) throw ImportError(annotations, "only WFDB and ISHNE records take an annotation file");
    return OtherFormatRecord::open(source, channels);
}

}  // namespace lumen
