// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into a variant of the viewer for the crash-safety tests. With
// LUMEN_STOP_AFTER_STEP=k the process dies right after its k-th disk step,
// as a kill or a power cut would end it. With LUMEN_SNAPSHOT_DIR and
// LUMEN_SNAPSHOT_RECORDING, each journal turned idle (an update now
// durable) leaves a copy of the recording named after the step count.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "store/disk_steps.h"

namespace {

constexpr int kStoppedStatus = 86;

int stepCount = 0;
int stopAfterStep = 0;
std::string snapshotDirectory;
std::string snapshotRecording;

void onDiskStep(lumen::DiskStep step) {
    ++stepCount;
    if (step == lumen::DiskStep::Settle && !snapshotDirectory.empty()) {
        std::error_code ignored;
        std::filesystem::copy_file(snapshotRecording, snapshotDirectory + "/state-" + std::to_string(stepCount),
                                   std::filesystem::copy_options::overwrite_existing, ignored);
    }
    if (stepCount == stopAfterStep) _exit(kStoppedStatus);
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

const bool installed = [] {
    const std::string stop = environment("LUMEN_STOP_AFTER_STEP");
    stopAfterStep = stop.empty() ? 0 : std::atoi(stop.c_str());
    snapshotDirectory = environment("LUMEN_SNAPSHOT_DIR");
    snapshotRecording = environment("LUMEN_SNAPSHOT_RECORDING");
    lumen::setDiskStepHook(onDiskStep);
    return true;
}();

}  // namespace
