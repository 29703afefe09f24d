// SPDX-License-Identifier: GPL-3.0-or-later
#include "holter/forms_command.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "assembly/rederivation.h"
#include "holter/recording_opener.h"
#include "lang/json_text.h"
#include "store/form_census.h"
#include "store/trend_table.h"

namespace lumen {
namespace {

constexpr int kFailure = 255;

std::optional<BeatClass> classNamed(const std::string& text) {
    const std::string_view letters = kBeatClassLetters;
    if (text.size() != 1 || letters.find(text[0]) == std::string_view::npos) return std::nullopt;
    return static_cast<BeatClass>(letters.find(text[0]));
}

char letterOf(BeatClass c) { return kBeatClassLetters[static_cast<size_t>(c)]; }

}  // namespace

int runForms(const ToolArguments& arguments) {
    if (arguments.positional.size() > 1) return 2;
    const std::unique_ptr<Recording> recording = openRecording(arguments, 0);
    recording->beats().load(*recording);
    JsonText json;
    json.beginObject().beginArray("forms");
    for (const FormSummary& form : FormCensus::take(recording->beats().words())) {
        json.beginObject()
            .number("id", form.id)
            .string("class", std::string(1, letterOf(form.majority())))
            .number("count", form.count)
            .endObject();
    }
    json.endArray().endObject();
    std::printf("%s\n", json.text().c_str());
    return 0;
}

int runRelabel(const ToolArguments& arguments) {
    if (arguments.positional.size() > 1) return 2;
    const auto formText = arguments.option("--form");
    const auto classText = arguments.option("--class");
    if (!formText || !classText) return 2;
    const auto form = parseInteger(*formText);
    const auto beatClass = classNamed(*classText);
    if (!form || *form < 0 || *form >= FormCensus::kFormCodes || !beatClass) return 2;

    const std::unique_ptr<Recording> recording = openRecording(arguments, 0, RecordingAccess::Session);
    recording->beats().load(*recording);
    TrendTable trends;
    trends.load(*recording);
    const auto done = FormCensus::relabel(recording->beats().words(), static_cast<uint8_t>(*form), *beatClass);
    if (!done) {
        std::fprintf(stderr,
                     "holter: form %ld cannot take the class %c: its label would mean no beat. "
                     "Give the beats another class, or relabel them one by one in the viewer.\n",
                     *form, letterOf(*beatClass));
        return kFailure;
    }
    if (done->relabelled == 0) {
        std::printf("form %ld: every beat is %c already; nothing written\n", *form, letterOf(*beatClass));
        return 0;
    }
    // As the viewer leaves them after corrections: the reviewer's exclusions
    // go, the analysis's stay for good.
    trends.resetFlags();
    if (done->normalChanged) recording->addToEditCounter(1);
    const RederivationResult result = Rederivation::run(*recording, trends);
    if (!result.saved) {
        const std::string note = recording->file().failureNote();
        std::fprintf(
            stderr, "holter: the corrections were not saved: %s\n",
            note.empty() ? ("the recording was left as it was: " + result.problem + ".").c_str() : note.c_str());
        return kFailure;
    }
    std::printf("form %ld: %u beats relabelled %c; %zu episodes before, %zu after\n", *form, done->relabelled,
                letterOf(*beatClass), result.episodesBefore, result.episodesAfter);
    return 0;
}

}  // namespace lumen
