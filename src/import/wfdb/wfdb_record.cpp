#include "import/wfdb/wfdb_record.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <iterator>

#include "import/channel_chooser.h"
#include "import/import_error.h"
#include "import/wfdb/wfdb_annotations.h"
#include "import/wfdb/wfdb_signal_reader.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

constexpr uint8_t kNoiseCode = 14;  // "~": signal quality change
constexpr uintmax_t kMaxTextBytes = 1 << 20;
constexpr uintmax_t kMaxAnnotationBytes = 256u << 20;

std::vector<uint8_t> readAll(const std::filesystem::path& path, uintmax_t limit) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) throw ImportError(utf8FromPath(path), "cannot read: " + error.message());
    if (size > limit) throw ImportError(utf8FromPath(path), "too large (" + std::to_string(size) + " bytes)");
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes(size);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    if (!in) throw ImportError(utf8FromPath(path), "cannot read");
    return bytes;
}

void readAnnotations(const std::filesystem::path& path, const WfdbHeader& h, int64_t length, SourceRecording& out) {
    const auto annotations = WfdbAnnotations::parse(readAll(path, kMaxAnnotationBytes), utf8FromPath(path));
    // Annotation times count samples; the counter frequency only labels them.
    const double perQuarterTick = kQuarterTicksPerSecond / h.samplingFrequency;
    const auto lastSample = static_cast<double>(length);
    int64_t noiseStart = -1;
    for (const WfdbAnnotation& a : annotations) {
        if (static_cast<double>(a.sample) >= lastSample)
            throw ImportError(utf8FromPath(path), "annotation at sample " + std::to_string(a.sample) +
                                                      " lies past the end of the signal (" + std::to_string(length) +
                                                      " samples)");
        const auto at = static_cast<int64_t>(std::llround(static_cast<double>(a.sample) * perQuarterTick));
        if (a.code == kNoiseCode) {
            if (a.subtype != 0 && noiseStart < 0) noiseStart = at;
            if (a.subtype == 0 && noiseStart >= 0) {
                out.noise.push_back({noiseStart, at});
                noiseStart = -1;
            }
            continue;
        }
        if (!WfdbAnnotations::defined(a.code))
            ++out.unknownLabels;
        else if (const auto label = BeatLabels::lookup(WfdbAnnotations::mnemonic(a.code)))
            out.beats.push_back({at, *label});
    }
    if (noiseStart >= 0)
        out.noise.push_back({noiseStart, static_cast<int64_t>(std::llround(lastSample * perQuarterTick))});
    out.hasBeatAnnotations = true;
}

std::vector<int> chosenChannels(const WfdbHeader& h, const std::vector<std::string>& names, const std::string& file) {
    std::vector<std::string> labels;
    for (const auto& signal : h.signals) labels.push_back(signal.description);
    return ChannelChooser::choose(labels, names, file, "signal", ChannelChooser::Fallback::FirstTwo);
}

bool mentionsPacing(const std::string& comment) {
    std::string lower = comment;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower.find("paced") != std::string::npos || lower.find("pacemaker") != std::string::npos;
}

}  // namespace

std::filesystem::path WfdbRecord::headerPath(const std::filesystem::path& source) {
    if (source.extension() == ".hea") return source;
    return pathFromUtf8(utf8FromPath(source) + ".hea");
}

SourceRecording WfdbRecord::open(const std::filesystem::path& source, const std::vector<std::string>& channels,
                                 const std::string& annotations) {
    const std::filesystem::path header = headerPath(source);
    const auto text = readAll(header, kMaxTextBytes);
    const WfdbHeader h = WfdbHeader::parse(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()),
                                           utf8FromPath(header));
    const std::filesystem::path directory = header.parent_path().empty() ? "." : header.parent_path();
    SourceRecording out;
    out.format = "WFDB";
    out.name = h.recordName;
    out.fileName = utf8FromPath(header);
    auto reader = std::make_unique<WfdbSignalReader>(h, directory, chosenChannels(h, channels, utf8FromPath(header)));
    const int64_t length = reader->lengthSamples();
    out.signal = std::move(reader);
    out.startSecondOfDay = h.startSecondOfDay;
    out.startDate = h.startDate;
    out.patient = h.recordName + (h.comments.empty() ? "" : "," + h.comments.front());
    out.pacemaker = std::any_of(h.comments.begin(), h.comments.end(), mentionsPacing);
    const std::filesystem::path atr = annotations.empty()
                                          ? directory / pathFromUtf8(utf8FromPath(header.stem()) + ".atr")
                                          : pathFromUtf8(annotations);
    if (!annotations.empty() || std::filesystem::exists(atr)) readAnnotations(atr, h, length, out);
    return out;
}

}  // namespace lumen
