#include "import/home_import.h"

#include <algorithm>
#include <new>
#include <sstream>

#include "assembly/home_content.h"
#include "assembly/home_swap.h"
#include "import/import_error.h"
#include "import/progress_source.h"
#include "import/recording_importer.h"
#include "import/source_opener.h"

namespace lumen {
namespace {

// The reading (with the analysis riding along) is most of an import; the
// recording's assembly and the home's writing are the rest.
constexpr double kReadingShare = 0.85;
constexpr double kAssembledShare = 0.95;

std::string summaryOf(const SourceRecording& source, const ImportedRecording& imported, const std::string& home) {
    const RecordingImage& r = imported.recording;
    size_t byClass[4] = {0, 0, 0, 0};
    for (const PlannedBeat& b : r.plan.beats)
        if (b.formCode != kFormNone) ++byClass[b.beatClass & 3];
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
    if (imported.analysed) s << "; beats found and classified by the analysis";
    const auto& st = r.trends.st1;
    if (std::count(st.begin(), st.end(), kStNoValue) == static_cast<long>(st.size()))
        s << "; no ST level could be measured: the ST tables are empty";
    return s.str();
}

void report(std::atomic<double>* progress, double fraction) {
    if (progress != nullptr) progress->store(fraction);
}

void importInto(HomeSwap& swap, const HomeImportRequest& request, HomeImportResult& result) {
    SourceRecording source = SourceOpener::open(request.source, request.channels, request.annotations);
    result.warnings = source.warnings;
    if (request.progress != nullptr)
        source.signal = std::make_unique<ProgressSource>(std::move(source.signal), *request.progress, kReadingShare);
    const ImportedRecording imported =
        RecordingImporter::build(source, source.fileName, request.patient, request.detect, request.language);
    report(request.progress, kAssembledShare);
    result.problem = swap.install(HomeContent::of(imported.recording, request.language, 0, kTimeScaleStartEventCode));
    result.notes = swap.notes();
    if (!result.problem.empty()) return;
    result.summary = summaryOf(source, imported, swap.home());
    result.ok = true;
    report(request.progress, 1.0);
}

}  // namespace

HomeImportResult HomeImport::run(const HomeImportRequest& request) {
    HomeImportResult result;
    // The recordings there stay locked from here to the end of the swap.
    HomeSwap swap(request.home);
    const HomeCheck check = swap.prepare(request.replace, request.takeFreeFolder);
    if (check != HomeCheck::Ready) {
        result.problem = swap.problem();
        result.homeInUse = check == HomeCheck::InUse;
        result.homeTaken = check == HomeCheck::Taken;
        return result;
    }
    try {
        importInto(swap, request, result);
    } catch (const ImportError& e) {
        result.problem = e.what();
    } catch (const std::bad_alloc&) {
        result.problem = request.source + ": not enough memory to import; close other programs and try again";
    }
    return result;
}

}  // namespace lumen
