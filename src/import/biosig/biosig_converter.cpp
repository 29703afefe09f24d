// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/biosig/biosig_converter.h"

#include <biosig-dev.h>
#include <biosig.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "import/wfdb/wfdb_writer.h"

namespace lumen {
namespace {

constexpr double kUnitsPerMillivolt = 1000.0;  // one unit is 1 µV
constexpr int16_t kInvalidSample = -32768;     // WFDB's missing sample in format 16
constexpr int kEarliestYear = 1980;            // an earlier start is no date the device set

struct HeaderCloser {
    void operator()(HDRTYPE* header) const {
        sclose(header);
        destructHDR(header);
    }
};
using Header = std::unique_ptr<HDRTYPE, HeaderCloser>;

// The factor from the channel's unit to mV; nothing for a unit that is no voltage.
std::optional<double> millivoltsPer(std::string_view unit) {
    if (unit == "uV" || unit == "\xC2\xB5V" || unit == "\xB5V") return 1e-3;
    if (unit == "mV") return 1.0;
    if (unit == "V") return 1e3;
    if (unit == "nV") return 1e-6;
    return std::nullopt;
}

int16_t sampleOf(double millivolts) {
    if (!std::isfinite(millivolts)) return kInvalidSample;
    return static_cast<int16_t>(std::clamp(std::lround(millivolts * kUnitsPerMillivolt), -32767L, 32767L));
}

struct Channel {
    long index = 0;
    std::string label;
    double millivoltsPerUnit = 1.0;
};

std::vector<Channel> voltageChannels(HDRTYPE* header) {
    std::vector<Channel> out;
    const long count = biosig_get_number_of_channels(header);
    for (long k = 0; k < count; ++k) {
        CHANNEL_TYPE* channel = biosig_get_channel(header, static_cast<int>(k));
        if (channel == nullptr) continue;
        const char* unit = biosig_channel_get_physdim(channel);
        const std::optional<double> factor = millivoltsPer(unit != nullptr ? unit : "");
        if (!factor) continue;
        const char* label = biosig_channel_get_label(channel);
        out.push_back({k, label != nullptr && *label != '\0' ? label : "ECG" + std::to_string(k + 1), *factor});
    }
    return out;
}

void setStart(HDRTYPE* header, WfdbWriter& writer) {
    struct tm start {};
    if (biosig_get_startdatetime(header, &start) != 0 || start.tm_year + 1900 < kEarliestYear) return;
    const int32_t secondOfDay = start.tm_hour * 3600 + start.tm_min * 60 + start.tm_sec;
    writer.setStart(secondOfDay, CalendarDate::of(start.tm_year + 1900, start.tm_mon + 1, start.tm_mday));
}

}  // namespace

std::string BiosigConverter::convert(const std::string& source, const std::filesystem::path& folder) {
    // libbiosig leaves out the patient's name unless told otherwise; the
    // recording is the patient's own, and its patient line names them.
    HDRTYPE* fresh = constructHDR(0, 0);
    if (fresh != nullptr) fresh->FLAG.ANONYMOUS = 0;
    const Header header(sopen(source.c_str(), "r", fresh));
    if (!header || biosig_check_error(header.get())) {
        const char* why = header ? biosig_get_errormsg(header.get()) : nullptr;
        return "libbiosig cannot read it" + (why != nullptr && *why != '\0' ? ": " + std::string(why) : std::string());
    }
    const std::vector<Channel> channels = voltageChannels(header.get());
    const double frequencyHz = biosig_get_samplerate(header.get());
    if (channels.empty()) return "it holds no signal in volts, so no ECG";
    if (!(frequencyHz > 0.0)) return "it gives no sampling frequency";
    biosig_reset_flag(header.get(), BIOSIG_FLAG_ROW_BASED_CHANNELS);
    sread(nullptr, 0, biosig_get_number_of_records(header.get()), header.get());
    biosig_data_type* data = nullptr;
    size_t rows = 0;
    size_t columns = 0;
    if (biosig_get_datablock(header.get(), &data, &rows, &columns) != 0 || data == nullptr || rows == 0)
        return "libbiosig read no samples from it";

    std::vector<WfdbWriteSignal> signals;
    for (const Channel& c : channels) signals.push_back({c.label, kUnitsPerMillivolt, 0});
    WfdbWriter writer(folder, kRecordName, frequencyHz, signals);
    setStart(header.get(), writer);
    std::vector<std::vector<int16_t>> samples(channels.size(), std::vector<int16_t>(rows));
    for (size_t c = 0; c < channels.size(); ++c) {
        const auto column = static_cast<size_t>(channels[c].index);
        if (column >= columns) return "libbiosig gave fewer signals than it announced";
        for (size_t i = 0; i < rows; ++i)
            samples[c][i] = sampleOf(data[column * rows + i] * channels[c].millivoltsPerUnit);
    }
    const char* patient = biosig_get_patient_name(header.get());
    const std::vector<std::string> comments{patient != nullptr ? patient : ""};
    if (!writer.append(samples, rows) || !writer.finish({}, comments)) return "the converted record cannot be written";
    return "";
}

}  // namespace lumen
