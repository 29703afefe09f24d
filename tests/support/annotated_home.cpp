// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/annotated_home.h"

namespace lumen::testing {

AnnotatedHome::AnnotatedHome(int blocks) {
    home.writeCodeTable(table);
    home.writePathFile();
    writer.setSection(SectionId::RecordingClock, {0, 0, 0, 20, 30, 9, 0, 0, 0, 0, 0, 0});
    std::array<uint8_t, 500> flat;
    flat.fill(128);
    for (int b = 0; b < blocks; ++b) writer.addBlock(flat, flat);
}

std::array<uint8_t, 12> AnnotatedHome::episode(uint8_t code, uint32_t startTenths, uint32_t endTenths, bool flagged,
                                               uint8_t hour, uint8_t minute, uint8_t second) {
    return {static_cast<uint8_t>(flagged ? 0x80 : 0), hour, minute, second,
            static_cast<uint8_t>(startTenths), static_cast<uint8_t>(startTenths >> 8), static_cast<uint8_t>(startTenths >> 16),
            static_cast<uint8_t>(endTenths), static_cast<uint8_t>(endTenths >> 8), static_cast<uint8_t>(endTenths >> 16),
            code, 0};
}

void AnnotatedHome::setTrends(const std::vector<uint8_t>& flags, const std::vector<uint8_t>& heartRate,
                              const std::vector<int8_t>& st1, const std::vector<int8_t>& st2) {
    writer.setSection(SectionId::TrendFlags, flags);
    writer.setSection(SectionId::HeartRate, heartRate);
    writer.setSection(SectionId::StChannel1, std::vector<uint8_t>(st1.begin(), st1.end()));
    writer.setSection(SectionId::StChannel2, std::vector<uint8_t>(st2.begin(), st2.end()));
}

void AnnotatedHome::save() {
    std::vector<uint8_t> words;
    for (const BeatWord word : beats) {
        for (int k = 0; k < 4; ++k) words.push_back(static_cast<uint8_t>(word.raw >> (8 * k)));
    }
    writer.setSection(SectionId::Beats, words);
    std::vector<uint8_t> records;
    for (const auto& record : episodes) records.insert(records.end(), record.begin(), record.end());
    writer.setSection(SectionId::Episodes, records);
    std::vector<uint8_t> markers;
    for (const uint32_t v : markerTenths) {
        markers.push_back(static_cast<uint8_t>(v));
        markers.push_back(static_cast<uint8_t>(v >> 8));
        markers.push_back(static_cast<uint8_t>(v >> 16));
    }
    writer.setSection(SectionId::Markers, markers);
    writer.writeFile(home.recordingPath("holter.mem"));
}

}  // namespace lumen::testing
