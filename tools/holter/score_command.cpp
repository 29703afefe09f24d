#include "holter/score_command.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/beat_scorer.h"
#include "import/import_error.h"
#include "import/wfdb/wfdb_annotations.h"
#include "import/wfdb/wfdb_header.h"
#include "platform/file/utf8_path.h"
#include "store/beat_word.h"
#include "store/recording.h"

namespace lumen {
namespace {

constexpr int kFailure = 255;
constexpr uintmax_t kMaxReferenceBytes = 256u << 20;
constexpr double kSecondsPerQuarterTick = 1.0 / 200.0;

std::vector<uint8_t> readFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) throw ImportError(utf8FromPath(path), "cannot read: " + error.message());
    if (size > kMaxReferenceBytes) throw ImportError(utf8FromPath(path), "too large");
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes(size);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    if (!in) throw ImportError(utf8FromPath(path), "cannot read");
    return bytes;
}

// The EC57 class of a WFDB beat label; nothing for labels that are no beat.
std::optional<ScoreClass> referenceClass(const std::string& label) {
    static const std::pair<const char*, ScoreClass> kTable[] = {
        {"N", ScoreClass::N}, {"L", ScoreClass::N}, {"R", ScoreClass::N}, {"e", ScoreClass::N}, {"j", ScoreClass::N},
        {"B", ScoreClass::N}, {"A", ScoreClass::S}, {"a", ScoreClass::S}, {"J", ScoreClass::S}, {"S", ScoreClass::S},
        {"V", ScoreClass::V}, {"E", ScoreClass::V}, {"r", ScoreClass::V}, {"F", ScoreClass::F}, {"/", ScoreClass::Q},
        {"f", ScoreClass::Q}, {"Q", ScoreClass::Q}, {"P", ScoreClass::Q}};
    for (const auto& [name, kind] : kTable)
        if (label == name) return kind;
    return std::nullopt;
}

struct Reference {
    std::vector<ScoreBeat> beats;
    std::vector<ScoreStretch> flutter;  // ventricular flutter or fibrillation: `[` to `]`
};

Reference readReference(const std::filesystem::path& atr) {
    std::filesystem::path header = atr;
    header.replace_extension(".hea");
    const auto text = readFile(header);
    const WfdbHeader h = WfdbHeader::parse(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()),
                                           utf8FromPath(header));
    Reference out;
    std::optional<double> flutterFrom;
    for (const WfdbAnnotation& a : WfdbAnnotations::parse(readFile(atr), utf8FromPath(atr))) {
        const double seconds = static_cast<double>(a.sample) / h.samplingFrequency;
        const std::string label = WfdbAnnotations::mnemonic(a.code);
        if (const auto kind = referenceClass(label)) out.beats.push_back({seconds, *kind});
        if (label == "[") flutterFrom = flutterFrom.value_or(seconds);
        if (label == "]" && flutterFrom) {
            out.flutter.push_back({*flutterFrom, seconds});
            flutterFrom.reset();
        }
    }
    if (flutterFrom) out.flutter.push_back({*flutterFrom, 1e30});
    return out;
}

std::vector<ScoreBeat> testedBeats(Recording& recording) {
    static constexpr ScoreClass kByClass[] = {ScoreClass::N, ScoreClass::S, ScoreClass::V, ScoreClass::Q};
    recording.beats().load(recording);
    std::vector<ScoreBeat> beats;
    for (const BeatWord w : recording.beats().words()) {
        if (w.positionQuarterTicks() == 0 || w.formCode() == kNoFormCode) continue;
        beats.push_back(
            {w.positionQuarterTicks() * kSecondsPerQuarterTick, kByClass[static_cast<size_t>(w.beatClass()) & 3]});
    }
    return beats;
}

// A folder with path.tmp is a program home; any other folder a recording
// folder of the --home program.
std::unique_ptr<Recording> openTested(const ToolArguments& arguments, const std::string* folder) {
    if (folder == nullptr) return std::make_unique<Recording>(arguments.programDirectory);
    if (std::filesystem::exists(pathFromUtf8(*folder) / "path.tmp")) return std::make_unique<Recording>(*folder + "/");
    return std::make_unique<Recording>(arguments.programDirectory, *folder);
}

}  // namespace

int runScore(const ToolArguments& arguments) {
    const auto& words = arguments.positional;
    if (words.empty() || (words.size() > 1 && words.size() % 2 != 0)) return 2;
    double fromSeconds = BeatScore::kLearningSeconds;
    if (const auto text = arguments.option("--from")) {
        const auto number = parseInteger(*text);
        if (!number || *number < 0) return 2;
        fromSeconds = static_cast<double>(*number);
    }
    try {
        BeatScore gross;
        std::printf("%s\n", BeatScore::header().c_str());
        for (size_t i = 0; i < std::max<size_t>(1, words.size() / 2); ++i) {
            const std::string& reference = words.size() == 1 ? words[0] : words[2 * i + 1];
            const auto recording = openTested(arguments, words.size() == 1 ? nullptr : &words[2 * i]);
            const Reference r = readReference(reference);
            const BeatScore score = BeatScore::compare(r.beats, testedBeats(*recording), fromSeconds, r.flutter);
            gross.add(score);
            std::printf("%s\n", score.row(utf8FromPath(pathFromUtf8(reference).stem())).c_str());
        }
        if (words.size() > 2) std::printf("%s\n", gross.row("gross").c_str());
        return 0;
    } catch (const ImportError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return kFailure;
    }
}

}  // namespace lumen
