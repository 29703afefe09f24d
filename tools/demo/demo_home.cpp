#include "demo/demo_home.h"

#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>

#include "demo/demo_recording.h"
#include "demo/home_files.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

constexpr size_t kMaxRecordingPath = 299;  // what path.tmp's reader takes
constexpr int32_t kVentricularTachycardiaStart = 108;
constexpr int32_t kTimeScaleStart = 117;

bool writeBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool writeText(const std::filesystem::path& path, const std::string& text) {
    return writeBytes(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

bool hasBlank(const std::string& s) { return s.find_first_of(" \t\r\n\v\f") != std::string::npos; }

std::string summaryOf(const DemoRecording& r, const std::string& home) {
    size_t byClass[4] = {0, 0, 0, 0};
    size_t leadOff = 0;
    for (const PlannedBeat& b : r.plan.beats) {
        if (b.formCode == kFormNone)
            ++leadOff;
        else
            ++byClass[b.beatClass];
    }
    std::ostringstream s;
    const Clock& c = r.plan.start;
    s << "demo home " << home << ": " << r.plan.hours << " h from " << (c.hour < 10 ? "0" : "") << int{c.hour} << ':'
      << (c.minute < 10 ? "0" : "") << int{c.minute} << ':' << (c.second < 10 ? "0" : "") << int{c.second} << ", "
      << r.plan.blockCount() << " blocks, " << r.plan.beats.size() << " beats (N " << byClass[0] << ", S " << byClass[1]
      << ", V " << byClass[2] << ", A " << byClass[3] << ", lead off " << leadOff << "), " << r.plan.episodes.size()
      << " episodes, " << r.plan.markerTenths.size() << " markers, holter.mem " << r.holterMem.size() << " bytes";
    return s.str();
}

int32_t startPosition(const RhythmPlan& plan, int32_t& startEventCode) {
    for (const PlannedEpisode& e : plan.episodes) {
        if (e.code != 37) continue;
        startEventCode = kVentricularTachycardiaStart;
        return e.startTenths * 5;
    }
    startEventCode = kTimeScaleStart;
    return 0;
}

}  // namespace

DemoResult writeDemoHome(const DemoOptions& options) {
    if (options.hours < 1 || options.hours > 24) return {DemoStatus::InvalidHours, "hours must be 1 to 24"};
    if (!HomeFiles::validLanguage(options.language))
        return {DemoStatus::InvalidLanguage, "language must be 1 to 13, not 6"};
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path home = fs::absolute(pathFromUtf8(options.directory), error).lexically_normal();
    const fs::path recordingDir = home / "recording";
    const std::string recordingText = utf8FromPath(recordingDir);
    if (error || options.directory.empty() || hasBlank(recordingText) || recordingText.size() > kMaxRecordingPath)
        return {DemoStatus::UnusablePath,
                "the recording path must be one word of at most 299 characters: " + recordingText};
    fs::create_directories(recordingDir, error);
    if (error) return {DemoStatus::WriteFailed, "cannot create " + recordingText + ": " + error.message()};

    const DemoRecording r = DemoRecordingBuilder::build(options.hours, options.seed);
    if (r.holterMem.empty()) return {DemoStatus::TooLarge, "holter.mem would exceed the 24-bit file offsets"};
    int32_t startEventCode = kTimeScaleStart;
    const int32_t position = startPosition(r.plan, startEventCode);
    const bool written = writeText(home / "huffman.ko2", formatCodeTable(r.codeTable)) &&
                         writeText(home / "color.ini", HomeFiles::colorIni(options.language)) &&
                         writeText(home / "TBcolor.ini", HomeFiles::tbColorIni()) &&
                         writeText(home / "doef.mem", HomeFiles::doefMem(position, startEventCode)) &&
                         writeText(home / "path.tmp", HomeFiles::pathTmp(recordingText)) &&
                         writeBytes(recordingDir / "holter.mem", r.holterMem) &&
                         writeBytes(recordingDir / "forms.mem", r.formsMem);
    if (!written) return {DemoStatus::WriteFailed, "cannot write the files of " + utf8FromPath(home)};
    // A journal beside the new recording was written for the old one.
    fs::remove(recordingDir / "holter.mem-journal", error);
    return {DemoStatus::Ok, summaryOf(r, utf8FromPath(home))};
}

}  // namespace lumen
