// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/edf/edf_record.h"

#include <edflib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>

#include "assembly/episode_rules.h"
#include "import/channel_chooser.h"
#include "import/edf/edf_units.h"
#include "import/export_content.h"
#include "import/import_error.h"
#include "platform/file/utf8_path.h"
#include "store/clock.h"

namespace lumen {
namespace {

constexpr double kQuarterTicksPerAnnotationUnit = kQuarterTicksPerSecond / EDFLIB_TIME_DIMENSION;

std::string trimmed(const char* text) {
    std::string s(text);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

class EdfSignal : public SignalSource {
public:
    EdfSignal(int handle, const edf_hdr_struct& header, std::vector<int> signals, std::vector<double> scales,
              const std::string& path)
        : handle_(handle), signals_(std::move(signals)), path_(path), scale_(std::move(scales)) {
        for (int s : signals_) {
            const edf_param_struct& p = header.signalparam[s];
            const double fs = static_cast<double>(p.smp_in_datarecord) * EDFLIB_TIME_DIMENSION /
                              static_cast<double>(header.datarecord_duration);
            if (frequency_ > 0 && std::fabs(fs - frequency_) > 1e-9)
                throw ImportError(path, "the chosen signals have different sampling frequencies");
            frequency_ = fs;
            length_ = length_ < 0 ? p.smp_in_file : std::min<int64_t>(length_, p.smp_in_file);
            labels_.push_back(trimmed(p.label));
            limits_.push_back({p.dig_min, p.dig_max});
        }
    }
    ~EdfSignal() override { edfclose_file(handle_); }
    double frequencyHz() const override { return frequency_; }
    int64_t lengthSamples() const override { return length_; }
    int channelCount() const override { return static_cast<int>(signals_.size()); }
    std::string channelLabel(int c) const override { return labels_[static_cast<size_t>(c)]; }
    size_t read(std::span<float> out0, std::span<float> out1) override {
        const auto n =
            static_cast<int>(std::min<int64_t>(std::min<int64_t>(out0.size(), 1 << 16), length_ - position_));
        if (n <= 0) return 0;
        buffer_.resize(static_cast<size_t>(n));
        digital_.resize(static_cast<size_t>(n));
        for (size_t c = 0; c < signals_.size(); ++c) {
            std::span<float> out = c == 0 ? out0 : out1;
            edfseek(handle_, signals_[c], position_, EDFSEEK_SET);
            if (edfread_physical_samples(handle_, signals_[c], n, buffer_.data()) != n)
                throw ImportError(path_, "the signal ended early");
            edfseek(handle_, signals_[c], position_, EDFSEEK_SET);
            edfread_digital_samples(handle_, signals_[c], n, digital_.data());
            for (int i = 0; i < n; ++i) {
                const bool saturated = digital_[i] <= limits_[c].first || digital_[i] >= limits_[c].second;
                out[i] =
                    saturated ? std::numeric_limits<float>::quiet_NaN() : static_cast<float>(buffer_[i] * scale_[c]);
            }
        }
        position_ += n;
        return static_cast<size_t>(n);
    }

private:
    int handle_;
    std::vector<int> signals_;
    std::string path_;
    double frequency_ = 0;
    int64_t length_ = -1;
    int64_t position_ = 0;
    std::vector<double> scale_;
    std::vector<std::string> labels_;
    std::vector<std::pair<int, int>> limits_;
    std::vector<double> buffer_;
    std::vector<int> digital_;
};

std::vector<int> chooseSignals(const edf_hdr_struct& h, const std::vector<std::string>& names,
                               const std::string& path) {
    std::vector<std::string> labels;
    for (int s = 0; s < h.edfsignals; ++s) labels.push_back(trimmed(h.signalparam[s].label));
    return ChannelChooser::choose(labels, names, path, "signal", ChannelChooser::Fallback::Refuse);
}

// What each chosen signal's physical unit is in millivolts; a unit that is
// no voltage is assumed from the physical range, with a warning.
std::vector<double> millivoltsPerUnit(const edf_hdr_struct& h, const std::vector<int>& signals, const std::string& path,
                                      SourceRecording& out) {
    std::vector<double> scales;
    for (int s : signals) {
        const edf_param_struct& p = h.signalparam[s];
        const EdfUnit unit = EdfUnits::of(trimmed(p.physdimension), p.phys_min, p.phys_max);
        if (!unit.warning.empty())
            out.warnings.push_back(path + ": signal \"" + trimmed(p.label) + "\" " + unit.warning);
        scales.push_back(unit.millivoltsPerUnit);
    }
    return scales;
}

void readAnnotations(int handle, const edf_hdr_struct& h, const std::string& path, SourceRecording& out) {
    size_t early = 0;
    for (long long i = 0; i < h.annotations_in_file; ++i) {
        edf_annotation_struct a;
        if (edf_get_annotation(handle, static_cast<int>(i), &a) != 0) continue;
        const auto at =
            static_cast<int64_t>(std::llround(static_cast<double>(a.onset) * kQuarterTicksPerAnnotationUnit));
        const std::string text = trimmed(a.annotation);
        const bool artefact = text == episodeName(EpisodeRules::kArtefact);
        if (text.empty()) {
            ++out.unknownLabels;
        } else if (at < 0 && !artefact) {
            ++early;
        } else if (artefact) {
            const double seconds = std::atof(a.duration);
            out.noise.push_back(
                {std::max<int64_t>(at, 0), at + static_cast<int64_t>(seconds * kQuarterTicksPerSecond)});
        } else if (const auto label = BeatLabels::lookup(text)) {
            out.beats.push_back({at, *label});
            out.hasBeatAnnotations = true;
        } else if (!isEpisodeName(text)) {
            out.events.push_back({at, text});
        }
    }
    if (early > 0) {
        out.warnings.push_back(path + ": " + std::to_string(early) +
                               " annotations lie before the first sample (negative onset) and were left out; "
                               "the signal they belong to is not in the file.");
    }
}

constexpr size_t kFixedHeaderBytes = 256;
constexpr size_t kSignalFieldsStart = 256;   // the per-signal fields follow the fixed ones
constexpr size_t kSamplesFieldOffset = 216;  // within a signal's fields, per signal

long long headerNumber(const std::string& header, size_t at, size_t width) {
    if (header.size() < at + width) return -1;
    char* end = nullptr;
    const std::string field = header.substr(at, width);
    const long long v = std::strtoll(field.c_str(), &end, 10);
    return end == field.c_str() ? -1 : v;
}

// What the header announces: its own size, the data records and their size;
// nothing when its fields are no numbers.
struct AnnouncedSize {
    long long headerBytes = 0;
    long long records = 0;
    long long recordBytes = 0;
};

std::optional<AnnouncedSize> announcedSize(std::ifstream& in, long long fileBytes) {
    std::string header(kFixedHeaderBytes, '\0');
    in.read(header.data(), static_cast<std::streamsize>(header.size()));
    AnnouncedSize a{headerNumber(header, 184, 8), headerNumber(header, 236, 8), 0};
    const long long signals = headerNumber(header, 252, 4);
    if (signals <= 0 || a.headerBytes != static_cast<long long>(kFixedHeaderBytes) * (signals + 1)) return std::nullopt;
    if (fileBytes < a.headerBytes) return a;
    header.resize(static_cast<size_t>(a.headerBytes));
    in.read(header.data() + kFixedHeaderBytes,
            static_cast<std::streamsize>(a.headerBytes - static_cast<long long>(kFixedHeaderBytes)));
    long long samplesPerRecord = 0;
    const size_t samplesAt = kSignalFieldsStart + kSamplesFieldOffset * static_cast<size_t>(signals);
    for (long long s = 0; s < signals; ++s)
        samplesPerRecord += std::max(0LL, headerNumber(header, samplesAt + 8 * static_cast<size_t>(s), 8));
    a.recordBytes = samplesPerRecord * (static_cast<unsigned char>(header[0]) == 0xFF ? 3 : 2);
    return a;
}

// A file shorter than its header announces: EDFlib calls it a format error.
std::optional<std::string> cutShort(const std::string& path) {
    std::error_code error;
    const auto size = static_cast<long long>(std::filesystem::file_size(pathFromUtf8(path), error));
    if (error) return std::nullopt;
    const std::string again = " Copy the whole file again from the recorder or its card and import that.";
    if (size < static_cast<long long>(kFixedHeaderBytes))
        return "cut short: " + std::to_string(size) + " bytes, fewer than the 256 of an EDF header." + again;
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    const std::optional<AnnouncedSize> a = announcedSize(in, size);
    if (!a) return std::nullopt;
    if (size < a->headerBytes) {
        return "cut short inside its header: " + std::to_string(size) + " of its " + std::to_string(a->headerBytes) +
               " header bytes." + again;
    }
    const long long announced = a->headerBytes + a->records * a->recordBytes;
    if (a->records <= 0 || a->recordBytes <= 0 || size >= announced) return std::nullopt;
    const long long whole = (size - a->headerBytes) / a->recordBytes;
    const std::string rescue = whole == 0
                                   ? std::string()
                                   : " If the rest is lost, a copy whose header announces " + std::to_string(whole) +
                                         " data records (bytes 236 to 243; EDFbrowser's header editor or a "
                                         "hex editor) can be imported.";
    return "cut short: the header announces " + std::to_string(a->records) + " data records (" +
           std::to_string(announced) + " bytes), the file holds " + std::to_string(size) + " bytes, " +
           std::to_string(whole) + " whole records." + again + rescue;
}

struct SignalField {
    const char* name;
    size_t width;
};
constexpr SignalField kSignalFields[] = {
    {"label", 16},           {"transducer", 80},      {"physical unit", 8},
    {"physical minimum", 8}, {"physical maximum", 8}, {"digital minimum", 8},
    {"digital maximum", 8},  {"prefiltering", 80},    {"samples per record", 8},
    {"reserved field", 32},
};

std::string fieldAt(size_t at, long long signals) {
    if (at < kSignalFieldsStart || signals <= 0) return "the fixed header";
    size_t offset = at - kSignalFieldsStart;
    for (const SignalField& f : kSignalFields) {
        const size_t all = f.width * static_cast<size_t>(signals);
        if (offset < all) return "the " + std::string(f.name) + " of signal " + std::to_string(offset / f.width + 1);
        offset -= all;
    }
    return "the header";
}

// EDF headers hold printable ASCII only; EDFlib refuses a "µV" or an
// accented name as a format error.
std::optional<std::string> outsideAscii(const std::string& path) {
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    std::string header(kFixedHeaderBytes, '\0');
    in.read(header.data(), static_cast<std::streamsize>(header.size()));
    const long long headerBytes = headerNumber(header, 184, 8);
    const long long signals = headerNumber(header, 252, 4);
    if (headerBytes > static_cast<long long>(kFixedHeaderBytes)) {
        header.resize(static_cast<size_t>(headerBytes));
        in.read(header.data() + kFixedHeaderBytes,
                static_cast<std::streamsize>(headerBytes - static_cast<long long>(kFixedHeaderBytes)));
        header.resize(kFixedHeaderBytes + static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    }
    for (size_t at = 1; at < header.size(); ++at) {
        const auto c = static_cast<unsigned char>(header[at]);
        if (c >= 32 && c <= 126) continue;
        return "the header holds a character EDF does not allow (byte " + std::to_string(at) + ", in " +
               fieldAt(at, signals) +
               "): EDF headers are plain ASCII. Replace it (\"uV\" for \"µV\") with "
               "EDFbrowser's header editor or a hex editor, and import the file again.";
    }
    return std::nullopt;
}

std::string openProblem(int code, const std::string& path) {
    if (code == EDFLIB_FILE_CONTAINS_FORMAT_ERRORS || code == EDFLIB_FILE_READ_ERROR) {
        if (const auto problem = cutShort(path)) return *problem;
        if (const auto problem = outsideAscii(path)) return *problem;
    }
    switch (code) {
    case EDFLIB_NO_SUCH_FILE_OR_DIRECTORY: return "no such file; check the path";
    case EDFLIB_FILE_CONTAINS_FORMAT_ERRORS:
        return "not an EDF/BDF file, or its header contradicts the standard; EDFbrowser, opening it, names the "
               "field at fault";
    case EDFLIB_FILE_READ_ERROR: return "cannot be read; check that the file is readable and import again";
    case EDFLIB_FILE_IS_DISCONTINUOUS:
        return "a discontinuous EDF+D/BDF+D file: only continuous recordings can be imported";
    case EDFLIB_FILETYPE_ERROR: return "not an EDF/BDF file";
    default: return "not a readable EDF/BDF file (EDFlib error " + std::to_string(code) + ")";
    }
}

}  // namespace

SourceRecording EdfRecord::open(const std::string& path, const std::vector<std::string>& channels) {
    edf_hdr_struct h;
    std::memset(&h, 0, sizeof h);
    if (edfopen_file_readonly(path.c_str(), &h, EDFLIB_READ_ALL_ANNOTATIONS) != 0)
        throw ImportError(path, openProblem(h.filetype, path));
    SourceRecording out;
    try {
        const std::vector<int> signals = chooseSignals(h, channels, path);
        readAnnotations(h.handle, h, path, out);
        out.signal = std::make_unique<EdfSignal>(h.handle, h, signals, millivoltsPerUnit(h, signals, path, out), path);
    } catch (...) {
        edfclose_file(h.handle);
        throw;
    }
    static constexpr const char* kTypes[] = {"EDF", "EDF+", "BDF", "BDF+"};
    out.format = h.filetype >= 0 && h.filetype <= 3 ? kTypes[h.filetype] : "EDF";
    out.name = utf8FromPath(pathFromUtf8(path).stem());
    out.fileName = path;
    out.startSecondOfDay =
        h.starttime_hour * kSecondsPerHour + h.starttime_minute * kSecondsPerMinute + h.starttime_second;
    out.startDate = CalendarDate::of(h.startdate_year, h.startdate_month, h.startdate_day);
    out.patient = trimmed(h.patient_name);
    if (out.patient.empty()) out.patient = trimmed(h.patient);
    return out;
}

}  // namespace lumen
