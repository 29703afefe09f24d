// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/wfdb/wfdb_header.h"

#include <charconv>
#include <cmath>
#include <sstream>

#include "import/import_error.h"

namespace lumen {
namespace {

constexpr size_t kMaxSignals = 64;
constexpr double kMaxFrequencyHz = 100000.0;
// A skew is read ahead in memory: a few seconds at most in practice.
constexpr int64_t kMaxSkewSamples = 1 << 16;

std::vector<std::string> wordsOf(std::string_view line) {
    std::vector<std::string> words;
    std::istringstream in{std::string(line)};
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::optional<double> number(std::string_view text) {
    double v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<int64_t> integer(std::string_view text) {
    int64_t v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

// HH:MM:SS, MM:SS or SS, with optional fractions of a second.
std::optional<int32_t> secondOfDay(std::string_view text) {
    int64_t parts[3] = {0, 0, 0};
    int count = 0;
    size_t at = 0;
    while (at <= text.size() && count < 3) {
        size_t colon = text.find(':', at);
        if (colon == std::string_view::npos) colon = text.size();
        auto field = text.substr(at, colon - at);
        field = field.substr(0, field.find('.'));
        const auto v = integer(field);
        if (!v || *v < 0 || *v > 99) return std::nullopt;
        parts[count++] = *v;
        at = colon + 1;
    }
    if (at <= text.size()) return std::nullopt;
    int64_t seconds = 0;
    for (int i = 0; i < count; ++i) seconds = seconds * 60 + parts[i];
    return static_cast<int32_t>(seconds % 86400);
}

// The base date: DD/MM/YYYY.
std::optional<CalendarDate> baseDate(std::string_view text) {
    const size_t first = text.find('/');
    const size_t second = first == std::string_view::npos ? first : text.find('/', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const auto day = integer(text.substr(0, first));
    const auto month = integer(text.substr(first + 1, second - first - 1));
    const auto year = integer(text.substr(second + 1));
    if (!day || !month || !year) return std::nullopt;
    return CalendarDate::of(*year, *month, *day);
}

int defaultResolution(int format) {
    switch (format) {
    case 80: return 8;
    case 212: return 12;
    case 24: return 24;
    case 32: return 32;
    default: return 16;
    }
}

void parseRecordLine(const std::vector<std::string>& w, WfdbHeader& h, size_t& signalCount, const std::string& file) {
    const std::string& name = w[0];
    if (name.find('/') != std::string::npos) throw ImportError(file, "multi-segment records are not supported");
    h.recordName = name;
    const auto n = integer(w.size() > 1 ? w[1] : "");
    // A record of annotations only declares no signal.
    if (!n || *n < 0 || *n > static_cast<int64_t>(kMaxSignals))
        throw ImportError(file, "the record line needs a signal count of 0 to 64");
    signalCount = static_cast<size_t>(*n);
    if (w.size() > 2) {
        std::string fs = w[2];
        const size_t paren = fs.find('(');
        if (paren != std::string::npos) fs.resize(paren);
        const size_t slash = fs.find('/');
        const auto frequency = number(std::string_view(fs).substr(0, slash));
        if (!frequency || *frequency <= 0 || *frequency > kMaxFrequencyHz)
            throw ImportError(file, "unusable sampling frequency \"" + w[2] + "\"");
        h.samplingFrequency = *frequency;
        if (slash != std::string::npos) {
            const auto counter = number(std::string_view(fs).substr(slash + 1));
            if (!counter || *counter <= 0) throw ImportError(file, "unusable counter frequency \"" + w[2] + "\"");
            h.counterFrequency = *counter;
        }
    }
    if (w.size() > 3) {
        const auto samples = integer(w[3]);
        if (!samples || *samples < 0) throw ImportError(file, "unusable sample count \"" + w[3] + "\"");
        if (*samples > 0) h.samplesPerSignal = *samples;
    }
    if (w.size() > 4) h.startSecondOfDay = secondOfDay(w[4]);
    if (w.size() > 5) h.startDate = baseDate(w[5]);
}

// "212x1:3+512": the format, samples per frame, skew and byte offset.
void parseFormatField(const std::string& field, WfdbSignalSpec& s, const std::string& file) {
    std::string format = field;
    const size_t plus = format.find('+');
    if (plus != std::string::npos) {
        const auto offset = integer(std::string_view(format).substr(plus + 1));
        if (!offset || *offset < 0) throw ImportError(file, "unusable byte offset in \"" + field + "\"");
        s.byteOffset = *offset;
        format.resize(plus);
    }
    const size_t colon = format.find(':');
    if (colon != std::string::npos) {
        const auto skew = integer(std::string_view(format).substr(colon + 1));
        if (!skew || *skew < 0 || *skew > kMaxSkewSamples)
            throw ImportError(file,
                              "unusable skew in \"" + field + "\" (0 to " + std::to_string(kMaxSkewSamples) + ")");
        s.skew = static_cast<int>(*skew);
        format.resize(colon);
    }
    const size_t frame = format.find('x');
    if (frame != std::string::npos) {
        if (integer(std::string_view(format).substr(frame + 1)).value_or(0) != 1)
            throw ImportError(file, "signals with several samples per frame are not supported");
        format.resize(frame);
    }
    const auto f = integer(format);
    if (!f || !WfdbHeader::supportedFormat(static_cast<int>(*f)))
        throw ImportError(file, "unknown or unsupported signal format \"" + field +
                                    "\" (Lumen reads formats 16, 24, 32, 61, 80 and 212)");
    s.format = static_cast<int>(*f);
    s.adcResolution = defaultResolution(s.format);
}

// "200(0)/mV": the gain, the baseline and the units; returns the baseline
// when the field gives one.
std::optional<double> parseGainField(const std::string& field, WfdbSignalSpec& s, const std::string& file) {
    std::string gain = field;
    std::optional<double> baseline;
    const size_t slash = gain.find('/');
    if (slash != std::string::npos) {
        s.units = gain.substr(slash + 1);
        gain.resize(slash);
    }
    const size_t open = gain.find('(');
    if (open != std::string::npos) {
        const size_t close = gain.find(')', open);
        baseline = number(std::string_view(gain).substr(open + 1, close == std::string::npos ? 0 : close - open - 1));
        if (!baseline) throw ImportError(file, "unusable baseline in \"" + field + "\"");
        gain.resize(open);
    }
    const auto g = number(gain);
    if (!g || *g < 0) throw ImportError(file, "unusable gain \"" + field + "\"");
    if (*g > 0) s.gainPerMv = *g;
    if (s.units == "uV")
        s.gainPerMv *= 1000.0;
    else if (s.units == "V")
        s.gainPerMv /= 1000.0;
    return baseline;
}

void parseAdcFields(const std::vector<std::string>& w, WfdbSignalSpec& s, const std::string& file) {
    if (w.size() > 3) {
        const auto res = integer(w[3]);
        if (!res || *res < 0 || *res > 32) throw ImportError(file, "unusable ADC resolution \"" + w[3] + "\"");
        if (*res > 0) s.adcResolution = static_cast<int>(*res);
    }
    if (w.size() > 4) {
        const auto zero = integer(w[4]);
        if (!zero || *zero < INT32_MIN || *zero > INT32_MAX)
            throw ImportError(file, "unusable ADC zero \"" + w[4] + "\"");
        s.adcZero = static_cast<int>(*zero);
    }
}

WfdbSignalSpec parseSignalLine(const std::vector<std::string>& w, const std::string& file) {
    WfdbSignalSpec s;
    s.fileName = w[0];
    if (s.fileName.find('/') != std::string::npos || s.fileName == "-" || s.fileName == "." || s.fileName == "..")
        throw ImportError(file, "signal file \"" + s.fileName + "\" is not a file beside the header");
    if (w.size() < 2) throw ImportError(file, "signal line without a format: \"" + s.fileName + "\"");
    parseFormatField(w[1], s, file);
    const std::optional<double> baseline = w.size() > 2 ? parseGainField(w[2], s, file) : std::nullopt;
    parseAdcFields(w, s, file);
    s.baseline = baseline.value_or(s.adcZero);
    for (size_t i = 8; i < w.size(); ++i) s.description += (i > 8 ? " " : "") + w[i];
    return s;
}

}  // namespace

bool WfdbHeader::supportedFormat(int format) {
    return format == 16 || format == 24 || format == 32 || format == 61 || format == 80 || format == 212;
}

WfdbHeader WfdbHeader::parse(std::string_view text, const std::string& fileName) {
    WfdbHeader h;
    size_t signalCount = 0;
    bool haveRecordLine = false;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos) continue;
        if (line[first] == '#') {
            h.comments.emplace_back(line.substr(first + 1));
            continue;
        }
        const auto words = wordsOf(line);
        if (words.empty()) continue;  // blanks of other kinds: vertical tab, form feed
        if (!haveRecordLine) {
            parseRecordLine(words, h, signalCount, fileName);
            haveRecordLine = true;
        } else if (h.signals.size() < signalCount) {
            h.signals.push_back(parseSignalLine(words, fileName));
        }
    }
    if (!haveRecordLine) throw ImportError(fileName, "no record line: not a WFDB header");
    if (h.signals.size() != signalCount)
        throw ImportError(fileName, "the record line announces " + std::to_string(signalCount) + " signals, " +
                                        std::to_string(h.signals.size()) + " signal lines follow");
    return h;
}

std::string WfdbHeader::format() const {
    std::ostringstream out;
    out << recordName << ' ' << signals.size() << ' ' << samplingFrequency;
    if (samplesPerSignal) out << ' ' << *samplesPerSignal;
    if (startSecondOfDay) {
        const int32_t s = *startSecondOfDay;
        char clock[16];
        std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
        out << ' ' << clock;
        if (startDate) {
            char date[40];
            std::snprintf(date, sizeof date, "%02d/%02d/%04d", startDate->day, startDate->month, startDate->year);
            out << ' ' << date;
        }
    }
    out << "\n";
    for (const WfdbSignalSpec& s : signals) {
        out << s.fileName << ' ' << s.format << ' ' << s.gainPerMv << '(' << std::lround(s.baseline) << ")/mV "
            << s.adcResolution << ' ' << s.adcZero << " 0 0 0 " << s.description << "\n";
    }
    for (const std::string& c : comments) out << '#' << c << "\n";
    return out.str();
}

}  // namespace lumen
