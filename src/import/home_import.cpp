// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/home_import.h"

#include <new>

#include "assembly/home_content.h"
#include "assembly/home_swap.h"
#include "import/channel_list.h"
#include "import/import_error.h"
#include "import/import_summary.h"
#include "import/progress_source.h"
#include "import/recording_importer.h"
#include "import/source_opener.h"

namespace lumen {
namespace {

// The reading (with the analysis riding along) is most of an import; the
// recording's assembly and the home's writing are the rest.
constexpr double kReadingShare = 0.85;
constexpr double kAssembledShare = 0.95;

void report(std::atomic<double>* progress, double fraction) {
    if (progress != nullptr) progress->store(fraction);
}

void importInto(HomeSwap& swap, const HomeImportRequest& request, HomeImportResult& result) {
    SourceRecording source = SourceOpener::open(
        request.source, ChannelList::parse(request.channels, SourceOpener::fileNamed(request.source)),
        request.annotations);
    result.warnings = source.warnings;
    if (request.progress != nullptr)
        source.signal = std::make_unique<ProgressSource>(std::move(source.signal), *request.progress, kReadingShare);
    const ImportedRecording imported =
        RecordingImporter::build(source, source.fileName, request.patient, request.detect, request.language);
    report(request.progress, kAssembledShare);
    result.problem = swap.install(HomeContent::of(imported.recording, request.language, 0, kTimeScaleStartEventCode));
    result.notes = swap.notes();
    if (!result.problem.empty()) return;
    result.summary = importSummary(source, imported, request.home, request.detect);
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
        result.problem = request.source + ": not enough memory to import";
    }
    return result;
}

}  // namespace lumen
