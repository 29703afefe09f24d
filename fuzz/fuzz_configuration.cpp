// SPDX-License-Identifier: GPL-3.0-or-later
// The program home's small files through the shell's readers. The first
// input byte chooses the file (modulo 4): 0 color.ini, 1 TBcolor.ini,
// 2 doef.mem, 3 path.tmp; the rest is its content.
#include <cstddef>
#include <cstdint>
#include <span>

#include "events/event_catalog.h"
#include "fuzz_home.h"
#include "harness_fatal_handler.h"
#include "lang/language_texts.h"
#include "scratch_folder.h"
#include "shell/color_file.h"
#include "shell/hand_over_file.h"
#include "shell/start_event_code.h"
#include "store/event_feed.h"

namespace lumen::fuzz {
namespace {

enum class HomeFile : uint8_t { Color, GridColor, HandOver, PathTmp };

void readColors(const std::string& path) {
    const auto settings = readColorFile(path);
    if (!settings) __builtin_trap();
    LanguageTexts texts;
    if (!texts.setLanguage(settings->languageIndex)) __builtin_trap();
    (void)texts.text(24);
}

// doef.mem opens the start event: the catalog selects the event of the
// named row nearest the start position.
void readHandOverFile(const std::string& path) {
    const auto handOver = readHandOver(path);
    if (!handOver) __builtin_trap();
    const LanguageTexts texts;
    EventCatalog catalog(texts);
    catalog.setRecordingSpan(8 * kTicksPerHour, 32 * kTicksPerHour);
    catalog.dispatchCode(32, 5000, 0, 0);
    catalog.dispatchCode(kMarkerCode, 90000, 0, -1);
    catalog.dispatchCode(kLeadOffCode, 120000, 0, -1);
    catalog.selectAt(handOver->position + 8 * kTicksPerHour, rowOfStartEventCode(handOver->startEventCode));
    (void)catalog.selectedOrdinal();
    (void)startEventCodeOfRow(catalog.selectedRow());
}

void readConfiguration(std::span<const uint8_t> input) {
    if (input.empty()) return;
    const ScratchFolder& folder = ScratchFolder::instance();
    const std::span<const uint8_t> content = input.subspan(1);
    switch (static_cast<HomeFile>(input[0] % 4)) {
    case HomeFile::Color:
        readColors(folder.write("color.ini", content));
        break;
    case HomeFile::GridColor:
        if (!readGridColorFile(folder.write("TBcolor.ini", content))) __builtin_trap();
        break;
    case HomeFile::HandOver:
        readHandOverFile(folder.write("doef.mem", content));
        break;
    case HomeFile::PathTmp:
        FuzzHome::prepare();
        folder.write("path.tmp", content);
        // Usually names no recording: the viewer's "File not found" end.
        (void)FuzzHome::open();
        break;
    }
}

}  // namespace
}  // namespace lumen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    lumen::fuzz::runGuarded([&] { lumen::fuzz::readConfiguration(input); });
    return 0;
}
