#include "import/edf/edf_record.h"

#include <edflib.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "import/export_content.h"
#include "import/import_error.h"
#include "platform/file/utf8_path.h"
#include "assembly/episode_rules.h"
#include "store/clock.h"

namespace lumen {
namespace {

constexpr double kQuarterTicksPerAnnotationUnit = kQuarterTicksPerSecond / EDFLIB_TIME_DIMENSION;

std::string trimmed(const char* text) {
    std::string s(text);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

bool looksLikeEcg(const std::string& label) {
    static constexpr const char* kLeads[] = {"I",   "II",  "III", "aVR", "aVL", "aVF", "V1", "V2", "V3",
                                             "V4",  "V5",  "V6",  "MLII", "MLI", "MLIII", "CM5", "CC5", "ML"};
    if (label.find("ECG") != std::string::npos || label.find("EKG") != std::string::npos) return true;
    for (const char* lead : kLeads)
        if (label == lead) return true;
    return false;
}

class EdfSignal : public SignalSource {
public:
    EdfSignal(int handle, const edf_hdr_struct& header, std::vector<int> signals, const std::string& path)
        : handle_(handle), signals_(std::move(signals)), path_(path) {
        for (int s : signals_) {
            const edf_param_struct& p = header.signalparam[s];
            const double fs = static_cast<double>(p.smp_in_datarecord) * EDFLIB_TIME_DIMENSION /
                              static_cast<double>(header.datarecord_duration);
            if (frequency_ > 0 && std::fabs(fs - frequency_) > 1e-9)
                throw ImportError(path, "the chosen signals have different sampling frequencies");
            frequency_ = fs;
            length_ = length_ < 0 ? p.smp_in_file : std::min<int64_t>(length_, p.smp_in_file);
            const std::string unit = trimmed(p.physdimension);
            scale_.push_back(unit == "uV" ? 0.001 : unit == "V" ? 1000.0 : unit == "nV" ? 1e-6 : 1.0);
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
        const auto n = static_cast<int>(std::min<int64_t>(std::min<int64_t>(out0.size(), 1 << 16), length_ - position_));
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
                out[i] = saturated ? std::numeric_limits<float>::quiet_NaN() : static_cast<float>(buffer_[i] * scale_[c]);
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

std::vector<int> chooseSignals(const edf_hdr_struct& h, const std::vector<std::string>& names, const std::string& path) {
    std::vector<int> picked;
    for (const std::string& name : names) {
        int found = -1;
        for (int s = 0; s < h.edfsignals && found < 0; ++s)
            if (trimmed(h.signalparam[s].label) == name) found = s;
        if (found < 0 && !name.empty() && name.size() < 4 && name.find_first_not_of("0123456789") == std::string::npos)
            found = std::stoi(name) - 1;
        if (found < 0 || found >= h.edfsignals) throw ImportError(path, "no signal \"" + name + "\" in the file");
        picked.push_back(found);
    }
    for (int s = 0; names.empty() && s < h.edfsignals && picked.size() < 2; ++s)
        if (looksLikeEcg(trimmed(h.signalparam[s].label))) picked.push_back(s);
    if (picked.empty()) throw ImportError(path, "no ECG signal (label ECG, EKG or a lead name); --channels names one");
    return picked;
}

void readAnnotations(int handle, const edf_hdr_struct& h, SourceRecording& out) {
    for (long long i = 0; i < h.annotations_in_file; ++i) {
        edf_annotation_struct a;
        if (edf_get_annotation(handle, static_cast<int>(i), &a) != 0) continue;
        const auto at = static_cast<int64_t>(std::llround(static_cast<double>(a.onset) * kQuarterTicksPerAnnotationUnit));
        const std::string text = trimmed(a.annotation);
        if (text == episodeName(EpisodeRules::kArtefact)) {
            const double seconds = std::atof(a.duration);
            out.noise.push_back({at, at + static_cast<int64_t>(seconds * kQuarterTicksPerSecond)});
        } else if (const auto label = BeatLabels::lookup(text)) {
            out.beats.push_back({at, *label});
            out.hasBeatAnnotations = true;
        } else if (!isEpisodeName(text)) {
            out.events.push_back({at, text});
        }
    }
}

std::string openProblem(int code) {
    switch (code) {
    case EDFLIB_NO_SUCH_FILE_OR_DIRECTORY: return "no such file";
    case EDFLIB_FILE_CONTAINS_FORMAT_ERRORS: return "not an EDF/BDF file, or its header contradicts the standard";
    case EDFLIB_FILE_READ_ERROR: return "cannot be read, or is shorter than its header says";
    case EDFLIB_FILE_IS_DISCONTINUOUS: return "a discontinuous EDF+D/BDF+D file: only continuous recordings can be imported";
    case EDFLIB_FILETYPE_ERROR: return "not an EDF/BDF file";
    default: return "not a readable EDF/BDF file (EDFlib error " + std::to_string(code) + ")";
    }
}

}  // namespace

SourceRecording EdfRecord::open(const std::string& path, const std::vector<std::string>& channels) {
    edf_hdr_struct h;
    std::memset(&h, 0, sizeof h);
    if (edfopen_file_readonly(path.c_str(), &h, EDFLIB_READ_ALL_ANNOTATIONS) != 0)
        throw ImportError(path, openProblem(h.filetype));
    SourceRecording out;
    try {
        const std::vector<int> signals = chooseSignals(h, channels, path);
        readAnnotations(h.handle, h, out);
        out.signal = std::make_unique<EdfSignal>(h.handle, h, signals, path);
    } catch (...) {
        edfclose_file(h.handle);
        throw;
    }
    static constexpr const char* kTypes[] = {"EDF", "EDF+", "BDF", "BDF+"};
    out.format = h.filetype >= 0 && h.filetype <= 3 ? kTypes[h.filetype] : "EDF";
    out.name = utf8FromPath(pathFromUtf8(path).stem());
    out.fileName = path;
    out.startSecondOfDay = h.starttime_hour * kSecondsPerHour + h.starttime_minute * kSecondsPerMinute + h.starttime_second;
    out.startDate = CalendarDate::of(h.startdate_year, h.startdate_month, h.startdate_day);
    out.patient = trimmed(h.patient_name);
    if (out.patient.empty()) out.patient = trimmed(h.patient);
    return out;
}

}  // namespace lumen
