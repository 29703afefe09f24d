// SPDX-License-Identifier: GPL-3.0-or-later
#include "assembly/recording_sidecar.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>

#include "lang/source_text.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

constexpr std::string_view kDateKey = "date";
constexpr std::string_view kTicksKey = "signalTicks";
constexpr int64_t kMaxTenths = (int64_t{1} << 24) - 1;  // a marker's 24 bits
constexpr std::string_view kJoint = "; ";

std::optional<int64_t> number(std::string_view text) {
    int64_t v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return v;
}

// One line of text: no tabs or line breaks, valid UTF-8, cut at a
// character's end.
std::string oneLine(std::string_view text) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const size_t from = at;
        const std::optional<char32_t> point = nextUtf8(text, at);
        if (out.size() + (at - from) > RecordingSidecar::kMaxTextBytes) break;
        if (!point || *point < 0x20 || *point == 0x7F)
            out += ' ';
        else
            out.append(text.substr(from, at - from));
    }
    return out;
}

bool readLine(std::string_view line, SourceNotes& notes) {
    if (line.empty() || line[0] == '#') return true;
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return false;
    const std::string_view key = line.substr(0, tab);
    const std::string_view value = line.substr(tab + 1);
    if (key == kDateKey) {
        notes.startDate = CalendarDate::parseIso(value);
        return notes.startDate.has_value();
    }
    if (key == kTicksKey) {
        const auto ticks = number(value);
        if (!ticks || *ticks <= 0 || *ticks > INT32_MAX) return false;
        notes.sourceTicks = static_cast<int32_t>(*ticks);
        return true;
    }
    const auto tenths = number(key);
    // A text as format() writes it: no control characters, valid UTF-8.
    const bool plain = std::none_of(value.begin(), value.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) == 0x7F;
    });
    if (!tenths || *tenths < 0 || *tenths > kMaxTenths || value.size() > RecordingSidecar::kMaxTextBytes || !plain ||
        !isUtf8(value))
        return false;
    notes.markers.push_back({static_cast<int32_t>(*tenths), std::string(value)});
    return true;
}

}  // namespace

std::string SourceNotes::textAt(int32_t tenths) const {
    std::string text;
    const auto first = std::lower_bound(markers.begin(), markers.end(), tenths,
                                        [](const MarkerText& m, int32_t t) { return m.tenths < t; });
    for (auto m = first; m != markers.end() && m->tenths == tenths; ++m)
        text += (text.empty() ? "" : std::string(kJoint)) + m->text;
    return text;
}

std::string RecordingSidecar::format(const SourceNotes& notes) {
    std::string out =
        "# What the source said beyond holter.mem: the start date, the signal's length in ticks "
        "and the texts of the patient markers.\n";
    if (notes.startDate) out += std::string(kDateKey) + '\t' + notes.startDate->iso() + '\n';
    if (notes.sourceTicks) out += std::string(kTicksKey) + '\t' + std::to_string(*notes.sourceTicks) + '\n';
    for (const MarkerText& m : notes.markers) out += std::to_string(m.tenths) + '\t' + oneLine(m.text) + '\n';
    return out;
}

SourceNotes RecordingSidecar::parse(std::string_view text, const std::string& path, std::string& warning) {
    SourceNotes notes;
    size_t lineNumber = 0;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        ++lineNumber;
        std::string_view line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!readLine(line, notes)) {
            warning = path + ": line " + std::to_string(lineNumber) +
                      " is damaged, so the recording's start date, length and marker texts were ignored; import "
                      "the recording again to restore them.";
            return {};
        }
        at = end + 1;
    }
    std::stable_sort(notes.markers.begin(), notes.markers.end(),
                     [](const MarkerText& a, const MarkerText& b) { return a.tenths < b.tenths; });
    return notes;
}

SourceNotes RecordingSidecar::read(const std::string& recordingFolder, std::string& warning) {
    const std::filesystem::path path = pathFromUtf8(recordingFolder) / kFileName;
    const std::string name = utf8FromPath(path);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return {};
    std::ifstream in(path, std::ios::binary);
    std::string text(kMaxFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    if (in.bad() || (!in.eof() && text.empty())) {
        warning = name +
                  " cannot be read, so the recording's start date, length and marker texts are unknown; "
                  "check its permissions.";
        return {};
    }
    if (text.size() > kMaxFileBytes) {
        warning = name + " is larger than " + std::to_string(kMaxFileBytes) +
                  " bytes, so it was ignored; import the recording again to restore its start date, length and "
                  "marker texts.";
        return {};
    }
    return parse(text, name, warning);
}

}  // namespace lumen
