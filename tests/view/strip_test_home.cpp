// SPDX-License-Identifier: GPL-3.0-or-later
#include "strip_test_home.h"

#include <array>

namespace lumen::testing {

namespace {

std::vector<uint8_t> formsFile() {
    std::vector<uint8_t> bytes(1442 + 2 * 60, 128);
    bytes[1242] = 8;  // two templates
    for (int i = 0; i < 30; ++i) {
        const uint8_t spike = static_cast<uint8_t>(i == 10 ? 220 : i == 11 ? 60 : 128);
        bytes[static_cast<size_t>(1442 + i)] = spike;
        bytes[static_cast<size_t>(1442 + 30 + i)] = spike;
    }
    return bytes;
}

void addBeat(std::vector<BeatWord>& beats, int32_t sample, BeatClass beatClass, uint8_t form = 0) {
    beats.push_back(BeatWord::make(static_cast<uint32_t>(sample) * 4, beatClass, form));
}

}  // namespace

TestStripHost::TestStripHost() {
    geometry = {kWidth, kWidth + 66, kHeight, 33, 17, 3};
    colors.window = rgb(250, 250, 240);
    colors.trace = rgb(0, 0, 80);
    colors.ventricular = rgb(200, 0, 0);
    colors.supraventricular = rgb(0, 0, 200);
    colors.text = rgb(10, 10, 10);
    colors.caliper = rgb(0, 150, 0);
    colors.grid = rgb(255, 170, 170);
    objects = StripDrawingObjects::make(colors, 3);
    image = std::make_unique<RasterCanvas>(Size{kWidth + 1, kHeight});
    pane = std::make_unique<RasterCanvas>(Size{kWidth + 66, kHeight});
}

StripTestHome::StripTestHome() {
    std::array<uint8_t, 500> flat;
    flat.fill(128);
    for (int b = 0; b < 12; ++b) {
        std::array<uint8_t, 500> ch1 = flat;
        std::array<uint8_t, 500> ch2 = flat;
        if (b == kSpikeSample / 500) {
            ch1[kSpikeSample % 500] = 179;
            ch2[kSpikeSample % 500] = 102;
        }
        h.writer.addBlock(ch1, ch2);
    }
    std::vector<uint8_t> patient(101, 0);
    patient[100] = 3;
    h.writer.setSection(SectionId::Patient, patient);
    for (int32_t s = 800; s <= 1050; s += 50) addBeat(h.beats, s, BeatClass::Normal);
    addBeat(h.beats, 1100, BeatClass::Ventricular, 2);
    // A quarter of a sample late: its phase within the sample is 15 ms.
    h.beats.push_back(BeatWord::make(1160 * 4 + 3, BeatClass::Normal, 0));
    addBeat(h.beats, kNoFormBeatSample, BeatClass::Supraventricular, kNoFormCode);
    addBeat(h.beats, 1250, BeatClass::Artefact);
    addBeat(h.beats, 1300, BeatClass::Normal);
    h.episodes.push_back(AnnotatedHome::episode(34, 230, 240));
    h.save();
    h.home.writeFile(h.home.recordingPath("forms.mem"), formsFile());
    recording = std::make_unique<Recording>(h.home.programDirectory());
    recording->beats().load(*recording);
    window.loadWithClocks(*recording, 0);
    painter = std::make_unique<StripPainter>(*recording, window, texts, host);
}

Color StripTestHome::imageColor(int32_t x, int32_t y) const {
    return static_cast<const RasterCanvas&>(*host.image).colorAt(x, y);
}

}  // namespace lumen::testing
