// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/button_description.h"

#include <charconv>
#include <sstream>
#include <vector>

#include "shell/embedded_button_files.h"

namespace lumen {
namespace {

std::vector<std::string> fieldsOf(std::string_view line) {
    const size_t comment = line.find('#');
    std::istringstream stream{std::string(line.substr(0, comment))};
    std::vector<std::string> fields;
    for (std::string field; stream >> field;) fields.push_back(field);
    return fields;
}

std::string withBlanks(std::string text) {
    for (char& c : text) c = c == '_' ? ' ' : c;
    return text;
}

std::optional<int32_t> number(std::string_view text, int base = 10) {
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<Color> colorOf(std::string_view hex) {
    const auto value = hex.size() == 6 ? number(hex, 16) : std::nullopt;
    if (!value) return std::nullopt;
    return rgb(static_cast<uint8_t>(*value >> 16), static_cast<uint8_t>(*value >> 8), static_cast<uint8_t>(*value));
}

std::optional<FaceRole> roleOf(std::string_view name) {
    if (name == "small") return FaceRole::Small;
    if (name == "wide") return FaceRole::Wide;
    if (name == "ecg") return FaceRole::Ecg;
    if (name == "half") return FaceRole::Half;
    if (name == "corner") return FaceRole::Corner;
    return std::nullopt;
}

std::optional<FaceKind> kindOf(std::string_view name) {
    if (name == "blank") return FaceKind::Blank;
    if (name == "text") return FaceKind::Text;
    if (name == "glyph") return FaceKind::Glyph;
    return std::nullopt;
}

// "7", "4-9" or "corner" as a range of slots.
std::optional<std::pair<int32_t, int32_t>> slotsOf(std::string_view text) {
    if (text == "corner") return std::pair{kCornerSlot, kCornerSlot};
    const size_t dash = text.find('-');
    const auto first = number(text.substr(0, dash));
    const auto last = dash == std::string_view::npos ? first : number(text.substr(dash + 1));
    if (!first || !last || *first < 0 || *last >= kBitmapSlots || *first > *last) return std::nullopt;
    return std::pair{*first, *last};
}

void forEachLine(std::string_view text, auto&& action) {
    while (!text.empty()) {
        const size_t end = text.find('\n');
        action(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

}  // namespace

ButtonDescription::ButtonDescription(std::string_view facesText, std::string_view wordsText) {
    readFaces(facesText);
    readWords(wordsText);
}

const ButtonDescription& ButtonDescription::embedded() {
    static const ButtonDescription description(embeddedButtonFile("faces"), embeddedButtonFile("words"));
    return description;
}

void ButtonDescription::readFaces(std::string_view text) {
    forEachLine(text, [this](std::string_view line) {
        const auto fields = fieldsOf(line);
        if (fields.size() != 6) return;
        const auto slots = slotsOf(fields[0]);
        const auto role = roleOf(fields[1]);
        const auto kind = kindOf(fields[2]);
        const auto ink = colorOf(fields[4]);
        const auto paper = colorOf(fields[5]);
        if (!slots || !role || !kind || !ink || !paper) return;
        for (int32_t slot = slots->first; slot <= slots->second; ++slot) {
            faces_[static_cast<size_t>(slot)] = FaceSpec{*role, *kind, withBlanks(fields[3]), *ink, *paper};
        }
    });
}

void ButtonDescription::readWords(std::string_view text) {
    forEachLine(text, [this](std::string_view line) {
        const auto fields = fieldsOf(line);
        const auto language = fields.size() == 3 ? number(fields[0]) : std::nullopt;
        if (!language || *language < 1 || *language >= static_cast<int32_t>(words_.size())) return;
        words_[static_cast<size_t>(*language)] = {withBlanks(fields[1]), withBlanks(fields[2])};
    });
}

const FaceSpec& ButtonDescription::face(int32_t slot) const {
    static const FaceSpec blank{};
    return slot >= 0 && slot <= kCornerSlot ? faces_[static_cast<size_t>(slot)] : blank;
}

std::string_view ButtonDescription::word(int32_t languageIndex, ButtonWord which) const {
    const size_t index = static_cast<size_t>(which);
    const bool known = languageIndex >= 1 && languageIndex < static_cast<int32_t>(words_.size()) &&
                       !words_[static_cast<size_t>(languageIndex)][index].empty();
    return words_[known ? static_cast<size_t>(languageIndex) : 2][index];
}

std::string ButtonDescription::label(const FaceSpec& face, int32_t languageIndex) const {
    if (face.content == "$exit") return std::string(word(languageIndex, ButtonWord::Exit));
    if (face.content == "$artefact") return std::string(word(languageIndex, ButtonWord::Artefact));
    return face.content;
}

}  // namespace lumen
