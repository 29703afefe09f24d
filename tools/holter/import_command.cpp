#include "holter/import_command.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <sstream>

#include "assembly/home_files.h"
#include "assembly/home_swap.h"
#include "import/channel_list.h"
#include "import/import_error.h"
#include "import/recording_importer.h"
#include "import/source_opener.h"

namespace lumen {
namespace {

constexpr int kFailure = 255;

// What the record lacked or what was left out, for the summary line.
void describeGaps(const SourceRecording& source, const ImportedRecording& imported, bool detect, std::ostream& s) {
    const SignalSource& signal = *source.signal;
    for (int c : imported.signal.deadChannels) {
        s << "; channel " << c + 1 << " (" << signal.channelLabel(c)
          << ") carries no signal: it is flat or at the converter's limit throughout";
    }
    if (source.unknownLabels > 0) s << "; " << source.unknownLabels << " annotations with unknown labels skipped";
    if (!detect && !source.hasBeatAnnotations)
        s << "; no beat annotations: beats found and classified by the analysis";
    else if (imported.analysed)
        s << "; beats found and classified by the analysis";
}

std::string summaryOf(const SourceRecording& source, const ImportedRecording& imported, const std::string& home,
                      bool detect) {
    const RecordingImage& r = imported.recording;
    size_t byClass[kBeatClassCount] = {};
    for (const PlannedBeat& b : r.plan.beats)
        if (b.formCode != kFormNone) ++byClass[b.beatClass % kBeatClassCount];
    const SignalSource& signal = *source.signal;
    std::ostringstream s;
    s << "imported " << source.format << " record " << source.name << " (" << signal.frequencyHz() << " Hz, "
      << signal.channelLabel(0);
    if (signal.channelCount() > 1) s << " + " << signal.channelLabel(1);
    s << ") into " << home << ": " << r.plan.blockCount() << " blocks, amplitude code " << int{r.amplitudeCode} << ", "
      << r.plan.beats.size() << " beats (N " << byClass[0] << ", S " << byClass[1] << ", V " << byClass[2] << ", A "
      << byClass[3] << ", lead off " << imported.leadOffBeats << "), " << r.plan.episodes.size() << " episodes, "
      << r.plan.markerTenths.size() << " markers";
    if (imported.secondVentricularForm > 0)
        s << "; " << imported.secondVentricularForm << " ventricular beats of a second form";
    if (imported.signal.duplicated) s << "; one channel only: shown twice";
    describeGaps(source, imported, detect, s);
    const auto& st = r.trends.st1;
    if (std::count(st.begin(), st.end(), kStNoValue) == static_cast<long>(st.size()))
        s << "; no ST level could be measured: the ST tables are empty";
    return s.str();
}

}  // namespace

int runImport(const ToolArguments& arguments) {
    if (arguments.positional.size() != 2) return 2;
    long language = 2;
    if (const auto text = arguments.option("--language")) {
        const auto number = parseInteger(*text);
        if (!number || !HomeFiles::validLanguage(static_cast<int>(*number))) {
            std::fprintf(stderr, "%s\n", HomeFiles::languageProblem(*text).c_str());
            return 2;
        }
        language = *number;
    }
    const std::string& sourceName = arguments.positional[0];
    const std::string& home = arguments.positional[1];
    // The recordings there stay locked from here to the end of the swap.
    HomeSwap swap(home);
    if (swap.prepare(arguments.flag("--force"), false) != HomeCheck::Ready) {
        std::fprintf(stderr, "%s\n", swap.problem().c_str());
        return kFailure;
    }
    try {
        SourceRecording source = SourceOpener::open(
            sourceName,
            ChannelList::parse(arguments.option("--channels").value_or(""), SourceOpener::fileNamed(sourceName)),
            arguments.option("--annotations").value_or(""));
        for (const std::string& warning : source.warnings) std::fprintf(stderr, "warning: %s\n", warning.c_str());
        const bool detect = arguments.flag("--detect");
        const ImportedRecording imported =
            RecordingImporter::build(source, source.fileName, arguments.option("--patient").value_or(""), detect,
                                     static_cast<int32_t>(language));
        const std::string problem =
            swap.install(HomeContent::of(imported.recording, static_cast<int>(language), 0, kTimeScaleStartEventCode));
        for (const std::string& note : swap.notes()) std::fprintf(stderr, "%s\n", note.c_str());
        if (!problem.empty()) {
            std::fprintf(stderr, "%s\n", problem.c_str());
            return kFailure;
        }
        std::printf("%s\n", summaryOf(source, imported, home, detect).c_str());
        return 0;
    } catch (const ImportError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return kFailure;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s: not enough memory to import\n", sourceName.c_str());
        return kFailure;
    }
}

}  // namespace lumen
