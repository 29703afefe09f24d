// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/demo_recording.h"

#include "demo/ecg_synthesizer.h"
#include "demo/rhythm_planner.h"

namespace lumen {

RecordingImage DemoRecordingBuilder::build(int32_t hours, uint32_t seed) {
    RecordingImage r;
    r.plan = RhythmPlanner(hours, seed).plan();
    r.signal = EcgSynthesizer(r.plan, seed).run();
    r.trends = TrendBuilder::build(r.plan, r.signal);
    r.forms = FormTemplates::build(r.plan, r.signal);
    r.formsMem = FormTemplates::fileImage(r.forms);
    r.codeTable = RecordingAssembler::buildCodeTable(r.signal);
    // Short enough that the title line's beat statistics leave it readable.
    r.patientLine = "DEMO, Patient  58 y, male";
    r.holterMem = RecordingAssembler::assemble(r);
    return r;
}

}  // namespace lumen
