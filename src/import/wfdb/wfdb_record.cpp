// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/wfdb/wfdb_record.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <iterator>

#include "import/beat_only_source.h"
#include "import/channel_chooser.h"
#include "import/import_error.h"
#include "import/wfdb/wfdb_annotations.h"
#include "import/wfdb/wfdb_signal_reader.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

constexpr uint8_t kNoiseCode = 14;   // "~": signal quality change
constexpr uint8_t kRhythmCode = 28;  // "+": rhythm change, its rhythm in the aux text
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

bool fibrillationRhythm(std::string aux) {
    while (!aux.empty() && (aux.back() == '\0' || aux.back() == ' ')) aux.pop_back();
    return aux == "(AFIB" || aux == "(AFL";
}

// Atrial fibrillation and flutter last from their rhythm change to the next.
void readRhythm(const WfdbAnnotation& a, int64_t at, int64_t& fibrillationStart, SourceRecording& out) {
    out.hasRhythmAnnotations = true;
    if (fibrillationStart >= 0) out.fibrillation.push_back({fibrillationStart, at});
    fibrillationStart = fibrillationRhythm(a.aux) ? at : -1;
}

// Returns the record's length in samples: `length`, or without one the
// last annotation's sample and one.
int64_t readAnnotations(const std::filesystem::path& path, const WfdbHeader& h, int64_t length, SourceRecording& out) {
    const auto annotations = WfdbAnnotations::parse(readAll(path, kMaxAnnotationBytes), utf8FromPath(path));
    if (length == 0 && !annotations.empty()) length = annotations.back().sample + 1;
    // Annotation times count samples; the counter frequency only labels them.
    const double perQuarterTick = kQuarterTicksPerSecond / h.samplingFrequency;
    const auto lastSample = static_cast<double>(length);
    int64_t noiseStart = -1;
    int64_t fibrillationStart = -1;
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
        if (a.code == kRhythmCode) {
            readRhythm(a, at, fibrillationStart, out);
            continue;
        }
        if (!WfdbAnnotations::defined(a.code))
            ++out.unknownLabels;
        else if (const auto label = BeatLabels::lookup(WfdbAnnotations::mnemonic(a.code)))
            out.beats.push_back({at, *label});
    }
    const auto end = static_cast<int64_t>(std::llround(lastSample * perQuarterTick));
    if (noiseStart >= 0) out.noise.push_back({noiseStart, end});
    if (fibrillationStart >= 0) out.fibrillation.push_back({fibrillationStart, end});
    out.hasBeatAnnotations = true;
    return length;
}

// The header names no signal, or none of the chosen signals' files exists.
bool signalAbsent(const WfdbHeader& h, const std::filesystem::path& directory, const std::vector<int>& channels) {
    if (h.signals.empty()) return true;
    std::error_code error;
    for (int c : channels)
        if (std::filesystem::exists(directory / pathFromUtf8(h.signals[static_cast<size_t>(c)].fileName), error))
            return false;
    return true;
}

// Beats without signal: the record's rate and length, a flat signal, and a
// warning that says so.
void openBeatsOnly(const WfdbHeader& h, const std::filesystem::path& header, const std::filesystem::path& atr,
                   bool annotationsNamed, SourceRecording& out) {
    const std::string name = utf8FromPath(header);
    if (!annotationsNamed && !std::filesystem::exists(atr))
        throw ImportError(name, "names no signal file that exists, and the record has no annotation file " +
                                    utf8FromPath(atr) +
                                    ": there is nothing to import. Copy the signal files next to "
                                    "the header, or name an annotation file with --annotations.");
    // The header's length belongs to the absent signal; annotations past it
    // lengthen the record rather than being refused.
    const int64_t annotated = readAnnotations(atr, h, 0, out);
    const int64_t length = std::max(h.samplesPerSignal.value_or(0), annotated);
    if (h.samplesPerSignal && annotated > *h.samplesPerSignal)
        out.warnings.push_back(name + " gives " + std::to_string(*h.samplesPerSignal) +
                               " samples, but annotations run to sample " + std::to_string(annotated - 1) +
                               ": the recording lasts to the last annotation.");
    out.signal = std::make_unique<BeatOnlySource>(h.samplingFrequency, length);
    out.signalAbsent = true;
    out.warnings.push_back(name + (h.signals.empty() ? " declares no signal" : " names signal files that are absent") +
                           ": only the beat annotations were imported, both channels are flat and marked lead-off.");
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
    out.startSecondOfDay = h.startSecondOfDay;
    out.startDate = h.startDate;
    out.patient = h.recordName + (h.comments.empty() ? "" : "," + h.comments.front());
    out.pacemaker = std::any_of(h.comments.begin(), h.comments.end(), mentionsPacing);
    const std::filesystem::path atr = annotations.empty()
                                          ? directory / pathFromUtf8(utf8FromPath(header.stem()) + ".atr")
                                          : pathFromUtf8(annotations);
    const std::vector<int> chosen =
        h.signals.empty() ? std::vector<int>{} : chosenChannels(h, channels, utf8FromPath(header));
    if (signalAbsent(h, directory, chosen)) {
        openBeatsOnly(h, header, atr, !annotations.empty(), out);
        return out;
    }
    auto reader = std::make_unique<WfdbSignalReader>(h, directory, chosen);
    const int64_t length = reader->lengthSamples();
    out.signal = std::move(reader);
    if (!annotations.empty() || std::filesystem::exists(atr)) readAnnotations(atr, h, length, out);
    return out;
}

}  // namespace lumen
