// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/reference_beats.h"

#include <fstream>
#include <optional>
#include <string>

#include "import/import_error.h"
#include "import/wfdb/wfdb_annotations.h"
#include "import/wfdb/wfdb_header.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

constexpr uintmax_t kMaxReferenceBytes = 256u << 20;
constexpr double kFlutterToTheEnd = 1e30;  // a flutter stretch the record ends in

std::vector<uint8_t> readFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) throw ImportError(utf8FromPath(path), "cannot read: " + error.message());
    if (size > kMaxReferenceBytes) throw ImportError(utf8FromPath(path), "too large");
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes(size);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    if (!in) throw ImportError(utf8FromPath(path), "cannot read");
    return bytes;
}

// The EC57 class of a WFDB beat label; nothing for labels that are no beat.
std::optional<ScoreClass> referenceClass(const std::string& label) {
    static const std::pair<const char*, ScoreClass> kTable[] = {
        {"N", ScoreClass::N}, {"L", ScoreClass::N}, {"R", ScoreClass::N}, {"e", ScoreClass::N}, {"j", ScoreClass::N},
        {"B", ScoreClass::N}, {"A", ScoreClass::S}, {"a", ScoreClass::S}, {"J", ScoreClass::S}, {"S", ScoreClass::S},
        {"V", ScoreClass::V}, {"E", ScoreClass::V}, {"r", ScoreClass::V}, {"F", ScoreClass::F}, {"/", ScoreClass::Q},
        {"f", ScoreClass::Q}, {"Q", ScoreClass::Q}, {"P", ScoreClass::Q}};
    for (const auto& [name, kind] : kTable)
        if (label == name) return kind;
    return std::nullopt;
}

}  // namespace

ReferenceBeats ReferenceBeats::read(const std::filesystem::path& atr) {
    std::filesystem::path header = atr;
    header.replace_extension(".hea");
    const auto text = readFile(header);
    const WfdbHeader h = WfdbHeader::parse(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()),
                                           utf8FromPath(header));
    ReferenceBeats out;
    bool inFlutter = false;
    double flutterFrom = 0.0;
    for (const WfdbAnnotation& a : WfdbAnnotations::parse(readFile(atr), utf8FromPath(atr))) {
        const double seconds = static_cast<double>(a.sample) / h.samplingFrequency;
        const std::string label = WfdbAnnotations::mnemonic(a.code);
        if (const auto kind = referenceClass(label)) out.beats.push_back({seconds, *kind});
        if (label == "[" && !inFlutter) {
            inFlutter = true;
            flutterFrom = seconds;
        }
        if (label == "]" && inFlutter) {
            out.flutter.push_back({flutterFrom, seconds});
            inFlutter = false;
        }
    }
    if (inFlutter) out.flutter.push_back({flutterFrom, kFlutterToTheEnd});
    return out;
}

}  // namespace lumen
